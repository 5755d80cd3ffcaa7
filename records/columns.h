#pragma once
// The column names of the two tables (GBK), in the order the program reads them.
#include <string>
#include <vector>

namespace quovella {

// id, 日期, 股票代码, 股票名称, 今开盘价, 昨收盘价, 当前价格, 最高价, 最低价, 成交量, 成交金额,
// 涨跌, 时间, 盈亏金额: also the columns 0..13 of the snapshot list.
const std::vector<std::string>& snapshotColumns();
// id, 购买日期, 股票代码, 股票名称, 购买股数, 购买价, 总价, 现价, 盈亏金额, 盈亏率, 更新时间.
const std::vector<std::string>& holdingColumns();

}  // namespace quovella
