// Quote replies of any bytes into a table whose cells all hold an old text: the count
// returned is the count the table records, one less than the reply's entries; each row the
// table has gets its entry's quoted content and first 36 fields, cut the plain way at the
// characters '"', ';' and ','; every other cell keeps its text. A second reply is written over
// the first, so cells it does not reach keep the first one's. firstQuotedText and
// currentPriceInReply read the same plain cuts.
//
// Input: one row-count byte ('3' is 3 rows, '0' none, '/' -1), then the first reply, NUL, the
// second.
#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "quotes/quote_reply.h"
#include "quotes/quote_table.h"

namespace quovella::fuzz {
namespace {

using Row = std::array<std::string, quoteCellCount>;

// Keeps a table with an old text in every cell cheap to make for each input.
constexpr int maxRows = 12;

// The text between the first two '"' that start characters; empty without two.
std::string_view firstQuoted(std::string_view text) {
    const std::vector<bool> starts = characterStarts(text);
    std::size_t open = std::string_view::npos;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!starts[i] || text[i] != '"') continue;
        if (open == std::string_view::npos) {
            open = i;
        } else {
            return text.substr(open + 1, i - open - 1);
        }
    }
    return {};
}

// What a reply does to the rows: row i from entry i while another entry follows it.
int fillExpected(std::string_view reply, std::vector<Row>& rows) {
    const std::vector<std::string_view> entries = cutAtCharacter(reply, ';');
    const int n = entries.empty() ? 0 : static_cast<int>(entries.size()) - 1;
    for (int r = 0; r < std::min<int>(n, static_cast<int>(rows.size())); ++r) {
        const std::string_view content = firstQuoted(entries[static_cast<std::size_t>(r)]);
        Row& row = rows[static_cast<std::size_t>(r)];
        row[0] = std::string(content);
        const std::vector<std::string_view> fields = cutAtCharacter(content, ',');
        for (std::size_t k = 0; k < fields.size() && k + 1 < row.size(); ++k) {
            row[k + 1] = std::string(fields[k]);
        }
    }
    return n;
}

void fillAndCompare(std::string_view reply, QuoteTable& table, std::vector<Row>& expected) {
    const int n = fillQuoteTableFromReply(reply, table);
    FUZZ_CHECK(n == fillExpected(reply, expected));
    FUZZ_CHECK(table.quoteCount() == n);
    for (int r = 1; r <= table.rowCount() + 1; ++r) {
        for (int c = 0; c <= quoteCellCount + 1; ++c) {
            const bool inside = r <= table.rowCount() && c >= 1 && c <= quoteCellCount;
            const std::string& cell = table.cell(r, c);
            if (!inside) {
                FUZZ_CHECK(cell.empty());
            } else if (r <= static_cast<int>(expected.size())) {
                FUZZ_CHECK(
                    cell ==
                    expected[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(c - 1)]);
            }
        }
    }
}

}  // namespace

void testOneInput(Input input) {
    const int rowCount = std::min(static_cast<int>(input.byte()) - '0', maxRows);
    const std::string_view first = input.until('\0');
    const std::string_view second = input.rest();

    QuoteTable table(rowCount);
    FUZZ_CHECK(table.rowCount() == std::max(rowCount, 0));
    std::vector<Row> expected(static_cast<std::size_t>(table.rowCount()));
    for (int r = 1; r <= table.rowCount(); ++r) {
        for (int c = 1; c <= quoteCellCount; ++c) {
            const std::string old = "old " + std::to_string(r) + "," + std::to_string(c);
            table.setCell(r, c, old);
            expected[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(c - 1)] = old;
        }
    }
    fillAndCompare(first, table, expected);
    fillAndCompare(second, table, expected);

    FUZZ_CHECK(firstQuotedText(first) == firstQuoted(first));
    const std::vector<std::string_view> elements = cutAtCharacter(first, ',');
    FUZZ_CHECK(currentPriceInReply(first) == (elements.size() < 4 ? "" : elements[3]));
}

}  // namespace quovella::fuzz
