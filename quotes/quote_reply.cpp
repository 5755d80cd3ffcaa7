#include "quotes/quote_reply.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "common/text_rules.h"

namespace quovella {

int fillQuoteTableFromReply(std::string_view reply, QuoteTable& table) {
    const std::vector<std::string> entries = splitText(reply, ";");
    const int n = entries.size() < 2 ? 0 : static_cast<int>(entries.size()) - 1;
    table.setQuoteCount(n);
    const int rows = std::min(n, table.rowCount());
    for (int i = 1; i <= rows; ++i) {
        std::string content = textBetween(entries[static_cast<std::size_t>(i - 1)], "\"", "\"");
        std::vector<std::string> fields = splitText(content, ",");
        table.setCell(i, 1, std::move(content));
        const int fieldCount = std::min(static_cast<int>(fields.size()), quoteCellCount - 1);
        for (int j = 1; j <= fieldCount; ++j) {
            table.setCell(i, j + 1, std::move(fields[static_cast<std::size_t>(j - 1)]));
        }
    }
    return n;
}

std::string firstQuotedText(std::string_view reply) {
    return textBetween(reply, "\"", "\"");
}

bool isKnownQuoteContent(std::string_view content) {
    return !content.empty() && content != "FAILED";
}

std::string currentPriceInReply(std::string_view reply) {
    std::vector<std::string> parts = splitText(reply, ",");
    return parts.size() < 4 ? std::string() : std::move(parts[3]);
}

}  // namespace quovella
