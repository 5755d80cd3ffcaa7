#include "quotes/quote_fetch.h"

#include <curl/curl.h>

#include <cstring>
#include <memory>
#include <mutex>
#include <optional>

#include "common/text_rules.h"

namespace quovella {
namespace {

constexpr const char* userAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";

bool curlReady() {
    static std::once_flag once;
    static bool ready = false;
    std::call_once(once, [] { ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; });
    return ready;
}

struct Body {
    std::string bytes;
};

std::size_t appendBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto* body = static_cast<Body*>(user);
    const std::size_t n = size * count;
    if (body->bytes.size() + n > maxReplyBytes) return 0;  // aborts the transfer
    body->bytes.append(data, n);
    return n;
}

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

std::unique_ptr<curl_slist, ListDeleter> requestHeaders() {
    curl_slist* list = nullptr;
    for (const char* header : {"Accept: */*", "Pragma: no-cache", "Cache-Control: no-cache"}) {
        curl_slist* next = curl_slist_append(list, header);
        if (next == nullptr) {
            curl_slist_free_all(list);
            return nullptr;
        }
        list = next;
    }
    return std::unique_ptr<curl_slist, ListDeleter>(list);
}

void setOptions(CURL* easy, const std::string& url, curl_slist* headers, Body& body,
                const FetchOptions& options) {
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http");
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(easy, CURLOPT_USERAGENT, userAgent);
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
    // An empty proxy and a no-proxy list of "*" keep http_proxy and friends out.
    curl_easy_setopt(easy, CURLOPT_PROXY, "");
    curl_easy_setopt(easy, CURLOPT_NOPROXY, "*");
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS,
                     static_cast<long>(options.connectTimeout.count()));
    curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, static_cast<long>(options.totalTimeout.count()));
    curl_easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(maxReplyBytes));
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &body);
}

bool isUnreserved(unsigned char byte) {
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
           (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' ||
           byte == '~' || byte == ',';
}

bool isCancelled(const FetchOptions& options) {
    return options.cancel && options.cancel->load();
}

struct MultiDeleter {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};

// Drives the transfer on a multi handle, so the cancel flag is looked at every
// kCancelLatency however long connect, send or read would block. Answers libcurl's result
// for the transfer, or nothing when it was cancelled.
std::optional<CURLcode> perform(CURL* easy, const FetchOptions& options) {
    const std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
    if (!multi || curl_multi_add_handle(multi.get(), easy) != CURLM_OK) return CURLE_OUT_OF_MEMORY;
    int running = 1;
    std::optional<CURLcode> result = CURLE_OK;
    while (running > 0) {
        if (isCancelled(options)) {
            result.reset();
            break;
        }
        if (curl_multi_perform(multi.get(), &running) != CURLM_OK) {
            result = CURLE_RECV_ERROR;
            break;
        }
        if (running == 0) break;
        const int waitMs = static_cast<int>(kCancelLatency.count());
        if (curl_multi_poll(multi.get(), nullptr, 0, waitMs, nullptr) != CURLM_OK) {
            result = CURLE_RECV_ERROR;
            break;
        }
    }
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi.get(), &queued)) {
        if (result && message->msg == CURLMSG_DONE) result = message->data.result;
    }
    curl_multi_remove_handle(multi.get(), easy);
    return result;
}

// A read that failed part-way: what arrived is the reply, as far as its entries are whole.
// A body over the size cap was refused on purpose and counts for nothing.
bool keepsWhatArrived(CURLcode code) {
    return code != CURLE_WRITE_ERROR && code != CURLE_FILESIZE_EXCEEDED;
}

}  // namespace

FetchResult fetchUrl(const std::string& url, const FetchOptions& options) {
    FetchResult result;
    result.error.curlCode = CURLE_FAILED_INIT;
    if (!curlReady()) return result;
    const std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    const auto headers = requestHeaders();
    if (!easy || !headers) return result;
    result.cancelled = isCancelled(options);
    if (result.cancelled) return result;
    Body body;
    setOptions(easy.get(), url, headers.get(), body, options);
    const std::optional<CURLcode> code = perform(easy.get(), options);
    result.cancelled = !code.has_value();
    result.error.curlCode = code.value_or(CURLE_ABORTED_BY_CALLBACK);
    if (result.cancelled) return result;
    curl_easy_getinfo(easy.get(), CURLINFO_RESPONSE_CODE, &result.error.httpStatus);
    if (*code == CURLE_OK) {
        result.body = upToFirstNul(std::move(body.bytes));
    } else if (keepsWhatArrived(*code)) {
        result.body = std::string(completeEntries(upToFirstNul(std::move(body.bytes))));
    }
    return result;
}

std::string fetchUrlBody(const std::string& url, const FetchOptions& options) {
    return fetchUrl(url, options).body;
}

std::string_view completeEntries(std::string_view body) {
    const std::size_t last = body.rfind("\";");
    if (last == std::string_view::npos) return {};
    std::size_t end = last + 2;
    while (end < body.size() && (body[end] == '\r' || body[end] == '\n')) ++end;
    return body.substr(0, end);
}

std::string quoteRequestUrl(std::string_view baseUrl, std::string_view codeList) {
    return std::string(baseUrl) + "list=" + urlSafeText(codeList);
}

std::string urlSafeText(std::string_view text) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (isUnreserved(byte)) {
            out.push_back(c);
            continue;
        }
        out.push_back('%');
        out.push_back(hex[byte >> 4]);
        out.push_back(hex[byte & 0x0F]);
    }
    return out;
}

}  // namespace quovella
