#include <gtest/gtest.h>

#include <vector>

#include "ui_core/cell_colour_hook.h"
#include "ui_core/fake_list.h"

namespace quovella {
namespace {

using namespace customdraw;

constexpr WindowHandle kParent = 0x100;
constexpr WindowHandle kList = 0x200;
constexpr std::intptr_t kPreviousAnswer = 7;
// What the list puts into a record before asking: its own colours.
constexpr ColourWord kListText = 0x0A0B0C;
constexpr ColourWord kListBackground = 0x0D0E0F;

struct Call {
    WindowHandle window;
    unsigned message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
    friend bool operator==(const Call&, const Call&) = default;
};

// A parent whose procedure before the hook records every call and answers 7.
class HookBinding : public ::testing::Test {
  protected:
    HookBinding() {
        parent.replaceProcedure([this](WindowHandle window, unsigned message, std::uintptr_t wParam,
                                       std::intptr_t lParam) {
            calls.push_back({window, message, wParam, lParam});
            return kPreviousAnswer;
        });
    }

    static CustomDrawRecord record(std::uint32_t stage, int item = 0, int subItem = 0,
                                   WindowHandle from = kList) {
        return {from, kCustomDrawCode, stage, item, subItem, kListText, kListBackground};
    }
    std::intptr_t notify(CustomDrawRecord& r) {
        return parent.send(kNotifyMessage, 0, reinterpret_cast<std::intptr_t>(&r));
    }

