#include "records/store_worker.h"

#include <sqlite3.h>

#include <utility>

namespace quovella {

StoreWorker::~StoreWorker() {
    bool closing = false;
    {
        const std::lock_guard lock(mutex_);
        closing = closing_;
    }
    if (!closing) closeBy(std::chrono::steady_clock::now() + kCloseTime);
    worker_.finish();
    store_->close();
}

bool StoreWorker::post(StoreJobKind kind, std::int64_t key, Worker::Job job) {
    if (kind == StoreJobKind::asked) return worker_.post(std::move(job));
    const std::lock_guard lock(mutex_);
    if (closing_) return false;
    const auto [waiting, first] = latest_.insert_or_assign(key, std::move(job));
    if (!first) return true;  // replaced: the turn already queued runs this one
    if (worker_.post([this, key](const CancelFlag& cancel) { runLatest(key, cancel); }))
        return true;
    latest_.erase(waiting);
    return false;
}

void StoreWorker::runLatest(std::int64_t key, const CancelFlag& cancel) {
    Worker::Job job;
    {
        const std::lock_guard lock(mutex_);
        const auto found = latest_.find(key);
        if (found == latest_.end()) return;  // dropped by a close
        job = std::move(found->second);
        latest_.erase(found);
        recomputing_ = true;
    }
    job(cancel);
    const std::lock_guard lock(mutex_);
    recomputing_ = false;
    // The asked jobs behind it get the close's time.
    if (closing_) store_->endLockWaitsBy(closeDeadline_);
}

void StoreWorker::closeBy(std::chrono::steady_clock::time_point deadline) {
    const std::lock_guard lock(mutex_);
    closing_ = true;
    closeDeadline_ = deadline;
    latest_.clear();
    store_->endLockWaitsBy(recomputing_ ? std::chrono::steady_clock::now() : deadline);
}

SqlError thrownStoreError(std::exception_ptr thrown) {
    return {SQLITE_INTERNAL, describeException(thrown)};
}

SqlError notRunStoreError() {
    return {SQLITE_ABORT, "not run: the store takes no more jobs"};
}

}  // namespace quovella
