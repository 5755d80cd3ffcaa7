// sortedRowOrder gives exactly the order of the literal insertion into three arrays that the
// records list has always done, ties and the number tolerance included, for any cells.
//
// Input: a kind byte ('n' numbers, 't' texts), a direction byte ('f' forward, 'r' reverse),
// then the cells separated by LF.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "records/column_sort.h"
#include "support/literal_column_sort.h"

namespace quovella::fuzz {
namespace {

// The literal insertion is quadratic; more rows find nothing new, only slower.
constexpr std::size_t maxCells = 1000;

}  // namespace

void testOneInput(Input input) {
    const std::uint8_t kindByte = input.byte();
    const std::uint8_t directionByte = input.byte();
    const SortKind kind = kindByte == 't' || kindByte % 2 == 1 ? SortKind::text : SortKind::number;
    const SortDirection direction = directionByte == 'r' || directionByte % 2 == 1
                                        ? SortDirection::reverse
                                        : SortDirection::forward;
    std::vector<std::string> cells;
    while (!input.empty() && cells.size() < maxCells) cells.emplace_back(input.until('\n'));

    const std::vector<std::string_view> views(cells.begin(), cells.end());
    FUZZ_CHECK(sortedRowOrder(views, kind, direction) ==
               testing::LiteralSort{}.run(cells, kind, direction));
}

}  // namespace quovella::fuzz