    ParentWindow parent{kParent};
    testing::FakeList list{kList};
    std::vector<Call> calls;
};

TEST_F(HookBinding, WithoutRulesOrDefaultsTheListKeepsItsColours) {
    CellColourHook hook;
    hook.attach(parent, list);
    auto pre = record(kPrePaint);
    auto item = record(kItemPrePaint, 3);
    auto sub = record(kSubItemPrePaint, 3, 2);
    auto post = record(0x2, 3);
    EXPECT_EQ(notify(pre), kNotifyItemDraw);
    EXPECT_EQ(notify(item), kNotifySubItemDraw);
    EXPECT_EQ(notify(sub), kPreviousAnswer);
    EXPECT_EQ(notify(post), kPreviousAnswer);
    EXPECT_EQ(calls.size(), 2U);  // the sub-item and the other stage went on
    for (const auto& r : {pre, item, sub, post}) {
        EXPECT_EQ(r.textColour, kListText);
        EXPECT_EQ(r.textBackground, kListBackground);
    }
}

TEST_F(HookBinding, SubItemStageCarriesTheDefaultsAfterReset) {
    CellColourHook hook;
    hook.attach(parent, list);
    hook.resetRules();
    auto sub = record(kSubItemPrePaint, 4, 1);
    EXPECT_EQ(notify(sub), kPreviousAnswer);
    EXPECT_EQ(sub.textColour, kDefaultListText);
    EXPECT_EQ(sub.textBackground, kDefaultListBackground);
    // Without early row rules the item stage still asks for every sub-item.
    auto item = record(kItemPrePaint, 4);
    EXPECT_EQ(notify(item), kNotifySubItemDraw);
    EXPECT_EQ(item.textBackground, kListBackground);
}

TEST_F(HookBinding, EarlyRowRuleColoursTheItemStageAndDefersTheAnswer) {
    CellColourHook hook;
    hook.attach(parent, list);
    hook.resetRules();
    hook.addRowRuleIfMatch(2, 0, colourWord(255, 99, 71), "2.00%", "2.00%");
    auto row2 = record(kItemPrePaint, 2);
    auto row3 = record(kItemPrePaint, 3);
    EXPECT_EQ(notify(row2), kPreviousAnswer);
    EXPECT_EQ(notify(row3), kPreviousAnswer);
    EXPECT_EQ(row2.textBackground, colourWord(255, 99, 71));
    EXPECT_EQ(row2.textColour, kListText);  // text colour 0 is not written
    EXPECT_EQ(row3.textBackground, kDefaultListBackground);
    EXPECT_EQ(row3.textColour, kDefaultListText);
    ASSERT_EQ(calls.size(), 2U);
    EXPECT_EQ(calls[0], (Call{kParent, kNotifyMessage, 0, reinterpret_cast<std::intptr_t>(&row2)}));
}

TEST_F(HookBinding, ColoursOfZeroOrBelowAreNeverWritten) {
    CellColourHook hook;
    hook.attach(parent, list);
    hook.resetRules();
    hook.addCellRule(1, 1, 0, 0);
    hook.addCellRule(2, 1, -5, 0x123456);
    auto keep = record(kSubItemPrePaint, 1, 1);
    auto negative = record(kSubItemPrePaint, 1, 2);
    notify(keep);
    notify(negative);
    EXPECT_EQ(keep.textColour, kListText);
    EXPECT_EQ(keep.textBackground, kListBackground);
    EXPECT_EQ(negative.textColour, kListText);
    EXPECT_EQ(negative.textBackground, 0x123456);

    hook.detach();
    CellColourHook negativeDefaults;
    negativeDefaults.resetRules(-1, -1);
    negativeDefaults.attach(parent, list);
    auto other = record(kSubItemPrePaint, 5, 5);
    notify(other);
    EXPECT_EQ(other.textColour, kListText);
    EXPECT_EQ(other.textBackground, kListBackground);
}

TEST_F(HookBinding, EverythingElsePassesOnUntouched) {
    CellColourHook hook;
    hook.attach(parent, list);
    hook.resetRules();
    hook.addRowRule(0, 0x111111, 0x222222);
    auto foreign = record(kPrePaint, 0, 0, 0x300);
    auto foreignItem = record(kItemPrePaint, 0, 0, 0x300);
    auto click = record(kSubItemPrePaint);
    click.code = -2;
    EXPECT_EQ(notify(foreign), kPreviousAnswer);
    EXPECT_EQ(notify(foreignItem), kPreviousAnswer);
    EXPECT_EQ(notify(click), kPreviousAnswer);
    for (const auto& r : {foreign, foreignItem, click}) {
        EXPECT_EQ(r.textColour, kListText);
        EXPECT_EQ(r.textBackground, kListBackground);
    }
    EXPECT_EQ(parent.send(0x0F, 9, 11), kPreviousAnswer);
    EXPECT_EQ(parent.send(kNotifyMessage, 1, 0), kPreviousAnswer);  // no record at all
    ASSERT_EQ(calls.size(), 5U);
    EXPECT_EQ(calls[3], (Call{kParent, 0x0F, 9, 11}));
    EXPECT_EQ(calls[4], (Call{kParent, kNotifyMessage, 1, 0}));
}

TEST_F(HookBinding, AttachAndDetachKeepTheChain) {
    auto pre = record(kPrePaint);
    {
        CellColourHook never;
        never.detach();  // never attached: the parent keeps its procedure
        EXPECT_EQ(notify(pre), kPreviousAnswer);

        CellColourHook hook;
        hook.attach(parent, list);
        hook.attach(parent, list);  // again: still one hook in front of the previous
        EXPECT_EQ(notify(pre), kNotifyItemDraw);
        EXPECT_EQ(parent.send(0x0F, 0, 0), kPreviousAnswer);
        hook.detach();
        hook.detach();
        EXPECT_FALSE(hook.isAttached());
        EXPECT_EQ(notify(pre), kPreviousAnswer);

        hook.attach(parent, list);
        EXPECT_EQ(notify(pre), kNotifyItemDraw);
    }  // destroyed while attached
    EXPECT_EQ(notify(pre), kPreviousAnswer);
    EXPECT_EQ(calls.size(), 4U);  // every message not answered reached the previous once

    // Detached, the hook no longer touches the list it was bound to.
    CellColourHook hook;
    hook.attach(parent, list);
    hook.detach();
    hook.resetRules();
    EXPECT_TRUE(list.backgrounds.empty());
}

TEST_F(HookBinding, TwoHooksOnOneParentUnwindInOrder) {
    testing::FakeList other{0x201};
    CellColourHook first;
    CellColourHook second;
    first.attach(parent, list);
    second.attach(parent, other);
    first.resetRules();
    first.addRowRule(1, 0x333333, 0x444444);
    auto r = record(kSubItemPrePaint, 1, 0);
    EXPECT_EQ(notify(r), kPreviousAnswer);  // through the second hook to the first
    EXPECT_EQ(r.textBackground, 0x444444);
    second.detach();
    first.detach();
    EXPECT_EQ(parent.send(0x0F, 0, 0), kPreviousAnswer);
    EXPECT_EQ(calls.size(), 2U);
}

}  // namespace
}  // namespace quovella
