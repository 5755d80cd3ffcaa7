#include "app/watch/watch_page.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "app/window/page_layout.h"
#include "ui/grid.h"
#include "ui/slider.h"
#include "ui/timer.h"

namespace quovella {

WatchPage::WatchPage(PageContext context, std::string quoteBaseUrl, FetchOptions fetchOptions,
                     QWidget* box)
    : QObject(&context.window),
      context_(context),
      quoteBaseUrl_(std::move(quoteBaseUrl)),
      fetchOptions_(fetchOptions),
      quotesWorker_(std::make_unique<Worker>()) {
    FetchOptions cancellable = fetchOptions_;
    cancellable.cancel = quotesWorker_->cancelFlag();
    quotes_ = QuoteSource(quoteBaseUrl_, cancellable);
    buildUnits(box);
}

WatchPage::~WatchPage() {
    endBackgroundWork();
}

void WatchPage::buildUnits(QWidget* box) {
    按钮_添加 = button(box, "添加股票代码");
    placeOnPage(按钮_添加, 8, 28, 80, 32);
    按钮_删除 = button(box, "删除选中行");
    placeOnPage(按钮_删除, 101, 28, 80, 32);
    时钟_刷新周期 = new Timer(0, this);
    refreshPause_ = new QTimer(this);
    refreshPause_->setSingleShot(true);
    refreshPause_->setTimerType(Qt::PreciseTimer);
    connect(refreshPause_, &QTimer::timeout, this, [this] {
        ++refreshRow_;
        refreshNextRow();
    });
    标签2 = label(box, "自动刷新时间(秒)：");
    placeOnPage(标签2, 232, 29, 120, 24);
    滑块条_刷新时间 = new Slider(1, 10, 1, box);
    placeOnPage(滑块条_刷新时间, 354, 27, 144, 31);
    标签1 = label(box, "窗口透明度：");
    placeOnPage(标签1, 512, 29, 72, 24);
    滑块条_透明度 = new Slider(1, 10, 1, box);
    placeOnPage(滑块条_透明度, 589, 27, 144, 31);

    高级表格_股票 = new Grid(box);
    placeOnPage(高级表格_股票, 3, 72, 1149, 448);
    高级表格_股票->setColumnCount(11);
    高级表格_股票->setRowCount(5);
    高级表格_股票->setFixedRowCount(1);
    高级表格_股票->setFixedColumnCount(1);
    高级表格_股票->setWholeRowSelection(true);
}

void WatchPage::endBackgroundWork() {
    quotesWorker_->shutdown();
}

QuoteSource WatchPage::quoteSource() const {
    return QuoteSource(quoteBaseUrl_, fetchOptions_);
}

}  // namespace quovella
