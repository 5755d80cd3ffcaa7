#pragma once
// The rules of one list of the colouring hook, packed: indexes and a colour-pair number in
// one array, the pairs themselves in a small palette, match texts back to back in one byte
// arena (a text ends where the next rule's begins). A million row rules take about 20
// bytes each, where a rule with a text of its own would take three times that and an
// allocation for a long text. Reading gives whole ColourRule values.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ui_core/colour_rule.h"

namespace quovella {

// Distinct colour pairs, numbered in the order they were first seen.
class ColourPalette {
  public:
    std::uint32_t numberOf(CellColours colours);
    CellColours operator[](std::uint32_t number) const { return pairs_[number]; }
    std::size_t size() const { return pairs_.size(); }
    void clear();

  private:
    std::vector<CellColours> pairs_;
    std::unordered_map<std::uint64_t, std::uint32_t> numbers_;
};

class ColourRuleList {
  public:
    class const_iterator {
      public:
        using iterator_category = std::input_iterator_tag;
        using value_type = ColourRule;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = ColourRule;

        const_iterator(const ColourRuleList* list, std::size_t at) : list_(list), at_(at) {}
        ColourRule operator*() const { return (*list_)[at_]; }
        const_iterator& operator++() {
            ++at_;
            return *this;
        }
        friend bool operator==(const const_iterator&, const const_iterator&) = default;

      private:
        const ColourRuleList* list_;
        std::size_t at_;
    };

    void add(int column, int row, ColourWord background, ColourWord textColour,
             std::string_view text);
    void clear();
    void reserve(std::size_t rules, std::size_t textBytes);
    // The rules follow the rows when `row` is taken out: its own rules go, and the rows
    // below move up by one. Order is kept.
    void removeRow(int row);
    // The rules follow the rows when they move: a rule of row r (0 <= r < landsAt.size())
    // goes to row landsAt[r], which must be a permutation. Order is kept.
    void moveRows(const std::vector<int>& landsAt);

    // f(column, row, colours) for every rule in order, without its text.
    template <typename F>
    void forEachKey(F f) const {
        for (const Packed& p : packed_) f(p.column, p.row, palette_[p.colours]);
    }

    std::size_t size() const { return packed_.size(); }
    bool empty() const { return packed_.empty(); }
    ColourRule operator[](std::size_t i) const;
    ColourRule back() const { return (*this)[size() - 1]; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }
    std::size_t memoryBytes() const;

  private:
    struct Packed {
        std::int32_t column;
        std::int32_t row;
        std::uint32_t textAt;
        std::uint32_t colours;
    };
    std::string_view textOf(std::size_t i) const;

    std::vector<Packed> packed_;
    std::string texts_;
    ColourPalette palette_;
};

}  // namespace quovella
