// The stored scores in a real settings file named by PELLOX_RECORDS.
#include "records/settings_records_store.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sstream>

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "engine/record_codec.h"
#include "records/language_settings.h"
#include "tests/support/fifo_watch.h"

namespace pellox {
namespace {

class RecordsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath("records.conf");
        qputenv("PELLOX_RECORDS", QFile::encodeName(path));
    }
    void TearDown() override { qunsetenv("PELLOX_RECORDS"); }

    // Qt keeps a parsed file while its size and time stay the same: give each
    // new content a time of its own.
    void WriteFile(const QByteArray& text) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
        f.flush();
        f.setFileTime(QDateTime::currentDateTime().addSecs(-1000 + ++writes), QFileDevice::FileModificationTime);
    }
    QByteArray ReadFile() const {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static QByteArray Line(const char* name, std::uint32_t value) {
        return QByteArray(name) + "=" + QByteArray::number(value) + "\n";
    }
    // A file as a player's earlier games left it: A 120, B 340.
    static QByteArray Scores() {
        return "[General]\n" + Line("A", StoredRecordValue(120)) + Line("B", StoredRecordValue(340));
    }
    // The message of a write that failed, or "" when the score was stored.
    static std::string WriteError(SettingsRecordsStore& store, Variant variant, std::uint16_t score) {
        try {
            store.WriteRecord(variant, score);
            return {};
        } catch (const RecordsWriteError& e) {
            return e.what();
        }
    }

    QTemporaryDir dir;
    QString path;
    int writes = 0;
};

TEST_F(RecordsStoreTest, NoFileReadsZeroAndCreatesNothing) {
    SettingsRecordsStore store;
    EXPECT_EQ(store.FileName(), path);
    EXPECT_EQ(store.ReadRecord(Variant::A), 0);
    EXPECT_EQ(store.ReadRecord(Variant::B), 0);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

TEST_F(RecordsStoreTest, AnEmptyPelloxRecordsCountsAsUnset) {
    qputenv("PELLOX_RECORDS", "");
    const QString file = SettingsRecordsStore().FileName();
    qunsetenv("PELLOX_RECORDS");
    EXPECT_FALSE(file.isEmpty());
    EXPECT_EQ(file, SettingsRecordsStore().FileName());  // the per-user file
}

TEST_F(RecordsStoreTest, WrittenScoresReadBackAndALowerScoreReplacesAHigherOne) {
    SettingsRecordsStore store;
    store.WriteRecord(Variant::A, 999);
    EXPECT_EQ(store.ReadRecord(Variant::A), 999);
    EXPECT_EQ(store.ReadRecord(Variant::B), 0);
    store.WriteRecord(Variant::A, 37);
    EXPECT_EQ(SettingsRecordsStore().ReadRecord(Variant::A), 37);
    EXPECT_TRUE(ReadFile().contains(Line("A", 0x80000000u + EncodeRecord(37))));
}

TEST_F(RecordsStoreTest, WritingOneVariantLeavesTheOtherUntouched) {
    WriteFile("[General]\n" + Line("B", StoredRecordValue(1234)) + "Other=kept\n");
    SettingsRecordsStore store;
    store.WriteRecord(Variant::A, 100);
    EXPECT_EQ(store.ReadRecord(Variant::A), 100);
    EXPECT_EQ(store.ReadRecord(Variant::B), 1234);
    const QByteArray text = ReadFile();
    EXPECT_TRUE(text.contains(Line("B", StoredRecordValue(1234))));
    EXPECT_TRUE(text.contains("Other=kept"));
}

// A copy of the game killed inside a save's commit leaves its temporary copy.
TEST_F(RecordsStoreTest, ASaveFileLeftBehindIsRemovedAtTheNextWriteAndThePlayersFilesStay) {
    WriteFile(Scores());
    const QStringList left_behind = {"records.conf.QxWzaB", "records.conf.abcdeF"};
    const QStringList players = {"records.conf.backup", "records.conf.damaged", "records.conf.Q1"};
    for (const QString& name : left_behind + players) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(Scores());
    }
    SettingsRecordsStore store;
    store.WriteRecord(Variant::A, 7);
    for (const QString& name : left_behind) EXPECT_FALSE(QFile::exists(dir.filePath(name))) << name.toStdString();
    for (const QString& name : players) EXPECT_TRUE(QFile::exists(dir.filePath(name))) << name.toStdString();
    EXPECT_EQ(store.ReadRecord(Variant::A), 7);
}

