// Every text tried as an attack on the store, through each way a text reaches a statement:
// the search condition, the id to delete, the holding form and a price from the quote
// server. What must hold for each: no stored row changes unless the user asked for it, a
// typed text is stored byte for byte, and a text the store refuses leaves the list as it was.
#include <gtest/gtest.h>

#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>

#include "app/holdings_window_fixture.h"
#include "app/records_window_fixture.h"
#include "quotes/watch_code_rules.h"
#include "records/records_browser.h"
#include "records/snapshot.h"
#include "ui/list_view.h"

namespace quovella {
namespace {

using testing::SeedHolding;

const std::string kHostileTexts[] = {
    "'",
    "' or '1'='1",
    "x'; delete from sj; --",
    "1 or 1=1",
    "0; delete from sj",
    gbk("9',现价='9"),
    "%",
    "_",
    "\\",
    "\"",
    "\x95\x5c",  // a GBK character whose trail byte is the backslash
};

class HostileTexts : public testing::HoldingsWindowFixture,
                     public ::testing::WithParamInterface<std::string> {
  protected:
    std::vector<SeedHolding> seedHoldings() const override { return {{"sh600887"}}; }
    void SetUp() override {
        HoldingsWindowFixture::SetUp();
        for (const char* code : {"sh600887", "sz000001"}) {
            ASSERT_TRUE(insertSnapshot(state_.store->store(),
                                       testing::quoteValues(code, "伊利股份", "1.00%"),
                                       "2020-08-27"));
        }
        search("");
        snapshots_ = readAllSnapshots(state_.store->store());
        holdings_ = stored();
    }
    std::string text() const { return GetParam(); }
    void search(const std::string& condition) {
        window().recordsPage().编辑框_条件->setText(toQt(condition));
        window().recordsPage().按钮_搜索->click();
        settle();
    }
    std::vector<std::string> listedIds() {
        ListView& list = *window().recordsPage().超级列表框_数据表;
        std::vector<std::string> ids;
        for (int r = 0; r < list.rowCount(); ++r) ids.push_back(list.itemText(r, 0));
        return ids;
    }

    std::vector<SnapshotRow> snapshots_;
    std::vector<std::vector<std::string>> holdings_;
};

TEST_P(HostileTexts, NoStoredRowChangesUnlessAskedAndTypedTextsAreKept) {
    const bool quoted = text().find('\'') != std::string::npos;

    search(text());
    // A condition the store refuses leaves the list; any other lists only stored rows.
    if (quoted) {
        EXPECT_EQ(listedIds(), (std::vector<std::string>{"1", "2"}));
    }
    for (const std::string& id : listedIds()) EXPECT_TRUE(id == "1" || id == "2") << id;

    window().recordsPage().编辑框_选中ID->setText(toQt(text()));
    window().recordsPage().按钮_删除选中->setEnabled(true);
    window().recordsPage().按钮_删除选中->click();
    settle();
    ASSERT_FALSE(dialogs_.shown().empty());
    EXPECT_EQ(dialogs_.shown().back().text, gbk("删除失败"));
    EXPECT_EQ(readAllSnapshots(state_.store->store()), snapshots_);

    // A price is stored as the server sent it when it starts with a number; a quoted one
    // is refused by the store, and only the revalued columns of the holding ever change.
    server_.setContent("sh600887", testing::priceContent(text()));
    tick();
    ASSERT_TRUE(waitForPass());
    std::vector<std::vector<std::string>> held = stored();
    ASSERT_EQ(held.size(), 1u);
    EXPECT_EQ(std::vector<std::string>(held[0].begin(), held[0].begin() + 7),
              std::vector<std::string>(holdings_[0].begin(), holdings_[0].begin() + 7));
    const bool written = !quoted && text()[0] >= '0' && text()[0] <= '9';
    EXPECT_EQ(held[0][7], written ? text() : holdings_[0][7]);

    HoldingsPage& page = window().holdingsPage();
    page.日期框1->setDate(QDate(2020, 8, 7));
    page.编辑框_股票代码->setText(toQt(text()));
    page.编辑框_股票名称->setText(toQt(text()));
    page.编辑框_购买股数->setText(toQt(text()));
    page.编辑框_购买单价->setText(toQt(text()));
    page.按钮_添加持有->click();
    settle();
    held = stored();
    ASSERT_EQ(held.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(held[1].begin() + 2, held[1].begin() + 6),
              (std::vector<std::string>{withExchangePrefix(text()), text(), text(), text()}));
    EXPECT_EQ(readAllSnapshots(state_.store->store()), snapshots_);
}

INSTANTIATE_TEST_SUITE_P(EveryText, HostileTexts, ::testing::ValuesIn(kHostileTexts));

}  // namespace
}  // namespace quovella
