#include <gtest/gtest.h>

#include "common/date_time.h"
#include "records/record_store.h"
#include "records/records_browser.h"
#include "records/snapshot.h"
#include "store_fixture.h"

namespace quovella {
namespace {

std::vector<std::string> quoteRow(const std::string& code, const std::string& name,
                                  const std::string& change) {
    return {code,
            name,
            "10.00",
            "9.90",
            "10.10",
            "10.20",
            "9.80",
            "123",
            "4567",
            change,
            "2020-08-07 15:00:00"};
}

TEST(SnapshotText, CellsSplitBackIntoValuesAndMessages) {
    const std::string text = snapshotText({"sh600887", gbk("伊利股份"), "", "9.9"});
    EXPECT_EQ(text, "sh600887," + gbk("伊利股份") + ",,9.9,");
    const auto values = snapshotValues(text);
    EXPECT_EQ(values, (std::vector<std::string>{"sh600887", gbk("伊利股份"), "", "9.9"}));
    EXPECT_EQ(saveQuestion(values), gbk("是否保存记录:sh600887/伊利股份"));
    EXPECT_EQ(saveQuestion({"sh600887"}), std::nullopt);
    EXPECT_EQ(duplicateMessage("sh600887"), gbk("sh600887：当日已添加"));
}

TEST(RowColourRule, SignOfTheWholeChange) {
    EXPECT_EQ(rowColour("-0.40%"), std::nullopt);
    EXPECT_EQ(rowColour("0.52%"), std::nullopt);
    EXPECT_EQ(rowColour(""), std::nullopt);
    const auto down = rowColour("-1.10%");
    ASSERT_TRUE(down);
    EXPECT_EQ(down->background, kFallingRowBackground);
    EXPECT_EQ(down->text, 0);
    // The sign is the number's, read past blanks and full-width forms, not the first byte's.
    for (const std::string& falling : {std::string(" -1.10%"), gbk("－３%"), gbk("　-2%")}) {
        EXPECT_EQ(rowColour(falling)->background, kFallingRowBackground) << falling;
    }
    const auto up = rowColour("2.00%");
    ASSERT_TRUE(up);
    EXPECT_EQ(up->background, kRisingRowBackground);
}

class SnapshotStore : public StoreFixture {
  protected:
    void SetUp() override {
        StoreFixture::SetUp();
        ASSERT_TRUE(store_.startUpOpen(dir_));
    }
    RecordStore store_;
};

TEST_F(SnapshotStore, OneSnapshotPerStockAndDay) {
    const std::string day = dateText({2020, 8, 7});
    EXPECT_EQ(day, "2020-08-07");
    const auto row = quoteRow("sh600887", gbk("伊利股份"), "1.2%");
    EXPECT_FALSE(store_.hasSnapshot("sh600887", day));
    EXPECT_EQ(saveSnapshot(store_, row, day), SaveOutcome::saved);
    EXPECT_TRUE(store_.hasSnapshot("sh600887", day));
    EXPECT_EQ(saveSnapshot(store_, row, day), SaveOutcome::duplicate);
    EXPECT_EQ(saveSnapshot(store_, quoteRow("sz000001", "x", "0"), day), SaveOutcome::saved);
    EXPECT_FALSE(store_.hasSnapshot("sh600887", dateText({2020, 8, 8})));
    EXPECT_EQ(saveSnapshot(store_, row, dateText({2020, 8, 8})), SaveOutcome::saved);
    // A search that hides today's row does not hide the duplicate: the store is asked.
    ASSERT_TRUE(searchSnapshots(store_, "nothing-matches"));
    EXPECT_EQ(saveSnapshot(store_, row, day), SaveOutcome::duplicate);
    EXPECT_EQ(rawCount("sj"), 3u);

    // A pending row of the same stock and day counts as well.
    ASSERT_TRUE(store_.openCursor("sj", RecordStore::kTable));
    ASSERT_TRUE(store_.addNew());
    store_.writeField(gbk("股票代码"), "sh600000");
    store_.writeField(gbk("日期"), day);
    EXPECT_TRUE(store_.hasSnapshot("sh600000", day));
    EXPECT_EQ(store_.readField(gbk("股票代码")), "sh600000");  // the cursor is undisturbed
}

TEST_F(SnapshotStore, InsertWritesEveryColumnOrNothing) {
    auto row = quoteRow("sh600887", gbk("伊利股份"), "-1.23%");
    row.push_back("ignored twelfth value");
    ASSERT_TRUE(insertSnapshot(store_, row, "2020-08-07"));
    const auto rows = readAllSnapshots(store_);
    ASSERT_EQ(rows.size(), 1u);
    std::vector<std::string> expected = {"1", "2020-08-07"};
    expected.insert(expected.end(), row.begin(), row.begin() + 11);
    expected.push_back("");
    EXPECT_EQ(rows[0], expected);

    row.resize(10);
    EXPECT_FALSE(insertSnapshot(store_, row, "2020-08-07"));
    EXPECT_EQ(saveSnapshot(store_, row, "2020-08-07"), SaveOutcome::tooFewValues);
    EXPECT_EQ(rawCount("sj"), 1u);
}

TEST_F(SnapshotStore, SearchMatchesTheEndOfCodeOrName) {
    for (const auto& [code, name] :
         std::vector<std::pair<std::string, std::string>>{{"sh600887", gbk("伊利股份")},
                                                          {"sz000001", gbk("平安银行")},
                                                          {"SH600000", "abc"},
                                                          {"", ""}}) {  // stored as nulls
        ASSERT_TRUE(insertSnapshot(store_, quoteRow(code, name, "0"), "2020-08-07"));
    }
    auto codes = [&](const std::string& text) {
        std::vector<std::string> found;
        const auto rows = searchSnapshots(store_, text);
        if (!rows) return std::vector<std::string>{"<failed>"};
        for (const auto& row : *rows) found.push_back(row[2]);
        return found;
    };
    EXPECT_EQ(codes("0887"), std::vector<std::string>{"sh600887"});
    EXPECT_EQ(codes("sh60"), std::vector<std::string>{});
    EXPECT_EQ(codes(gbk("银行")), std::vector<std::string>{"sz000001"});
    EXPECT_EQ(codes("sh600000"), std::vector<std::string>{"SH600000"});  // ASCII case ignored
    // An empty search lists every row, one without code and name included.
    EXPECT_EQ(codes("").size(), 4u);
    EXPECT_EQ(codes("'"), std::vector<std::string>{"<failed>"});
    const auto rows = searchSnapshots(store_, "0001");
    ASSERT_TRUE(rows);
    EXPECT_EQ((*rows)[0][0], "2");  // the key read as "ID"
}

TEST_F(SnapshotStore, DeleteRemovesExactlyThatRow) {
    for (const char* code : {"a", "b", "c"}) {
        ASSERT_TRUE(insertSnapshot(store_, quoteRow(code, "n", "0"), "2020-08-07"));
    }
    EXPECT_TRUE(deleteSnapshot(store_, "2"));
    EXPECT_TRUE(deleteSnapshot(store_, "2"));  // gone already: still a success
    EXPECT_FALSE(deleteSnapshot(store_, ""));
    const auto rows = readAllSnapshots(store_);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][2], "a");
    EXPECT_EQ(rows[1][2], "c");

    RecordStore closed;
    EXPECT_FALSE(deleteSnapshot(closed, "1"));
    EXPECT_TRUE(readAllSnapshots(closed).empty());
    EXPECT_FALSE(searchSnapshots(closed, ""));
    EXPECT_EQ(saveSnapshot(closed, quoteRow("a", "n", "0"), "2020-08-07"), SaveOutcome::failed);
}

}  // namespace
}  // namespace quovella
