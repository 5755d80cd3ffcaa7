#pragma once
// The Qt side of background work: a job runs on a Worker and its outcome comes back to a
// context object on that object's thread as a queued call, which is dropped when the object
// is gone.
#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <type_traits>
#include <utility>

#include "common/worker.h"

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

// Runs call on the GUI thread as a queued call, from any thread, unless the watched context
// is gone by the time it would run. The watch is made on the context's own thread (a raw
// pointer read on a worker could already dangle) and only carried by the worker.
template <typename Call>
void postCall(QPointer<QObject> watched, Call call) {
    QCoreApplication* const application = QCoreApplication::instance();
    if (application == nullptr) return;
    QMetaObject::invokeMethod(
        application,
        detail::HandedOver([watched = std::move(watched), call = std::move(call)]() mutable {
            if (watched) call();
        }),
        Qt::QueuedConnection);
}

// Runs work(cancel) on the worker; done(outcome) then runs on context's thread with its
// value, or with the cause of its failure, unless context is gone by then or the worker was
// cancelled. False when the worker takes no more jobs.
template <typename T, typename Work, typename Done>
bool runInBackground(Worker& worker, QObject* context, Work work, Done done) {
    return submit<T>(
        worker, std::move(work),
        [watched = QPointer<QObject>(context), done = std::move(done)](Outcome<T> outcome) mutable {
            postCall(std::move(watched),
                     [done = std::move(done), outcome = std::move(outcome)]() mutable {
                         done(std::move(outcome));
                     });
        });
}

}  // namespace quovella
