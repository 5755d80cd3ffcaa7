// The program entry: no command line. Files live beside the executable, or for an installed
// program in the user's data directory (the one variable of the environment it reads).
#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "app/window/app_state.h"
#include "app/window/main_window.h"
#include "app/window/single_instance.h"
#include "common/run_directory.h"
#include "quovella_config.h"

namespace {

// The desktop entry's and the AppStream metadata's id, so the window matches its menu entry.
constexpr auto kDesktopId = "io.github.quovella.Quovella";

std::optional<std::string> environmentVariable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

// A copy that is ending gets this long to end: the store's close time, and time for the
// user to answer a failure's message it may show.
constexpr std::chrono::seconds kEndingCopyWait{10};

// Nothing has been written when this is shown; the program ends after it.
int refuseToStart(const QString& why, const std::string& cause = {}) {
    std::fprintf(stderr, "quovella: %s %s\n", qPrintable(why), cause.c_str());
    QString text = QStringLiteral("Quovella cannot start: %1").arg(why);
    if (!cause.empty()) text += QStringLiteral("\n\n") + QString::fromLocal8Bit(cause.c_str());
    QMessageBox::critical(nullptr, QStringLiteral("Quovella"), text);
    return 1;
}

// The run directory for this start, from the event loop: nothing when this start goes on
// with a window of its own, or how it ends: 0 once the running copy's window came forward.
// A copy that is ending is waited for; a start never ends with 0 and no window showing.
std::optional<int> claimOrHandOver(quovella::SingleInstance& instance) {
    using quovella::SingleInstance;
    if (instance.claim() != SingleInstance::Claim::AnotherRuns) return std::nullopt;
    QEventLoop loop;
    bool forwarded = false;
    SingleInstance::Claim claimed = SingleInstance::Claim::AnotherRuns;
    instance.bringForward([&](SingleInstance::Reply reply) {
        if (reply == SingleInstance::Reply::broughtForward) {
            forwarded = true;
            loop.quit();
            return;
        }
        instance.claimWhenFree(kEndingCopyWait, [&](SingleInstance::Claim last) {
            claimed = last;
            loop.quit();
        });
    });
    loop.exec();
    if (forwarded) return 0;
    if (claimed != SingleInstance::Claim::AnotherRuns) return std::nullopt;
    return refuseToStart(QStringLiteral(
        "the copy already running in this folder neither shows its window nor ends. Close it, "
        "or end its process, then start again."));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopId));
    // The program ends when its close has ended (closeFinished), not when the window hides.
    QApplication::setQuitOnLastWindowClosed(false);

    const quovella::RunDirectory run =
        quovella::chooseRunDirectory(quovella::programDirectory(), environmentVariable);
    const auto dataDirectoryRefused = [](const std::string& cause) {
        return refuseToStart(QStringLiteral("its data directory is not usable."), cause);
    };
    if (!run.ok()) return dataDirectoryRefused(run.failure);

    quovella::SingleInstance instance(run.path);
    if (const std::optional<int> handedOver = claimOrHandOver(instance)) return *handedOver;
    // Under the lock: two first starts never copy into one directory at once.
    if (const std::string failure = quovella::copyStartingFiles(run); !failure.empty()) {
        return dataDirectoryRefused(failure);
    }

    quovella::AppState state;
    {
        quovella::MainWindow window(state, run.path, quovella::config::kQuoteUrl);
        QObject::connect(&window, &quovella::MainWindow::closeFinished, &application,
                         &QCoreApplication::quit);
        instance.answerLaterStarts([&window] { return window.comeForward(); });
        window.show();
        QApplication::exec();
        instance.answerLaterStarts({});  // the window goes: later starts wait for the end
    }
    state.release();
    return 0;
}
