#pragma once
// Colours rows and cells of one list by answering the custom-draw notifications the list
// sends to its parent window. The hook puts itself in front of the parent's window
// procedure; every message it does not answer goes on to the procedure it replaced.
//
// The rules live in six lists walked in the order of RuleList; a match in a later list,
// or later in the same list, decides both colours of a cell. Rules are bound to row and
// column indexes, never to the data shown in the rows, and stay until resetRules.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "ui_core/colour_rule.h"
#include "ui_core/colour_rule_index.h"
#include "ui_core/colour_rule_list.h"
#include "ui_core/custom_draw.h"

namespace quovella {

class CellColourHook {
  public:
    static constexpr ColourWord kDefaultBackground = kDefaultListBackground;
    static constexpr ColourWord kDefaultTextColour = kDefaultListText;

    CellColourHook() = default;
    // Detaches, so the parent never calls into a destroyed hook.
    ~CellColourHook();
    // A copy holds the same rules and defaults but is bound to no list; assigning over an
    // attached hook detaches it first.
    CellColourHook(const CellColourHook& other);
    CellColourHook& operator=(const CellColourHook& other);
    // Moving takes the rules and defaults in the same way, without copying them.
    CellColourHook(CellColourHook&& other) noexcept;
    CellColourHook& operator=(CellColourHook&& other) noexcept;

    // The parent's window procedure while attached.
    std::intptr_t onParentMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                  std::intptr_t lParam);

    // Every add operation, whether it adds its rule or not, ends by applying the defaults
    // to the attached list.
    void addRowRuleIfMatch(int row, ColourWord textColour, ColourWord background,
                           std::string_view value, std::string_view match, int mode = 0);
    void addStripedRowRule(int row, ColourWord evenTextColour, ColourWord evenBackground,
                           ColourWord oddTextColour, ColourWord oddBackground);
    void addRowRule(int row, ColourWord textColour, ColourWord background);
    void addCellRuleIfMatch(int column, int row, ColourWord textColour, ColourWord background,
                            std::string_view value, std::string_view match, int mode = 0);
    void addCellRule(int column, int row, ColourWord textColour, ColourWord background);
    void addCellRuleIfCompare(int column, int row, ColourWord textColour, ColourWord background,
                              double value, int mode, double reference);
    void addColumnRule(int column, ColourWord textColour, ColourWord background);

    // The colours of one cell: the defaults, overridden by the deciding rule if any.
    CellColours coloursFor(int column, int row) const;
    // Drops every rule, sets the defaults and applies them to the attached list.
    void resetRules(ColourWord background = kDefaultBackground,
                    ColourWord textColour = kDefaultTextColour);

    // Takes over the rules and defaults of `built`, usually a detached hook filled on
    // another thread, and applies the defaults to the attached list. `built` is left
    // holding this hook's old rules.
    void takeRules(CellColourHook& built);
    // Rules bound to rows follow them when `row` is taken out of the list: its own go and
    // those of the rows below move up one. Column rules stay.
    void removeRow(int row);
    // Rules bound to rows follow them when the rows move: those of row r go to row
    // landsAt[r]. False, and nothing moves, unless landsAt is a permutation of
    // 0..landsAt.size()-1. Rows past it keep their rules.
    bool moveRows(const std::vector<int>& landsAt);
    // Room for `rules` rules in `list` whose texts come to `textBytes`.
    void reserve(RuleList list, int rules, std::size_t textBytes);
    std::size_t memoryBytes() const;

    // Binds the hook to the list and puts onParentMessage in front of the parent's
    // procedure. Attaching an attached hook detaches it first. Both windows must outlive
    // the attachment.
    void attach(ParentWindow& parent, ListColourTarget& list);
    // Gives the parent back the procedure it had before attach; nothing when not attached.
    void detach();

    bool isAttached() const { return previousProcedure_.has_value(); }
    const ColourRuleList& rules(RuleList list) const {
        return lists_[static_cast<std::size_t>(list)];
    }
    ColourWord defaultBackground() const { return defaultBackground_; }
    ColourWord defaultTextColour() const { return defaultTextColour_; }

  private:
    void append(RuleList list, int column, int row, ColourWord background, ColourWord textColour,
                std::string_view text = {});
    void applyDefaults() const;
    void rebuildIndex();
    std::intptr_t answerCustomDraw(CustomDrawRecord& record, WindowHandle window, unsigned message,
                                   std::uintptr_t wParam, std::intptr_t lParam) const;
    std::intptr_t passOn(WindowHandle window, unsigned message, std::uintptr_t wParam,
                         std::intptr_t lParam) const;

    std::array<ColourRuleList, kRuleListCount> lists_;
    ColourRuleIndex index_;
    ColourWord defaultBackground_ = 0;
    ColourWord defaultTextColour_ = 0;
    ParentWindow* parent_ = nullptr;
    ListColourTarget* list_ = nullptr;
    WindowHandle listHandle_ = 0;
    std::optional<WindowProcedure> previousProcedure_;
};

}  // namespace quovella
