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
    // When given and set (from any thread), the exchange gives up within kCancelLatency and
    // fails like any other: a worker can be stopped without waiting out the time-outs.
    std::shared_ptr<const std::atomic<bool>> cancel;
};

// How often a running exchange looks at its cancel flag.
inline constexpr std::chrono::milliseconds kCancelLatency{50};

// A larger body is a failure: a quote reply for a whole watch list is a few hundred KiB.
inline constexpr std::size_t maxReplyBytes = std::size_t{8} << 20;

// Why an exchange failed, kept for the log.
struct TransferError {
    int curlCode = 0;     // libcurl's CURLcode; 0 (CURLE_OK) when the exchange completed
    long httpStatus = 0;  // the status the server answered with; 0 when none arrived

    // Not completed, or answered with an error status (whose body is still the reply).
    bool failed() const { return curlCode != 0 || httpStatus >= 400; }
};

struct FetchResult {
    // The body up to its first NUL byte; after a failed read, only its complete entries.
    std::string body;
    TransferError error;
    bool cancelled = false;
};

// GETs url directly (no proxy, whatever the environment says; nothing from a cache) and
// returns the body whatever the status code. A failure before any byte, a time-out with
// nothing whole, a body over maxReplyBytes and a cancel give an empty body; a body cut off
// by a failed read keeps the entries that arrived whole (each ended by `";`), since the
// reply is what was read so far and a half entry would show half a quote.
FetchResult fetchUrl(const std::string& url, const FetchOptions& options);
// The body alone.
std::string fetchUrlBody(const std::string& url, const FetchOptions& options);

// The text up to the end of its last `";` (and the line break after it), empty when there
// is none: the complete entries of a reply that was cut off.
std::string_view completeEntries(std::string_view body);

// The request URL of the quote protocol: the base URL, "list=" and the code list.
std::string quoteRequestUrl(std::string_view baseUrl, std::string_view codeList);

// Every byte but unreserved ASCII (letters, digits, "-", ".", "_", "~") percent-encoded,
// so a code reaches the server byte for byte; "," stays, as it joins the codes of a list.
std::string urlSafeText(std::string_view text);

}  // namespace quovella
