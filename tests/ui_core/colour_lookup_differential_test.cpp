// The indexed lookup against a literal walk of the six lists, over random rule sets.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "common/gbk.h"
#include "ui_core/cell_colour_hook.h"

namespace quovella {
namespace {

struct Model {
    std::array<std::vector<ColourRule>, kRuleListCount> lists;
    ColourWord defaultBackground = 0;
    ColourWord defaultText = 0;
};

const std::vector<ColourRule>& listOf(const Model& m, RuleList l) {
    return m.lists[static_cast<std::size_t>(l)];
}

// Every lookup scans all six lists in order; every match overrides both colours.
CellColours literalWalk(const Model& m, int column, int row) {
    CellColours c{m.defaultText, m.defaultBackground};
    const auto take = [&](const ColourRule& r) { c = {r.textColour, r.background}; };
    for (const auto& r : listOf(m, RuleList::EarlyRow)) {
        if (r.row == row) take(r);
    }
    for (const auto& r : listOf(m, RuleList::CellMatch)) {
        if (r.column == column && r.row == row) take(r);
    }
    for (const auto& r : listOf(m, RuleList::CellCompare)) {
        if (r.column == column && r.row == row) take(r);
    }
    for (const auto& r : listOf(m, RuleList::Column)) {
        if (r.column == column) take(r);
    }
    for (const auto& r : listOf(m, RuleList::LateRow)) {
        if (r.row == row) take(r);
    }
    for (const auto& r : listOf(m, RuleList::LateCell)) {
        if (r.column == column && r.row == row) take(r);
    }
    return c;
}

class RandomRules {
  public:
    explicit RandomRules(unsigned seed) : random_(seed) {}

    int index() {
        static constexpr std::array<int, 8> kSpecial{-1,          -2,      INT_MIN,    INT_MAX,
                                                     INT_MAX - 1, 1 << 20, -(1 << 20), 65536};
        const int pick = uniform(0, 9);
        if (pick < 7) return uniform(0, 7);  // few keys, many collisions
        if (pick < 9) return any(kSpecial);
        return uniform(INT_MIN, INT_MAX);
    }
    ColourWord colour() {
        static constexpr std::array<ColourWord, 4> kSpecial{0, -1, INT_MIN, 0xFFFFFF};
        return uniform(0, 2) == 0 ? any(kSpecial) : uniform(1, 0xFFFFFF);
    }
    std::string text() {
        static const std::array<std::string, 7> kTexts{
            "", "a", "A", "ab", "AB-c", gbk("股份"), gbk("伊利股份")};
        return any(kTexts);
    }
    double number() {
        static constexpr std::array<double, 5> kNumbers{5.0, 5.00000005, 6.0, 4.0, -0.0};
        return any(kNumbers);
    }
    int mode() { return uniform(-1, 6); }
    int uniform(long long low, long long high) {
        return static_cast<int>(std::uniform_int_distribution<long long>(low, high)(random_));
    }
    // One element, each as likely.
    template <typename T, std::size_t N>
    const T& any(const std::array<T, N>& from) {
        return from[static_cast<std::size_t>(uniform(0, static_cast<long long>(N) - 1))];
    }

