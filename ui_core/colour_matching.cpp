#include "ui_core/colour_matching.h"

#include <cmath>

#include "common/text_rules.h"

namespace quovella {
namespace {
constexpr double kTolerance = 1e-7;
}

bool textMatches(std::string_view value, std::string_view match, int mode) {
    switch (mode) {
        case 0:
            return value == match;
        case 1:
            return !value.empty() && findText(value, match) != std::string_view::npos;
        default:
            return false;
    }
}

bool comparisonHolds(double value, int mode, double reference) {
    const double d = value - reference;
    switch (mode) {
        case 1:
            return std::abs(d) <= kTolerance;
        case 2:
            return d > kTolerance;
        case 3:
            return d <= kTolerance;
        case 4:
            return d >= -kTolerance;
        case 5:
            return std::abs(d) > kTolerance;
        default:
            return false;
    }
}

}  // namespace quovella
