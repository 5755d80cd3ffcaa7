#pragma once
// Every message box and input box of the program goes through one Dialogs object, so a
// test can pre-answer them and see what was shown. Texts are GBK.
#include <optional>
#include <string>

#include "common/gbk.h"

class QWidget;

namespace quovella {

enum class DialogButtons { Ok, OkCancel };
enum class DialogAnswer { Ok, Cancel };

// The caption a message box gets when none is given.
inline const std::string& defaultCaption() {
    static const std::string caption = gbk("信息：");
    return caption;
}

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    // owner may be null (no owner window).
    virtual DialogAnswer message(QWidget* owner, const std::string& text,
                                 const std::string& caption, DialogButtons buttons) = 0;
    // The typed text, or nothing when the user cancelled.
    virtual std::optional<std::string> input(QWidget* owner, const std::string& prompt,
                                             const std::string& title,
                                             const std::string& initial) = 0;
};

}  // namespace quovella
