#pragma once
// The one way back from the store: a job asked of the store's worker now, so the store sees
// the user's steps in the order asked, and its answer kept on the GUI thread for whoever
// waits for it: the handler that tells its message, and the records list's step that takes
// its place in the list's order when asked.
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "records/store_outcome.h"
#include "records/store_worker.h"
#include "ui/background.h"

namespace quovella {

// An answer the records list's steps can wait for, whatever it holds.
class Landing {
  public:
    virtual ~Landing() = default;
    // then() once the answer is back: at once when it is.
    void whenLanded(std::function<void()> then) {
        if (landed_) return then();
        waiting_.push_back(std::move(then));
    }

  protected:
    void land() {
        landed_ = true;
        // A message box's own event loop may let more waiters in meanwhile: they run at once.
        for (std::function<void()>& then : std::exchange(waiting_, {})) then();
    }

  private:
    bool landed_ = false;
    std::vector<std::function<void()>> waiting_;
};

template <typename T>
class StoreAnswer : public Landing {
  public:
    // Only once it has landed.
    const StoreOutcome<T>& outcome() const { return *outcome_; }
    void whenBack(std::function<void(const StoreOutcome<T>&)> use) {
        whenLanded([this, use = std::move(use)] { use(*outcome_); });
    }
    void arrive(StoreOutcome<T> outcome) {
        outcome_ = std::move(outcome);
        land();
    }

  private:
    std::optional<StoreOutcome<T>> outcome_;
};

// job(RecordStore&) gives a std::optional<T>, std::nullopt when the store refused. The
// answer comes back on context's thread as a queued call, a job never run included, unless
// context is gone by then.
template <typename T, typename Job>
std::shared_ptr<StoreAnswer<T>> askStore(StoreWorker* store, QObject* context, Job job) {
    auto answer = std::make_shared<StoreAnswer<T>>();
    const auto deliver = [answer, watched = QPointer<QObject>(context)](StoreOutcome<T> outcome) {
        postCall(watched, [answer, outcome = std::move(outcome)]() mutable {
            answer->arrive(std::move(outcome));
        });
    };
    if (store == nullptr) {
        deliver({std::nullopt, notRunStoreError()});
    } else {
        store->ask<T>(std::move(job), deliver);
    }
    return answer;
}

}  // namespace quovella
