#include "app/window/about_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <functional>
#include <vector>

#include "app/window/about_picture.h"
#include "app/window_fixture.h"
#include "ui/qt_text.h"
#include "ui/status_bar.h"
#include "ui/ui_events.h"

namespace quovella {
namespace {

std::string text(const QLabel* label) {
    return fromQt(label->text());
}

// Everything the window shows, to compare two openings.
struct Shown {
    std::string caption, greeting, notes, button, contact, wish;
    QImage picture;
    bool operator==(const Shown&) const = default;
};

Shown shown(const AboutWindow& about) {
    return {
        fromQt(about.windowTitle()),      text(about.标签2), fromQt(about.编辑框1->toPlainText()),
        fromQt(about.按钮1->text()),      text(about.标签1), text(about.标签3),
        about.图片框1->pixmap().toImage()};
}

// Runs `close` on the modal about window once it is up; answers what it saw, or nothing when
// no about window came up.
class ModalProbe {
  public:
    explicit ModalProbe(std::function<void(AboutWindow&)> close) {
        QTimer::singleShot(0, [this, close] {
            auto* about = qobject_cast<AboutWindow*>(QApplication::activeModalWidget());
            if (about == nullptr) return;
            window_ = about;
            seen_.push_back(shown(*about));
            modal_ = about->isModal();
            close(*about);
        });
    }
    const std::vector<Shown>& seen() const { return seen_; }
    bool wasModal() const { return modal_; }
    // Null once the window it saw has been destroyed.
    const QPointer<AboutWindow>& window() const { return window_; }

