#pragma once
// The window's record store and the one worker that owns it: every statement on the store's
// connection runs as a job there, in the order asked, so sequences on the one cursor never
// interleave and the GUI thread never waits for SQLite (nor for another program's lock).
#include <memory>

#include "common/worker.h"
#include "records/record_store.h"

namespace quovella {

class StoreWorker {
  public:
    StoreWorker() = default;
    // Runs the jobs already asked for (a save the user confirmed is not lost to a close),
    // then closes the store, writing a pending row.
    ~StoreWorker();
    StoreWorker(const StoreWorker&) = delete;
    StoreWorker& operator=(const StoreWorker&) = delete;

    Worker& worker() { return worker_; }
    const Worker& worker() const { return worker_; }
    // For jobs on worker() only, or once it is idle.
    RecordStore& store() { return *store_; }

  private:
    std::unique_ptr<RecordStore> store_ = std::make_unique<RecordStore>();
    Worker worker_;
};

}  // namespace quovella
