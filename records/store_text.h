#pragma once
// Texts at the store boundary: the program's GBK inside, UTF-8 in SQLite.
#include <string>
#include <string_view>

namespace quovella {

// GBK to UTF-8 and back; pure ASCII (most prices and codes) is copied without iconv.
std::string storeTextFromGbk(std::string_view gbkText);
std::string gbkFromStoreText(std::string_view utf8Text);

// Column names are matched without regard to ASCII letter case ("ID" is "id"); the two
// bytes of a double-byte GBK character are compared exactly, since a trail byte may look
// like a letter.
bool sameColumnName(std::string_view a, std::string_view b);

// A table name the store accepts: a plain identifier (letter or "_", then letters,
// digits or "_").
bool isPlainIdentifier(std::string_view name);

// An SQL identifier in double quotes, inner quotes doubled.
std::string quotedIdentifier(std::string_view name);

}  // namespace quovella
