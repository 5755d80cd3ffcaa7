#pragma once
// A Dialogs for tests: answers come from a queue set up beforehand, and every box shown is
// recorded. With the queue empty a message box answers OK and an input box is cancelled.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "ui/dialogs.h"

namespace quovella::testing {

struct ShownBox {
    enum class Kind { Message, Input };
    Kind kind = Kind::Message;
    std::string text;  // the message, or the input box's prompt
    std::string caption;
    DialogButtons buttons = DialogButtons::Ok;
    std::string initial;  // input boxes only
    bool owned = false;
};

class ScriptedDialogs final : public Dialogs {
  public:
    void answerOk() { answers_.push_back(Answer{DialogAnswer::Ok, std::nullopt}); }
    void answerCancel() { answers_.push_back(Answer{DialogAnswer::Cancel, std::nullopt}); }
    // An input box gets this text typed and confirmed.
    void answerText(std::string typed) {
        answers_.push_back(Answer{DialogAnswer::Ok, std::move(typed)});
    }

    const std::vector<ShownBox>& shown() const { return shown_; }
    std::size_t unusedAnswers() const { return answers_.size(); }

    DialogAnswer message(QWidget* owner, const std::string& text, const std::string& caption,
                         DialogButtons buttons) override {
        shown_.push_back({ShownBox::Kind::Message, text, caption, buttons, {}, owner != nullptr});
        return next().answer;
    }

    std::optional<std::string> input(QWidget* owner, const std::string& prompt,
                                     const std::string& title,
                                     const std::string& initial) override {
        shown_.push_back({ShownBox::Kind::Input, prompt, title, DialogButtons::OkCancel, initial,
                          owner != nullptr});
        if (answers_.empty()) return std::nullopt;
        const Answer answer = next();
        if (answer.answer == DialogAnswer::Cancel) return std::nullopt;
        return answer.typed.value_or(initial);
    }

  private:
    struct Answer {
        DialogAnswer answer;
        std::optional<std::string> typed;
    };
    Answer next() {
        if (answers_.empty()) return Answer{DialogAnswer::Ok, std::nullopt};
        Answer answer = answers_.front();
        answers_.pop_front();
        return answer;
    }

    std::deque<Answer> answers_;
    std::vector<ShownBox> shown_;
};

}  // namespace quovella::testing
