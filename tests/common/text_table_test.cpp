#include "common/text_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/gbk.h"

namespace quovella {
namespace {

// Texts on both sides of each length class, with GBK bytes and NULs inside.
std::vector<std::string> lengthClasses() {
    std::vector<std::string> texts;
    for (const std::size_t length : {0u, 1u, 254u, 255u, 256u, 70000u}) {
        std::string text(length, 'a');
        for (std::size_t i = 0; i < length; i += 97) text[i] = '\0';
        if (length >= 4) text.replace(length - 4, 4, gbk("盈亏"));
        texts.push_back(text);
    }
    return texts;
}

std::vector<std::string> rowTexts(const TextTable& table, int row) {
    std::vector<std::string> texts;
    for (int c = 0; c < table.columnCount(); ++c) texts.emplace_back(table.text(row, c));
    return texts;
}

TEST(TextTable, EveryLengthClassReadsBackBesideItsNeighbours) {
    TextTable table(3);
    for (const std::string& text : lengthClasses()) {
        const std::vector<std::string> cells{text, gbk("伊利"), text};
        EXPECT_EQ(rowTexts(table, table.appendRow(cells)), cells) << text.size();
    }
    // Each written over by every other class, then back.
    for (const std::string& from : lengthClasses()) {
        for (const std::string& to : lengthClasses()) {
            const int row = table.appendRow({"id", from, "tail"});
            table.setText(row, 1, to);
            EXPECT_EQ(rowTexts(table, row), (std::vector<std::string>{"id", to, "tail"}));
            table.setText(row, 1, from);
            EXPECT_EQ(table.text(row, 1), from);
        }
    }
    EXPECT_EQ(table.text(0, 2), "");
    EXPECT_EQ(table.text(5, 0).size(), 70000u);
}

TEST(TextTable, RowsAreCutOrPaddedAndOutsideReadsEmpty) {
    TextTable table(3);
    EXPECT_EQ(table.appendRow({"a", "b", "c", "d"}, 7), 0);
    EXPECT_EQ(table.appendRow({"x"}), 1);
    EXPECT_EQ(rowTexts(table, 0), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(rowTexts(table, 1), (std::vector<std::string>{"x", "", ""}));
    EXPECT_EQ(table.itemValue(0), 7);
    EXPECT_EQ(table.itemValue(1), 0);
    using Cell = std::pair<int, int>;
    for (const auto& [row, column] :
         std::initializer_list<Cell>{{-1, 0}, {2, 0}, {0, -1}, {0, 3}}) {
        EXPECT_EQ(table.text(row, column), "");
        table.setText(row, column, "z");
    }
    table.setItemValue(-1, 9);
    table.setItemValue(2, 9);
    EXPECT_EQ(table.itemValue(-1), 0);
    EXPECT_EQ(table.rowCount(), 2);
    EXPECT_EQ(rowTexts(table, 0), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(TextTable(-2).columnCount(), 0);
}

// Repeated writes of changing length in the middle of the table: the other rows keep their
// texts, and compaction keeps the memory bounded.
TEST(TextTable, RewritesKeepOtherRowsAndMemoryBounded) {
    TextTable table(4);
    for (int r = 0; r < 200; ++r) {
        const std::string id = std::to_string(r);
        table.appendRow({id, "2016-03-04", id + gbk("万"), ""}, r);
    }
    const std::size_t before = table.memoryBytes();
    for (int i = 0; i < 20000; ++i) {
        table.setText(i % 7 * 20, 3, std::string(static_cast<std::size_t>(i % 300), 'x'));
    }
    table.setText(1, 0, table.text(2, 2));  // a text read from the table itself
    EXPECT_LT(table.memoryBytes(), before * 4);
    for (int r = 0; r < 200; ++r) {
        const std::string id = std::to_string(r);
        EXPECT_EQ(table.text(r, 0), r == 1 ? "2" + gbk("万") : id);
        EXPECT_EQ(table.text(r, 2), id + gbk("万"));
        EXPECT_EQ(table.itemValue(r), r);
        if (r % 20 != 0 || r >= 140) {
            EXPECT_EQ(table.text(r, 3), "") << r;
        }
    }
    EXPECT_EQ(table.text(0, 3).size(), 19999u % 300);
    for (int r = 0; r < 200; ++r) table.appendRow({table.text(r, 2), table.text(0, 3)});
    EXPECT_EQ(table.text(399, 0), "199" + gbk("万"));
    EXPECT_EQ(table.text(399, 1).size(), 19999u % 300);
}

TEST(TextTable, RemovePermuteAndAppendMoveItemValuesWithTheirRows) {
    TextTable table(2);
    for (const char* id : {"a", "b", "c", "d", "e"}) table.appendRow({id, id}, id[0]);
    table.removeRow(4);  // the last record: its bytes go at once
    table.removeRow(1);
    table.removeRow(9);
    using Order = std::vector<int>;
    for (const Order& bad :
         std::initializer_list<Order>{{2, 0, 0}, {0, 1, 3}, {-1, 0, 1}, {0, 1}}) {
        EXPECT_FALSE(table.permute(bad));
    }
    EXPECT_TRUE(table.permute({2, 0, 1}));
    TextTable other(3);
    other.appendRow({"f", "f", "dropped"}, 'f');
    TextTable copy = table;
    copy.appendTable(other);
    table.appendTable(copy);  // the same column count: offsets shifted, texts copied once
    copy.setText(0, 0, "changed");
    const std::string expected = "dacdacf";
    ASSERT_EQ(table.rowCount(), 7);
    for (int r = 0; r < 7; ++r) {
        EXPECT_EQ(rowTexts(table, r),
                  std::vector<std::string>(2, expected.substr(static_cast<std::size_t>(r), 1)));
        EXPECT_EQ(table.itemValue(r), expected[static_cast<std::size_t>(r)]);
    }
    TextTable moved = std::move(table);
    EXPECT_EQ(moved.text(6, 1), "f");
    moved.clear();
    EXPECT_EQ(moved.rowCount(), 0);
    EXPECT_EQ(moved.appendRow({"g"}), 0);
}

// A row index permuted apart from its table is taken back only while the table is as it was
// copied: any change may have moved rows in the arena.
TEST(TextTable, RowIndexIsTakenBackOnlyUnchanged) {
    using Change = void (*)(TextTable&);
    const struct {
        const char* name;
        Change change;
        bool taken;
    } cases[] = {
        {"unchanged", [](TextTable&) {}, true},
        {"resized text", [](TextTable& t) { t.setText(0, 1, "longer"); }, false},
        {"item value", [](TextTable& t) { t.setItemValue(2, 9); }, false},
        {"appended",
         [](TextTable& t) {
             t.appendRow({"d", "d"});
         },
         false},
        {"removed", [](TextTable& t) { t.removeRow(0); }, false},
        {"permuted",
         [](TextTable& t) {
             t.permute({1, 2, 0});
         },
         false},
        {"cleared and refilled",
         [](TextTable& t) {
             t.clear();
             for (const char* id : {"x", "y", "z"}) t.appendRow({id, id});
         },
         false},
    };
    for (const auto& c : cases) {
        TextTable table(2);
        for (const char* id : {"a", "b", "c"}) table.appendRow({id, id}, id[0]);
        TextTable::RowIndex index = table.rowIndex();
        EXPECT_FALSE(index.permute({0, 0, 1})) << c.name;
        ASSERT_TRUE(index.permute({2, 0, 1})) << c.name;
        const TextTable before = table;
        c.change(table);
        const TextTable changed = table;
        EXPECT_EQ(table.takeRowIndex(index), c.taken) << c.name;
        const TextTable& expected = c.taken ? before : changed;
        for (int r = 0; r < table.rowCount(); ++r) {
            const int from = c.taken ? std::vector<int>{2, 0, 1}[static_cast<std::size_t>(r)] : r;
            EXPECT_EQ(table.text(r, 1), expected.text(from, 1)) << c.name << r;
            EXPECT_EQ(table.itemValue(r), expected.itemValue(from)) << c.name << r;
        }
    }
    TextTable first(1);
    first.appendRow({"a"});
    TextTable second(1);
    second.appendRow({"a"});
    TextTable::RowIndex index = first.rowIndex();
    EXPECT_FALSE(second.takeRowIndex(index));
}

}  // namespace
}  // namespace quovella
