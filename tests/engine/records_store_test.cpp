// The stored scores in a real settings file named by PELLOX_RECORDS.
#include "engine/records/settings_records_store.h"

#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "engine/record_codec.h"

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

TEST_F(RecordsStoreTest, FailuresToWriteAreReportedWithTheirMessages) {
    // The folder cannot be made: a file stands in its way.
    WriteFile("not a folder");
    SettingsRecordsStore blocked(dir.filePath("records.conf/sub/records.conf"));
    try {
        blocked.WriteRecord(Variant::A, 1);
        FAIL() << "no error";
    } catch (const RecordsWriteError& e) {
        EXPECT_STREQ(e.what(), "Failed to create key \\Software\\Ardwyn");
    }
    // The name is taken by a folder: the value cannot be stored.
    SettingsRecordsStore on_folder(dir.path());
    try {
        on_folder.WriteRecord(Variant::B, 1);
        FAIL() << "no error";
    } catch (const RecordsWriteError& e) {
        EXPECT_STREQ(e.what(), "Failed to set data for 'B'");
    }
}

TEST(DefaultRecordsFileTest, IsPerUserSettingsOfTheGame) {
    const QString file = DefaultRecordsFile();
    EXPECT_TRUE(file.endsWith("Ardwyn/Kestrow.conf")) << file.toStdString();
    EXPECT_TRUE(file.startsWith(QDir::homePath()) || qEnvironmentVariableIsSet("XDG_CONFIG_HOME"))
        << file.toStdString();
}

}  // namespace
}  // namespace pellox
