#include "holdings/purchase_form.h"

#include <algorithm>
#include <limits>

#include "common/numbers.h"

namespace quovella {

std::string purchaseDateText(const LocalDateTime& date) {
    return dateText(date);
}

std::int32_t sharesCount(std::string_view shares) {
    constexpr std::int64_t low = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t high = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(leadingWhole(shares), low, high));
}

float totalPurchasePrice(std::string_view shares, std::string_view price) {
    const double count = sharesCount(shares);
    const float unit = static_cast<float>(leadingDouble(price));
    return static_cast<float>(roundTo(count * static_cast<double>(unit), 2));
}

std::string totalPurchaseText(std::string_view shares, std::string_view price) {
    return floatText(totalPurchasePrice(shares, price));
}

}  // namespace quovella
