#include "feed/quote_book.h"

#include <algorithm>
#include <cstdio>

#include "common/gbk.h"
#include "common/text_rules.h"
#include "feed/stock_list.h"

namespace quovella {
namespace {

std::string priceText(int cents) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%d.%02d", cents / 100, cents % 100);
    return buffer;
}

std::string amountText(std::int64_t milli) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%lld.%03lld", static_cast<long long>(milli / 1000),
                  static_cast<long long>(milli % 1000));
    return buffer;
}

std::string timeText(const LocalDateTime& t) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    return buffer;
}

// The daily limits: 10 % either side of the previous close, rounded to the cent.
int limitUp(int previousClose) {
    return (previousClose * 110 + 50) / 100;
}
int limitDown(int previousClose) {
    return std::max(1, (previousClose * 90 + 50) / 100);
}

}  // namespace

QuoteBook::QuoteBook(std::uint64_t seed, std::shared_ptr<const Clock> clock, bool withMarket)
    : state_(seed), clock_(std::move(clock)) {
    if (!withMarket) return;
    for (const KnownStock& stock : knownStocks()) {
        walks_.emplace(std::string(stock.code),
                       startWalk(gbk(stock.nameUtf8), stock.previousCloseCents));
    }
}

// splitmix64: small, fast and the same on every platform.
std::uint64_t QuoteBook::nextRandom() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

int QuoteBook::randomBelow(int bound) {
    return static_cast<int>(nextRandom() % static_cast<std::uint64_t>(bound));
}

QuoteBook::Walk QuoteBook::startWalk(std::string name, int previousClose) {
    Walk walk;
    walk.name = std::move(name);
    walk.previousClose = previousClose;
    // Opens within 1 % of the previous close.
    const int spread = std::max(1, previousClose / 100);
    walk.open = std::clamp(previousClose + randomBelow(2 * spread + 1) - spread,
                           limitDown(previousClose), limitUp(previousClose));
    walk.current = walk.high = walk.low = walk.open;
    walk.volume = 100LL * (1000 + randomBelow(100000));
    walk.amountMilli = walk.volume * walk.open * 10;
    return walk;
}

void QuoteBook::step(Walk& walk) {
    // Moves up to 0.3 % (at least one cent) either way, kept inside the daily limits.
    const int reach = std::max(1, walk.current * 3 / 1000);
    walk.current = std::clamp(walk.current + randomBelow(2 * reach + 1) - reach,
                              limitDown(walk.previousClose), limitUp(walk.previousClose));
    walk.high = std::max(walk.high, walk.current);
    walk.low = std::min(walk.low, walk.current);
    const std::int64_t traded = 100LL * (1 + randomBelow(500));
    walk.volume += traded;
    walk.amountMilli += traded * walk.current * 10;
}

std::string QuoteBook::quoteFields(const Walk& walk, const LocalDateTime& now) {
    const int bid = std::max(1, walk.current - 1);
    const int ask = walk.current + 1;
    std::string fields = walk.name;
    for (const int price :
         {walk.open, walk.previousClose, walk.current, walk.high, walk.low, bid, ask}) {
        fields += ',' + priceText(price);
    }
    fields += ',' + std::to_string(walk.volume) + ',' + amountText(walk.amountMilli);
    for (int level = 0; level < 5; ++level) {
        fields += ',' + std::to_string(100 * (1 + randomBelow(300)));
        fields += ',' + priceText(std::max(1, bid - level));
    }
    for (int level = 0; level < 5; ++level) {
        fields += ',' + std::to_string(100 * (1 + randomBelow(300)));
        fields += ',' + priceText(ask + level);
    }
    fields += ',' + dateText(now) + ',' + timeText(now) + ",00";
    return fields;
}

void QuoteBook::fixContent(std::string code, std::string content) {
    const std::lock_guard lock(mutex_);
    fixed_.insert_or_assign(std::move(code), std::move(content));
}

std::string QuoteBook::replyFor(std::string_view codeList) {
    const LocalDateTime now = clock_->now();
    const std::lock_guard lock(mutex_);
    std::string reply;
    for (const std::string& code : splitText(codeList, ",")) {
        reply += "quote_" + code + "=\"";
        if (const auto fixed = fixed_.find(code); fixed != fixed_.end()) {
            reply += fixed->second;
        } else if (const auto found = walks_.find(code); found != walks_.end()) {
            step(found->second);
            reply += quoteFields(found->second, now);
        }
        reply += "\";\n";
    }
    return reply;
}

}  // namespace quovella
