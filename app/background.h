#pragma once
// Work for the window off the GUI thread: a job runs on a JobQueue's worker and its result
// comes back as a queued call on the context object. The context shuts the queue down
// before it goes, so no job posts into a destroyed object; a result posted but not yet
// delivered dies with the context.
#include <QMetaObject>
#include <QObject>
#include <atomic>
#include <functional>
#include <memory>

#include "common/job_queue.h"

namespace quovella {

template <typename Result>
bool runInBackground(JobQueue& queue, QObject* context,
                     std::function<Result(const std::atomic<bool>& cancel)> job,
                     std::function<void(Result)> done) {
    return queue.post(
        [context, job = std::move(job), done = std::move(done)](const std::atomic<bool>& cancel) {
            auto result = std::make_shared<Result>(job(cancel));
            if (cancel.load()) return;
            QMetaObject::invokeMethod(
                context, [done, result] { done(std::move(*result)); }, Qt::QueuedConnection);
        });
}

}  // namespace quovella
