#include "common/date_time.h"

#include <cstdio>
#include <ctime>

#include "common/printf_text.h"

namespace quovella {
namespace {

bool isLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeap(year) ? 29 : days[month - 1];
}

// Reads 1 to maxDigits digits at text[i...]; -1 when there are none.
int readNumber(std::string_view text, std::size_t& i, std::size_t maxDigits) {
    const std::size_t start = i;
    int value = 0;
    while (i < text.size() && i - start < maxDigits && text[i] >= '0' && text[i] <= '9') {
        value = value * 10 + (text[i] - '0');
        ++i;
    }
    return i == start ? -1 : value;
}

}  // namespace

std::string dateText(const LocalDateTime& when) {
    return printfText("%d-%02d-%02d", when.year, when.month, when.day);
}

std::string timestampText(const LocalDateTime& when) {
    return dateText(when) + "  " + clockText(when);
}

std::string clockText(const LocalDateTime& when) {
    return printfText("%02d:%02d:%02d", when.hour, when.minute, when.second);
}

std::optional<LocalDateTime> parseDateText(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    LocalDateTime d;
    d.year = readNumber(text, i, 4);
    if (d.year < 0 || i >= text.size() || text[i] != '-') return std::nullopt;
    ++i;
    d.month = readNumber(text, i, 2);
    if (d.month < 1 || d.month > 12 || i >= text.size() || text[i] != '-') return std::nullopt;
    ++i;
    d.day = readNumber(text, i, 2);
    if (d.year < 1 || d.day < 1 || d.day > daysInMonth(d.year, d.month)) return std::nullopt;
    // A time may follow after blanks; other trailing characters mean it is not a date.
    if (i < text.size() && text[i] != ' ') return std::nullopt;
    return d;
}

LocalDateTime dateFromText(std::string_view text) {
    if (const auto d = parseDateText(text)) return *d;
    return LocalDateTime{100, 1, 1, 0, 0, 0};
}

LocalDateTime SystemClock::now() const {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return LocalDateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                         local.tm_hour,        local.tm_min,     local.tm_sec};
}

}  // namespace quovella
