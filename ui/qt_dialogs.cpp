#include "ui/qt_dialogs.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include "ui/qt_text.h"

namespace quovella {

namespace {

// The buttons read as the system's own Chinese buttons do, whatever Qt's translations.
const QString& okText() {
    static const QString text = QStringLiteral("确定");
    return text;
}
const QString& cancelText() {
    static const QString text = QStringLiteral("取消");
    return text;
}

}  // namespace

DialogAnswer QtDialogs::message(QWidget* owner, const std::string& text, const std::string& caption,
                                DialogButtons buttons) {
    QMessageBox box(owner);
    box.setIcon(QMessageBox::NoIcon);
    box.setWindowTitle(toQt(caption));
    // Texts can hold what the user typed or the server sent: never read them as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(toQt(text));
    if (buttons == DialogButtons::OkCancel) {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
        box.button(QMessageBox::Cancel)->setText(cancelText());
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    box.button(QMessageBox::Ok)->setText(okText());
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok ? DialogAnswer::Ok : DialogAnswer::Cancel;
}

std::optional<std::string> QtDialogs::input(QWidget* owner, const std::string& prompt,
                                            const std::string& title, const std::string& initial) {
    QInputDialog box(owner);
    box.setInputMode(QInputDialog::TextInput);
    box.setWindowTitle(toQt(title));
    box.setLabelText(toQt(prompt));
    box.setTextValue(toQt(initial));
    box.setOkButtonText(okText());
    box.setCancelButtonText(cancelText());
    if (box.exec() != QDialog::Accepted) return std::nullopt;
    return fromQt(box.textValue());
}

}  // namespace quovella
