#pragma once
// The about window: a greeting, the picture, usage notes and a close button; fixed, modal,
// created afresh for every opening.
#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace quovella {

// Client size, and the outer size (frame included) it is centred by.
constexpr int kAboutClientWidth = 458;
constexpr int kAboutClientHeight = 333;
constexpr int kAboutOuterWidth = 464;
constexpr int kAboutOuterHeight = 362;

class AboutWindow : public QDialog {
    Q_OBJECT
  public:
    explicit AboutWindow(QWidget* owner = nullptr);

    QLabel* 标签2 = nullptr;
    QLabel* 图片框1 = nullptr;
    QPlainTextEdit* 编辑框1 = nullptr;
    QPushButton* 按钮1 = nullptr;
    QLabel* 标签1 = nullptr;
    QLabel* 标签3 = nullptr;
};

// Shows a new about window modally over owner and returns once it has been closed; the window
// is gone by then.
void showAboutWindow(QWidget* owner);

}  // namespace quovella
