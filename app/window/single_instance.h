#pragma once
// One copy of the program per run directory. The first start holds a lock file there and
// listens on a local socket named after the directory; a later start in the same directory
// asks that copy to come forward. A copy that answers it is ending (its window closed, the
// store finishing) or that does not answer is waited for, briefly, and the later start then
// takes the directory. A lock left by a copy that is gone is stale and taken over.
#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <chrono>
#include <filesystem>
#include <functional>

class QWidget;

namespace quovella {

class SingleInstance : public QObject {
    Q_OBJECT
  public:
    enum class Claim {
        First,        // this copy runs; later starts in the directory reach it
        AnotherRuns,  // a live copy holds the directory: bringForward()
        Unguarded,    // no lock file can be made there (a read-only folder): run without one
    };
    // What the copy holding the directory said to bringForward().
    enum class Reply {
        broughtForward,  // its window is on the screen: this start may end
        ending,          // it has no window any more and ends soon
        noAnswer,        // it could not be reached, or closed without a word
    };

    explicit SingleInstance(const std::filesystem::path& runDirectory, QObject* parent = nullptr);

    Claim claim();
    // Once First: how a later start is answered, true when the window came forward. Until
    // set, later starts are told this copy is ending.
    void answerLaterStarts(std::function<bool()> comeForward);
    // Asks the copy that holds the directory to come forward. Returns at once; `done` is
    // called from the event loop.
    void bringForward(std::function<void(Reply)> done);
    // Tries claim() again every 100 ms from the event loop until it is no longer
    // AnotherRuns or `within` has passed; `done` gets the last answer.
    void claimWhenFree(std::chrono::milliseconds within, std::function<void(Claim)> done);

    // The local socket's name: one per directory, however its path is spelled.
    static QString serverName(const std::filesystem::path& runDirectory);

  private:
    void listen();
    void answer();
    void tryToReach(std::function<void(Reply)> done, int attemptsLeft);
    void retryClaim(QDeadlineTimer deadline, std::function<void(Claim)> done);

    QString name_;
    QLockFile lock_;
    QLocalServer server_;
    std::function<bool()> comeForward_;
};

// Un-minimises, shows, raises and activates a top-level window.
void bringToFront(QWidget& window);

}  // namespace quovella
