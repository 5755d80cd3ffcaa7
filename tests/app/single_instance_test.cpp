#include "app/window/single_instance.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

namespace quovella {
namespace {

namespace fs = std::filesystem;

bool pumpUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

fs::path pathOf(const QString& directory) {
    return QFile::encodeName(directory).toStdString();
}

// Later starts in the first copy's directory, however its path is spelled, reach that copy;
// a start in another directory runs beside it.
TEST(SingleInstance, ALaterStartInTheSameDirectoryBringsTheFirstForward) {
    QTemporaryDir one;
    QTemporaryDir other;
    fs::create_directory_symlink(pathOf(one.path()), pathOf(other.path()) / "link");
    SingleInstance first(pathOf(one.path()));
    int asked = 0;
    ASSERT_EQ(first.claim(), SingleInstance::Claim::First);
    first.answerLaterStarts([&asked] { return ++asked > 0; });

    struct Start {
        const char* what;
        fs::path directory;
        SingleInstance::Claim expected;
        int askedAfter;
    };
    const Start starts[] = {
        {"the same path", pathOf(one.path()), SingleInstance::Claim::AnotherRuns, 1},
        {"through a link", pathOf(other.path()) / "link", SingleInstance::Claim::AnotherRuns, 2},
        {"another directory", pathOf(other.path()), SingleInstance::Claim::First, 2},
    };
    std::vector<std::unique_ptr<SingleInstance>> running;
    for (const Start& start : starts) {
        SCOPED_TRACE(start.what);
        auto later = std::make_unique<SingleInstance>(start.directory);
        EXPECT_EQ(later->claim(), start.expected);
        if (start.expected == SingleInstance::Claim::AnotherRuns) {
            std::optional<SingleInstance::Reply> reply;
            later->bringForward([&reply](SingleInstance::Reply answer) { reply = answer; });
            EXPECT_TRUE(pumpUntil([&] { return reply && asked == start.askedAfter; }));
            EXPECT_EQ(reply, SingleInstance::Reply::broughtForward);
        }
        EXPECT_EQ(asked, start.askedAfter);
        running.push_back(std::move(later));
    }
}

// A lock file whose writer is gone never holds the directory, whatever it names: a killed
// copy's process id, a live process of ours (the id reused after a reboot, with another boot
// id or without one), another host.
TEST(SingleInstance, APlantedLockOfACopyThatIsGoneIsTakenOver) {
    QProcess ended;
    ended.start(QStringLiteral("true"), {});
    ASSERT_TRUE(ended.waitForFinished(10000));
    const QByteArray gone = QByteArray::number(ended.processId());
    const QByteArray ours = QByteArray::number(QCoreApplication::applicationPid());
    const QByteArray name = QCoreApplication::applicationFilePath().section('/', -1).toUtf8();
    const QByteArray host = QSysInfo::machineHostName().toUtf8();
    const QByteArray machine = QSysInfo::machineUniqueId();
    const struct {
        const char* what;
        QByteArray contents;
    } planted[] = {
        {"a killed copy", gone + "\n" + name + "\n" + host + "\n"},
        {"a reused id, before a reboot",
         ours + "\n" + name + "\n" + host + "\n" + machine + "\nan-earlier-boot\n"},
        {"a reused id, no boot id", ours + "\n" + name + "\n" + host + "\n"},
        {"another host", ours + "\n" + name + "\nelsewhere\nanother-machine\nboot\n"},
    };
    for (const auto& lock : planted) {
        SCOPED_TRACE(lock.what);
        QTemporaryDir directory;
        QFile file(directory.filePath(QStringLiteral(".quovella.lock")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(lock.contents);
        file.close();
        SingleInstance start(pathOf(directory.path()));
        EXPECT_EQ(start.claim(), SingleInstance::Claim::First);
    }
}

// The real program in a run directory of its own: a second start ends with 0 and leaves the
// first running; the lock of a copy killed with SIGKILL does not hold the directory.
TEST(SingleInstance, TheProgramRunsOncePerDirectoryAndAKilledCopyBlocksNothing) {
    QTemporaryDir root;
    const fs::path bin = pathOf(root.path()) / "bin";  // no "share/quovella" beside it
    fs::create_directory(bin);
    fs::copy_file(QUOVELLA_PROGRAM, bin / "quovella");
    const auto start = [&bin] {
        auto process = std::make_unique<QProcess>();
        process->start(QFile::decodeName((bin / "quovella").c_str()), {});
        return process;
    };
    const fs::path lock = bin / ".quovella.lock";

    const auto first = start();
    ASSERT_TRUE(pumpUntil([&] { return fs::exists(lock); }));
    const auto second = start();
    ASSERT_TRUE(second->waitForFinished(10000));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_EQ(first->state(), QProcess::Running);

    first->kill();
    ASSERT_TRUE(first->waitForFinished(10000));
    ASSERT_TRUE(fs::exists(lock));
    SingleInstance next(bin);
    EXPECT_EQ(next.claim(), SingleInstance::Claim::First);
}

}  // namespace
}  // namespace quovella
