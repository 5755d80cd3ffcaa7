#include "app/app_state.h"

namespace quovella {

void AppState::release() {
    watchList.clear();
    quoteTable = QuoteTable{};
    if (colourHook) colourHook->detach();
    colourHook.reset();
    store.reset();  // writes a pending row, then closes the connection
}

}  // namespace quovella
