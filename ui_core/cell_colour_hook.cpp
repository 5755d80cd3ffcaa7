#include "ui_core/cell_colour_hook.h"

#include <utility>

#include "ui_core/colour_matching.h"

namespace quovella {

CellColourHook::~CellColourHook() {
    detach();
}

CellColourHook::CellColourHook(const CellColourHook& other)
    : lists_(other.lists_),
      index_(other.index_),
      defaultBackground_(other.defaultBackground_),
      defaultTextColour_(other.defaultTextColour_) {}

CellColourHook& CellColourHook::operator=(const CellColourHook& other) {
    if (this == &other) return *this;
    detach();
    lists_ = other.lists_;
    index_ = other.index_;
    defaultBackground_ = other.defaultBackground_;
    defaultTextColour_ = other.defaultTextColour_;
    return *this;
}

CellColourHook::CellColourHook(CellColourHook&& other) noexcept
    : lists_(std::move(other.lists_)),
      index_(std::move(other.index_)),
      defaultBackground_(other.defaultBackground_),
      defaultTextColour_(other.defaultTextColour_) {}

CellColourHook& CellColourHook::operator=(CellColourHook&& other) noexcept {
    if (this == &other) return *this;
    detach();
    lists_ = std::move(other.lists_);
    index_ = std::move(other.index_);
    defaultBackground_ = other.defaultBackground_;
    defaultTextColour_ = other.defaultTextColour_;
    return *this;
}

std::intptr_t CellColourHook::onParentMessage(WindowHandle window, unsigned message,
                                              std::uintptr_t wParam, std::intptr_t lParam) {
    if (message != customdraw::kNotifyMessage || lParam == 0) {
        return passOn(window, message, wParam, lParam);
    }
    auto& record = *reinterpret_cast<CustomDrawRecord*>(lParam);
    if (record.code != customdraw::kCustomDrawCode || !isAttached() || record.from != listHandle_) {
        return passOn(window, message, wParam, lParam);
    }
    return answerCustomDraw(record, window, message, wParam, lParam);
}

std::intptr_t CellColourHook::answerCustomDraw(CustomDrawRecord& record, WindowHandle window,
                                               unsigned message, std::uintptr_t wParam,
                                               std::intptr_t lParam) const {
    switch (record.drawStage) {
        case customdraw::kPrePaint:
            return customdraw::kNotifyItemDraw;
        case customdraw::kItemPrePaint:
            // Without early row rules the list is asked to notify every sub-item instead.
            if (rules(RuleList::EarlyRow).empty()) return customdraw::kNotifySubItemDraw;
            break;
        case customdraw::kSubItemPrePaint:
            break;
        default:
            return passOn(window, message, wParam, lParam);
    }
    const CellColours colours = coloursFor(record.subItem, record.item);
    if (isColourSet(colours.textColour)) record.textColour = colours.textColour;
    if (isColourSet(colours.background)) record.textBackground = colours.background;
    return passOn(window, message, wParam, lParam);
}

std::intptr_t CellColourHook::passOn(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                     std::intptr_t lParam) const {
    if (!previousProcedure_ || !*previousProcedure_) return 0;
    return (*previousProcedure_)(window, message, wParam, lParam);
}

void CellColourHook::addRowRuleIfMatch(int row, ColourWord textColour, ColourWord background,
                                       std::string_view value, std::string_view match, int mode) {
    if (textMatches(value, match, mode)) {
        append(RuleList::EarlyRow, 0, row, background, textColour, match);
    }
    applyDefaults();
}

void CellColourHook::addStripedRowRule(int row, ColourWord evenTextColour,
                                       ColourWord evenBackground, ColourWord oddTextColour,
                                       ColourWord oddBackground) {
    const bool even = row % 2 == 0;
    append(RuleList::EarlyRow, 0, row, even ? evenBackground : oddBackground,
           even ? evenTextColour : oddTextColour);
    applyDefaults();
}

void CellColourHook::addRowRule(int row, ColourWord textColour, ColourWord background) {
    append(RuleList::LateRow, 0, row, background, textColour);
    applyDefaults();
}

void CellColourHook::addCellRuleIfMatch(int column, int row, ColourWord textColour,
                                        ColourWord background, std::string_view value,
                                        std::string_view match, int mode) {
    if (textMatches(value, match, mode)) {
        append(RuleList::CellMatch, column, row, background, textColour, match);
    }
    applyDefaults();
}

void CellColourHook::addCellRule(int column, int row, ColourWord textColour,
                                 ColourWord background) {
    append(RuleList::LateCell, column, row, background, textColour);
    applyDefaults();
}

void CellColourHook::addCellRuleIfCompare(int column, int row, ColourWord textColour,
                                          ColourWord background, double value, int mode,
                                          double reference) {
    if (comparisonHolds(value, mode, reference)) {
        append(RuleList::CellCompare, column, row, background, textColour);
    }
    applyDefaults();
}

void CellColourHook::addColumnRule(int column, ColourWord textColour, ColourWord background) {
    append(RuleList::Column, column, 0, background, textColour);
    applyDefaults();
}

CellColours CellColourHook::coloursFor(int column, int row) const {
    return index_.find(column, row).value_or(CellColours{defaultTextColour_, defaultBackground_});
}

void CellColourHook::resetRules(ColourWord background, ColourWord textColour) {
    for (auto& list : lists_) list.clear();
    index_.clear();
    defaultBackground_ = background;
    defaultTextColour_ = textColour;
    applyDefaults();
}

void CellColourHook::takeRules(CellColourHook& built) {
    std::swap(lists_, built.lists_);
    std::swap(index_, built.index_);
    std::swap(defaultBackground_, built.defaultBackground_);
    std::swap(defaultTextColour_, built.defaultTextColour_);
    applyDefaults();
}

void CellColourHook::removeRow(int row) {
    for (std::size_t i = 0; i < kRuleListCount; ++i) {
        if (static_cast<RuleList>(i) != RuleList::Column) lists_[i].removeRow(row);
    }
    if (!index_.removeRow(row)) rebuildIndex();
}

bool CellColourHook::moveRows(const std::vector<int>& landsAt) {
    std::vector<bool> taken(landsAt.size(), false);
    for (const int to : landsAt) {
        if (to < 0 || static_cast<std::size_t>(to) >= landsAt.size()) return false;
        if (taken[static_cast<std::size_t>(to)]) return false;
        taken[static_cast<std::size_t>(to)] = true;
    }
    for (std::size_t i = 0; i < kRuleListCount; ++i) {
        if (static_cast<RuleList>(i) != RuleList::Column) lists_[i].moveRows(landsAt);
    }
    if (!index_.moveRows(landsAt)) rebuildIndex();
    return true;
}

void CellColourHook::reserve(RuleList list, int rules, std::size_t textBytes) {
    if (rules <= 0) return;
    lists_[static_cast<std::size_t>(list)].reserve(static_cast<std::size_t>(rules), textBytes);
    index_.reserveRows(list, rules);
}

std::size_t CellColourHook::memoryBytes() const {
    std::size_t bytes = index_.memoryBytes();
    for (const ColourRuleList& list : lists_) bytes += list.memoryBytes();
    return bytes;
}

void CellColourHook::rebuildIndex() {
    index_.clear();
    for (std::size_t i = 0; i < kRuleListCount; ++i) {
        const auto list = static_cast<RuleList>(i);
        lists_[i].forEachKey([&](int column, int row, CellColours colours) {
            index_.add(list, column, row, colours);
        });
    }
}

void CellColourHook::attach(ParentWindow& parent, ListColourTarget& list) {
    detach();
    parent_ = &parent;
    list_ = &list;
    listHandle_ = list.handle();
    previousProcedure_ = parent.replaceProcedure(
        [this](WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
            return onParentMessage(window, message, wParam, lParam);
        });
}

void CellColourHook::detach() {
    if (!previousProcedure_) return;
    parent_->replaceProcedure(std::move(*previousProcedure_));
    previousProcedure_.reset();
    parent_ = nullptr;
    list_ = nullptr;
    listHandle_ = 0;
}

void CellColourHook::append(RuleList list, int column, int row, ColourWord background,
                            ColourWord textColour, std::string_view text) {
    index_.add(list, column, row, CellColours{textColour, background});
    lists_[static_cast<std::size_t>(list)].add(column, row, background, textColour, text);
}

// A default that is not set would paint the whole list black; the list then keeps its own.
void CellColourHook::applyDefaults() const {
    if (list_ == nullptr) return;
    if (isColourSet(defaultBackground_)) list_->setTextBackground(defaultBackground_);
    if (isColourSet(defaultTextColour_)) list_->setTextColour(defaultTextColour_);
}

}  // namespace quovella
