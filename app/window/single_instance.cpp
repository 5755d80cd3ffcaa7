#include "app/window/single_instance.h"

#include <QCryptographicHash>
#include <QFile>
#include <QLocalSocket>
#include <QTimer>
#include <QWidget>
#include <system_error>

namespace quovella {

namespace {

constexpr int kReachAttempts = 30;
// The first copy takes the lock a moment before it listens; a start in that moment tries
// again, for about three seconds in all.
constexpr int kReachRetryMs = 100;

QString lockFileIn(const std::filesystem::path& runDirectory) {
    return QFile::decodeName((runDirectory / ".quovella.lock").c_str());
}

}  // namespace

SingleInstance::SingleInstance(const std::filesystem::path& runDirectory, QObject* parent)
    : QObject(parent), name_(serverName(runDirectory)), lock_(lockFileIn(runDirectory)) {
    // Held for the whole run: only a dead holder makes it stale, never its age.
    lock_.setStaleLockTime(0);
    // Only the user who runs the first copy may ask it to come forward.
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            socket->disconnectFromServer();
            socket->deleteLater();
            emit activationRequested();
        }
    });
}

QString SingleInstance::serverName(const std::filesystem::path& runDirectory) {
    std::error_code error;
    std::filesystem::path canonical = std::filesystem::weakly_canonical(runDirectory, error);
    if (error) canonical = runDirectory;
    const QByteArray hash =
        QCryptographicHash::hash(QByteArray(canonical.c_str()), QCryptographicHash::Sha256);
    return QStringLiteral("quovella-") + QString::fromLatin1(hash.toHex().left(32));
}

SingleInstance::Claim SingleInstance::claim() {
    if (!lock_.tryLock()) {
        if (lock_.error() != QLockFile::LockFailedError) return Claim::Unguarded;
        // Qt already takes over a lock whose process is gone; this covers a dead holder
        // whose process id was reused. Removal fails while a live copy holds the file.
        if (!lock_.removeStaleLockFile() || !lock_.tryLock()) return Claim::AnotherRuns;
    }
    listen();
    return Claim::First;
}

void SingleInstance::listen() {
    // A socket file left by a killed copy would refuse the name; with the lock held, no
    // live copy owns it.
    QLocalServer::removeServer(name_);
    if (!server_.listen(name_)) {
        qWarning("quovella: later starts cannot reach this copy: %s",
                 qPrintable(server_.errorString()));
    }
}

void SingleInstance::bringForward(std::function<void(bool reached)> done) {
    // From the event loop even when the first attempt settles at once: `done` may end it.
    QTimer::singleShot(0, this,
                       [this, done = std::move(done)] { tryToReach(done, kReachAttempts); });
}

void SingleInstance::tryToReach(std::function<void(bool)> done, int attemptsLeft) {
    auto* socket = new QLocalSocket(this);
    connect(socket, &QLocalSocket::connected, this, [this, socket, done] {
        socket->disconnect(this);  // its closing says nothing more
        socket->disconnectFromServer();
        socket->deleteLater();
        done(true);
    });
    connect(socket, &QLocalSocket::errorOccurred, this, [this, socket, done, attemptsLeft] {
        socket->disconnect(this);
        socket->deleteLater();
        if (attemptsLeft <= 1) {
            done(false);
            return;
        }
        QTimer::singleShot(kReachRetryMs, this,
                           [this, done, attemptsLeft] { tryToReach(done, attemptsLeft - 1); });
    });
    socket->connectToServer(name_);
}

void bringToFront(QWidget& window) {
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.show();
    window.raise();
    window.activateWindow();
}

}  // namespace quovella
