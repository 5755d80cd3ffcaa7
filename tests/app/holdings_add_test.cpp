// Adding a holding: the row stored in cy, the holdings grid reloaded from it, its colours.
#include <gtest/gtest.h>

#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>

#include "app/holdings_window_fixture.h"

namespace quovella {
namespace {

using testing::kGreen;
using testing::kRed;
using testing::SeedHolding;

// A cell no range was coloured for.
constexpr ColourWord kDefaultText = 0;

class HoldingsAddTest : public testing::HoldingsWindowFixture {
  protected:
    void fillForm(const char* code, const char* shares, const char* price) {
        window().holdingsPage().日期框1->setDate(QDate(2020, 8, 7));
        window().holdingsPage().编辑框_股票代码->setText(QString::fromUtf8(code));
        window().holdingsPage().编辑框_股票名称->setText(QString::fromUtf8("伊利股份"));
        window().holdingsPage().编辑框_购买股数->setText(QString::fromUtf8(shares));
        window().holdingsPage().编辑框_购买单价->setText(QString::fromUtf8(price));
    }
    void clickAdd() {
        window().holdingsPage().按钮_添加持有->click();
        settle();
    }
    void putRowInHoldingsList() {
        ListView& list = *window().holdingsPage().超级列表框_持有数据;
        list.setItemText(list.appendRow(), 0, "1");
    }
};

TEST_F(HoldingsAddTest, StoresTheRowInOrderAndShowsItInRed) {
    putRowInHoldingsList();
    fillForm("600887", "100", "9.87");
    clickAdd();

    const std::vector<std::string> expected = {
        "1", "2020-08-07", "sh600887", gbk("伊利股份"), "100", "9.87", "987", "", "", "", ""};
    ASSERT_EQ(stored().size(), 1u);
    EXPECT_EQ(stored()[0], expected);
    ASSERT_EQ(grid().rowCount(), 2);
    EXPECT_EQ(gridRow(1), expected);
    for (int c = 3; c <= 9; ++c) EXPECT_EQ(grid().cellTextColour(1, c), kRed) << c;
    for (int c : {0, 1, 2, 10}) EXPECT_EQ(grid().cellTextColour(1, c), kDefaultText) << c;
    EXPECT_EQ(window().holdingsPage().超级列表框_持有数据->rowCount(), 0);
    // The form is left as typed.
    EXPECT_EQ(window().holdingsPage().编辑框_股票代码->text(), QString("600887"));
    EXPECT_EQ(window().holdingsPage().编辑框_购买股数->text(), QString("100"));
}

TEST_F(HoldingsAddTest, InputIsStoredAsTypedWithoutValidation) {
    fillForm("000001", "abc", "12.5");
    clickAdd();
    fillForm("sh600887", "", "");
    clickAdd();

    const auto rows = stored();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][2], "sz000001");
    EXPECT_EQ(rows[0][4], "abc");
    EXPECT_EQ(rows[0][6], "0");
    EXPECT_EQ(rows[1][2], "sh600887");
    EXPECT_EQ(rows[1][4], "");
    EXPECT_EQ(rows[1][6], "0");
}

TEST_F(HoldingsAddTest, EveryReloadAppendsItsRowsBelowTheOldOnes) {
    fillForm("600887", "100", "9.87");
    clickAdd();
    clickAdd();
    // 1 header + 1 (first reload) + 2 (second reload); the holdings fill rows 1 and 2.
    ASSERT_EQ(grid().rowCount(), 4);
    EXPECT_EQ(cell(1, 0), "1");
    EXPECT_EQ(cell(2, 0), "2");
    EXPECT_EQ(cell(3, 0), "");
    EXPECT_EQ(cell(3, 2), "");
}

class HoldingsSeededTest : public HoldingsAddTest {
  protected:
    std::vector<SeedHolding> seedHoldings() const override {
        return {{"sh600887", "100", "9.87", "-0.5"},
                {"sz000001", "100", "9.87", "-1.2"},
                {"sh600000", "100", "9.87", "3"}};
    }
};

TEST_F(HoldingsSeededTest, StartUpColoursByTheWholeNumberOfTheAmount) {
    ASSERT_EQ(grid().rowCount(), 4);
    EXPECT_EQ(cell(1, 8), "-0.5");
    EXPECT_EQ(grid().cellTextColour(1, 3), kRed);
    EXPECT_EQ(grid().cellTextColour(2, 3), kGreen);
    EXPECT_EQ(grid().cellTextColour(2, 9), kGreen);
    EXPECT_EQ(grid().cellTextColour(2, 10), kDefaultText);
    EXPECT_EQ(grid().cellTextColour(3, 3), kRed);
}

class HoldingsWithoutStoreTest : public HoldingsAddTest {
  protected:
    bool withStore() const override { return false; }
};

TEST_F(HoldingsWithoutStoreTest, AddStoresNothingButStillClearsTheList) {
    putRowInHoldingsList();
    fillForm("600887", "100", "9.87");
    clickAdd();
    EXPECT_TRUE(stored().empty());
    EXPECT_EQ(grid().rowCount(), 1);
    EXPECT_EQ(window().holdingsPage().超级列表框_持有数据->rowCount(), 0);
}

}  // namespace
}  // namespace quovella
