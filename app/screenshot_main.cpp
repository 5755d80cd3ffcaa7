// quovella-screenshot FILE [PAGE]: builds the main window as the program does, lets
// start-up finish, shows page PAGE (0 "监视", 1 "数据", 2 "持有"; 0 by default) and saves a
// picture of the window as PNG.
#include <QApplication>
#include <QEventLoop>
#include <QPixmap>
#include <QTimer>
#include <cstdio>

#include "app/window/app_state.h"
#include "app/window/main_window.h"
#include "quovella_config.h"
#include "ui/tab_control.h"

namespace {
constexpr int kQuoteWaitMs = 15000;
}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const int page = argc == 3 ? QString::fromLocal8Bit(argv[2]).toInt() : 0;
    if (argc < 2 || argc > 3 || page < 0 || page > 2) {
        std::fprintf(stderr, "usage: quovella-screenshot FILE [PAGE 0..2]\n");
        return 2;
    }
    const QString file = QString::fromLocal8Bit(argv[1]);
    quovella::AppState state;
    bool saved = false;
    {
        quovella::MainWindow window(state, quovella::programDirectory(),
                                    quovella::config::kQuoteUrl);
        window.show();
        window.高级选择夹1->setCurrentPage(page);
        // The quotes arrive as events; the picture waits for them in the event loop, at most
        // one request's time-outs.
        QEventLoop waiting;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (window.quotesIdle()) waiting.quit();
        });
        poll.start(10);
        QTimer::singleShot(kQuoteWaitMs, &waiting, &QEventLoop::quit);
        if (!window.quotesIdle()) waiting.exec();
        for (int i = 0; i < 10; ++i) QCoreApplication::processEvents();
        saved = window.grab().save(file, "PNG");
        window.close();
    }
    state.release();
    if (!saved) {
        std::fprintf(stderr, "quovella-screenshot: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
