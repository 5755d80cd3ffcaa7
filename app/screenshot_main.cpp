// quovella-screenshot FILE: builds the main window as the program does, lets start-up
// finish, and saves a picture of the window as PNG.
#include <QApplication>
#include <QPixmap>
#include <cstdio>

#include "app/app_state.h"
#include "app/main_window.h"
#include "ui/qt_text.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: quovella-screenshot FILE\n");
        return 2;
    }
    const QString file = QString::fromLocal8Bit(argv[1]);
    quovella::AppState state;
    bool saved = false;
    {
        quovella::MainWindow window(state, quovella::fromQt(QCoreApplication::applicationDirPath()),
                                    QUOVELLA_QUOTE_URL);
        window.show();
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
