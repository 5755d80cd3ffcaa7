#include "quotes/watch_code_rules.h"

namespace quovella {

bool isSixByteEntry(std::string_view entry) {
    return entry.size() == 6;
}

std::string withExchangePrefix(std::string_view entry) {
    const char first = entry.empty() ? '\0' : entry.front();
    if (first == '6') return "sh" + std::string(entry);
    if (first == '3' || first == '0') return "sz" + std::string(entry);
    return std::string(entry);
}

}  // namespace quovella
