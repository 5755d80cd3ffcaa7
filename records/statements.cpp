#include "records/statements.h"

#include <algorithm>
#include <optional>

#include "common/gbk.h"

namespace quovella {
namespace {

struct Texts {
    std::string searchHead = gbk("select * from sj where 股票代码 like '%");
    std::string searchMiddle = gbk("' or 股票名称 like '%");
    std::string deleteHead = "delete from sj where id=";
    std::string updateHead = gbk("update cy set 现价='");
    std::string updateAmount = gbk("',盈亏金额='");
    std::string updateRate = gbk("',盈亏率='");
    std::string updateTime = gbk("',更新时间='");
    std::string updateId = "' where id=";
};

const Texts& texts() {
    static const Texts t;
    return t;
}

// Reads a quoted value up to the next single quote and expects `after` to follow it there.
// GBK trail bytes are never 0x27, so a byte search cannot split a character.
std::optional<std::string> valueBefore(std::string_view& rest, std::string_view after) {
    const std::size_t quote = rest.find('\'');
    if (quote == std::string_view::npos || rest.substr(quote, after.size()) != after) {
        return std::nullopt;
    }
    std::string value(rest.substr(0, quote));
    rest.remove_prefix(quote + after.size());
    return value;
}

RecognisedStatement malformed() {
    return {StatementShape::malformed, {}};
}

RecognisedStatement recogniseSearch(std::string_view rest) {
    const Texts& t = texts();
    const std::optional<std::string> text = valueBefore(rest, t.searchMiddle);
    if (!text || rest != *text + "'") return malformed();
    return {StatementShape::search, {*text}};
}

RecognisedStatement recogniseDelete(std::string_view id) {
    if (!isWholeNumberText(id)) return malformed();
    return {StatementShape::deleteById, {std::string(id)}};
}

RecognisedStatement recogniseUpdate(std::string_view rest) {
    const Texts& t = texts();
    std::vector<std::string> parts;
    for (const std::string* after : {&t.updateAmount, &t.updateRate, &t.updateTime, &t.updateId}) {
        std::optional<std::string> value = valueBefore(rest, *after);
        if (!value) return malformed();
        parts.push_back(std::move(*value));
    }
    if (!isWholeNumberText(rest)) return malformed();
    parts.emplace_back(rest);
    return {StatementShape::updateHolding, std::move(parts)};
}

}  // namespace

std::string searchStatement(std::string_view text) {
    const Texts& t = texts();
    return t.searchHead + std::string(text) + t.searchMiddle + std::string(text) + "'";
}

std::string deleteStatement(std::string_view id) {
    return texts().deleteHead + std::string(id);
}

std::string updateHoldingStatement(std::string_view price, std::string_view amount,
                                   std::string_view rate, std::string_view time,
                                   std::string_view id) {
    const Texts& t = texts();
    return t.updateHead + std::string(price) + t.updateAmount + std::string(amount) + t.updateRate +
           std::string(rate) + t.updateTime + std::string(time) + t.updateId + std::string(id);
}

bool isWholeNumberText(std::string_view text) {
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

RecognisedStatement recogniseStatement(std::string_view statement) {
    const Texts& t = texts();
    if (statement.starts_with(t.searchHead)) {
        return recogniseSearch(statement.substr(t.searchHead.size()));
    }
    if (statement.starts_with(t.deleteHead)) {
        return recogniseDelete(statement.substr(t.deleteHead.size()));
    }
    if (statement.starts_with(t.updateHead)) {
        return recogniseUpdate(statement.substr(t.updateHead.size()));
    }
    return {};
}

}  // namespace quovella
