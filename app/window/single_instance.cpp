#include "app/window/single_instance.h"

#include <QCryptographicHash>
#include <QFile>
#include <QLocalSocket>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <system_error>

namespace quovella {

namespace {

constexpr int kReachAttempts = 30;
// The first copy takes the lock a moment before it listens; a start in that moment tries
// again, for about three seconds in all.
constexpr int kReachRetryMs = 100;
// A copy whose event loop does not run (hung, or past it on its way out) never answers.
constexpr int kAnswerWaitMs = 2000;
constexpr int kClaimRetryMs = 100;
// The two one-byte answers to a later start.
constexpr char kForward = 'f';
constexpr char kEnding = 'e';

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
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::answer);
}

void SingleInstance::answerLaterStarts(std::function<bool()> comeForward) {
    comeForward_ = std::move(comeForward);
}

void SingleInstance::answer() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        const char reply = comeForward_ && comeForward_() ? kForward : kEnding;
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        socket->write(&reply, 1);
        socket->disconnectFromServer();  // once the answer is written
    }
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

void SingleInstance::bringForward(std::function<void(Reply)> done) {
    // From the event loop even when the first attempt settles at once: `done` may end it.
    QTimer::singleShot(0, this,
                       [this, done = std::move(done)] { tryToReach(done, kReachAttempts); });
}

void SingleInstance::tryToReach(std::function<void(Reply)> done, int attemptsLeft) {
    auto* socket = new QLocalSocket(this);
    struct Progress {
        bool reached = false;
        bool settled = false;
    };
    auto progress = std::make_shared<Progress>();
    const auto settle = [socket, done, progress](Reply reply) {
        if (progress->settled) return;
        progress->settled = true;
        socket->disconnect();
        socket->abort();
        socket->deleteLater();
        done(reply);
    };
    connect(socket, &QLocalSocket::connected, socket, [socket, settle, progress] {
        progress->reached = true;
        QTimer::singleShot(kAnswerWaitMs, socket, [settle] { settle(Reply::noAnswer); });
    });
    connect(socket, &QLocalSocket::readyRead, socket, [socket, settle] {
        settle(socket->read(1) == QByteArray(1, kForward) ? Reply::broughtForward : Reply::ending);
    });
    connect(socket, &QLocalSocket::errorOccurred, this,
            [this, socket, done, settle, progress, attemptsLeft] {
                // Closed unanswered: a copy past its event loop, on its way out.
                if (progress->reached || attemptsLeft <= 1) {
                    settle(Reply::noAnswer);
                    return;
                }
                // Not listening yet: the copy took the lock a moment ago.
                progress->settled = true;
                socket->disconnect();
                socket->deleteLater();
                QTimer::singleShot(kReachRetryMs, this, [this, done, attemptsLeft] {
                    tryToReach(done, attemptsLeft - 1);
                });
            });
    socket->connectToServer(name_);
}

void SingleInstance::claimWhenFree(std::chrono::milliseconds within,
                                   std::function<void(Claim)> done) {
    retryClaim(QDeadlineTimer(within), std::move(done));
}

void SingleInstance::retryClaim(QDeadlineTimer deadline, std::function<void(Claim)> done) {
    QTimer::singleShot(kClaimRetryMs, this, [this, deadline, done = std::move(done)] {
        const Claim claimed = claim();
        if (claimed != Claim::AnotherRuns || deadline.hasExpired()) {
            done(claimed);
            return;
        }
        retryClaim(deadline, done);
    });
}

void bringToFront(QWidget& window) {
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.show();
    window.raise();
    window.activateWindow();
}

}  // namespace quovella
