#pragma once
// The statement texts the program issues through the store's cursor, and their
// recognition: the store runs these shapes with the inserted parts bound as parameters,
// so an inserted value can never change what a statement does.
#include <string>
#include <string_view>
#include <vector>

namespace quovella {

// "select * from sj where 股票代码 like '%" + text + "' or 股票名称 like '%" + text + "'"
std::string searchStatement(std::string_view text);
// "delete from sj where id=" + id
std::string deleteStatement(std::string_view id);
// "update cy set 现价='...',盈亏金额='...',盈亏率='...',更新时间='...' where id=" + id
std::string updateHoldingStatement(std::string_view price, std::string_view amount,
                                   std::string_view rate, std::string_view time,
                                   std::string_view id);

// An optional sign, then one or more decimal digits, nothing else.
bool isWholeNumberText(std::string_view text);

enum class StatementShape {
    other,          // none of the program's own statements: runs only as one single statement
    search,         // parts: the search text
    deleteById,     // parts: the id
    updateHolding,  // parts: price, amount, rate, time, id
    malformed,      // begins like one of the three but its inserted parts are unsafe: refused
};

struct RecognisedStatement {
    StatementShape shape = StatementShape::other;
    std::vector<std::string> parts;  // GBK texts, in the order listed above
};

// Recognises the three statement shapes by their fixed texts. A search text or an update
// value holding a single quote, or an id that is not a whole number, gives malformed.
RecognisedStatement recogniseStatement(std::string_view statement);

}  // namespace quovella