TEST_F(RecordsStoreTest, WriteReplacesTheFileByRenameAndLeavesNoTemporaryFiles) {
    SettingsRecordsStore store;
    store.WriteRecord(Variant::B, 5);
    struct stat before{}, after{};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &before), 0);
    store.WriteRecord(Variant::A, 6);
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &after), 0);
    // A new file took the old one's name: never a half-written file under it.
    EXPECT_NE(before.st_ino, after.st_ino);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"records.conf"});
}

TEST_F(RecordsStoreTest, UnreadableValuesReadZero) {
    const std::uint32_t valid = StoredRecordValue(4321);
    struct Case {
        QByteArray text;
        std::uint16_t expected;
    };
    const Case cases[] = {
        {Line("A", valid), 4321},
        {Line("A", valid ^ 0x00000010u), 0},                  // one code bit changed
        {Line("A", valid ^ 0x00800000u), 0},                  // a parity bit changed
        {Line("A", (valid & 0x00FFFFFFu) | 0x3F000000u), 4321},  // bits 24..31 play no part
        {Line("A", valid & 0x00FFFFFFu), 4321},
        {"A=" + QByteArray::number(static_cast<qint32>(valid)) + "\n", 4321},  // a signed writer
        {"A=hello\n", 0},
        {"A=1.5\n", 0},
        {"A=4294967296\n", 0},  // wider than 32 bits
        {"A=\"2149580804, 1\"\n", 0},
        {"A=2149580804, 1\n", 0},  // a list
        {"A=@ByteArray(2149580804)\n", 0},
        {"A=@Variant(\\0\\0\\0\\x3\\x80\\0\\0\\0)\n", 0},
        {"A=\n", 0},
        {"B=" + QByteArray::number(valid) + "\n", 0},  // only the other value
        {"\x01\x02garbage without structure\n[", 0},
    };
    for (const Case& k : cases) {
        WriteFile("[General]\n" + k.text);
        EXPECT_EQ(SettingsRecordsStore().ReadRecord(Variant::A), k.expected) << k.text.constData();
    }
}

TEST_F(RecordsStoreTest, ADamagedFileCostsNoScoreAndIsKeptBesideWhenWritten) {
    const QByteArray a = Line("A", StoredRecordValue(120)), b = Line("B", StoredRecordValue(340));
    struct Case {
        const char* what;
        QByteArray text;
    };
    const Case cases[] = {
        {"a stray line with an unmatched quote", "[General]\n" + a + b + "\"stray\n"},
        {"a broken section header", "[General]\n" + a + "[broken\n" + b},
        {"bytes that are not text", "[General]\n" + a + "\x01\x02\x03\n" + b},
        {"junk before the values", "junk\x01\x02\n[General]\n" + a + b},
        {"stray bytes at the end", "[General]\n" + a + b + "\x01\x02\x03"},
        // Written again, it would lose what lies beyond the part that is read.
        {"more than a scores file ever holds", "[General]\n" + a + b + QByteArray(2 << 20, ';') + "\n"},
    };
    for (const Case& k : cases) {
        QFile::remove(path + ".damaged");
        WriteFile(k.text);
        SettingsRecordsStore store;
        EXPECT_EQ(store.ReadRecord(Variant::A), 120) << k.what;
        EXPECT_EQ(store.ReadRecord(Variant::B), 340) << k.what;
        // The finished game's score is stored; the message says what became of the old file.
        try {
            store.WriteRecord(Variant::A, 55);
            ADD_FAILURE() << k.what << ": the damaged file went unmentioned";
        } catch (const RecordsWriteError& e) {
            EXPECT_NE(std::string(e.what()).find("kept as " + (path + ".damaged").toStdString()), std::string::npos)
                << k.what << ": " << e.what();
        }
        EXPECT_EQ(store.ReadRecord(Variant::A), 55) << k.what;
        EXPECT_EQ(store.ReadRecord(Variant::B), 340) << k.what;
        QFile kept(path + ".damaged");
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly)) << k.what;
        EXPECT_EQ(kept.readAll(), k.text) << k.what;
        // Written again, the file is clean: the next game's score goes in quietly.
        EXPECT_NO_THROW(store.WriteRecord(Variant::B, 20)) << k.what;
        EXPECT_EQ(store.ReadRecord(Variant::A), 55) << k.what;
    }
}

