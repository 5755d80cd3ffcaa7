#include "ui_core/colour_rule_list.h"

#include <cstring>
#include <limits>

namespace quovella {

std::uint32_t ColourPalette::numberOf(CellColours colours) {
    const std::uint64_t key =
        (static_cast<std::uint64_t>(static_cast<std::uint32_t>(colours.textColour)) << 32) |
        static_cast<std::uint32_t>(colours.background);
    // Lists are coloured in a handful of pairs: those are found without hashing.
    constexpr std::size_t kScanned = 8;
    for (std::size_t i = 0; i < pairs_.size() && i < kScanned; ++i) {
        if (pairs_[i] == colours) return static_cast<std::uint32_t>(i);
    }
    const auto [found, added] =
        numbers_.try_emplace(key, static_cast<std::uint32_t>(pairs_.size()));
    if (added) pairs_.push_back(colours);
    return found->second;
}

void ColourPalette::clear() {
    pairs_.clear();
    numbers_.clear();
}

void ColourRuleList::add(int column, int row, ColourWord background, ColourWord textColour,
                         std::string_view text) {
    // The arena is addressed with 32 bits; a text that would pass that is kept empty rather
    // than wrapping round into another rule's text.
    constexpr std::size_t limit = std::numeric_limits<std::uint32_t>::max();
    const auto at = static_cast<std::uint32_t>(texts_.size());
    if (texts_.size() + text.size() <= limit) texts_.append(text);
    packed_.push_back({column, row, at, palette_.numberOf({textColour, background})});
}

void ColourRuleList::clear() {
    packed_ = {};
    texts_ = {};
    palette_.clear();
}

void ColourRuleList::reserve(std::size_t rules, std::size_t textBytes) {
    packed_.reserve(rules);
    texts_.reserve(textBytes);
}

std::string_view ColourRuleList::textOf(std::size_t i) const {
    const std::size_t begin = packed_[i].textAt;
    const std::size_t end = i + 1 < packed_.size() ? packed_[i + 1].textAt : texts_.size();
    return std::string_view(texts_).substr(begin, end - begin);
}

ColourRule ColourRuleList::operator[](std::size_t i) const {
    const Packed& p = packed_[i];
    const CellColours colours = palette_[p.colours];
    return {p.column, p.row, colours.background, colours.textColour, std::string(textOf(i))};
}

void ColourRuleList::removeRow(int row) {
    std::size_t kept = 0;
    std::size_t textEnd = 0;
    for (std::size_t i = 0; i < packed_.size(); ++i) {
        const Packed p = packed_[i];
        if (p.row == row) continue;
        // Texts only ever move towards the front, so the one read here is still whole.
        const std::string_view text = textOf(i);
        if (!text.empty()) std::memmove(texts_.data() + textEnd, text.data(), text.size());
        packed_[kept++] = {p.column, p.row > row ? p.row - 1 : p.row,
                           static_cast<std::uint32_t>(textEnd), p.colours};
        textEnd += text.size();
    }
    packed_.resize(kept);
    texts_.resize(textEnd);
}

void ColourRuleList::moveRows(const std::vector<int>& landsAt) {
    for (Packed& p : packed_) {
        if (p.row >= 0 && static_cast<std::size_t>(p.row) < landsAt.size()) {
            p.row = landsAt[static_cast<std::size_t>(p.row)];
        }
    }
}

std::size_t ColourRuleList::memoryBytes() const {
    return packed_.capacity() * sizeof(Packed) + texts_.capacity() +
           palette_.size() * (sizeof(CellColours) + 32);
}

}  // namespace quovella
