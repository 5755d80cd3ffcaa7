#include "quotes/quote_fetch.h"

#include <curl/curl.h>

#include <cstring>
#include <memory>
#include <mutex>

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

// libcurl calls this about once a second even while nothing arrives; non-zero aborts.
int checkCancel(void* flag, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<const std::atomic<bool>*>(flag)->load() ? 1 : 0;
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
    if (options.cancel) {
        curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, checkCancel);
        curl_easy_setopt(easy, CURLOPT_XFERINFODATA,
                         const_cast<std::atomic<bool>*>(options.cancel.get()));
    }
}

std::string upToFirstNul(std::string bytes) {
    const std::size_t nul = bytes.find('\0');
    if (nul != std::string::npos) bytes.resize(nul);
    return bytes;
}

bool needsEscape(unsigned char byte) {
    return byte <= 0x20 || byte >= 0x7F || byte == '#';
}

}  // namespace

std::string fetchUrlBody(const std::string& url, const FetchOptions& options) {
    if (!curlReady()) return {};
    const std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    const auto headers = requestHeaders();
    if (!easy || !headers) return {};
    if (options.cancel && options.cancel->load()) return {};
    Body body;
    setOptions(easy.get(), url, headers.get(), body, options);
    if (curl_easy_perform(easy.get()) != CURLE_OK) return {};
    return upToFirstNul(std::move(body.bytes));
}

std::string urlSafeText(std::string_view text) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (!needsEscape(byte)) {
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
