#include "app/window/about_window.h"

#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/window/about_picture.h"
#include "common/gbk.h"
#include "ui/qt_text.h"
#include "ui/window_placement.h"

namespace quovella {

namespace {

QFont boldFont(const QFont& base, int pixelHeight) {
    QFont font = base;
    font.setPixelSize(pixelHeight);
    font.setBold(true);
    return font;
}

QLabel* label(QWidget* parent, const std::string& text, QRect geometry) {
    auto* unit = new QLabel(toQt(text), parent);
    unit->setGeometry(geometry);
    return unit;
}

std::string usageNotes() {
    return gbk(
        "1. 部分安全软件会把本程序当作可疑程序，一发现就直接删除。\n"
        "\n"
        "2. 遇到这种情况，请把本程序加入该安全软件的信任名单（白名单）后再运行。\n"
        "\n"
        "3. 行情数据每秒刷新一次，使用中可能会出现一些小问题，敬请谅解。");
}

}  // namespace

AboutWindow::AboutWindow(QWidget* owner) : QDialog(owner) {
    setWindowTitle(toQt(gbk("感谢您的支持")));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(kAboutClientWidth, kAboutClientHeight);

    标签2 = label(this, gbk("欢迎使用Quovella"), {0, 8, 456, 32});
    标签2->setFont(boldFont(font(), 14));

    图片框1 = label(this, "", {7, 48, 224, 224});
    图片框1->setAlignment(Qt::AlignCenter);
    if (const auto picture = decodePng(aboutPicturePng())) {
        图片框1->setPixmap(QPixmap::fromImage(*picture));
    }

    编辑框1 = new QPlainTextEdit(toQt(usageNotes()), this);
    编辑框1->setGeometry(232, 48, 224, 224);
    编辑框1->setReadOnly(true);

    按钮1 = new QPushButton(toQt(gbk("关闭")), this);
    按钮1->setGeometry(297, 287, 104, 40);
    按钮1->setFont(boldFont(font(), 12));
    按钮1->setAutoDefault(false);
    connect(按钮1, &QPushButton::clicked, this, &QDialog::accept);

    标签1 = label(this, gbk("qv@example.org"), {15, 303, 104, 24});
    标签3 = label(this, gbk("祝大家的股票天天涨停"), {120, 303, 144, 24});
    QPalette red = 标签3->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    标签3->setPalette(red);

    centreOnScreen(*this, kAboutOuterWidth, kAboutOuterHeight);
}

void showAboutWindow(QWidget* owner) {
    AboutWindow about(owner);
    about.exec();
}

}  // namespace quovella
