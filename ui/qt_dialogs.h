#pragma once
// The program's message and input boxes on Qt: captioned, no icon.
#include "ui/dialogs.h"

namespace quovella {

class QtDialogs final : public Dialogs {
  public:
    DialogAnswer message(QWidget* owner, const std::string& text, const std::string& caption,
                         DialogButtons buttons) override;
    std::optional<std::string> input(QWidget* owner, const std::string& prompt,
                                     const std::string& title, const std::string& initial) override;
};

}  // namespace quovella
