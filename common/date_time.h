#pragma once
// Local dates and times as the program shows and stores them, and the one clock that
// says what "now" is (tests inject their own).
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quovella {

struct LocalDateTime {
    int year = 0;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// 2020-08-07: month and day padded to two digits, the year as it is.
std::string dateText(const LocalDateTime& when);
// 2020-08-27  09:05:03: the date text, two spaces, the time padded to two digits.
std::string timestampText(const LocalDateTime& when);
// The time of day alone: 09:05:03.
std::string clockText(const LocalDateTime& when);

// A text of the form year-month-day (digits, "-", digits, "-", digits, a real calendar
// date, optionally followed by a time) gives that date; anything else gives nothing.
std::optional<LocalDateTime> parseDateText(std::string_view text);
// The date a text stands for, or 0100-01-01 when it is not a date.
LocalDateTime dateFromText(std::string_view text);

class Clock {
  public:
    virtual ~Clock() = default;
    virtual LocalDateTime now() const = 0;
};

// The machine's local time.
class SystemClock final : public Clock {
  public:
    LocalDateTime now() const override;
};

// A clock that stands still until told otherwise; for tests.
class FixedClock final : public Clock {
  public:
    explicit FixedClock(LocalDateTime when) : when_(when) {}
    LocalDateTime now() const override { return when_; }
    void set(LocalDateTime when) { when_ = when; }

  private:
    LocalDateTime when_;
};

}  // namespace quovella
