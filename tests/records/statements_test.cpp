#include "records/statements.h"

#include <gtest/gtest.h>

#include "records/record_store.h"
#include "store_fixture.h"

namespace quovella {
namespace {

TEST(Statements, TextsAreTheProgramsOwn) {
    EXPECT_EQ(searchStatement("0887"),
              gbk("select * from sj where 股票代码 like '%0887' or 股票名称 like '%0887'"));
    EXPECT_EQ(deleteStatement("12"), "delete from sj where id=12");
    EXPECT_EQ(updateHoldingStatement("9.5", "-10", "-1.2%", "2020-08-07  09:05:03", "3"),
              gbk("update cy set 现价='9.5',盈亏金额='-10',盈亏率='-1.2%',更新时间='2020-08-07  "
                  "09:05:03' where id=3"));
}

TEST(Statements, RecognitionTakesBackTheInsertedPartsOrRefusesUnsafeOnes) {
    const auto search = recogniseStatement(searchStatement(gbk("伊利")));
    EXPECT_EQ(search.shape, StatementShape::search);
    EXPECT_EQ(search.parts, std::vector<std::string>{gbk("伊利")});
    EXPECT_EQ(recogniseStatement(searchStatement("")).shape, StatementShape::search);

    const auto update = recogniseStatement(updateHoldingStatement("1", "", "3", "4", "-5"));
    EXPECT_EQ(update.shape, StatementShape::updateHolding);
    EXPECT_EQ(update.parts, (std::vector<std::string>{"1", "", "3", "4", "-5"}));

    for (const std::string& unsafe : {
             searchStatement("x' or 1=1 --"),
             searchStatement("'"),
             searchStatement("a") + " or 1=1",
             gbk("select * from sj where 股票代码 like '%a' or 股票名称 like '%b'"),
             deleteStatement("1 or 1=1"),
             deleteStatement("1; drop table sj"),
             deleteStatement(""),
             deleteStatement("-"),
             deleteStatement("0x10"),
             deleteStatement("1.0"),
             updateHoldingStatement("1',盈亏率='x", "2", "3", "4", "1"),
             updateHoldingStatement("1", "2", "3", "4", "1 or 1=1"),
             updateHoldingStatement("1", "2", "3", "4' where id=1 or '1'='1", "1"),
         }) {
        EXPECT_EQ(recogniseStatement(unsafe).shape, StatementShape::malformed) << unsafe;
    }
    EXPECT_EQ(recogniseStatement("select count(*) from sj").shape, StatementShape::other);
    EXPECT_TRUE(isWholeNumberText("+007"));
    EXPECT_FALSE(isWholeNumberText("+"));
    EXPECT_FALSE(isWholeNumberText(" 1"));
}

class Injection : public StoreFixture {
  protected:
    void SetUp() override {
        StoreFixture::SetUp();
        ASSERT_TRUE(
            rawExec("insert into sj(股票代码, 股票名称) "
                    "values('sh600887','伊利股份'),('sz000001','平安银行');"
                    "insert into cy(股票代码, 现价) values('sh600887','1'),('sz000001','2');"));
        ASSERT_TRUE(store_.startUpOpen(dir_));
    }
    void expectEverythingInPlace() {
        EXPECT_EQ(rawCount("sj"), 2u);
        EXPECT_EQ(rawColumn("select 现价 from cy order by id"),
                  (std::vector<std::string>{"1", "2"}));
    }
    RecordStore store_;
};

TEST_F(Injection, UnsafeStatementsFailAndTouchNothing) {
    static const char kHiddenTail[] = "select 1\0; delete from sj";
    for (const std::string& statement : {
             searchStatement("x' or 1=1 --"),
             searchStatement("x'; drop table sj; --"),
             deleteStatement("1 or 1=1"),
             deleteStatement("1; drop table sj"),
             deleteStatement("id"),
             updateHoldingStatement("9", "9", "9", "9", "1 or 1=1"),
             updateHoldingStatement("9',现价='9", "9", "9", "9", "1"),
             updateHoldingStatement("9", "9", "9", "9' where 1=1 --", "1"),
             std::string("delete from cy; drop table sj"),
             std::string("select 1; delete from sj"),
             std::string(kHiddenTail, sizeof kHiddenTail - 1),
             std::string("not sql at all"),
         }) {
        EXPECT_FALSE(store_.openCursor(statement, RecordStore::kStatement)) << statement;
        expectEverythingInPlace();
    }
}

TEST_F(Injection, TheProgramsStatementsStillDoTheirWork) {
    ASSERT_TRUE(store_.openCursor(searchStatement("0887"), RecordStore::kStatement));
    EXPECT_EQ(store_.recordCount(), 1);
    ASSERT_TRUE(store_.openCursor(updateHoldingStatement("9.9", "", "1%", "t", "2"),
                                  RecordStore::kStatement));
    store_.closeCursor();
    EXPECT_EQ(rawColumn("select 现价 from cy order by id"), (std::vector<std::string>{"1", "9.9"}));
    EXPECT_EQ(rawColumn("select 盈亏金额 from cy where id=2"), std::vector<std::string>{"<null>"});
    // A statement the program does not build runs when it is one statement.
    ASSERT_TRUE(store_.openCursor("select count(*) as n from sj;", RecordStore::kStatement));
    EXPECT_EQ(store_.readField("N"), "2");
}

}  // namespace
}  // namespace quovella
