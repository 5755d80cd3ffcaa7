#include "ui/colour_rule_list.h"

#include <limits>

namespace quovella {

void ColourRuleList::add(int column, int row, ColourWord background, ColourWord textColour,
                         std::string_view text) {
    // The arena is addressed with 32 bits; a text that would pass that is kept empty rather
    // than wrapping round into another rule's text.
    constexpr std::size_t limit = std::numeric_limits<std::uint32_t>::max();
    const bool fits = texts_.size() + text.size() <= limit;
    const auto at = static_cast<std::uint32_t>(fits ? texts_.size() : 0);
    const auto size = static_cast<std::uint32_t>(fits ? text.size() : 0);
    if (fits) texts_.append(text);
    packed_.push_back({column, row, background, textColour, at, size});
}

void ColourRuleList::clear() {
    packed_.clear();
    texts_.clear();
}

ColourRule ColourRuleList::operator[](std::size_t i) const {
    const Packed& p = packed_[i];
    return {p.column, p.row, p.background, p.textColour, texts_.substr(p.textAt, p.textSize)};
}

}  // namespace quovella
