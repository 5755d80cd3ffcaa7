// The program entry: no command line. Files live beside the executable, or for an installed
// program in the user's data directory (the one variable of the environment it reads).
#include <QApplication>
#include <QMessageBox>
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

// Nothing has been written when this is shown; the program ends after it.
int refuseToStart(const std::string& cause) {
    std::fprintf(stderr, "quovella: %s\n", cause.c_str());
    QMessageBox::critical(nullptr, QStringLiteral("Quovella"),
                          QStringLiteral("Quovella cannot start: its data directory is not "
                                         "usable.\n\n%1")
                              .arg(QString::fromLocal8Bit(cause.c_str())));
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopId));

    const quovella::RunDirectory run =
        quovella::chooseRunDirectory(quovella::programDirectory(), environmentVariable);
    if (!run.ok()) return refuseToStart(run.failure);

    quovella::SingleInstance instance(run.path);
    if (instance.claim() == quovella::SingleInstance::Claim::AnotherRuns) {
        int result = 0;
        instance.bringForward([&result](bool reached) {
            if (!reached) std::fprintf(stderr, "quovella: the running copy does not answer\n");
            result = reached ? 0 : 1;
            QCoreApplication::quit();
        });
        QApplication::exec();
        return result;
    }
    // Under the lock: two first starts never copy into one directory at once.
    if (const std::string failure = quovella::copyStartingFiles(run); !failure.empty()) {
        return refuseToStart(failure);
    }

    quovella::AppState state;
    int result = 0;
    {
        quovella::MainWindow window(state, run.path, quovella::config::kQuoteUrl);
        QObject::connect(&instance, &quovella::SingleInstance::activationRequested, &window,
                         [&window] { quovella::bringToFront(window); });
        window.show();
        result = QApplication::exec();
    }
    state.release();
    (void)result;
    return 0;
}