TEST_F(RecordsStoreTest, ReadOnlyFileStillReadsItsValue) {
    WriteFile("[General]\n" + Line("A", StoredRecordValue(77)) + Line("B", StoredRecordValue(88)));
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                                      QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther));
    const QByteArray before = ReadFile();
    EXPECT_EQ(SettingsRecordsStore().ReadRecord(Variant::A), 77);
    EXPECT_EQ(ReadFile(), before);
    if (::geteuid() == 0) {
        // Root may write anywhere: read as an unprivileged user to be sure that
        // reading asks for nothing more than read access.
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(100);
            const auto a = SettingsRecordsStore().ReadRecord(Variant::A);
            const auto b = SettingsRecordsStore().ReadRecord(Variant::B);
            ::_exit(a == 77 && b == 88 ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
    EXPECT_EQ(ReadFile(), before);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(RecordsStoreTest, AFolderThatCannotBeMadeIsReportedWithItsMessage) {
    WriteFile("not a folder");
    SettingsRecordsStore blocked(dir.filePath("records.conf/sub/records.conf"));
    try {
        blocked.WriteRecord(Variant::A, 1);
        FAIL() << "no error";
    } catch (const RecordsWriteError& e) {
        EXPECT_STREQ(e.what(), "Failed to create key \\Software\\Ardwyn");
    }
}

TEST_F(RecordsStoreTest, ALinkIsFollowedAndTheFileItLeadsToIsReplaced) {
    struct Case {
        const char* what;
        QByteArray target_text;  // empty: no file there yet
        std::uint16_t a, b;      // as read through the link
    };
    const Case cases[] = {
        {"a link to the scores", Scores(), 120, 340},
        {"a link to a file not made yet", {}, 0, 0},
    };
    const QString target = dir.filePath("elsewhere.conf");
    for (const Case& k : cases) {
        QFile::remove(path);
        QFile::remove(target);
        if (!k.target_text.isEmpty()) {
            QFile f(target);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(k.target_text);
        }
        ASSERT_TRUE(QFile::link("elsewhere.conf", path)) << k.what;
        SettingsRecordsStore store;
        EXPECT_EQ(store.ReadRecord(Variant::A), k.a) << k.what;
        EXPECT_EQ(store.ReadRecord(Variant::B), k.b) << k.what;
        EXPECT_EQ(WriteError(store, Variant::A, 55), "") << k.what;
        EXPECT_TRUE(QFileInfo(path).isSymLink()) << k.what;
        EXPECT_EQ(SettingsRecordsStore(target).ReadRecord(Variant::A), 55) << k.what;
        EXPECT_EQ(SettingsRecordsStore(target).ReadRecord(Variant::B), k.b) << k.what;
    }
}

TEST_F(RecordsStoreTest, ALinkLoopReadsZeroAndIsReplacedByTheFile) {
    ASSERT_TRUE(QFile::link("other.conf", path));
    ASSERT_TRUE(QFile::link("records.conf", dir.filePath("other.conf")));
    SettingsRecordsStore store;
    EXPECT_EQ(store.ReadRecord(Variant::A), 0);
    // Nothing was stored in a loop: nothing is lost by replacing it.
    EXPECT_EQ(WriteError(store, Variant::A, 55), "");
    EXPECT_FALSE(QFileInfo(path).isSymLink());
    EXPECT_EQ(store.ReadRecord(Variant::A), 55);
}

TEST_F(RecordsStoreTest, ANameThatHoldsNoFileReadsZeroAndItsWriteFailsWithoutHarm) {
    struct Case {
        const char* what;
        bool (*make)(const QString& path);
        const char* reason;
    };
    const Case cases[] = {
        {"a folder", [](const QString& p) { return QDir().mkdir(p); }, " is a folder"},
        // Opening a pipe for reading would wait for a writer for ever.
        {"a pipe", [](const QString& p) { return ::mkfifo(QFile::encodeName(p).constData(), 0600) == 0; },
         " is not a regular file"},
    };
    for (const Case& k : cases) {
        ASSERT_TRUE(k.make(path)) << k.what;
        SettingsRecordsStore store;
        EXPECT_EQ(store.ReadRecord(Variant::A), 0) << k.what;
        EXPECT_EQ(store.ReadRecord(Variant::B), 0) << k.what;
        EXPECT_EQ(WriteError(store, Variant::B, 1), "Failed to set data for 'B': " + path.toStdString() + k.reason)
            << k.what;
        EXPECT_TRUE(QFileInfo(path).exists() && !QFileInfo(path).isFile()) << k.what;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System),
                  QStringList{"records.conf"})
            << k.what;
        ::rmdir(QFile::encodeName(path).constData());
        ::unlink(QFile::encodeName(path).constData());
    }
}

