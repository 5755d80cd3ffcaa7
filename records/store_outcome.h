#pragma once
// What a store job gives back: its value, or why there is none, as one error channel.
#include <optional>

#include "records/sql_error.h"

namespace quovella {

template <typename T>
struct StoreOutcome {
    std::optional<T> value;
    // Empty when there is a value. Otherwise SQLite's code and message, what the job threw,
    // or that it never ran.
    SqlError error;

    bool ok() const { return value.has_value(); }
};

// The value of a job that only succeeds or fails.
struct Stored {};

inline std::optional<Stored> storedIf(bool ok) {
    return ok ? std::optional<Stored>(Stored{}) : std::nullopt;
}

}  // namespace quovella
