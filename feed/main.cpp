// quovella-feed [--port N] [--seed N] [--log FILE] [fault flags]: the demo quote server.
// Prints its URL and serves until SIGINT or SIGTERM. With --log, each request is appended
// to FILE as it arrives: method, target and version, then the user agent after a tab.
#include <pthread.h>

#include <charconv>
#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "feed/feed_server.h"

namespace {

using quovella::FeedFault;
using quovella::FeedOptions;
using quovella::SeenRequest;

constexpr const char* usage =
    "usage: quovella-feed [--port N] [--seed N] [--delay-ms N] [--log FILE]\n"
    "                     [--hang | --trickle | --cut-body | --error-500 | --garbage |\n"
    "                      --huge | --failed]\n";

std::optional<FeedFault> faultFlag(std::string_view flag) {
    if (flag == "--hang") return FeedFault::hang;
    if (flag == "--trickle") return FeedFault::trickle;
    if (flag == "--cut-body") return FeedFault::cutBody;
    if (flag == "--error-500") return FeedFault::serverError;
    if (flag == "--garbage") return FeedFault::garbage;
    if (flag == "--huge") return FeedFault::hugeBody;
    if (flag == "--failed") return FeedFault::failed;
    return std::nullopt;
}

// Digits only, read without the locale.
std::optional<unsigned long long> number(const char* text) {
    if (text == nullptr) return std::nullopt;
    const std::string_view digits(text);
    unsigned long long value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return value;
}

// One line per request, written whole and flushed, so a reader never sees half of one.
std::function<void(const SeenRequest&)> requestLog(const char* path) {
    auto file = std::shared_ptr<std::FILE>(std::fopen(path, "a"), [](std::FILE* f) {
        if (f != nullptr) std::fclose(f);
    });
    if (!file) return {};
    return [file](const SeenRequest& seen) {
        const auto agent = seen.headers.find("User-Agent");
        const std::string line = seen.method + " " + seen.target + " " + seen.version + "\t" +
                                 (agent != seen.headers.end() ? agent->second : "") + "\n";
        std::fputs(line.c_str(), file.get());
        std::fflush(file.get());
    };
}

std::optional<FeedOptions> parseArguments(int argc, char** argv) {
    FeedOptions options;
    options.seed = std::random_device{}();
    for (int i = 1; i < argc; ++i) {
        const std::string_view flag = argv[i];
        if (const auto fault = faultFlag(flag)) {
            options.fault = *fault;
            continue;
        }
        if (flag == "--log") {
            if (i + 1 >= argc) return std::nullopt;
            options.onRequest = requestLog(argv[++i]);
            if (!options.onRequest) return std::nullopt;
            continue;
        }
        if (flag != "--port" && flag != "--seed" && flag != "--delay-ms") return std::nullopt;
        const auto value = number(i + 1 < argc ? argv[++i] : nullptr);
        if (!value) return std::nullopt;
        if (flag == "--port") {
            if (*value > 65535) return std::nullopt;
            options.port = static_cast<int>(*value);
        } else if (flag == "--seed") {
            options.seed = *value;
        } else {
            options.delay = std::chrono::milliseconds(*value);
        }
    }
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    const auto options = parseArguments(argc, argv);
    if (!options) {
        std::fputs(usage, stderr);
        return 2;
    }
    // The server's threads inherit the mask, so only sigwait below sees the signals.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    quovella::FeedServer server(*options);
    if (!server.start()) {
        std::fprintf(stderr, "quovella-feed: cannot listen on 127.0.0.1:%d\n", options->port);
        return 1;
    }
    std::printf("quovella-feed listening on %s\n", server.baseUrl().c_str());
    std::fflush(stdout);
    int received = 0;
    sigwait(&signals, &received);
    server.stop();
    return 0;
}