// What a player who is not root gets from a store on the file: both scores as
// read, and the message of a write of A (or "" when it was stored). Root reads
// and writes whatever a file's mode says, so as root the store runs in a child
// that has become the unprivileged user "nobody" (the file must be theirs).
struct Outcome {
    unsigned a = 0, b = 0;
    std::string message;
};
Outcome ReadAndWriteAsAPlayer(const QString& file) {
    const auto run = [&file] {
        SettingsRecordsStore store(file);
        Outcome o{store.ReadRecord(Variant::A), store.ReadRecord(Variant::B), {}};
        try {
            store.WriteRecord(Variant::A, 55);
        } catch (const RecordsWriteError& e) {
            o.message = e.what();
        }
        return o;
    };
    if (::geteuid() != 0) return run();
    int pipe_ends[2];
    if (::pipe(pipe_ends) != 0) return {0, 0, "no pipe"};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe_ends[0]);
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(100);
        const Outcome o = run();
        const std::string report = std::to_string(o.a) + " " + std::to_string(o.b) + " " + o.message;
        const bool sent = ::write(pipe_ends[1], report.data(), report.size()) == static_cast<ssize_t>(report.size());
        ::_exit(sent ? 0 : 101);
    }
    ::close(pipe_ends[1]);
    std::string report;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipe_ends[0], buffer, sizeof buffer)) > 0;) report.append(buffer, n);
    ::close(pipe_ends[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return {0, 0, "the child failed: " + report};
    Outcome o;
    std::istringstream in(report);
    in >> o.a >> o.b;
    std::getline(in >> std::ws, o.message);
    return o;
}

TEST_F(RecordsStoreTest, AFileThePlayerMayNotReadOrWriteIsLeftAsItIs) {
    struct Case {
        const char* what;
        mode_t mode, folder_mode;
        unsigned a, b;
        std::string reason;
    };
    const Case cases[] = {
        {"a file nobody may read", 0000, 0777, 0, 0, "cannot be read: Permission denied"},
        {"a read-only file", 0444, 0777, 120, 340, "is not writable"},
        {"a folder the player may not write in", 0644, 0555, 120, 340,
         "no right to write in " + dir.path().toStdString()},
    };
    const QByteArray folder = QFile::encodeName(dir.path()), file = QFile::encodeName(path);
    for (const Case& k : cases) {
        ASSERT_EQ(::chmod(folder.constData(), 0700), 0);
        QFile::remove(path);
        WriteFile(Scores());
        if (::geteuid() == 0) {
            ASSERT_EQ(::chown(file.constData(), 65534, 65534), 0);
        }
        ASSERT_EQ(::chmod(file.constData(), k.mode), 0);
        ASSERT_EQ(::chmod(folder.constData(), k.folder_mode), 0);
        const Outcome o = ReadAndWriteAsAPlayer(path);
        EXPECT_EQ(o.a, k.a) << k.what;
        EXPECT_EQ(o.b, k.b) << k.what;
        EXPECT_EQ(o.message.rfind("Failed to set data for 'A': ", 0), 0u) << k.what << ": " << o.message;
        EXPECT_NE(o.message.find(k.reason), std::string::npos) << k.what << ": " << o.message;
        struct stat after{};
        ASSERT_EQ(::stat(file.constData(), &after), 0);
        EXPECT_EQ(after.st_mode & 07777, k.mode) << k.what;
        ASSERT_EQ(::chmod(folder.constData(), 0700), 0);
        ::chmod(file.constData(), 0600);
        EXPECT_EQ(ReadFile(), Scores()) << k.what;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"records.conf"})
            << k.what;
    }
}

