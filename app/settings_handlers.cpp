// Refresh period and window transparency, from the two sliders of page "监视".
#include <QLabel>

#include "app/main_window.h"
#include "ui/qt_text.h"
#include "ui/slider.h"
#include "ui/timer.h"

namespace quovella {

void MainWindow::applyRefreshPeriod() {
    时钟_刷新周期->setInterval(滑块条_刷新时间->position() * 1000);
    const std::string seconds = std::to_string(滑块条_刷新时间->position());
    标签2->setText(toQt(gbk("自动刷新时间(") + seconds + gbk("秒)：")));
}

void MainWindow::applyTransparency() {}

}  // namespace quovella
