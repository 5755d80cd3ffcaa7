#include "holdings/revaluation.h"

#include <cmath>

#include "common/numbers.h"
#include "holdings/purchase_form.h"

namespace quovella {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// %.6g of a finite float; "inf" or "nan" never reach the grid or the store.
std::string finiteText(float value) {
    return std::isfinite(value) ? floatText(value) : "";
}

}  // namespace

bool hasLeadingNumber(std::string_view raw) {
    const std::string text = foldFullWidth(raw);
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (i < text.size() && isDigit(text[i])) return true;
    return i + 1 < text.size() && text[i] == '.' && isDigit(text[i + 1]);
}

std::optional<RevaluationTexts> revalue(std::string_view currentPrice, std::string_view shares,
                                        std::string_view unitPrice) {
    if (!hasLeadingNumber(currentPrice)) return std::nullopt;
    const double count = sharesCount(shares);
    const auto price = static_cast<float>(leadingDouble(currentPrice));
    const auto unit = static_cast<float>(leadingDouble(unitPrice));
    const auto value = static_cast<float>(static_cast<double>(price) * count);
    const auto cost = static_cast<float>(static_cast<double>(unit) * count);
    const auto amount =
        static_cast<float>(roundTo(static_cast<double>(value) - static_cast<double>(cost), 3));
    RevaluationTexts texts{finiteText(amount), ""};
    if (cost != 0.0f) {
        const double rate = static_cast<double>(amount) / static_cast<double>(cost) * 100.0;
        texts.rate = finiteText(static_cast<float>(roundTo(rate, 3)));
    }
    return texts;
}

}  // namespace quovella
