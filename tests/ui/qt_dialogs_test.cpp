// The real message and input boxes: captions, texts, buttons and answers as the user sees
// them. Each test answers the box from a timer while it runs modally.
#include "ui/qt_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "common/gbk.h"

namespace quovella {
namespace {

// Runs answer on the modal box as soon as it is up.
void whenModal(std::function<void(QWidget*)> answer) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        QWidget* box = QApplication::activeModalWidget();
        if (box == nullptr) return;
        timer->stop();
        timer->deleteLater();
        answer(box);
    });
    timer->start();
}

QStringList buttonTexts(QWidget* box) {
    QStringList texts;
    for (const QPushButton* button : box->findChildren<QPushButton*>()) texts << button->text();
    texts.sort();
    return texts;
}

QPushButton* buttonWithText(QWidget* box, const QString& text) {
    for (QPushButton* button : box->findChildren<QPushButton*>()) {
        if (button->text() == text) return button;
    }
    return nullptr;
}

TEST(QtDialogs, AMessageBoxShowsItsCaptionTextAndChineseButtons) {
    QtDialogs dialogs;
    QString title;
    QStringList buttons;
    Qt::TextFormat format = Qt::AutoText;
    whenModal([&](QWidget* box) {
        title = box->windowTitle();
        buttons = buttonTexts(box);
        format = static_cast<QMessageBox*>(box)->textFormat();
        buttonWithText(box, QStringLiteral("取消"))->click();
    });
    const DialogAnswer answer = dialogs.message(nullptr, gbk("是否保存记录:<b>x</b>"),
                                                gbk("提示信息"), DialogButtons::OkCancel);
    EXPECT_EQ(answer, DialogAnswer::Cancel);
    EXPECT_EQ(title, QStringLiteral("提示信息"));
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("取消"), QStringLiteral("确定")}));
    EXPECT_EQ(format, Qt::PlainText);  // a typed "<b>" is shown, not obeyed

    whenModal([&](QWidget* box) {
        buttons = buttonTexts(box);
        buttonWithText(box, QStringLiteral("确定"))->click();
    });
    EXPECT_EQ(dialogs.message(nullptr, gbk("删除成功"), defaultCaption(), DialogButtons::Ok),
              DialogAnswer::Ok);
    EXPECT_EQ(buttons, QStringList{QStringLiteral("确定")});
}

TEST(QtDialogs, AnInputBoxGivesTheTypedTextOrNothingWhenCancelled) {
    QtDialogs dialogs;
    QString title;
    QString initial;
    whenModal([&](QWidget* box) {
        title = box->windowTitle();
        QLineEdit* edit = box->findChild<QLineEdit*>();
        initial = edit->text();
        edit->setText(QStringLiteral("000001"));
        buttonWithText(box, QStringLiteral("确定"))->click();
    });
    EXPECT_EQ(dialogs.input(nullptr, gbk("请输入正确的股票代码"), gbk("添加股票代码"), "600887"),
              std::optional<std::string>("000001"));
    EXPECT_EQ(title, QStringLiteral("添加股票代码"));
    EXPECT_EQ(initial, QStringLiteral("600887"));

    whenModal([&](QWidget* box) { buttonWithText(box, QStringLiteral("取消"))->click(); });
    EXPECT_EQ(dialogs.input(nullptr, gbk("请输入正确的股票代码"), gbk("添加股票代码"), "600887"),
              std::nullopt);
}

}  // namespace
}  // namespace quovella