TEST_F(RecordsStoreTest, ALockFileLeftBehindHoldsUpTheEndOfAGameOnlyAMoment) {
    // A live process that bears this program's name: nothing tells it from a
    // copy of the game that is writing.
    const pid_t live = ::fork();
    ASSERT_GE(live, 0);
    if (live == 0) {
        ::pause();
        ::_exit(0);
    }
    const QByteArray own_name = QFileInfo(QFile::symLinkTarget("/proc/self/exe")).fileName().toUtf8();
    const QByteArray here = QSysInfo::machineHostName().toUtf8();
    struct Case {
        const char* what;
        QByteArray lock;
        int age_s;
        bool stored;  // else refused, saying why
    };
    const QByteArray live_lock = QByteArray::number(live) + "\n" + own_name + "\n" + here + "\n";
    // A process that has ended: a copy of the game that crashed while writing.
    const pid_t ended = ::fork();
    ASSERT_GE(ended, 0);
    if (ended == 0) ::_exit(0);
    ASSERT_EQ(::waitpid(ended, nullptr, 0), ended);
    const QByteArray ended_lock = QByteArray::number(ended) + "\n" + own_name + "\n" + here + "\n";
    const Case cases[] = {
        {"another host's, just made", "4242\npellox\nfar-away-host\n", 0, false},
        {"another host's, ten seconds old", "4242\npellox\nfar-away-host\n", 10, true},
        {"a live process's of the same name, just made", live_lock, 0, false},
        {"a live process's of the same name, ten seconds old", live_lock, 10, true},
        {"process 1's, which is no copy of the game", "1\npellox\n" + here + "\n", 0, true},
        {"a crashed copy's, just made", ended_lock, 0, true},
        // A writer killed between making the lock file and filling it in.
        {"an empty one, just made", "", 0, true},
        {"one that names no process, just made", "no owner here\n", 0, true},
    };
    const QString lock_name = path + ".lock";
    for (const Case& k : cases) {
        WriteFile(Scores());
        QFile lock(lock_name);
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly | QIODevice::Truncate));
        lock.write(k.lock);
        lock.close();
        if (k.age_s > 0) {
            ASSERT_TRUE(lock.open(QIODevice::ReadWrite));
            ASSERT_TRUE(lock.setFileTime(QDateTime::currentDateTime().addSecs(-k.age_s),
                                         QFileDevice::FileModificationTime));
            lock.close();
        }

        SettingsRecordsStore store;
        QElapsedTimer timer;
        timer.start();
        const std::string message = WriteError(store, Variant::A, 55);
        // A generous bound: what it guards against is a wait of up to 30 s.
        EXPECT_LT(timer.elapsed(), 5000) << k.what;
        if (k.stored) {
            EXPECT_EQ(message, "") << k.what;
            EXPECT_FALSE(QFile::exists(lock_name)) << k.what;
        } else {
            EXPECT_EQ(message.rfind("Failed to set data for 'A': the scores file is locked", 0), 0u)
                << k.what << ": " << message;
            EXPECT_NE(message.find(lock_name.toStdString()), std::string::npos) << k.what << ": " << message;
            EXPECT_TRUE(QFile::exists(lock_name)) << k.what;
        }
        EXPECT_EQ(store.ReadRecord(Variant::A), k.stored ? 55 : 120) << k.what;
        EXPECT_EQ(store.ReadRecord(Variant::B), 340) << k.what;
        QFile::remove(lock_name);
    }
    ::kill(live, SIGKILL);
    ::waitpid(live, nullptr, 0);
}

