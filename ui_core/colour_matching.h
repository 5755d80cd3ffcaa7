#pragma once
// The acceptance tests of the conditional add operations of the colouring hook.
#include <string_view>

namespace quovella {

// Mode 0: equal byte for byte. Mode 1: value contains match, letters compared without
// regard to case and double-byte characters stepped over whole; an empty match is
// contained in every non-empty value. Any other mode: never.
bool textMatches(std::string_view value, std::string_view match, int mode);

// d = value - reference within a tolerance of 1e-7. Mode 1: equal; 2: greater; 3: less or
// equal; 4: greater or equal; 5: not equal. Any other mode: never.
bool comparisonHolds(double value, int mode, double reference);

}  // namespace quovella
