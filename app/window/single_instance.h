#pragma once
// One copy of the program per run directory. The first start holds a lock file there and
// listens on a local socket named after the directory; a later start in the same directory
// asks that copy to come forward and ends. A lock left by a killed copy is stale and taken
// over.
#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <filesystem>
#include <functional>

class QWidget;

namespace quovella {

class SingleInstance : public QObject {
    Q_OBJECT
  public:
    enum class Claim {
        First,        // this copy runs; later starts in the directory reach it
        AnotherRuns,  // a live copy holds the directory: bringForward(), then end
        Unguarded,    // no lock file can be made there (a read-only folder): run without one
    };

    explicit SingleInstance(const std::filesystem::path& runDirectory, QObject* parent = nullptr);

    Claim claim();
    // Asks the copy that holds the directory to come forward. Returns at once; `done` is
    // called from the event loop with whether that copy was reached.
    void bringForward(std::function<void(bool reached)> done);

    // The local socket's name: one per directory, however its path is spelled.
    static QString serverName(const std::filesystem::path& runDirectory);

  signals:
    // A later start in this run directory asked for the window.
    void activationRequested();

  private:
    void listen();
    void tryToReach(std::function<void(bool)> done, int attemptsLeft);

    QString name_;
    QLockFile lock_;
    QLocalServer server_;
};

// Un-minimises, shows, raises and activates a top-level window.
void bringToFront(QWidget& window);

}  // namespace quovella
