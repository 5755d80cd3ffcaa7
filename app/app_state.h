#pragma once
// The program-wide state: created by the entry before the main window, released by the
// entry after the message loop.
#include <memory>
#include <mutex>

namespace quovella {

struct AppState {
    // True exactly while a periodic refresh of the watch grid runs.
    bool refreshBusy = false;
    // Held for every operation sequence on the record store's one cursor; created by the
    // start-up sequence.
    std::unique_ptr<std::mutex> storeLock;

    // Slots the later subsystems add here, each owned by this state:
    //   the WatchList and the QuoteTable of the quote subsystem,
    //   the one CellColourHook (detach it in release()),
    //   the RecordStore with its connection and cursor.

    // The exit path: releases everything above, the colouring hook detached first.
    void release();
};

}  // namespace quovella
