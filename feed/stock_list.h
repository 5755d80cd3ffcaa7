#pragma once
// The stocks the demo server knows: real A-share codes and names with a plausible previous
// close.
#include <span>
#include <string_view>

namespace quovella {

struct KnownStock {
    std::string_view code;
    std::string_view nameUtf8;
    int previousCloseCents;
};

std::span<const KnownStock> knownStocks();

}  // namespace quovella
