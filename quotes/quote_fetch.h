#pragma once
// One HTTP/1.0 GET of the quote protocol on libcurl. Safe to call from several threads at
// once: every call has its own transfer.
#include <atomic>
#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace quovella {

struct FetchOptions {
    FetchOptions() = default;
    FetchOptions(std::chrono::milliseconds connect, std::chrono::milliseconds total,
                 std::shared_ptr<const std::atomic<bool>> cancelFlag = nullptr)
        : connectTimeout(connect), totalTimeout(total), cancel(std::move(cancelFlag)) {}

    std::chrono::milliseconds connectTimeout{3000};
    // The whole exchange, connect included.
    std::chrono::milliseconds totalTimeout{10000};
    // When given and set (from any thread), the exchange gives up within about a second
    // and fails like any other: a worker can be stopped without waiting out the time-outs.
    std::shared_ptr<const std::atomic<bool>> cancel;
};

// A larger body is a failure: a quote reply for a whole watch list is a few hundred KiB.
inline constexpr std::size_t maxReplyBytes = std::size_t{8} << 20;

// GETs url directly (no proxy, whatever the environment says; nothing from a cache) and
// returns the body up to its first NUL byte, whatever the status code. Any failure
// (connect, time-out, a body cut short, a body over maxReplyBytes, a cancel) gives an empty
// text.
std::string fetchUrlBody(const std::string& url, const FetchOptions& options);

// Bytes a URL cannot carry as they are (controls, space, '#', non-ASCII) percent-encoded;
// everything else, "," and "=" included, unchanged.
std::string urlSafeText(std::string_view text);

}  // namespace quovella
