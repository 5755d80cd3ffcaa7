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
#include <type_traits>
#include <utility>

#include "common/job_queue.h"

#if defined(__SANITIZE_THREAD__)
#define QUOVELLA_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define QUOVELLA_TSAN 1
#endif
#endif
#ifdef QUOVELLA_TSAN
#include <sanitizer/tsan_interface.h>
#endif

namespace quovella {

namespace detail {

// Qt hands a queued call to the receiving thread under its own locks, and destroys it on
// whichever thread drops the last reference to it (the posting one, too, once it has run),
// ordered by an atomic count; ThreadSanitizer sees neither (Qt is not built with it), so
// every capture of the call would look like a race. The call marks the handovers itself:
// released when moved into place (the last write on the posting thread) and after it has
// run, acquired before it runs and before it is destroyed. Nothing outside a TSan build.
#ifdef QUOVELLA_TSAN
inline void tsanRelease(void* address) {
    __tsan_release(address);
}
inline void tsanAcquire(void* address) {
    __tsan_acquire(address);
}
#else
inline void tsanRelease(void*) {}
inline void tsanAcquire(void*) {}
#endif

template <typename Call>
class HandedOver {
  public:
    explicit HandedOver(Call call) : call_(std::move(call)) { tsanRelease(this); }
    HandedOver(HandedOver&& other) noexcept(std::is_nothrow_move_constructible_v<Call>)
        : call_(std::move(other.call_)) {
        tsanRelease(this);
    }
    HandedOver(const HandedOver&) = delete;
    HandedOver& operator=(const HandedOver&) = delete;
    HandedOver& operator=(HandedOver&&) = delete;
    ~HandedOver() { tsanAcquire(this); }

    void operator()() {
        tsanAcquire(this);
        call_();
        tsanRelease(this);
    }

  private:
    Call call_;
};

}  // namespace detail

// Runs call on context's thread as a queued call, from any thread; one still queued when
// context goes is dropped with it.
template <typename Call>
void postCall(QObject* context, Call call) {
    QMetaObject::invokeMethod(context, detail::HandedOver<Call>(std::move(call)),
                              Qt::QueuedConnection);
}

template <typename Result>
bool runInBackground(JobQueue& queue, QObject* context,
                     std::function<Result(const std::atomic<bool>& cancel)> job,
                     std::function<void(Result)> done) {
    return queue.post(
        [context, job = std::move(job), done = std::move(done)](const std::atomic<bool>& cancel) {
            auto result = std::make_shared<Result>(job(cancel));
            if (cancel.load()) return;
            postCall(context, [done, result] { done(std::move(*result)); });
        });
}

}  // namespace quovella
