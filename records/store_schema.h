#pragma once
// Making an empty record store from the schema in records/schema.sql. The program itself
// never does this; the store tool and the build do.
#include <string_view>

namespace quovella {

enum class MakeStoreResult { created, alreadyExists, failed };

// Creates an SQLite store with the empty tables sj and cy at path (UTF-8, as the file
// system has it). A file already at path is never touched; a store that could not be
// completed is removed again.
MakeStoreResult makeEmptyStore(std::string_view path);

}  // namespace quovella
