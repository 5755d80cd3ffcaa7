#pragma once
// What the main window lends its pages: the program-wide state, the services, the run
// directory, the status bar they write to and the window itself (the owner of message
// boxes, and what always-on-top and transparency act on).
#include <filesystem>

#include "app/window/app_state.h"
#include "common/date_time.h"
#include "ui/dialogs.h"

class QWidget;

namespace quovella {

class StatusBar;

struct PageContext {
    AppState& state;
    Dialogs& dialogs;
    const Clock& clock;
    // As the file system names it: GBK may not be able to hold its name.
    std::filesystem::path runDirectory;
    StatusBar& statusBar;
    QWidget& window;
};

}  // namespace quovella
