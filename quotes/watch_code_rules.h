#pragma once
// The add command's rules for what the user types: a six-character code without its
// exchange prefix.
#include <string>
#include <string_view>

namespace quovella {

// The entry is exactly 6 bytes long (the digits themselves are the server's to judge).
bool isSixByteEntry(std::string_view entry);

// "6..." trades in Shanghai ("sh"), "3..." and "0..." in Shenzhen ("sz"); any other entry is
// used as it is.
std::string withExchangePrefix(std::string_view entry);

}  // namespace quovella
