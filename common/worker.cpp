#include "common/worker.h"

#include <exception>
#include <new>

namespace quovella {

std::string describeException(std::exception_ptr thrown) {
    try {
        std::rethrow_exception(std::move(thrown));
    } catch (const std::bad_alloc&) {
        return "out of memory";
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "an exception of unknown type";
    }
}

Worker::~Worker() {
    shutdown();
}

bool Worker::post(Job job) {
    const std::lock_guard lock(mutex_);
    if (stopping_) return false;
    if (!thread_.joinable()) {
        try {
            thread_ = std::thread([this] { serve(); });
        } catch (const std::exception&) {
            return false;
        }
    }
    queue_.push_back(std::move(job));
    wake_.notify_one();
    return true;
}

void Worker::shutdown() {
    cancel_->store(true);
    stop(true);
}

void Worker::finish() {
    stop(false);
}

void Worker::stop(bool dropQueued) {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        if (dropQueued) queue_.clear();
    }
    wake_.notify_all();
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

bool Worker::idle() const {
    const std::lock_guard lock(mutex_);
    return queue_.empty() && !running_;
}

std::size_t Worker::queued() const {
    const std::lock_guard lock(mutex_);
    return queue_.size();
}

void Worker::serve() {
    for (;;) {
        Job job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (queue_.empty()) return;
            job = std::move(queue_.front());
            queue_.pop_front();
            running_ = true;
        }
        // The boundary: whatever a job lets escape ends that job, not the program.
        try {
            job(*cancel_);
        } catch (...) {
        }
        job = nullptr;
        const std::lock_guard lock(mutex_);
        running_ = false;
    }
}

}  // namespace quovella
