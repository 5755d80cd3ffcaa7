#include "ui/tab_control.h"

#include <QStackedWidget>
#include <QTabBar>

#include "ui/qt_text.h"

namespace quovella {

TabControl::TabControl(QRect pageArea, QWidget* parent) : QWidget(parent) {
    tabs_ = new QTabBar(this);
    tabs_->setDrawBase(false);
    tabs_->setExpanding(false);
    tabs_->move(2, 0);
    pages_ = new QStackedWidget(this);
    pages_->setGeometry(pageArea);
    connect(tabs_, &QTabBar::currentChanged, pages_, &QStackedWidget::setCurrentIndex);
}

QWidget* TabControl::addPage(std::string_view caption) {
    auto* box = new QWidget;
    box->setAutoFillBackground(true);
    pages_->addWidget(box);
    // Pages not yet shown are sized now, so their units' places hold from the start.
    box->setGeometry(0, 0, pages_->width(), pages_->height());
    tabs_->addTab(toQt(caption));
    tabs_->resize(tabs_->sizeHint());
    return box;
}

int TabControl::pageCount() const {
    return tabs_->count();
}
int TabControl::currentPage() const {
    return tabs_->currentIndex();
}
void TabControl::setCurrentPage(int page) {
    tabs_->setCurrentIndex(page);
}

}  // namespace quovella
