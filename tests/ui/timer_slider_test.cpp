#include <gtest/gtest.h>

#include <vector>

#include "ui/slider.h"
#include "ui/timer.h"

namespace quovella {
namespace {

TEST(TimerTest, TheIntervalAloneDecidesWhetherItRuns) {
    Timer designStopped(0);
    EXPECT_FALSE(designStopped.isRunning());
    Timer timer(1000);
    EXPECT_TRUE(timer.isRunning());
    std::vector<int> changes;
    QObject::connect(&timer, &Timer::intervalChanged, [&](int ms) { changes.push_back(ms); });

    timer.setInterval(1000);  // the same value: nothing, the phase is kept
    EXPECT_TRUE(timer.isRunning());
    timer.setInterval(-5);
    EXPECT_EQ(timer.interval(), 0);
    EXPECT_FALSE(timer.isRunning());
    timer.setInterval(0);
    timer.setInterval(3000);
    EXPECT_TRUE(timer.isRunning());
    EXPECT_EQ(timer.interval(), 3000);
    EXPECT_EQ(changes, (std::vector<int>{0, 3000}));
}

TEST(SliderTest, EveryUserStepRaisesPositionChangedEvenWithoutAChange) {
    Slider slider(1, 10, 1);
    EXPECT_EQ(slider.pageStep(), 5);
    EXPECT_EQ(slider.singleStep(), 1);
    EXPECT_EQ(slider.tickInterval(), 1);
    std::vector<int> seen;
    QObject::connect(&slider, &Slider::positionChanged, [&] { seen.push_back(slider.position()); });

    slider.triggerAction(QAbstractSlider::SliderSingleStepSub);  // at the minimum already
    slider.triggerAction(QAbstractSlider::SliderPageStepAdd);
    slider.setPosition(20);  // programmatic: brought into range, no event
    EXPECT_EQ(slider.position(), 10);
    slider.triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(seen, (std::vector<int>{1, 6, 5}));
}

}  // namespace
}  // namespace quovella
