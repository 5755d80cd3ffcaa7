// Refresh period and window transparency, from the two sliders of page "监视".
#include <QGuiApplication>
#include <QLabel>

#include "app/watch/watch_page.h"
#include "common/numbers.h"
#include "ui/qt_text.h"
#include "ui/slider.h"
#include "ui/timer.h"

namespace quovella {

namespace {

// Whole-window opacity is honoured by the desktop platforms (and kept by the headless one);
// elsewhere, e.g. under Wayland, the request would be silently dropped, so it is not made.
bool windowOpacitySupported() {
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("windows") || platform == QLatin1String("xcb") ||
           platform == QLatin1String("cocoa") || platform == QLatin1String("offscreen");
}

int alphaOfPosition(int position) {
    const int alpha = truncToInt(position * 25.5);
    return alpha < 0 || alpha > 255 ? 255 : alpha;
}

}  // namespace

void WatchPage::applyStartupSettings() {
    applyRefreshPeriod();
    // The transparency itself waits until the user moves the slider.
    滑块条_透明度->setPosition(10);
}

void WatchPage::applyRefreshPeriod() {
    // While an add's check is out the timer stays stopped; the add's reload starts it at
    // the period chosen by then.
    if (!addChecking_) 时钟_刷新周期->setInterval(滑块条_刷新时间->position() * 1000);
    const std::string seconds = std::to_string(滑块条_刷新时间->position());
    标签2->setText(toQt(gbk("自动刷新时间(") + seconds + gbk("秒)：")));
}

void WatchPage::applyTransparency() {
    if (!windowOpacitySupported()) return;
    context_.window.setWindowOpacity(alphaOfPosition(滑块条_透明度->position()) / 255.0);
}

}  // namespace quovella
