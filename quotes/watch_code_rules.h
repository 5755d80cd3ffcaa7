#pragma once
// The rules for a code the user types without its exchange prefix, in the watch list's add
// command and in the purchase form.
#include <string>
#include <string_view>

namespace quovella {

// The entry is exactly 6 bytes long (the digits themselves are the server's to judge).
bool isSixByteEntry(std::string_view entry);

// "6..." trades in Shanghai ("sh"), "3..." and "0..." in Shenzhen ("sz"); any other entry (an
// empty one, a code that already carries its prefix) is used as it is.
std::string withExchangePrefix(std::string_view entry);

}  // namespace quovella
