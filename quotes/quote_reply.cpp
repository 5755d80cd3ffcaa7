#include "quotes/quote_reply.h"

#include <array>
#include <optional>
#include <utility>

#include "common/text_rules.h"

namespace quovella {
namespace {

// Cell 1 the entry's quote content, cells 2..37 its first 36 fields.
void fillRow(QuoteTable& table, int row, std::string_view entry) {
    std::string content = textBetween(entry, "\"", "\"");
    std::array<std::string_view, quoteCellCount - 1> fields;
    // From the last field back, so the row's cells are allocated once, at their final size.
    for (std::size_t k = firstParts(content, ",", fields); k-- > 0;) {
        table.setCell(row, static_cast<int>(k) + 2, std::string(fields[k]));
    }
    // Last: the fields are views into the content.
    table.setCell(row, 1, std::move(content));
}

}  // namespace

int fillQuoteTableFromReply(std::string_view reply, QuoteTable& table) {
    // Entries are walked, not stored: a reply of nothing but ";" must not cost a string per
    // entry. Entry i fills row i once entry i + 1 shows it is not the last.
    TextParts entries(reply, ";");
    std::optional<std::string_view> entry = entries.next();
    int n = 0;
    for (std::optional<std::string_view> after = entries.next(); after; after = entries.next()) {
        ++n;
        if (n <= table.rowCount()) fillRow(table, n, *entry);
        entry = after;
    }
    table.setQuoteCount(n);
    return n;
}

std::string firstQuotedText(std::string_view reply) {
    return textBetween(reply, "\"", "\"");
}

bool isKnownQuoteContent(std::string_view content) {
    return !content.empty() && content != "FAILED";
}

std::string currentPriceInReply(std::string_view reply) {
    std::array<std::string_view, 4> parts;
    return firstParts(reply, ",", parts) < parts.size() ? std::string() : std::string(parts.back());
}

}  // namespace quovella
