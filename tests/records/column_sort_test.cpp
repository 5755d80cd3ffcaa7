// The records-list column sort over plain tables: kinds, keys, the tie rules, and a
// randomised comparison with the insertion into three arrays written out step by step.
#include "records/column_sort.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "common/gbk.h"
#include "common/numbers.h"
#include "support/literal_column_sort.h"

namespace quovella {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using namespace std::string_literals;

std::vector<int> order(const std::vector<std::string>& cells, SortKind kind,
                       SortDirection direction = SortDirection::forward) {
    const std::vector<std::string_view> views(cells.begin(), cells.end());
    return sortedRowOrder(views, kind, direction);
}

using testing::LiteralSort;

TEST(ColumnSort, KindsFollowTheRecordsColumns) {
    const std::vector<int> numbers = {0, 4, 5, 6, 7, 8};
    const std::vector<int> texts = {1, 2, 3, 9, 10, 11};
    for (int c : numbers) EXPECT_EQ(recordsColumnSortKind(c), SortKind::number) << c;
    for (int c : texts) EXPECT_EQ(recordsColumnSortKind(c), SortKind::text) << c;
    for (int c : {12, 13, 14, -1}) EXPECT_FALSE(recordsColumnSortKind(c)) << c;
}

TEST(ColumnSort, KeysLoseAsciiAndIdeographicBlanksAtBothEndsOnly) {
    const std::string ideographic = "\xA1\xA1";
    EXPECT_EQ(sortKeyText("  sh600887 "), "sh600887");
    EXPECT_EQ(sortKeyText(ideographic + " " + gbk("伊利 股份") + ideographic), gbk("伊利 股份"));
    EXPECT_EQ(sortKeyText(" " + ideographic + " "), "");
    EXPECT_EQ(sortKeyText(""), "");
    // 啊 is B0A1: its tail byte and a lone A1 after it are not an ideographic space.
    const std::string tail = "X\xB0\xA1\xA1";
    EXPECT_EQ(sortKeyText(tail), tail);
    // A lone A1 after a blank is no blank either.
    EXPECT_EQ(sortKeyText(ideographic + "\xA1"), "\xA1");
    // A tab is not a blank here.
    EXPECT_EQ(sortKeyText("\t1 "), "\t1");
}

TEST(ColumnSort, NumbersSortByTheirLeadingValue) {
    EXPECT_THAT(order({"100", "2", "10"}, SortKind::number), ElementsAre(1, 2, 0));
    EXPECT_THAT(order({"100", "2", "10"}, SortKind::text), ElementsAre(2, 0, 1));
    // 12.5万 reads 12.5, sh600887 reads 0, blanks do not hide the number.
    EXPECT_THAT(order({gbk("12.5万"), "13", "sh600887", " 12 ", "-3.5", "1e1"}, SortKind::number),
                ElementsAre(4, 2, 5, 3, 0, 1));
}

TEST(ColumnSort, TextsCompareByTheirGbkBytes) {
    // "-0.50%" before "-1.20%", every negative before every positive.
    EXPECT_THAT(order({"1.84%", "-1.20%", "0.00%", "-0.50%", "10.01%"}, SortKind::text),
                ElementsAre(3, 1, 2, 0, 4));
    // Case matters (B before a), double-byte characters after ASCII by their code bytes
    // (伊 D2C1 before 中 D6D0), prefixes first.
    EXPECT_THAT(order({gbk("中国平安"), "a", "B", "ab", gbk("伊利股份")}, SortKind::text),
                ElementsAre(2, 1, 3, 4, 0));
    // Dates sort chronologically as text; blanks around a cell do not count.
    EXPECT_THAT(order({"2020-08-27", " 2020-08-07", "2019-12-31\xA1\xA1"}, SortKind::text),
                ElementsAre(2, 1, 0));
}

TEST(ColumnSort, TiesFollowTheInsertionRulesNotStability) {
    // Equal to the first: put in front, so the later of two equal smallest keys comes first.
    EXPECT_THAT(order({"5", "1", "1"}, SortKind::number), ElementsAre(2, 1, 0));
    EXPECT_THAT(order({"e", "a", "a"}, SortKind::text), ElementsAre(2, 1, 0));
    // Equal to the last: appended.
    EXPECT_THAT(order({"1", "5", "5"}, SortKind::number), ElementsAre(0, 1, 2));
    // Equal to an inner key: right after the equal key the bisection meets (the first 5
    // here), ahead of the 5 inserted before it.
    EXPECT_THAT(order({"1", "9", "5", "5", "5"}, SortKind::number), ElementsAre(0, 2, 4, 3, 1));
    EXPECT_THAT(order({"a", "z", "m", "m", "m"}, SortKind::text), ElementsAre(0, 2, 4, 3, 1));
    // Reverse is the mirror, ties included.
    EXPECT_THAT(order({"1", "9", "5", "5", "5"}, SortKind::number, SortDirection::reverse),
                ElementsAre(1, 3, 4, 2, 0));
    EXPECT_THAT(order({"5", "1", "1"}, SortKind::text, SortDirection::reverse),
                ElementsAre(0, 1, 2));
}

TEST(ColumnSort, NumbersWithinTheToleranceAreEqual) {
    EXPECT_THAT(order({"3", "1", "1.00000005"}, SortKind::number), ElementsAre(2, 1, 0));
    EXPECT_THAT(order({"3", "1", "1.0000002"}, SortKind::number), ElementsAre(1, 2, 0));
    // Appending also takes keys just below the last.
    EXPECT_THAT(order({"1", "3", "2.99999995"}, SortKind::number), ElementsAre(0, 1, 2));
}

TEST(ColumnSort, EmptyAndSingleRowTables) {
    EXPECT_THAT(order({}, SortKind::number), IsEmpty());
    EXPECT_THAT(order({"x"}, SortKind::text, SortDirection::reverse), ElementsAre(0));
}

// Each table draws its cells from some of one pool's, so ties of every kind are frequent:
// numbers around the tolerance (a table may hold only exact ties or not), at magnitudes
// where 1e-7 is about one step of a double, infinities; texts with blanks, double-byte
// characters, prefixes and bytes from 0x80 on.
struct Pool {
    SortKind kind;
    std::vector<std::string> cells;
};

const std::vector<Pool>& pools() {
    static const std::vector<Pool> all = {
        {SortKind::number,
         {"1", "1.00000005", "1.0000002", "2", "-2", "0.5", gbk("12.5万"), "sh600887", "", " 7 ",
          "7.00000009", "1e2", "99", "-0", "3.14",
          "\xA1\xA1"
          "8"}},
        {SortKind::text,
         {"a", "ab", "B", "-0.50%", "-1.20%", "1.84%", gbk("伊利"), gbk("伊利股份"), "", " a", "a ",
          "\xA1\xA1"
          "ab",
          "X\xB0\xA1\xA1", "2020-08-07", "2020-08-27", "z"}},
        {SortKind::number,
         {"0", "0.00000005", "0.0000001", "0.00000015", "0.0000002", "0.0000003", "-0", ""}},
        {SortKind::number,
         {"1000000000", "1000000000.00000005", "1000000000.0000001", "1000000000.00000015",
          "1000000000.0000002", "1000000000.0000003", "1e15", "1000000000000000.125", "-1e15"}},
        {SortKind::number, {"1e400", "-1e400", "1e308", "-1e308", "0", "12.34", gbk("12.5万")}},
        {SortKind::number, {"12.34", "12.35", "-1.23", " 12.34 ", "1e2", "100", "0", "sh600887"}},
        {SortKind::text,
         {"", " ", "\xA1\xA1", "a", "A", "ab", "\x80", "\xFF", "\xFF\xFF", "\xB0\xA1", "2016-03-04",
          "2016-03-04 ", "sh600887", "-1.23%"}},
        // Longer than 16 bytes, zeros inside.
        {SortKind::text,
         {"2016-03-04 09:30", "2016-03-04 09:30:00", "2016-03-04 09:30:00.5", "2016-03-04 09:30:01",
          "2016-03-04 09:30\0"s, "a\0"s, "a", "2016-03-04"}},
    };
    return all;
}

std::vector<std::string> randomCells(std::mt19937& random, const Pool& pool, int n) {
    std::vector<std::string> drawn = pool.cells;
    std::shuffle(drawn.begin(), drawn.end(), random);
    drawn.resize(std::uniform_int_distribution<std::size_t>(1, drawn.size())(random));
    std::uniform_int_distribution<std::size_t> pick(0, drawn.size() - 1);
    std::vector<std::string> cells;
    for (int i = 0; i < n; ++i) cells.push_back(drawn[pick(random)]);
    return cells;
}

TEST(ColumnSort, SameOrderAsTheLiteralArrayInsertion) {
    std::mt19937 random(20200827);
    for (int round = 0; round < 630; ++round) {
        const SortDirection direction =
            round % 2 == 0 ? SortDirection::forward : SortDirection::reverse;
        const Pool& pool = pools()[static_cast<std::size_t>(round / 2) % pools().size()];
        // Mostly small tables, some of a few thousand rows.
        const int n = round % 9 == 0 ? std::uniform_int_distribution<int>(1000, 4000)(random)
                                     : std::uniform_int_distribution<int>(0, 200)(random);
        std::vector<std::string> cells = randomCells(random, pool, n);
        // Some tables already sorted or sorted backwards: all appends, or all in front.
        if (round % 5 >= 3) {
            const auto way = round % 5 == 3 ? SortDirection::forward : SortDirection::reverse;
            std::vector<std::string> sorted;
            for (int r : LiteralSort{}.run(cells, pool.kind, way)) {
                sorted.push_back(cells[static_cast<std::size_t>(r)]);
            }
            cells = sorted;
        }
        ASSERT_EQ(order(cells, pool.kind, direction),
                  LiteralSort{}.run(cells, pool.kind, direction))
            << "round " << round << ", " << n << " rows";
    }
}

TEST(ColumnSort, DistinctNumbersInLargeTablesMatchTheLiteralToo) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> values(-1000.0, 1000.0);
    std::vector<std::string> cells;
    for (int i = 0; i < 4000; ++i) cells.push_back(doubleText(values(random)));
    EXPECT_EQ(order(cells, SortKind::number),
              LiteralSort{}.run(cells, SortKind::number, SortDirection::forward));
}