  private:
    std::mt19937 random_;
};

// 0 resets (rarely); 1 to 7 are the add operations, weighted alike.
int operationKind(int draw) {
    return draw == 0 ? 0 : 1 + (draw - 1) / 7;
}

// Applies one random operation to the hook and, when the hook took the rule, the same rule
// to the model.
void randomOperation(RandomRules& r, CellColourHook& hook, Model& model) {
    const int column = r.index();
    const int row = r.index();
    const ColourWord text = r.colour();
    const ColourWord background = r.colour();
    RuleList list = RuleList::EarlyRow;
    ColourRule expected{column, row, background, text, {}};
    switch (operationKind(r.uniform(0, 50))) {
        case 0: {
            const bool given = r.uniform(0, 1) == 1;
            given ? hook.resetRules(background, text) : hook.resetRules();
            model = Model{};
            model.defaultBackground = given ? background : kDefaultListBackground;
            model.defaultText = given ? text : kDefaultListText;
            return;
        }
        case 1: {
            const std::string value = r.text();
            expected.text = r.text();
            expected.column = 0;
            hook.addRowRuleIfMatch(row, text, background, value, expected.text, r.mode());
            break;
        }
        case 2: {
            const ColourWord oddText = r.colour();
            const ColourWord oddBackground = r.colour();
            hook.addStripedRowRule(row, text, background, oddText, oddBackground);
            expected = {0,
                        row,
                        row % 2 == 0 ? background : oddBackground,
                        row % 2 == 0 ? text : oddText,
                        {}};
            break;
        }
        case 3:
            list = RuleList::LateRow;
            expected.column = 0;
            hook.addRowRule(row, text, background);
            break;
        case 4: {
            list = RuleList::CellMatch;
            const std::string value = r.text();
            expected.text = r.text();
            hook.addCellRuleIfMatch(column, row, text, background, value, expected.text, r.mode());
            break;
        }
        case 5:
            list = RuleList::LateCell;
            hook.addCellRule(column, row, text, background);
            break;
        case 6:
            list = RuleList::CellCompare;
            hook.addCellRuleIfCompare(column, row, text, background, r.number(), r.mode(),
                                      r.number());
            break;
        default:
            list = RuleList::Column;
            expected.row = 0;
            hook.addColumnRule(column, text, background);
            break;
    }
    auto& modelList = model.lists[static_cast<std::size_t>(list)];
    if (hook.rules(list).size() == modelList.size()) return;  // refused
    ASSERT_EQ(hook.rules(list).size(), modelList.size() + 1);
    const ColourRule& stored = hook.rules(list).back();
    EXPECT_EQ(stored.column, expected.column);
    EXPECT_EQ(stored.row, expected.row);
    EXPECT_EQ(stored.textColour, expected.textColour);
    EXPECT_EQ(stored.background, expected.background);
    EXPECT_EQ(stored.text, expected.text);
    modelList.push_back(stored);
}

// A row taken out of the list: the rules bound to rows follow theirs.
void removeRow(CellColourHook& hook, Model& model, int row) {
    hook.removeRow(row);
    for (std::size_t l = 0; l < kRuleListCount; ++l) {
        if (static_cast<RuleList>(l) == RuleList::Column) continue;
        std::vector<ColourRule> kept;
        for (ColourRule rule : model.lists[l]) {
            if (rule.row == row) continue;
            if (rule.row > row) --rule.row;
            kept.push_back(rule);
        }
        model.lists[l] = kept;
    }
}

// Rows moved as a sort moves them; a landing list that is not a permutation moves nothing.
void moveRows(RandomRules& r, CellColourHook& hook, Model& model) {
    std::vector<int> landsAt(static_cast<std::size_t>(r.uniform(0, 10)));
    std::iota(landsAt.begin(), landsAt.end(), 0);
    std::shuffle(landsAt.begin(), landsAt.end(), std::mt19937(static_cast<unsigned>(r.index())));
    const bool spoilt = !landsAt.empty() && r.uniform(0, 4) == 0;
    if (spoilt) landsAt[0] = landsAt.size() > 1 ? landsAt[1] : -1;
    ASSERT_EQ(hook.moveRows(landsAt), !spoilt);
    if (spoilt) return;
    for (std::size_t l = 0; l < kRuleListCount; ++l) {
        if (static_cast<RuleList>(l) == RuleList::Column) continue;
        for (ColourRule& rule : model.lists[l]) {
            if (rule.row >= 0 && static_cast<std::size_t>(rule.row) < landsAt.size()) {
                rule.row = landsAt[static_cast<std::size_t>(rule.row)];
            }
        }
    }
}

void expectSameRules(const CellColourHook& hook, const Model& model) {
    for (std::size_t l = 0; l < kRuleListCount; ++l) {
        const ColourRuleList& rules = hook.rules(static_cast<RuleList>(l));
        ASSERT_EQ(rules.size(), model.lists[l].size()) << l;
        for (std::size_t i = 0; i < rules.size(); ++i) {
            const ColourRule& expected = model.lists[l][i];
            const ColourRule actual = rules[i];
            ASSERT_EQ(actual.row, expected.row) << l << "," << i;
            ASSERT_EQ(actual.column, expected.column) << l << "," << i;
            ASSERT_EQ(actual.text, expected.text) << l << "," << i;
            ASSERT_EQ(actual.background, expected.background) << l << "," << i;
        }
    }
}

void expectSameAnswers(RandomRules& r, const CellColourHook& hook, const Model& model) {
    for (int k = 0; k < 300; ++k) {
        const int column = r.index();
        const int row = r.index();
        const CellColours expected = literalWalk(model, column, row);
        const CellColours actual = hook.coloursFor(column, row);
        ASSERT_EQ(actual.textColour, expected.textColour) << column << "," << row;
        ASSERT_EQ(actual.background, expected.background) << column << "," << row;
    }
}

TEST(ColourLookupDifferential, IndexAnswersAsTheLiteralWalk) {
    for (unsigned seed = 1; seed <= 400; ++seed) {
        SCOPED_TRACE(seed);
        RandomRules r(seed);
        CellColourHook hook;
        Model model;
        const int operations = r.uniform(0, 300);
        for (int k = 0; k < operations; ++k) {
            if (r.uniform(0, 20) == 0) {
                removeRow(hook, model, r.index());
            } else if (r.uniform(0, 20) == 0) {
                moveRows(r, hook, model);
            } else {
                randomOperation(r, hook, model);
            }
            if (::testing::Test::HasFatalFailure()) return;
            if (k % 50 == 0) expectSameAnswers(r, hook, model);
        }
        expectSameAnswers(r, hook, model);
        expectSameRules(hook, model);
        CellColourHook copy(hook);
        expectSameAnswers(r, copy, model);
        CellColourHook taken;
        taken.takeRules(copy);
        expectSameAnswers(r, taken, model);
        if (::testing::Test::HasFatalFailure()) return;
    }
}

// Row rules are kept as numbers of colour pairs while the pairs are few; past that, and for
// a row ruled again afterwards, the answers stay the walk's.
TEST(ColourLookupDifferential, RowsInMoreColourPairsThanTheArrayNumbersStillAnswer) {
    constexpr int kRows = 70000;
    CellColourHook hook;
    Model model;
    const auto add = [&](int row, ColourWord background) {
        hook.addRowRule(row, 1, background);
        model.lists[static_cast<std::size_t>(RuleList::LateRow)].push_back(
            {0, row, background, 1, {}});
    };
    for (int row = 0; row < kRows; ++row) add(row, row + 1);
    for (int row = 0; row < kRows; row += 999) add(row, 5);             // back to an early pair
    for (int row = 1; row < kRows; row += 1001) add(row, kRows + row);  // a pair past them
    removeRow(hook, model, 3);
    for (int row = 0; row < kRows; ++row) {
        ASSERT_EQ(hook.coloursFor(0, row).background, literalWalk(model, 0, row).background) << row;
    }
}

}  // namespace
}  // namespace quovella
