#include "ui/list_custom_draw.h"

#include <gtest/gtest.h>

#include <vector>

namespace quovella {
namespace {

constexpr WindowHandle kList = 77;
constexpr ColourWord kOwnText = colourWord(22, 22, 22);
constexpr ColourWord kOwnBack = colourWord(255, 255, 255);
constexpr ColourWord kTomato = colourWord(255, 99, 71);
constexpr ColourWord kGreen = colourWord(127, 255, 0);

struct Seen {
    std::uint32_t stage;
    int item;
    int subItem;
    ColourWord text;
    ColourWord background;
    bool operator==(const Seen&) const = default;
};

// A parent procedure: records every record it is sent and answers with the given rules.
class FakeParent {
  public:
    std::intptr_t prePaintAnswer = customdraw::kNotifyItemDraw;
    std::intptr_t itemAnswer = customdraw::kDoDefault;
    // Row 1: tomato at the item stage; cell (1, 2): green at the sub-item stage; (0, 1): 0.
    FakeParent() {
        window.replaceProcedure([this](WindowHandle, unsigned message, std::uintptr_t,
                                       std::intptr_t lParam) {
            auto* r = reinterpret_cast<CustomDrawRecord*>(lParam);
            EXPECT_EQ(message, customdraw::kNotifyMessage);
            EXPECT_EQ(r->from, kList);
            EXPECT_EQ(r->code, customdraw::kCustomDrawCode);
            seen.push_back({r->drawStage, r->item, r->subItem, r->textColour, r->textBackground});
            if (r->drawStage == customdraw::kPrePaint) return prePaintAnswer;
            if (r->drawStage == customdraw::kItemPrePaint && r->item == 1)
                r->textBackground = kTomato;
            if (r->drawStage == customdraw::kSubItemPrePaint && r->item == 1 && r->subItem == 2) {
                r->textBackground = kGreen;
            }
            return r->drawStage == customdraw::kItemPrePaint ? itemAnswer : customdraw::kDoDefault;
        });
    }
    ParentWindow window{5};
    std::vector<Seen> seen;
};

class ListCustomDrawTest : public ::testing::Test {
  protected:
    void SetUp() override { draw.setOwnColours({kOwnText, kOwnBack}); }
    FakeParent parent;
    ListCustomDraw draw{kList, &parent.window};
};

TEST_F(ListCustomDrawTest, ItemColoursPaintTheWholeRowAndAreAskedOncePerRowAndPaint) {
    draw.beginPaint();
    for (int column = 0; column < 3; ++column) {
        EXPECT_EQ(draw.coloursFor(1, column).background, kTomato);
        EXPECT_EQ(draw.coloursFor(0, column).background, kOwnBack);
        EXPECT_EQ(draw.coloursFor(1, column).text, kOwnText);
    }
    EXPECT_EQ(parent.seen, (std::vector<Seen>{
                               {customdraw::kPrePaint, 0, 0, kOwnText, kOwnBack},
                               {customdraw::kItemPrePaint, 1, 0, kOwnText, kOwnBack},
                               {customdraw::kItemPrePaint, 0, 0, kOwnText, kOwnBack},
                           }));
    draw.beginPaint();
    draw.coloursFor(1, 0);
    EXPECT_EQ(parent.seen.size(), 5u);  // a new paint asks again
}

TEST_F(ListCustomDrawTest, SubItemStagesStartFromTheListsOwnColoursWhenAsked) {
    parent.itemAnswer = customdraw::kNotifySubItemDraw;
    draw.beginPaint();
    EXPECT_EQ(draw.coloursFor(1, 2).background, kGreen);
    // Not the item stage's tomato: every sub-item starts from the list's own colours.
    EXPECT_EQ(draw.coloursFor(1, 1).background, kOwnBack);
    EXPECT_EQ(parent.seen, (std::vector<Seen>{
                               {customdraw::kPrePaint, 0, 0, kOwnText, kOwnBack},
                               {customdraw::kItemPrePaint, 1, 0, kOwnText, kOwnBack},
                               {customdraw::kSubItemPrePaint, 1, 2, kOwnText, kOwnBack},
                               {customdraw::kSubItemPrePaint, 1, 1, kOwnText, kOwnBack},
                           }));
}

TEST_F(ListCustomDrawTest, WithoutItemNotificationsOnlyThePrePaintIsSent) {
    parent.prePaintAnswer = customdraw::kDoDefault;
    draw.beginPaint();
    EXPECT_EQ(draw.coloursFor(1, 0).background, kOwnBack);
    EXPECT_EQ(parent.seen.size(), 1u);
}

TEST(ListCustomDrawDefaults, TheListsOwnColoursStartUnsetAndNoParentMeansNoConversation) {
    ListCustomDraw alone(kList, nullptr);
    alone.beginPaint();
    const PaintColours colours = alone.coloursFor(0, 0);
    EXPECT_LE(colours.text, 0);
    EXPECT_LE(colours.background, 0);
}

}  // namespace
}  // namespace quovella
