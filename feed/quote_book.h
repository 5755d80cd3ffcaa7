#pragma once
// The demo server's market: a deterministic random walk of the known stocks' prices, and
// the reply text for a code list. Thread-safe.
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "common/date_time.h"

namespace quovella {

class QuoteBook {
  public:
    // The same seed and the same sequence of requests give the same replies. Without the
    // market no code is known until it is given a fixed content.
    QuoteBook(std::uint64_t seed, std::shared_ptr<const Clock> clock, bool withMarket = true);

    // From now on the code answers with this content (GBK, the text between the quotes)
    // and no longer moves.
    void fixContent(std::string code, std::string content);

    // One entry per code of the list (codes joined by ","), in request order:
    // quote_<code>="<33 fields>";\n, or quote_<code>=""; for an unknown code. Every known
    // code requested moves one step. An empty list gives an empty text. GBK.
    std::string replyFor(std::string_view codeList);

  private:
    struct Walk {
        std::string name;       // GBK
        int previousClose = 0;  // prices in cents
        int open = 0;
        int current = 0;
        int high = 0;
        int low = 0;
        std::int64_t volume = 0;       // shares
        std::int64_t amountMilli = 0;  // thousandths of a yuan
    };

    std::uint64_t nextRandom();
    int randomBelow(int bound);
    Walk startWalk(std::string name, int previousClose);
    void step(Walk& walk);
    std::string quoteFields(const Walk& walk, const LocalDateTime& now);

    std::mutex mutex_;
    std::uint64_t state_;
    std::shared_ptr<const Clock> clock_;
    std::map<std::string, Walk, std::less<>> walks_;
    std::map<std::string, std::string, std::less<>> fixed_;
};

}  // namespace quovella
