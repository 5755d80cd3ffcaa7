// The program entry: no command line, no environment; files live beside the executable.
#include <QApplication>

#include "app/window/app_state.h"
#include "app/window/main_window.h"
#include "quovella_config.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    quovella::AppState state;
    int result = 0;
    {
        quovella::MainWindow window(state, quovella::programDirectory(),
                                    quovella::config::kQuoteUrl);
        window.show();
        result = QApplication::exec();
    }
    state.release();
    (void)result;
    return 0;
}
