#include "app/records/records_page.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <utility>

#include "app/window/failure_log.h"
#include "app/window/page_layout.h"
#include "ui/list_view.h"
#include "ui/qt_text.h"
#include "ui/timer.h"

namespace quovella {

RecordsPage::RecordsPage(PageContext context, ParentWindow& parent, QWidget* box)
    : QObject(&context.window), context_(context), recordsWorker_(std::make_unique<Worker>()) {
    buildUnits(parent, box);
}

RecordsPage::~RecordsPage() {
    endBackgroundWork();
}

void RecordsPage::buildUnits(ParentWindow& parent, QWidget* box) {
    编辑框_条件 = new QLineEdit(box);
    placeOnPage(编辑框_条件, 8, 33, 112, 28);
    按钮_搜索 = button(box, "搜索");
    placeOnPage(按钮_搜索, 132, 32, 80, 28);
    单选框_正向 = new QRadioButton(toQt(gbk("正向排序")), box);
    单选框_正向->setGeometry(229, 10, 80, 24);
    单选框_逆向 = new QRadioButton(toQt(gbk("逆向排序")), box);
    单选框_逆向->setGeometry(317, 10, 80, 24);
    按钮_删除选中 = button(box, "删除选中");
    placeOnPage(按钮_删除选中, 456, 32, 80, 28);
    时钟1 = new Timer(1000, this);

    编辑框_选中ID = new QLineEdit(box);
    placeOnPage(编辑框_选中ID, 544, 32, 56, 28);
    编辑框_选中ID->setEnabled(false);
    QFont bold = 编辑框_选中ID->font();
    bold.setPixelSize(14);
    bold.setBold(true);
    编辑框_选中ID->setFont(bold);
    setRedText(编辑框_选中ID);

    超级列表框_数据表 = new ListView(listColumns({{"序号", 40},
                                                  {"日期", 80},
                                                  {"股票代码", 80},
                                                  {"股票名称", 80},
                                                  {"今开盘价", 80},
                                                  {"昨收盘价", 80},
                                                  {"当前价格", 80},
                                                  {"最高价", 80},
                                                  {"最低价", 80},
                                                  {"成交量", 90},
                                                  {"成交金额", 90},
                                                  {"涨跌%", 80},
                                                  {"时间", 130},
                                                  {"盈亏金额", 80}}),
                                     &parent, box);
    placeOnPage(超级列表框_数据表, 4, 64, 1156, 463);
}

void RecordsPage::applyStartupState() {
    按钮_删除选中->setEnabled(false);
    单选框_正向->setChecked(true);
}

// The list's steps end with the worker. A delete asked before still has its answer coming,
// and one that failed is told, without waiting for its turn in the list.
void RecordsPage::endBackgroundWork() {
    recordsWorker_->shutdown();
    ending_ = true;
    for (const std::shared_ptr<StoreAnswer<Stored>>& answer : std::exchange(deletesUntold_, {})) {
        answer->whenBack([this](const StoreOutcome<Stored>& outcome) {
            if (outcome.ok()) return;
            logStoreFailure(outcome.error, "delete");
            tellDeleted(false);
        });
    }
}

}  // namespace quovella
