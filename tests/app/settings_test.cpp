#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <vector>

#include "app/window_fixture.h"
#include "ui/slider.h"
#include "ui/timer.h"

namespace quovella {
namespace {

using testing::WindowFixture;

// A user step that lands on the given position, raising the slider's event as a drag does.
void moveSlider(Slider* slider, int position) {
    slider->setPosition(position);
    slider->triggerAction(QAbstractSlider::SliderMove);
}

class SettingsTest : public WindowFixture {
  protected:
    double opacityAt(int position) {
        moveSlider(window().watchPage().滑块条_透明度, position);
        return window().windowOpacity();
    }
};

TEST_F(SettingsTest, TheWindowStartsOpaqueAndFollowsTheTransparencySlider) {
    MainWindow& w = window();
    EXPECT_EQ(w.watchPage().滑块条_透明度->position(), 10);
    EXPECT_DOUBLE_EQ(w.windowOpacity(), 1.0);

    const int alphas[] = {25, 51, 76, 102, 127, 153, 178, 204, 229, 255};
    for (int position = 1; position <= 10; ++position) {
        EXPECT_DOUBLE_EQ(opacityAt(position), alphas[position - 1] / 255.0) << position;
    }
    // Nearly transparent, yet still on screen and usable.
    EXPECT_DOUBLE_EQ(opacityAt(1), 25 / 255.0);
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.watchPage().按钮_添加->isEnabled());
    EXPECT_DOUBLE_EQ(opacityAt(10), 1.0);
}

TEST_F(SettingsTest, TheRefreshSliderRestartsTheTimerOnlyWhenThePeriodChanges) {
    MainWindow& w = window();
    std::vector<int> restarts;
    QObject::connect(w.watchPage().时钟_刷新周期, &Timer::intervalChanged,
                     [&](int ms) { restarts.push_back(ms); });

    moveSlider(w.watchPage().滑块条_刷新时间, 10);
    EXPECT_EQ(w.watchPage().时钟_刷新周期->interval(), 10000);
    EXPECT_TRUE(w.watchPage().时钟_刷新周期->isRunning());
    EXPECT_EQ(fromQt(w.watchPage().标签2->text()), gbk("自动刷新时间(10秒)："));

    // The same position again (a step against the end of the range): the running period keeps
    // its phase.
    w.watchPage().滑块条_刷新时间->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    moveSlider(w.watchPage().滑块条_刷新时间, 3);
    EXPECT_EQ(fromQt(w.watchPage().标签2->text()), gbk("自动刷新时间(3秒)："));
    EXPECT_EQ(restarts, (std::vector<int>{10000, 3000}));
}

}  // namespace
}  // namespace quovella
