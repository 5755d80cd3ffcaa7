#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "common/gbk.h"
#include "ui_core/cell_colour_hook.h"
#include "ui_core/fake_list.h"

namespace quovella {
namespace {

constexpr ColourWord kTomato = colourWord(255, 99, 71);
constexpr ColourWord kChartreuse = colourWord(127, 255, 0);
constexpr CellColours kDefaults{kDefaultListText, kDefaultListBackground};

CellColours colours(ColourWord text, ColourWord background) {
    return {text, background};
}

TEST(ColourLookup, DefaultsBeforeAndAfterReset) {
    CellColourHook hook;
    EXPECT_EQ(hook.coloursFor(0, 0), colours(0, 0));
    hook.resetRules();
    EXPECT_EQ(hook.coloursFor(0, 0), kDefaults);
    EXPECT_EQ(hook.coloursFor(13, 99999), kDefaults);
    hook.resetRules(0x00FF00, 0x0000FF);
    EXPECT_EQ(hook.coloursFor(1, 1), colours(0x0000FF, 0x00FF00));
}

TEST(ColourLookup, LaterRuleAndLaterListDecideBothColours) {
    CellColourHook hook;
    hook.resetRules();
    hook.addRowRule(2, 0x1, 0x2);
    hook.addRowRule(2, 0, 0x3);  // later in the same list, text colour not set
    EXPECT_EQ(hook.coloursFor(0, 2), colours(0, 0x3));
    hook.addRowRuleIfMatch(7, 0, kTomato, "2.00%", "2.00%");
    hook.addRowRuleIfMatch(7, 0x4, kChartreuse, "-1.10%", "-1.10%");
    EXPECT_EQ(hook.coloursFor(0, 7), colours(0x4, kChartreuse));

    // Each list in walk order overrides the one before for the cell (4, 5).
    hook.resetRules();
    hook.addRowRuleIfMatch(5, 0x10, 0x11, "x", "x");
    EXPECT_EQ(hook.coloursFor(4, 5), colours(0x10, 0x11));
    hook.addCellRule(4, 5, 0x60, 0x61);  // late cell: last list, added first on purpose
    hook.addColumnRule(4, 0x40, 0x41);
    hook.addRowRule(5, 0x50, 0x51);
    hook.addCellRuleIfCompare(4, 5, 0x30, 0x31, 1.0, 1, 1.0);
    hook.addCellRuleIfMatch(4, 5, 0x20, 0x21, "x", "x");
    EXPECT_EQ(hook.coloursFor(4, 5), colours(0x60, 0x61));
    EXPECT_EQ(hook.coloursFor(3, 5), colours(0x50, 0x51));  // late row beats early row
    EXPECT_EQ(hook.coloursFor(4, 6), colours(0x40, 0x41));  // column rule alone
    EXPECT_EQ(hook.coloursFor(3, 6), kDefaults);

    hook.resetRules();
    hook.addCellRuleIfMatch(4, 5, 0x20, 0x21, "x", "x");
    hook.addCellRuleIfCompare(4, 5, 0x30, 0x31, 1.0, 1, 1.0);
    EXPECT_EQ(hook.coloursFor(4, 5), colours(0x30, 0x31));
    hook.addColumnRule(4, 0x40, 0x41);
    EXPECT_EQ(hook.coloursFor(4, 5), colours(0x40, 0x41));
}

TEST(ColourLookup, RulesMatchOnlyTheirOwnKeys) {
    CellColourHook hook;
    hook.resetRules();
    hook.addCellRule(1, 2, 0x7, 0x8);
    hook.addColumnRule(-1, 0x9, 0xA);
    hook.addRowRuleIfMatch(-7, 0xB, 0xC, "a", "a");
    EXPECT_EQ(hook.coloursFor(1, 2), colours(0x7, 0x8));
    EXPECT_EQ(hook.coloursFor(2, 1), kDefaults);  // column and row are not interchangeable
    EXPECT_EQ(hook.coloursFor(1, 3), kDefaults);
    EXPECT_EQ(hook.coloursFor(-1, 0), colours(0x9, 0xA));
    EXPECT_EQ(hook.coloursFor(0, -1), kDefaults);
    EXPECT_EQ(hook.coloursFor(0, -7), colours(0xB, 0xC));
    EXPECT_EQ(hook.coloursFor(0, 7), kDefaults);
}

TEST(ColourRules, TextMatchModes) {
    CellColourHook hook;
    hook.addRowRuleIfMatch(0, 0, kTomato, "ABC-x", "abc", 1);
    hook.addRowRuleIfMatch(1, 0, kTomato, "ABC-x", "abc", 0);
    hook.addRowRuleIfMatch(1, 0, kTomato, "ABC-x", "abc");
    hook.addRowRuleIfMatch(2, 0, kTomato, "-1.10%", "-1.10%");
    hook.addRowRuleIfMatch(3, 0, kTomato, "abc", "abc", 2);
    hook.addRowRuleIfMatch(4, 0, kTomato, "abc", "abc", -1);
    hook.addRowRuleIfMatch(5, 0, kTomato, "abc", "", 1);  // empty match: in any non-empty value
    hook.addRowRuleIfMatch(6, 0, kTomato, "", "", 1);     // ... but not in an empty one
    hook.addRowRuleIfMatch(7, 0, kTomato, "", "", 0);     // equal texts
    hook.addRowRuleIfMatch(8, 0, kTomato, "ab", "abc", 1);
    std::vector<int> rows;
    for (const ColourRule& rule : hook.rules(RuleList::EarlyRow)) rows.push_back(rule.row);
    EXPECT_EQ(rows, (std::vector<int>{0, 2, 5, 7}));
    EXPECT_EQ(hook.rules(RuleList::EarlyRow)[0].text, "abc");  // the match text is kept
    EXPECT_EQ(hook.rules(RuleList::EarlyRow)[0].background, kTomato);
}

TEST(ColourRules, ContainsStepsOverDoubleByteCharacters) {
    CellColourHook hook;
    hook.addCellRuleIfMatch(3, 0, 0, kTomato, gbk("伊利股份"), gbk("股份"), 1);
    // 乐 is C0 D6 and 亚 D1 C7: "\xD6\xD1" lies across two characters and is no character.
    hook.addCellRuleIfMatch(3, 1, 0, kTomato, gbk("乐亚"), "\xD6\xD1", 1);
    // A trail byte that happens to be a letter is not folded: 0x81 0x41 is not 0x81 0x61.
    hook.addCellRuleIfMatch(3, 2, 0, kTomato, "\x81\x61", "\x81\x41", 1);
    ASSERT_EQ(hook.rules(RuleList::CellMatch).size(), 1U);
    EXPECT_EQ(hook.rules(RuleList::CellMatch)[0].row, 0);
    EXPECT_EQ(hook.rules(RuleList::CellMatch)[0].column, 3);
}

TEST(ColourRules, ComparisonModesWithinTolerance) {
    const auto accepted = [](double value, int mode, double reference) {
        CellColourHook hook;
        hook.addCellRuleIfCompare(0, 0, 1, 1, value, mode, reference);
        return hook.rules(RuleList::CellCompare).size() == 1;
    };
    for (int mode : {1, 3, 4}) EXPECT_TRUE(accepted(5.0, mode, 5.00000005)) << mode;
    for (int mode : {2, 5, 0, 6, -1}) EXPECT_FALSE(accepted(5.0, mode, 5.00000005)) << mode;
    for (int mode : {2, 4, 5}) EXPECT_TRUE(accepted(6.0, mode, 5.0)) << mode;
    for (int mode : {1, 3}) EXPECT_FALSE(accepted(6.0, mode, 5.0)) << mode;
    for (int mode : {3, 5}) EXPECT_TRUE(accepted(4.0, mode, 5.0)) << mode;
    for (int mode : {1, 2, 4}) EXPECT_FALSE(accepted(4.0, mode, 5.0)) << mode;
    for (int mode : {1, 2, 3, 4, 5}) EXPECT_FALSE(accepted(std::nan(""), mode, 5.0)) << mode;
}

TEST(ColourRules, StripedRowsTakeThePairOfTheirParity) {
    CellColourHook hook;
    for (int row : {0, 1, 2, -1, -2, 2147483647}) hook.addStripedRowRule(row, 1, 2, 3, 4);
    EXPECT_EQ(hook.coloursFor(0, 0), colours(1, 2));
    EXPECT_EQ(hook.coloursFor(0, 1), colours(3, 4));
    EXPECT_EQ(hook.coloursFor(0, 2), colours(1, 2));
    EXPECT_EQ(hook.coloursFor(0, -1), colours(3, 4));
    EXPECT_EQ(hook.coloursFor(0, -2), colours(1, 2));
    EXPECT_EQ(hook.coloursFor(0, 2147483647), colours(3, 4));
}

TEST(ColourRules, EveryAddAndResetAppliesTheDefaultsToTheList) {
    ParentWindow parent(0x100);
    testing::FakeList list(0x200);
    CellColourHook hook;
    hook.addRowRule(0, 1, 1);  // not attached: nothing to apply to
    hook.attach(parent, list);
    hook.addRowRule(0, 1, 1);  // defaults not set yet: the list keeps its own colours
    EXPECT_TRUE(list.backgrounds.empty());
    EXPECT_TRUE(list.textColours.empty());

    hook.resetRules();
    EXPECT_EQ(list.backgrounds, std::vector<ColourWord>{kDefaultListBackground});
    EXPECT_EQ(list.textColours, std::vector<ColourWord>{kDefaultListText});
    hook.resetRules(kChartreuse, 0x0000FF);
    hook.addRowRuleIfMatch(0, 0, kTomato, "a", "b");  // refused, still applies
    hook.addStripedRowRule(0, 1, 2, 3, 4);
    hook.addRowRule(0, 1, 2);
    hook.addCellRuleIfMatch(0, 0, 1, 2, "a", "b", 7);  // refused
    hook.addCellRule(0, 0, 1, 2);
    hook.addCellRuleIfCompare(0, 0, 1, 2, 1.0, 9, 1.0);  // refused
    hook.addColumnRule(0, 1, 2);
    std::vector<ColourWord> backgrounds(8, kChartreuse);
    std::vector<ColourWord> textColours(8, 0x0000FF);
    backgrounds.insert(backgrounds.begin(), kDefaultListBackground);
    textColours.insert(textColours.begin(), kDefaultListText);
    EXPECT_EQ(list.backgrounds, backgrounds);
    EXPECT_EQ(list.textColours, textColours);
}

TEST(ColourRules, ResetDropsEveryList) {
    CellColourHook hook;
    hook.addRowRuleIfMatch(0, 1, 1, "a", "a");
    hook.addCellRuleIfMatch(0, 0, 1, 1, "a", "a");
    hook.addCellRuleIfCompare(0, 0, 1, 1, 1, 1, 1);
    hook.addColumnRule(0, 1, 1);
    hook.addRowRule(0, 1, 1);
    hook.addCellRule(0, 0, 1, 1);
    hook.resetRules();
    for (std::size_t i = 0; i < kRuleListCount; ++i) {
        EXPECT_TRUE(hook.rules(static_cast<RuleList>(i)).empty()) << i;
    }
    EXPECT_EQ(hook.coloursFor(0, 0), kDefaults);
}

TEST(ColourRules, CopiesAreIndependentAndUnattached) {
    ParentWindow parent(0x100);
    testing::FakeList list(0x200);
    CellColourHook original;
    original.attach(parent, list);
    original.resetRules(kChartreuse);
    original.addCellRuleIfMatch(1, 2, 0, kTomato, gbk("伊利股份"), gbk("伊利"), 1);
    original.addRowRule(3, 5, 6);

    {
        CellColourHook copy(original);
        EXPECT_FALSE(copy.isAttached());
        EXPECT_EQ(copy.defaultBackground(), kChartreuse);
        ASSERT_EQ(copy.rules(RuleList::CellMatch).size(), 1U);
        EXPECT_EQ(copy.rules(RuleList::CellMatch)[0].text, gbk("伊利"));
        EXPECT_EQ(copy.coloursFor(1, 2), colours(0, kTomato));
        copy.addRowRule(3, 7, 8);
        copy.resetRules();  // neither touches the original nor its list
        EXPECT_EQ(list.backgrounds.back(), kChartreuse);
    }
    // The copy's end must not have unhooked the original.
    EXPECT_TRUE(original.isAttached());
    EXPECT_EQ(original.coloursFor(0, 3), colours(5, 6));
    EXPECT_EQ(original.coloursFor(1, 2), colours(0, kTomato));

    CellColourHook assigned;
    assigned.attach(parent, list);  // in front of the original
    assigned = original;
    EXPECT_FALSE(assigned.isAttached());
    EXPECT_EQ(assigned.coloursFor(0, 3), colours(5, 6));
    assigned.addRowRule(3, 9, 9);
    EXPECT_EQ(original.coloursFor(0, 3), colours(5, 6));
    EXPECT_EQ(original.rules(RuleList::LateRow).size(), 1U);
}

}  // namespace
}  // namespace quovella
