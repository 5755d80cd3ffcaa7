#include "feed/stock_list.h"

#include <array>

namespace quovella {
namespace {

constexpr std::array stocks{
    KnownStock{"sh600887", "伊利股份", 2836},   KnownStock{"sz000001", "平安银行", 1102},
    KnownStock{"sh600519", "贵州茅台", 168800}, KnownStock{"sz300750", "宁德时代", 19850},
    KnownStock{"sh601318", "中国平安", 4512},   KnownStock{"sh600036", "招商银行", 3318},
    KnownStock{"sz000858", "五粮液", 14820},    KnownStock{"sh601398", "工商银行", 521},
    KnownStock{"sh601988", "中国银行", 412},    KnownStock{"sh601939", "建设银行", 668},
    KnownStock{"sh601288", "农业银行", 384},    KnownStock{"sh600000", "浦发银行", 752},
    KnownStock{"sh600030", "中信证券", 2135},   KnownStock{"sh600276", "恒瑞医药", 4466},
    KnownStock{"sh600900", "长江电力", 2318},   KnownStock{"sh601166", "兴业银行", 1634},
    KnownStock{"sh600028", "中国石化", 612},    KnownStock{"sh601857", "中国石油", 748},
    KnownStock{"sh600104", "上汽集团", 1406},   KnownStock{"sh600050", "中国联通", 478},
    KnownStock{"sh601012", "隆基绿能", 2245},   KnownStock{"sh600309", "万华化学", 8520},
    KnownStock{"sh601888", "中国中免", 8930},   KnownStock{"sh600585", "海螺水泥", 2410},
    KnownStock{"sh601628", "中国人寿", 3025},   KnownStock{"sh600048", "保利发展", 1088},
    KnownStock{"sh601668", "中国建筑", 548},    KnownStock{"sh600690", "海尔智家", 2392},
    KnownStock{"sh601899", "紫金矿业", 1415},   KnownStock{"sh600031", "三一重工", 1528},
    KnownStock{"sh688981", "中芯国际", 4950},   KnownStock{"sz000333", "美的集团", 6044},
    KnownStock{"sz000651", "格力电器", 3560},   KnownStock{"sz002594", "比亚迪", 24830},
    KnownStock{"sz002415", "海康威视", 3218},   KnownStock{"sz002304", "洋河股份", 9975},
    KnownStock{"sz000568", "泸州老窖", 17690},  KnownStock{"sz300059", "东方财富", 1412},
    KnownStock{"sz300015", "爱尔眼科", 1586},   KnownStock{"sz002475", "立讯精密", 3047},
    KnownStock{"sz000063", "中兴通讯", 2815},   KnownStock{"sz002714", "牧原股份", 4136},
    KnownStock{"sz300760", "迈瑞医疗", 28920},  KnownStock{"sz000100", "TCL科技", 432},
    KnownStock{"sz002352", "顺丰控股", 3788},   KnownStock{"sz000338", "潍柴动力", 1517},
    KnownStock{"sz300124", "汇川技术", 6021},   KnownStock{"sz002230", "科大讯飞", 4472},
    KnownStock{"sz000625", "长安汽车", 1296},
};

}  // namespace

std::span<const KnownStock> knownStocks() {
    return stocks;
}

}  // namespace quovella