TEST_F(RecordsStoreTest, AFullDiskFailsTheWriteWithItsMessageAndKeepsTheOldScores) {
    if (::geteuid() != 0) GTEST_SKIP() << "making a small disk (a tmpfs) needs root";
    const QString disk = dir.filePath("disk");
    ASSERT_TRUE(QDir().mkdir(disk));
    const QByteArray disk_path = QFile::encodeName(disk);
    if (::mount("tmpfs", disk_path.constData(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
    struct Unmount {
        QByteArray at;
        ~Unmount() { ::umount2(at.constData(), MNT_DETACH); }
    } unmount{disk_path};

    const QString file = disk + "/records.conf", filler = disk + "/filler";
    struct Case {
        const char* what;
        QByteArray text;
        qint64 room;  // bytes left free
        const char* reason;
    };
    const Case cases[] = {
        {"no room at all", Scores(), 0, "the disk is full"},
        {"room for the lock file only", Scores(), 4096, "No space left on device"},
        {"a damaged file and no room to keep it", Scores() + "\x01\x02\n", 4096, "cannot keep the damaged"},
    };
    for (const Case& k : cases) {
        QFile::remove(filler);
        {
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(k.text);
        }
        const int fd = ::open(QFile::encodeName(filler).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(fd, 0);
        const char block[4096] = {};
        off_t size = 0;
        for (ssize_t n; (n = ::write(fd, block, sizeof block)) > 0;) size += n;
        ASSERT_EQ(errno, ENOSPC);
        ASSERT_EQ(::ftruncate(fd, size - k.room), 0);
        ::close(fd);

        SettingsRecordsStore store(file);
        const std::string message = WriteError(store, Variant::A, 55);
        EXPECT_EQ(message.rfind("Failed to set data for 'A': ", 0), 0u) << k.what << ": " << message;
        EXPECT_NE(message.find(k.reason), std::string::npos) << k.what << ": " << message;
        EXPECT_EQ(store.ReadRecord(Variant::A), 120) << k.what;
        EXPECT_EQ(store.ReadRecord(Variant::B), 340) << k.what;
        EXPECT_EQ(QDir(disk).entryList(QDir::NoDotAndDotDot | QDir::AllEntries, QDir::Name),
                  (QStringList{"filler", "records.conf"}))
            << k.what;
    }
}

// The environment a test sets, put back as it was when the test ends.
class ScopedEnvironment {
public:
    void Set(const char* name, const QByteArray& value) {
        Keep(name);
        qputenv(name, value);
    }
    void Unset(const char* name) {
        Keep(name);
        qunsetenv(name);
    }
    ~ScopedEnvironment() {
        for (const auto& [name, value] : kept_)
            if (value) qputenv(name, *value);
            else qunsetenv(name);
    }

private:
    void Keep(const char* name) {
        kept_.emplace_back(name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
    }
    std::vector<std::pair<const char*, std::optional<QByteArray>>> kept_;
};

TEST(DefaultRecordsFileTest, IsWhereTheSettingsOfTheGameLive) {
    QTemporaryDir config;
    ScopedEnvironment env;
    env.Set("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    env.Unset("PELLOX_RECORDS");
    EXPECT_EQ(RecordsFileName(), config.filePath(QStringLiteral("Ardwyn/Kestrow.conf")));
    // Where a QSettings of the game finds it (the scores of earlier versions).
    EXPECT_EQ(DefaultRecordsFile(),
              QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Ardwyn"), QStringLiteral("Kestrow"))
                  .fileName());
    env.Set("PELLOX_RECORDS", "");  // set but empty counts as unset
    EXPECT_EQ(RecordsFileName(), DefaultRecordsFile());
}

// Learning the file's name once made a QSettings, which read the file and the
// organisation's file beside it at once: a FIFO there held the start before
// any window, and a large file was read whole.
TEST(DefaultRecordsFileTest, PipesAndHugeFilesThereAreNeverOpenedOrReadWhole) {
    QTemporaryDir config;
    ScopedEnvironment env;
    env.Set("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    env.Unset("PELLOX_RECORDS");
    ASSERT_TRUE(QDir(config.path()).mkpath(QStringLiteral("Ardwyn")));
    const std::filesystem::path folder = (config.path() + QStringLiteral("/Ardwyn")).toStdString();
    {
        // The organisation's file lies beside the game's folder.
        FifoWatch records(folder / "Kestrow.conf"), organisation(folder.parent_path() / "Ardwyn.conf"),
            language(folder / "Pellox.conf");
        const QString file = RecordsFileName();
        EXPECT_EQ(file.toStdString(), (folder / "Kestrow.conf").string());
        EXPECT_FALSE(LanguageSettings(LanguageFileBeside(file)).Read().has_value());
        SettingsRecordsStore store(file);
        EXPECT_EQ(store.ReadRecord(Variant::A), 0);
        EXPECT_EQ(store.ReadRecord(Variant::B), 0);
        EXPECT_EQ(records.ReadersSeen() + organisation.ReadersSeen() + language.ReadersSeen(), 0);
    }
    // 100 MB that are no scores file (a sparse file: nothing written), with a
    // score on its first line: the start reads at most its first MiB.
    for (const char* name : {"Kestrow.conf", "Pellox.conf"}) {
        QFile big(QString::fromStdString((folder / name).string()));
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        big.write(QByteArrayLiteral("[General]\nA=") + QByteArray::number(StoredRecordValue(77)) + "\nLanguage=0\n");
        ASSERT_TRUE(big.resize(100 << 20));
    }
    const QString file = RecordsFileName();
    EXPECT_FALSE(LanguageSettings(LanguageFileBeside(file)).Read().has_value());  // far too large to be ours
    EXPECT_EQ(SettingsRecordsStore(file).ReadRecord(Variant::A), 77);
}

}  // namespace
}  // namespace pellox
