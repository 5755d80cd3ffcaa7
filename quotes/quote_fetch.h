#pragma once
// One HTTP/1.0 GET of the quote protocol on libcurl. Safe to call from several threads at
// once: every call has its own transfer.
#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace quovella {

struct FetchOptions {
    std::chrono::milliseconds connectTimeout{3000};
    // The whole exchange, connect included.
    std::chrono::milliseconds totalTimeout{10000};
};

// A larger body is a failure: a quote reply for a whole watch list is a few hundred KiB.
inline constexpr std::size_t maxReplyBytes = std::size_t{8} << 20;

// GETs url directly (no proxy, whatever the environment says; nothing from a cache) and
// returns the body up to its first NUL byte, whatever the status code. Any failure
// (connect, time-out, a body cut short, a body over maxReplyBytes) gives an empty text.
std::string fetchUrlBody(const std::string& url, const FetchOptions& options);

// Bytes a URL cannot carry as they are (controls, space, '#', non-ASCII) percent-encoded;
// everything else, "," and "=" included, unchanged.
std::string urlSafeText(std::string_view text);

}  // namespace quovella