  private:
    std::vector<Shown> seen_;
    bool modal_ = false;
    QPointer<AboutWindow> window_;
};

TEST(AboutWindowTest, EveryUnitSitsWhereTheDefinitionPutsIt) {
    const AboutWindow about;
    struct Expected {
        const char* name;
        const QWidget* unit;
        QRect geometry;
    };
    const Expected table[] = {
        {"标签2", about.标签2, {0, 8, 456, 32}},
        {"图片框1", about.图片框1, {7, 48, 224, 224}},
        {"编辑框1", about.编辑框1, {232, 48, 224, 224}},
        {"按钮1", about.按钮1, {297, 287, 104, 40}},
        {"标签1", about.标签1, {15, 303, 104, 24}},
        {"标签3", about.标签3, {120, 303, 144, 24}},
    };
    for (const Expected& unit : table) {
        EXPECT_EQ(unit.unit->parentWidget(), &about) << unit.name;
        EXPECT_EQ(unit.unit->geometry(), unit.geometry) << unit.name;
    }
    EXPECT_EQ(about.size(), QSize(kAboutClientWidth, kAboutClientHeight));
    EXPECT_EQ(about.minimumSize(), about.maximumSize());
    const Qt::WindowFlags flags = about.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(about.pos(), QPoint(screen.x() + (screen.width() - kAboutOuterWidth) / 2,
                                  screen.y() + (screen.height() - kAboutOuterHeight) / 2));
}

TEST(AboutWindowTest, CaptionTextsAndFonts) {
    const AboutWindow about;
    EXPECT_EQ(fromQt(about.windowTitle()), gbk("感谢您的支持"));
    EXPECT_EQ(text(about.标签2), gbk("欢迎使用Quovella"));
    EXPECT_EQ(about.标签2->font().pixelSize(), 14);
    EXPECT_TRUE(about.标签2->font().bold());
    EXPECT_EQ(fromQt(about.按钮1->text()), gbk("关闭"));
    EXPECT_EQ(about.按钮1->font().pixelSize(), 12);
    EXPECT_TRUE(about.按钮1->font().bold());
    EXPECT_EQ(text(about.标签3), gbk("祝大家的股票天天涨停"));
    EXPECT_EQ(about.标签3->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_FALSE(text(about.标签1).empty());

    EXPECT_TRUE(about.编辑框1->isReadOnly());
    const QStringList paragraphs = about.编辑框1->toPlainText().split(QStringLiteral("\n\n"));
    ASSERT_EQ(paragraphs.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(paragraphs[i].startsWith(QString::number(i + 1) + QStringLiteral(". ")));
        EXPECT_FALSE(paragraphs[i].contains(QLatin1Char('\n'))) << i;
    }
}

TEST(AboutPictureTest, TheEmbeddedPictureIs220SquareWithTransparentCorners) {
    const std::span<const unsigned char> png = aboutPicturePng();
    ASSERT_GT(png.size(), 33u);
    EXPECT_EQ(png[25], 6) << "colour type RGBA";
    EXPECT_EQ(png[24], 8) << "bits per channel";

    const std::optional<QImage> image = decodePng(png);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->size(), QSize(220, 220));
    EXPECT_EQ(image->format(), QImage::Format_ARGB32);
    EXPECT_EQ(qAlpha(image->pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(image->pixel(219, 219)), 0);
    EXPECT_EQ(qAlpha(image->pixel(110, 110)), 255);

    const AboutWindow about;
    EXPECT_EQ(about.图片框1->pixmap().size(), QSize(220, 220));
}

TEST(AboutPictureTest, BadBytesAreRefusedWithoutHarm) {
    const std::span<const unsigned char> png = aboutPicturePng();
    EXPECT_FALSE(decodePng({}).has_value());
    EXPECT_FALSE(decodePng(png.first(8)).has_value()) << "signature only";
    EXPECT_FALSE(decodePng(png.first(40)).has_value()) << "header, no image data";
    EXPECT_FALSE(decodePng(png.first(png.size() / 2)).has_value()) << "cut in the image data";

    std::vector<unsigned char> corrupt(png.begin(), png.end());
    corrupt[0] = 'X';
    EXPECT_FALSE(decodePng(corrupt).has_value()) << "bad signature";
    corrupt.assign(png.begin(), png.end());
    for (std::size_t i = 60; i < corrupt.size() - 20; i += 97) corrupt[i] ^= 0x5A;
    EXPECT_FALSE(decodePng(corrupt).has_value()) << "scrambled image data";

    // A header claiming a picture far too large to be real.
    corrupt.assign(png.begin(), png.end());
    corrupt[16] = 0x7F;
    EXPECT_FALSE(decodePng(corrupt).has_value()) << "oversized";
}

TEST(AboutWindowTest, EachWayOfClosingReturnsAndDestroysTheWindow) {
    const std::function<void(AboutWindow&)> closers[] = {
        [](AboutWindow& about) { about.按钮1->click(); },
        [](AboutWindow& about) { testing::pressKey(about.编辑框1, Qt::Key_Escape); },
        [](AboutWindow& about) { about.close(); },  // what the close box sends
    };
    for (const auto& close : closers) {
        const ModalProbe probe(close);
        showAboutWindow(nullptr);
        ASSERT_EQ(probe.seen().size(), 1u);
        EXPECT_TRUE(probe.wasModal());
        EXPECT_TRUE(probe.window().isNull());
    }
}

class AboutFromStatusBarTest : public testing::WindowFixture {};

TEST_F(AboutFromStatusBarTest, TheDefaultOpenerShowsTheSameWindowEachTime) {
    window().setAboutWindowOpener({});
    std::vector<Shown> seen;
    for (int opening = 0; opening < 2; ++opening) {
        const ModalProbe probe([](AboutWindow& about) { about.按钮1->click(); });
        testing::press(window().状态条1, QPoint(943, 5));
        ASSERT_EQ(probe.seen().size(), 1u) << opening;
        EXPECT_TRUE(probe.window().isNull());
        seen.push_back(probe.seen().front());
    }
    EXPECT_EQ(seen[0], seen[1]);
    EXPECT_EQ(seen[0].caption, gbk("感谢您的支持"));
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(aboutOpened_, 0);
}

}  // namespace
}  // namespace quovella
