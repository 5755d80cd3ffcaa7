#include "ui/qt_dialogs.h"

#include <QInputDialog>
#include <QMessageBox>

#include "ui/qt_text.h"

namespace quovella {

DialogAnswer QtDialogs::message(QWidget* owner, const std::string& text, const std::string& caption,
                                DialogButtons buttons) {
    QMessageBox box(owner);
    box.setIcon(QMessageBox::NoIcon);
    box.setWindowTitle(toQt(caption));
    box.setText(toQt(text));
    if (buttons == DialogButtons::OkCancel) {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok ? DialogAnswer::Ok : DialogAnswer::Cancel;
}

std::optional<std::string> QtDialogs::input(QWidget* owner, const std::string& prompt,
                                            const std::string& title, const std::string& initial) {
    bool accepted = false;
    const QString typed = QInputDialog::getText(owner, toQt(title), toQt(prompt), QLineEdit::Normal,
                                                toQt(initial), &accepted);
    if (!accepted) return std::nullopt;
    return fromQt(typed);
}

}  // namespace quovella