std::vector<SortableRow> table(const std::vector<std::string>& codes) {
    std::vector<SortableRow> rows;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        rows.push_back({{std::to_string(i + 1), codes[i]}, 0});
    }
    return rows;
}

std::vector<std::string> column(const std::vector<SortableRow>& rows, std::size_t c) {
    std::vector<std::string> out;
    for (const SortableRow& row : rows) out.push_back(row.cells[c]);
    return out;
}

TEST(ColumnSortRows, WholeRowsAndTheirItemValuesMoveTogether) {
    std::vector<SortableRow> rows = table({"sz000001", " sh600887", "sh601318"});
    rows[0].itemValue = 11;
    rows[1].itemValue = 22;
    rows[2].itemValue = 33;
    EXPECT_EQ(sortRows(rows, 1, SortKind::text, SortDirection::forward, -1), -1);
    EXPECT_THAT(column(rows, 0), ElementsAre("2", "3", "1"));
    // The blank stays in the cell.
    EXPECT_THAT(column(rows, 1), ElementsAre(" sh600887", "sh601318", "sz000001"));
    EXPECT_EQ(rows[0].itemValue, 22);
    EXPECT_EQ(rows[1].itemValue, 33);
    EXPECT_EQ(rows[2].itemValue, 11);
}

int rowHolding(const std::vector<SortableRow>& rows, const std::string& code) {
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (rows[r].cells[1] == code) return static_cast<int>(r);
    }
    return -1;
}

