#pragma once
// Work off the caller's thread: one worker runs the posted jobs one after another, in the
// order posted. Each job gets the queue's cancel flag, set by shutdown(), and looks at it
// where it can stop early. A GUI posts a job's result on to its own thread from the job.
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace quovella {

class JobQueue {
  public:
    using Job = std::function<void(const std::atomic<bool>& cancel)>;

    JobQueue() = default;
    // shutdown().
    ~JobQueue();
    JobQueue(const JobQueue&) = delete;
    JobQueue& operator=(const JobQueue&) = delete;

    // False, and the job dropped, after shutdown() or when no thread can be had.
    bool post(Job job);
    // Sets the cancel flag, drops the queued jobs and waits for the running one. Nothing
    // runs once this returns.
    void shutdown();
    // True when nothing is queued or running.
    bool idle() const;

  private:
    void serve();

    std::atomic<bool> cancel_{false};
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Job> queue_;
    bool running_ = false;
    bool stopping_ = false;
    std::thread worker_;
};

}  // namespace quovella
