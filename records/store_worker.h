#pragma once
// The window's record store and the one worker that owns it: every statement on the store's
// connection runs as a job there, in the order asked, so sequences on the one cursor never
// interleave and the GUI thread never waits for SQLite (nor for another program's lock).
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

#include "common/worker.h"
#include "records/record_store.h"
#include "records/store_outcome.h"

namespace quovella {

enum class StoreJobKind {
    // The user asked for it (a snapshot save, a holding add, a delete) or start-up needs it
    // (the open, the reads): runs in order; at a close it gets what is left of the close's
    // time.
    asked,
    // The revaluation's update of one holding: a later one with the same key replaces it
    // while it waits; dropped at a close, as the next pass writes it again.
    recomputed,
};

class StoreWorker {
  public:
    // What a close gives the writes the user asked for, another program's lock or not: the
    // close ends within 2 s, and the rest is for their answers and the program's end.
    static constexpr std::chrono::milliseconds kCloseTime{1800};

    StoreWorker() = default;
    // A close (closeBy kCloseTime from now, unless one began), then the jobs still asked
    // for run, and the store closes, writing a pending row.
    ~StoreWorker();
    StoreWorker(const StoreWorker&) = delete;
    StoreWorker& operator=(const StoreWorker&) = delete;

    // key is a recomputed job's holding id, unused for asked jobs. False, and the job
    // dropped, when the store takes no more jobs of that kind.
    bool post(StoreJobKind kind, std::int64_t key, Worker::Job job);
    // Runs job(store()) as an asked job, then answer(outcome) on the worker's thread. A job
    // that gives no value fails with the store's last error, one that throws with what it
    // threw. One the store no longer takes fails too, and answer runs at once, here.
    template <typename T, typename Job, typename Answer>
    void ask(Job job, Answer answer);
    // The close: recomputed jobs still waiting are dropped and no more are taken; asked
    // jobs run on, but none waits for a lock past deadline, so each has its answer by then.
    void closeBy(std::chrono::steady_clock::time_point deadline);
    // Jobs waiting their turn: at most one recomputed job per key besides the asked ones.
    std::size_t queued() const { return worker_.queued(); }

    Worker& worker() { return worker_; }
    const Worker& worker() const { return worker_; }
    // For jobs on worker() only, or once it is idle; setLockWait and endLockWaitsBy from
    // anywhere.
    RecordStore& store() { return *store_; }

  private:
    void runLatest(std::int64_t key, const CancelFlag& cancel);

    std::unique_ptr<RecordStore> store_ = std::make_unique<RecordStore>();
    std::mutex mutex_;
    // The latest recomputed job of each key that waits; its turn is held in worker_'s queue
    // by the one job runLatest posted for it.
    std::map<std::int64_t, Worker::Job> latest_;
    bool closing_ = false;
    // A recomputed job on the worker now: a close ends its wait for a lock at once.
    bool recomputing_ = false;
    std::chrono::steady_clock::time_point closeDeadline_;
    Worker worker_;
};

// Why a job has no value when it threw, or when it never ran.
SqlError thrownStoreError(std::exception_ptr thrown);
SqlError notRunStoreError();

template <typename T, typename Job, typename Answer>
void StoreWorker::ask(Job job, Answer answer) {
    // answer is shared between the job and this call, which needs it when the job is
    // refused; only one of them ever runs it.
    auto shared = std::make_shared<Answer>(std::move(answer));
    const bool posted =
        post(StoreJobKind::asked, 0, [this, job = std::move(job), shared](const CancelFlag&) {
            StoreOutcome<T> outcome;
            try {
                outcome.value = job(*store_);
                if (!outcome.value) outcome.error = store_->lastError();
            } catch (...) {
                outcome.value.reset();
                outcome.error = thrownStoreError(std::current_exception());
            }
            (*shared)(std::move(outcome));
        });
    if (!posted) (*shared)(StoreOutcome<T>{std::nullopt, notRunStoreError()});
}

}  // namespace quovella
