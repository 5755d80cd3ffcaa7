// The program's three statements built from any parts come back from recogniseStatement with
// exactly those parts, or are refused as malformed exactly when a part is unsafe (a search
// text or update value with a single quote, an id that is no whole number). Any text at all
// recognised as one of the shapes is that statement built again from its parts; one taken
// for none of them begins like none of them.
//
// Input: price, amount, rate, time and id separated by LF; the price is also the search text.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "records/statements.h"

namespace quovella::fuzz {
namespace {

bool quoted(std::string_view text) {
    return text.find('\'') != std::string_view::npos;
}

bool wholeNumber(std::string_view text) {
    if (text.starts_with('+') || text.starts_with('-')) text.remove_prefix(1);
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

void checkBuilt(const std::string& statement, StatementShape shape,
                const std::vector<std::string>& parts, bool safe) {
    const RecognisedStatement back = recogniseStatement(statement);
    if (safe) {
        FUZZ_CHECK(back.shape == shape);
        FUZZ_CHECK(back.parts == parts);
    } else {
        FUZZ_CHECK(back.shape == StatementShape::malformed);
        FUZZ_CHECK(back.parts.empty());
    }
}

// The fixed text each shape begins with: its statement up to the first inserted part.
std::vector<std::string> heads() {
    const std::string search = searchStatement("");
    const std::string update = updateHoldingStatement("", "", "", "", "");
    return {search.substr(0, search.find("'%") + 2), deleteStatement(""),
            update.substr(0, update.find('\'') + 1)};
}

void checkAnyText(const std::string& text) {
    static const std::vector<std::string> shapeHeads = heads();
    const RecognisedStatement r = recogniseStatement(text);
    const auto& p = r.parts;
    switch (r.shape) {
        case StatementShape::search:
            FUZZ_CHECK(p.size() == 1 && !quoted(p[0]) && searchStatement(p[0]) == text);
            break;
        case StatementShape::deleteById:
            FUZZ_CHECK(p.size() == 1 && wholeNumber(p[0]) && deleteStatement(p[0]) == text);
            break;
        case StatementShape::updateHolding:
            FUZZ_CHECK(p.size() == 5 && wholeNumber(p[4]));
            FUZZ_CHECK(std::none_of(p.begin(), p.begin() + 4, quoted));
            FUZZ_CHECK(updateHoldingStatement(p[0], p[1], p[2], p[3], p[4]) == text);
            break;
        case StatementShape::malformed:
        case StatementShape::other: {
            const bool begins =
                std::any_of(shapeHeads.begin(), shapeHeads.end(),
                            [&](const std::string& h) { return text.starts_with(h); });
            FUZZ_CHECK(p.empty());
            FUZZ_CHECK(begins == (r.shape == StatementShape::malformed));
            break;
        }
    }
}

}  // namespace

void testOneInput(Input input) {
    const std::string whole(Input(input).rest());
    std::vector<std::string> parts;
    for (int k = 0; k < 5; ++k) parts.emplace_back(input.until('\n'));
    const std::string& id = parts[4];

    checkBuilt(searchStatement(parts[0]), StatementShape::search, {parts[0]}, !quoted(parts[0]));
    checkBuilt(deleteStatement(id), StatementShape::deleteById, {id}, wholeNumber(id));
    checkBuilt(updateHoldingStatement(parts[0], parts[1], parts[2], parts[3], id),
               StatementShape::updateHolding, parts,
               std::none_of(parts.begin(), parts.begin() + 4, quoted) && wholeNumber(id));
    checkAnyText(whole);
}

}  // namespace quovella::fuzz
