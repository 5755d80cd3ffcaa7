#pragma once
// Dialogs for benchmarks of the real window: every message is answered OK, every input box
// cancelled, and nothing waits for a person.
#include <optional>
#include <string>

#include "ui/dialogs.h"

namespace quovella {

class SilentDialogs final : public Dialogs {
  public:
    DialogAnswer message(QWidget*, const std::string&, const std::string&, DialogButtons) override {
        return DialogAnswer::Ok;
    }
    std::optional<std::string> input(QWidget*, const std::string&, const std::string&,
                                     const std::string&) override {
        return std::nullopt;
    }
};

}  // namespace quovella
