#include "holdings/holdings_store.h"

#include <gtest/gtest.h>

#include "holdings/revaluation_pass.h"
#include "records/store_fixture.h"

namespace quovella {
namespace {

class HoldingsStoreTest : public StoreFixture {
  protected:
    void SetUp() override {
        StoreFixture::SetUp();
        ASSERT_TRUE(store.startUpOpen(dir_));
        for (int i = 0; i < 3; ++i) {
            ASSERT_TRUE(insertHolding(
                store, {"2020-08-07", "sh600887", gbk("伊利股份"), "100", "9.87", "987"}));
        }
    }
    static RevaluedHolding result(const char* id, const char* price) {
        RevaluedHolding r;
        r.id = id;
        r.price = price;
        r.amount = "13";
        r.rate = "1.32";
        r.storedTime = "2020-08-07 15:00:03";
        return r;
    }

    RecordStore store;
};

// A pass is written whole or not at all, and a refused one leaves no transaction open to
// swallow the writes after it.
TEST_F(HoldingsStoreTest, APassOfRevaluationsIsStoredWholeOrNotAtAll) {
    EXPECT_FALSE(writeRevaluations(
        store, {result("1", "10.00"), result("2", "it's"), result("3", "10.20")}));
    EXPECT_EQ(store.lastError().message, "malformed statement");
    EXPECT_FALSE(store.inTransaction());
    EXPECT_EQ(rawColumn("select 现价 from cy order by id"),
              (std::vector<std::string>{"<null>", "<null>", "<null>"}));

    EXPECT_TRUE(writeRevaluations(store, {result("1", "10.00"), result("3", "10.20")}));
    // Read on a connection of its own: committed, not only visible inside a transaction.
    EXPECT_EQ(rawColumn("select 现价 from cy order by id"),
              (std::vector<std::string>{"10.00", "<null>", "10.20"}));
    EXPECT_TRUE(writeRevaluation(store, "2", "9.90", "3", "0.30", "x"));
    EXPECT_EQ(rawColumn("select 现价 from cy where id = 2"), std::vector<std::string>{"9.90"});
}

}  // namespace
}  // namespace quovella
