#pragma once
// The rules of one list of the colouring hook, packed: indexes and colours in one array,
// match texts in one byte arena. A million row rules take about 30 bytes each, where a
// rule with a text of its own would take twice that and an allocation for a long text.
// Reading gives whole ColourRule values.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "ui/colour_rule.h"

namespace quovella {

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

    std::size_t size() const { return packed_.size(); }
    bool empty() const { return packed_.empty(); }
    ColourRule operator[](std::size_t i) const;
    ColourRule back() const { return (*this)[size() - 1]; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

  private:
    struct Packed {
        std::int32_t column;
        std::int32_t row;
        ColourWord background;
        ColourWord textColour;
        std::uint32_t textAt;
        std::uint32_t textSize;
    };
    std::vector<Packed> packed_;
    std::string texts_;
};

}  // namespace quovella
