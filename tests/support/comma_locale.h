#pragma once
// The C library's locale switched, for one test, to one whose decimal mark is a comma, as Qt
// sets it from LANG on a German or French desktop; the locale before it comes back after.
#include <clocale>
#include <string>
#include <string_view>

namespace quovella::testing {

class CommaLocale {
  public:
    CommaLocale() : before_(std::setlocale(LC_ALL, nullptr)) {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8",
                                 "es_ES.UTF-8", "it_IT.UTF-8", "nl_NL.UTF-8", "ru_RU.UTF-8"}) {
            if (std::setlocale(LC_ALL, name) != nullptr &&
                std::string_view(std::localeconv()->decimal_point) == ",") {
                return;
            }
        }
        restore();
    }
    ~CommaLocale() { restore(); }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    // False when no such locale is installed (scripts/install-deps.sh test makes de_DE).
    bool active() const { return std::string_view(std::localeconv()->decimal_point) == ","; }

  private:
    void restore() { std::setlocale(LC_ALL, before_.c_str()); }
    std::string before_;
};

}  // namespace quovella::testing
