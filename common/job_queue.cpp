#include "common/job_queue.h"

#include <exception>
#include <utility>

namespace quovella {

JobQueue::~JobQueue() {
    shutdown();
}

bool JobQueue::post(Job job) {
    const std::lock_guard lock(mutex_);
    if (stopping_) return false;
    if (!worker_.joinable()) {
        try {
            worker_ = std::thread([this] { serve(); });
        } catch (const std::exception&) {
            return false;
        }
    }
    queue_.push_back(std::move(job));
    wake_.notify_one();
    return true;
}

void JobQueue::shutdown() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        queue_.clear();
    }
    cancel_.store(true);
    wake_.notify_all();
    if (worker_.joinable()) worker_.join();
}

bool JobQueue::idle() const {
    const std::lock_guard lock(mutex_);
    return queue_.empty() && !running_;
}

void JobQueue::serve() {
    for (;;) {
        Job job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (stopping_) return;
            job = std::move(queue_.front());
            queue_.pop_front();
            running_ = true;
        }
        job(cancel_);
        const std::lock_guard lock(mutex_);
        running_ = false;
    }
}

}  // namespace quovella
