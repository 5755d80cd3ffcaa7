#pragma once
// The holdings table cy through the store's one cursor: each function is one operation
// sequence on the cursor.
#include <string>
#include <string_view>
#include <vector>

#include "records/record_store.h"

namespace quovella {

struct RevaluedHolding;

// One purchase as the form gives it; every value is GBK text as it will be stored.
struct HoldingRow {
    std::string date;
    std::string code;
    std::string name;
    std::string shares;
    std::string price;
    std::string total;
};

// Appends the row to cy (现价, 盈亏金额 and 盈亏率 empty, 更新时间 not written). False, with
// nothing stored, when the store refused it.
bool insertHolding(RecordStore& store, const HoldingRow& row);

// Every row of cy in the store's order, each with the eleven columns of holdingColumns().
std::vector<std::vector<std::string>> readAllHoldings(RecordStore& store);

// The update statement for the holding's id; true when the store ran it.
bool writeRevaluation(RecordStore& store, std::string_view id, std::string_view price,
                      std::string_view amount, std::string_view rate, std::string_view time);

// A pass's updates (id, price, amount, rate and storedTime of each) in one transaction: one
// sync to disk for the lot instead of one per row. All or nothing: false, with none of
// them stored and lastError naming the cause, when any update or the commit failed.
bool writeRevaluations(RecordStore& store, const std::vector<RevaluedHolding>& results);

}  // namespace quovella