TEST(ColumnSortRows, TheSelectedRowIsFoundAgainByAMarkNoOtherRowCarries) {
    std::vector<SortableRow> rows = table({"c", "a", "b", "d"});
    // Rows carry 0 and 1 already, so the mark must be something else.
    rows[2].itemValue = 1;
    struct Step {
        std::size_t column;
        SortKind kind;
        SortDirection direction;
        std::string selected;
    };
    const std::vector<Step> steps = {{1, SortKind::text, SortDirection::forward, "c"},
                                     {0, SortKind::number, SortDirection::reverse, "c"},
                                     {1, SortKind::text, SortDirection::reverse, "b"},
                                     {1, SortKind::text, SortDirection::forward, "a"}};
    for (const Step& step : steps) {
        const int selected = sortRows(rows, static_cast<int>(step.column), step.kind,
                                      step.direction, rowHolding(rows, step.selected));
        ASSERT_EQ(selected, rowHolding(rows, step.selected)) << step.selected;
        int carriers = 0;
        for (const SortableRow& row : rows) {
            carriers += row.itemValue == rows[static_cast<std::size_t>(selected)].itemValue;
        }
        EXPECT_EQ(carriers, 1) << step.selected;
    }
    EXPECT_THAT(column(rows, 1), ElementsAre("a", "b", "c", "d"));
}

TEST(ColumnSortRows, EmptyTablesAndShortRowsAreSafe) {
    std::vector<SortableRow> none;
    EXPECT_EQ(sortRows(none, 0, SortKind::number, SortDirection::forward, 0), -1);
    std::vector<SortableRow> rows = {{{"b", "x"}, 0}, {{"a"}, 0}};
    EXPECT_EQ(sortRows(rows, 1, SortKind::text, SortDirection::forward, 5), -1);
    // The row without the column sorts as an empty key.
    EXPECT_EQ(rows[0].cells[0], "a");
}

}  // namespace
}  // namespace quovella
