#pragma once
// Builds the main window as the program does, in a temporary run directory, with a fixed
// clock and pre-answerable dialogs; start-up has run when the fixture is set up.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "app/holdings/holdings_page.h"
#include "app/records/records_page.h"
#include "app/watch/watch_page.h"
#include "app/window/app_state.h"
#include "app/window/main_window.h"
#include "common/date_time.h"
#include "ui/qt_text.h"
#include "ui/scripted_dialogs.h"

namespace quovella::testing {

class WindowFixture : public ::testing::Test {
  protected:
    // Override to put files ("system.txt", "gp.mdb") into the run directory before the
    // window is built.
    virtual void prepareRunDirectory(const std::string& /*runDirectory*/) {}
    // The quote server the window talks to.
    virtual std::string quoteBaseUrl() const { return "http://127.0.0.1:9/"; }

    void SetUp() override {
        ASSERT_TRUE(runDirectory_.isValid());
        prepareRunDirectory(runDirectory());
        buildWindow();
    }

    void TearDown() override {
        window_.reset();
        state_.release();
    }

    void buildWindow() {
        window_ = std::make_unique<MainWindow>(state_, runDirectory(), quoteBaseUrl(),
                                               WindowServices{&dialogs_, &clock_});
        window_->setAboutWindowOpener([this](QWidget*) { ++aboutOpened_; });
        window_->show();
        settle();
    }

    // Lets the window's work off the GUI thread (quote requests, records reads and sorts)
    // come back and be handled, within a generous bound.
    void settle() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        QCoreApplication::processEvents();
        while (!window().backgroundIdle() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            QCoreApplication::processEvents();
        }
    }

    // In the file system's own bytes, as the program takes its directory.
    std::string runDirectory() const {
        return QFile::encodeName(runDirectory_.path()).toStdString();
    }
    MainWindow& window() { return *window_; }

    QTemporaryDir runDirectory_;
    FixedClock clock_{LocalDateTime{2020, 8, 28, 0, 0, 0}};
    ScriptedDialogs dialogs_;
    AppState state_;
    std::unique_ptr<MainWindow> window_;
    int aboutOpened_ = 0;
};

}  // namespace quovella::testing
