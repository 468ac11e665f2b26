// Where the lock of the running copy goes, how the folders are checked, and how a later copy
// reaches the running one.

#include "app/RunningCopyListener.h"
#include "app/SingleInstance.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

#include <functional>
#include <future>
#include <ostream>

namespace {

mode_t ModeOf(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

bool WriteFile(const QString& path, const QByteArray& contents) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
}

// --- The private folder --------------------------------------------------------------------

struct FolderCase {
    const char* name;
    std::function<void(const QString& path)> prepare; // what is at the path beforehand
    bool otherOwner;                                  // the folder is asked for another user
    bool accepted;
};

void PrintTo(const FolderCase& c, std::ostream* out) {
    *out << c.name;
}

class PrivateFolder : public ::testing::TestWithParam<FolderCase> {};

TEST_P(PrivateFolder, IsTheUsersOwnWithNoAccessForOthers) {
    const FolderCase& c = GetParam();
    QTemporaryDir base;
    ASSERT_TRUE(base.isValid());
    const QString path = base.filePath(QStringLiteral("korvani-test"));
    c.prepare(path);
    const uid_t user = c.otherOwner ? ::getuid() + 1 : ::getuid();
    EXPECT_EQ(MakePrivateFolder(path, user), c.accepted) << c.name;
    if (c.accepted) {
        EXPECT_EQ(ModeOf(path), 0700u) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Folders, PrivateFolder,
    ::testing::Values(
        FolderCase{"missingIsMade", [](const QString&) {}, false, true},
        FolderCase{"ownPrivate", [](const QString& p) { ::mkdir(QFile::encodeName(p), 0700); },
                   false, true},
        FolderCase{"ownOpenToOthersIsClosed",
                   [](const QString& p) {
                       ::mkdir(QFile::encodeName(p), 0700);
                       ::chmod(QFile::encodeName(p), 0777);
                   },
                   false, true},
        FolderCase{"someoneElses", [](const QString& p) { ::mkdir(QFile::encodeName(p), 0700); },
                   true, false},
        FolderCase{"aLinkToAFolder",
                   [](const QString& p) {
                       QDir().mkpath(p + QStringLiteral("-target"));
                       QFile::link(p + QStringLiteral("-target"), p);
                   },
                   false, false},
        FolderCase{"aFile", [](const QString& p) { WriteFile(p, "x"); }, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

// --- The folders tried ---------------------------------------------------------------------

struct CandidateCase {
    const char* name;
    // What is at <runtime root>/<uid>: "folder", "open" (a folder others may enter), "link",
    // "file" or nothing.
    const char* runtimeEntry;
    bool otherOwner; // the folders are asked for another user than its owner
    bool runtimeUsed;
};

void PrintTo(const CandidateCase& c, std::ostream* out) {
    *out << c.name;
}

class LockFolders : public ::testing::TestWithParam<CandidateCase> {};

TEST_P(LockFolders, RuntimeFolderFirstWhenItIsTheUsersThenTheTemporaryOne) {
    const CandidateCase& c = GetParam();
    QTemporaryDir runtimeRoot;
    QTemporaryDir tempRoot;
    ASSERT_TRUE(runtimeRoot.isValid() && tempRoot.isValid());
    const uid_t user = c.otherOwner ? ::getuid() + 1 : ::getuid();
    const QString runtime = runtimeRoot.filePath(QString::number(user));
    const QString kind = QString::fromLatin1(c.runtimeEntry);
    if (kind == "folder" || kind == "open") {
        ASSERT_EQ(::mkdir(QFile::encodeName(runtime).constData(), 0700), 0);
        if (kind == "open") {
            ASSERT_EQ(::chmod(QFile::encodeName(runtime).constData(), 0755), 0);
        }
    } else if (kind == "link") {
        ASSERT_TRUE(QDir().mkpath(runtime + "-real"));
        ASSERT_TRUE(QFile::link(runtime + "-real", runtime));
    } else if (kind == "file") {
        ASSERT_TRUE(WriteFile(runtime, "x"));
    }
    QStringList expected;
    if (c.runtimeUsed) {
        expected << runtime;
    }
    expected << tempRoot.filePath(QStringLiteral("korvani-%1").arg(user));
    EXPECT_EQ(InstanceLockFolders(user, runtimeRoot.path(), tempRoot.path()), expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Runtime, LockFolders,
                         ::testing::Values(CandidateCase{"usersFolder", "folder", false, true},
                                           CandidateCase{"missing", "", false, false},
                                           CandidateCase{"openToOthers", "open", false, false},
                                           CandidateCase{"someoneElses", "folder", true, false},
                                           CandidateCase{"aLink", "link", false, false},
                                           CandidateCase{"aFile", "file", false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Sets an environment variable for the life of the object, then puts the old value back.
class EnvironmentValue {
  public:
    EnvironmentValue(const char* name, const char* value)
        : name(name), wasSet(qEnvironmentVariableIsSet(name)), old(qgetenv(name)) {
        value ? qputenv(name, value) : qunsetenv(name);
    }
    ~EnvironmentValue() { wasSet ? qputenv(name, old) : qunsetenv(name); }
    EnvironmentValue(const EnvironmentValue&) = delete;
    EnvironmentValue& operator=(const EnvironmentValue&) = delete;

  private:
    const char* name;
    bool wasSet;
    QByteArray old;
};

TEST(LockFoldersFromEnvironment, OnlyKorvaniLockDirChangesThem) {
    QStringList seen;
    {
        EnvironmentValue lockDir("KORVANI_LOCK_DIR", nullptr);
        for (const char* runtime : {"/nonexistent/runtime", static_cast<const char*>(nullptr)}) {
            for (const char* temp : {"/nonexistent/temp", static_cast<const char*>(nullptr)}) {
                EnvironmentValue xdg("XDG_RUNTIME_DIR", runtime);
                EnvironmentValue tmp("TMPDIR", temp);
                const QStringList folders = InstanceLockFolders();
                ASSERT_FALSE(folders.isEmpty());
                EXPECT_EQ(folders.last(), QStringLiteral("/tmp/korvani-%1").arg(::getuid()));
                if (!seen.isEmpty()) {
                    EXPECT_EQ(folders, seen) << "XDG_RUNTIME_DIR and TMPDIR change nothing";
                }
                seen = folders;
            }
        }
    }
    EnvironmentValue lockDir("KORVANI_LOCK_DIR", "/somewhere/else");
    EXPECT_EQ(InstanceLockFolders(), QStringList{"/somewhere/else"});
}

// --- Looking for another copy over several folders -----------------------------------------

// A lock file left by a process that has ended, as a copy killed with SIGKILL leaves it.
void WriteStaleLock(const QString& folder) {
    QProcess ended;
    ended.start(QStringLiteral("true"), {});
    ASSERT_TRUE(ended.waitForFinished());
    const qint64 endedPid = ended.processId() != 0 ? ended.processId() : 999999;
    ASSERT_TRUE(WriteFile(QDir(folder).filePath("korvani.lock"),
                          QByteArray::number(endedPid) + "\nkorvani\n" +
                              QSysInfo::machineHostName().toUtf8() + "\n"));
}

struct SearchCase {
    const char* name;
    // Folders a, b, c under a fresh base: "" ordinary, "file" not a folder, "held" locked by
    // another copy, "stale" a lock left by a copy that has ended.
    const char* setup[3];
    bool anotherCopyRuns;
    int folderFound; // index of the folder reported, or -1 for none
};

void PrintTo(const SearchCase& c, std::ostream* out) {
    *out << c.name;
}

class RunningCopySearch : public ::testing::TestWithParam<SearchCase> {};

TEST_P(RunningCopySearch, TheFirstUsableFolderHoldsTheLockAnyHeldLockCounts) {
    const SearchCase& c = GetParam();
    QTemporaryDir base;
    ASSERT_TRUE(base.isValid());
    QStringList folders;
    std::vector<std::unique_ptr<QLockFile>> others;
    for (int i = 0; i < 3; ++i) {
        const QString folder = base.filePath(QString(QChar(u'a' + i)));
        folders << folder;
        const QString kind = QString::fromLatin1(c.setup[i]);
        if (kind == "file") {
            ASSERT_TRUE(WriteFile(folder, "x"));
            continue;
        }
        ASSERT_TRUE(QDir().mkpath(folder));
        if (kind == "held") {
            others.push_back(CheckRunningCopy({folder}).lock);
            ASSERT_TRUE(others.back() && others.back()->isLocked());
        } else if (kind == "stale") {
            WriteStaleLock(folder);
        }
    }
    const RunningCopyCheck check = CheckRunningCopy(folders);
    EXPECT_EQ(check.anotherCopyRuns, c.anotherCopyRuns) << c.name;
    EXPECT_EQ(check.folder, c.folderFound < 0 ? QString() : folders[c.folderFound]) << c.name;
    const bool holds = !c.anotherCopyRuns && c.folderFound >= 0;
    EXPECT_EQ(check.lock != nullptr && check.lock->isLocked(), holds) << c.name;
    // Locks taken only to look are given back.
    for (int i = 0; i < 3; ++i) {
        const bool ownHeld = holds && i == c.folderFound;
        const bool otherHeld = QString::fromLatin1(c.setup[i]) == "held";
        if (!ownHeld && !otherHeld) {
            EXPECT_FALSE(QFile::exists(QDir(folders[i]).filePath("korvani.lock")))
                << c.name << " folder " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Folders, RunningCopySearch,
    ::testing::Values(SearchCase{"firstFree", {"", "", ""}, false, 0},
                      SearchCase{"firstNotAFolder", {"file", "", ""}, false, 1},
                      SearchCase{"noneUsable", {"file", "file", "file"}, false, -1},
                      SearchCase{"heldInFirst", {"held", "", ""}, true, 0},
                      SearchCase{"heldInALaterFolder", {"", "", "held"}, true, 2},
                      SearchCase{"staleInFirstIsTakenOver", {"stale", "", ""}, false, 0},
                      SearchCase{"staleThenHeld", {"stale", "held", ""}, true, 1}),
    [](const auto& info) { return std::string(info.param.name); });

// Binds a local socket at `path` and closes it without removing the file.
bool LeaveStaleSocket(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (name.size() >= qsizetype(sizeof(address.sun_path))) {
        return false;
    }
    std::copy(name.begin(), name.end(), address.sun_path);
    const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound =
        socket >= 0 && ::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    if (socket >= 0) {
        ::close(socket);
    }
    return bound && QFile::exists(path);
}

// --- The listener --------------------------------------------------------------------------

TEST(RunningCopyListener, RemovesAStaleSocketAndAnswersALaterCopy) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    // A socket file nobody listens on, as a copy killed with SIGKILL leaves it.
    ASSERT_TRUE(LeaveStaleSocket(RunningCopyServerName(folder.path())));
    EXPECT_FALSE(NotifyRunningCopy(folder.path(), 1000)) << "a stale socket answers nothing";

    std::unique_ptr<QLockFile> lock = CheckRunningCopy({folder.path()}).lock;
    ASSERT_TRUE(lock && lock->isLocked());
    RunningCopyListener listener(lock.get());
    ASSERT_TRUE(listener.isListening());
    QSignalSpy started(&listener, &RunningCopyListener::anotherCopyStarted);

    // The later copy waits for the answer, so it talks from another thread while this one
    // runs the event loop.
    for (int copy = 1; copy <= 2; ++copy) {
        std::future<bool> answered =
            std::async(std::launch::async, [&] { return NotifyRunningCopy(folder.path(), 30000); });
        EXPECT_TRUE(started.wait(30000)) << "copy " << copy;
        while (answered.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
        }
        EXPECT_TRUE(answered.get()) << "copy " << copy;
        EXPECT_EQ(started.size(), copy);
    }
}

TEST(RunningCopyListener, ListensOnlyWhileHoldingTheLock) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    std::unique_ptr<QLockFile> held = CheckRunningCopy({folder.path()}).lock;
    ASSERT_TRUE(held && held->isLocked());
    RunningCopyListener running(held.get());
    ASSERT_TRUE(running.isListening());

    // A copy that does not hold the lock neither listens nor removes the running copy's socket.
    QLockFile notHeld(QDir(folder.path()).filePath("korvani.lock"));
    RunningCopyListener later(&notHeld);
    EXPECT_FALSE(later.isListening());
    RunningCopyListener none(nullptr);
    EXPECT_FALSE(none.isListening());
    EXPECT_TRUE(running.isListening());
    EXPECT_TRUE(QFile::exists(RunningCopyServerName(folder.path())));
}

} // namespace
