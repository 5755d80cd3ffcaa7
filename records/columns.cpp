#include "records/columns.h"

#include "common/gbk.h"

namespace quovella {
namespace {

std::vector<std::string> gbkNames(std::initializer_list<const char*> utf8Names) {
    std::vector<std::string> names;
    for (const char* name : utf8Names) names.push_back(gbk(name));
    return names;
}

}  // namespace

const std::vector<std::string>& snapshotColumns() {
    static const std::vector<std::string> names =
        gbkNames({"id", "日期", "股票代码", "股票名称", "今开盘价", "昨收盘价", "当前价格",
                  "最高价", "最低价", "成交量", "成交金额", "涨跌", "时间", "盈亏金额"});
    return names;
}

const std::vector<std::string>& holdingColumns() {
    static const std::vector<std::string> names =
        gbkNames({"id", "购买日期", "股票代码", "股票名称", "购买股数", "购买价", "总价", "现价",
                  "盈亏金额", "盈亏率", "更新时间"});
    return names;
}

}  // namespace quovella
