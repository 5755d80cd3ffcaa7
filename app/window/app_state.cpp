#include "app/window/app_state.h"

namespace quovella {

void AppState::release() {
    watchList.clear();
    quoteTable = QuoteTable{};
    if (colourHook) colourHook->detach();
    colourHook.reset();
    store.reset();  // runs the writes asked for, writes a pending row, then closes
}

}  // namespace quovella
