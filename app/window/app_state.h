#pragma once
// The program-wide state: created by the entry before the main window, released by the
// entry after the message loop.
#include <memory>
#include <string>
#include <vector>

#include "quotes/quote_table.h"
#include "records/store_worker.h"
#include "ui_core/cell_colour_hook.h"

namespace quovella {

struct AppState {
    // The one list-colouring object; attached to the records list by the start-up sequence.
    std::unique_ptr<CellColourHook> colourHook = std::make_unique<CellColourHook>();
    // The codes of "system.txt" as last loaded; code i belongs to watch-grid row i.
    std::vector<std::string> watchList;
    // Empty texts until the first load: 6 rows of 37 cells.
    QuoteTable quoteTable{6};
    // True exactly while a periodic refresh of the watch grid runs.
    bool refreshBusy = false;
    // The record store ("gp.mdb") with its connection and its one cursor, owned by the
    // store's worker, which runs every statement on it. Created by the start-up sequence
    // before the store opens.
    std::unique_ptr<StoreWorker> store;

    // The exit path: the colouring hook is detached and destroyed, then the rest released.
    void release();
};

}  // namespace quovella
