#pragma once
// The one way the program works in the background. A worker runs its jobs one after
// another on a thread of its own, in the order posted. It has a cancel flag of its own, which
// a job looks at where it can stop early; nothing another worker does sets it. A job that
// throws ends as a failure carrying what it threw, and the worker goes on with the next.
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>

namespace quovella {

using CancelFlag = std::atomic<bool>;

// A job's result: its value, or why there is none.
template <typename T>
struct Outcome {
    std::optional<T> value;
    // What the job threw; empty when it gave a value.
    std::string failure;

    bool ok() const { return value.has_value(); }
};

// What a thrown exception says about itself.
std::string describeException(std::exception_ptr thrown);

class Worker {
  public:
    using Job = std::function<void(const CancelFlag& cancel)>;

    Worker() = default;
    // shutdown().
    ~Worker();
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    // False, and the job dropped, once the worker was shut down or finished, or when no
    // thread can be had.
    bool post(Job job);
    // Sets the cancel flag, drops the queued jobs and waits for the running one. Nothing runs
    // once this returns.
    void shutdown();
    // Takes no more jobs, runs the queued ones to their end and waits for them: for work the
    // user asked for, which a close must not lose.
    void finish();
    // True when nothing is queued or running. A job's effects are seen by whoever sees this
    // answer true.
    bool idle() const;
    // How many jobs wait their turn (the running one aside).
    std::size_t queued() const;

    // Set by shutdown(); a job's fetches that should end with the worker take it along.
    std::shared_ptr<const CancelFlag> cancelFlag() const { return cancel_; }

  private:
    void serve();
    void stop(bool dropQueued);

    const std::shared_ptr<CancelFlag> cancel_ = std::make_shared<CancelFlag>(false);
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Job> queue_;
    bool running_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

// Runs work(cancel) on the worker and hands its outcome to done, on the worker's thread.
// A job cancelled before its end gives no outcome at all.
template <typename T, typename Work, typename Done>
bool submit(Worker& worker, Work work, Done done) {
    return worker.post(
        [work = std::move(work), done = std::move(done)](const CancelFlag& cancel) mutable {
            Outcome<T> outcome;
            try {
                outcome.value.emplace(work(cancel));
            } catch (...) {
                outcome.failure = describeException(std::current_exception());
            }
            if (cancel.load()) return;
            done(std::move(outcome));
        });
}

}  // namespace quovella
