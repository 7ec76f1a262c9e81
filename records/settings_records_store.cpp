#include "records/settings_records_store.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QThread>

#include "engine/record_codec.h"
#include "records/records_text.h"

// The file is written here, not through QSettings, for three things
// QSettings does on its own terms. Under its lock it reads the file again only
// when the file's size or its time in milliseconds changed; every score line
// is ten digits long, so a score another copy of the game wrote within the
// same tick of the file clock was lost. It waits for a lock file it cannot
// prove stale until that is 30 s old, with no way to wait less: probing the
// lock first with a QLockFile of our own would have to let go of it before
// QSettings locks, and would leave the first fault as it is. And it drops the
// lines it cannot read. The file is a few lines of text that our own reader
// reads: our own lock, a save file and a one-line edit of the text do the
// whole job.

namespace pellox {
namespace {

QString ValueName(Variant variant) { return variant == Variant::A ? QStringLiteral("A") : QStringLiteral("B"); }

// A scores file is a few lines; anything much larger is no scores file and is
// read only this far.
constexpr qint64 kMaxRecordsFileBytes = 1 << 20;

// How long a game's end waits for another copy of the game to finish its
// write, which takes milliseconds; then the write fails and play goes on.
constexpr int kLockWaitMs = 400;
// QLockFile::tryLock(timeout) sleeps 100 ms, then 200 ms between attempts:
// a lock held for a few milliseconds is looked at far more often.
constexpr int kLockPollMs = 10;
// A lock file this old was left behind: only Pellox writes the scores file,
// and a write takes milliseconds. A lock that a live writer holds is never
// broken, whatever its age: the writer keeps it flock()ed, and QLockFile
// removes only a file it can flock() itself. A lock of a process that has
// left this host's process table goes at once.
constexpr int kStaleLockMs = 2000;

std::string ReadText(const QString& file_name) {
    QFile file(file_name);
    if (!QFileInfo(file_name).isFile() || !file.open(QIODevice::ReadOnly)) return {};
    return file.read(kMaxRecordsFileBytes).toStdString();
}

// A name beside the damaged file that no earlier copy has taken.
QString FreeNameBeside(const QString& file_name) {
    QString kept = file_name + QStringLiteral(".damaged");
    for (int n = 2; QFileInfo::exists(kept); ++n) kept = file_name + QStringLiteral(".damaged-%1").arg(n);
    return kept;
}

// A lock file that names no owner was left by a writer killed between making
// it and filling it in: a live writer fills it in microseconds after making
// it, so one that has stayed so for this long is given up at once.
constexpr int kOwnerlessLockGraceMs = 50;

bool LeftWithoutOwner(const QLockFile& lock) {
    qint64 pid = 0;
    QString host, program;
    if (lock.getLockInfo(&pid, &host, &program)) return false;
    const QFileInfo info(lock.fileName());
    return info.exists() && info.lastModified().msecsTo(QDateTime::currentDateTime()) >= kOwnerlessLockGraceMs;
}

bool TakeLock(QLockFile& lock) {
    lock.setStaleLockTime(kStaleLockMs);
    const QDeadlineTimer deadline(kLockWaitMs);
    while (!lock.tryLock(0)) {
        if (lock.error() != QLockFile::LockFailedError || deadline.hasExpired()) return false;
        // Removes nothing that a live writer holds: QLockFile checks its flock().
        if (LeftWithoutOwner(lock) && lock.removeStaleLockFile()) continue;
        QThread::msleep(kLockPollMs);
    }
    return true;
}

// A save file's temporary copy is named after the file with a dot and six
// random letters; a copy of the game killed inside its commit can leave one
// behind. Called under the lock, when no writer of ours is inside a commit.
// A name of six small letters ("backup") may be the player's own and stays.
void RemoveLeftoverSaveFiles(const QString& file_name) {
    const QFileInfo target(file_name);
    static const QRegularExpression random_suffix(QStringLiteral("^[A-Za-z]{6}$"));
    static const QRegularExpression small_letters(QStringLiteral("^[a-z]{6}$"));
    const QString prefix = target.fileName() + QLatin1Char('.');
    QDir folder = target.absoluteDir();
    for (const QFileInfo& entry : folder.entryInfoList({prefix + QStringLiteral("??????")}, QDir::Files | QDir::Hidden)) {
        const QString suffix = entry.fileName().mid(prefix.size());
        if (entry.isSymLink() || !random_suffix.match(suffix).hasMatch() || small_letters.match(suffix).hasMatch())
            continue;
        if (entry.size() > kMaxRecordsFileBytes) continue;
        QFile::remove(entry.absoluteFilePath());
    }
}

// Why the lock could not be taken, for the player.
QString LockRefusal(const QLockFile& lock, const QString& folder) {
    switch (lock.error()) {
    case QLockFile::LockFailedError: {
        qint64 pid = 0;
        QString host, program;
        if (lock.getLockInfo(&pid, &host, &program))
            return QStringLiteral("the scores file is locked by %1 (process %2 on %3) through %4")
                .arg(program.isEmpty() ? QStringLiteral("another program") : program)
                .arg(pid)
                .arg(host.isEmpty() ? QStringLiteral("this computer") : host, lock.fileName());
        return QStringLiteral("the scores file is locked by %1").arg(lock.fileName());
    }
    case QLockFile::PermissionError:
        return QStringLiteral("no right to write in %1").arg(folder);
    default:
        // A full disk shows up here: the lock file is made but its few bytes
        // cannot be written.
        if (QStorageInfo(folder).bytesAvailable() < 4096)
            return QStringLiteral("cannot make %1: the disk is full").arg(lock.fileName());
        return QStringLiteral("cannot make %1").arg(lock.fileName());
    }
}

}  // namespace

QString DefaultRecordsFile() {
    // Where QSettings keeps the user's file of organisation "Ardwyn",
    // application "Kestrow", worked out as it does, without making one: a
    // QSettings reads its files as soon as it is made, this one and the
    // organisation's beside it, and a FIFO there held the start for good.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Ardwyn/Kestrow.conf");
}

QString RecordsFileName() {
    // An empty PELLOX_RECORDS names no file: it counts as unset.
    return !qEnvironmentVariableIsEmpty("PELLOX_RECORDS") ? qEnvironmentVariable("PELLOX_RECORDS")
                                                          : DefaultRecordsFile();
}

SettingsRecordsStore::SettingsRecordsStore() : file_name_(RecordsFileName()) {}

SettingsRecordsStore::SettingsRecordsStore(QString file_name) : file_name_(std::move(file_name)) {}

std::uint16_t SettingsRecordsStore::ReadRecord(Variant variant) {
    if (file_name_.isEmpty()) return 0;
    // Opens the file for reading only. Every value that can be read is read,
    // whatever else in the file is damaged.
    const std::optional<std::uint32_t> stored = FindStoredValue(ReadText(file_name_), ValueName(variant).toStdString());
    return stored ? ScoreOfStoredValue(*stored) : 0;
}

void SettingsRecordsStore::WriteRecord(Variant variant, std::uint16_t score) {
    const QString name = ValueName(variant);
    const QString set_failed = QStringLiteral("Failed to set data for '%1'").arg(name);
    const auto fail = [&set_failed](const QString& reason) {
        throw RecordsWriteError((set_failed + QStringLiteral(": ") + reason).toStdString());
    };
    if (file_name_.isEmpty()) throw RecordsWriteError(set_failed.toStdString());

    // The folder stands where the original kept its parent key.
    const QString folder = QFileInfo(file_name_).absolutePath();
    if (!QDir().mkpath(folder))
        throw RecordsWriteError(QStringLiteral("Failed to create key %1")
                                    .arg(QStringLiteral("\\Software\\Ardwyn"))
                                    .toStdString());

    // The same lock file as QSettings takes, so that an older copy of the
    // game writing through it waits for us and we for it.
    QLockFile lock(file_name_ + QStringLiteral(".lock"));
    if (!TakeLock(lock)) fail(LockRefusal(lock, folder));
    RemoveLeftoverSaveFiles(file_name_);

    // What the file holds now, read under the lock: another copy's score that
    // went in a moment ago is kept. A name that is there but cannot be read
    // is left alone.
    std::string text;
    bool whole = true;
    const QFileInfo info(file_name_);  // follows a link
    if (info.exists()) {
        if (info.isDir()) fail(QStringLiteral("%1 is a folder").arg(file_name_));
        if (!info.isFile()) fail(QStringLiteral("%1 is not a regular file").arg(file_name_));
        QFile file(file_name_);
        if (!file.open(QIODevice::ReadOnly))
            fail(QStringLiteral("%1 cannot be read: %2").arg(file_name_, file.errorString()));
        const QByteArray bytes = file.read(kMaxRecordsFileBytes + 1);
        if (file.error() != QFileDevice::NoError)
            fail(QStringLiteral("%1 cannot be read: %2").arg(file_name_, file.errorString()));
        whole = bytes.size() <= kMaxRecordsFileBytes;
        text = bytes.left(kMaxRecordsFileBytes).toStdString();
    }

    // Lines we cannot read, and a file too large to be a scores file, are not
    // written again: the whole old file is kept beside first.
    QString kept;
    if (!whole || HasUnreadableLines(text)) {
        kept = FreeNameBeside(file_name_);
        QFile old(file_name_);
        if (!old.copy(kept))
            fail(QStringLiteral("cannot keep the damaged %1 as %2: %3").arg(file_name_, kept, old.errorString()));
        // The last line of a cut text may be cut too.
        if (!whole) text.erase(text.rfind('\n') + 1);
        text = WithoutUnreadableLines(text);
    }

    // A save file replaces the file by a rename when it is whole: a crash or a
    // full disk leaves the old file or the new one, never a part. Its commit
    // does not see a write that fails when the buffer is flushed (on a full
    // disk it renamed an empty file over the scores), so the flush is checked
    // first; a save file left uncommitted is thrown away.
    const std::string new_text = WithStoredValue(text, name.toStdString(), StoredRecordValue(score));
    QSaveFile out(file_name_);
    if (!out.open(QIODevice::WriteOnly)) fail(out.errorString());
    if (out.write(new_text.data(), static_cast<qint64>(new_text.size())) != static_cast<qint64>(new_text.size()) ||
        !out.flush() || !out.commit())
        fail(QStringLiteral("cannot write %1: %2").arg(file_name_, out.errorString()));

    if (!kept.isEmpty())
        throw RecordsWriteError(QStringLiteral("The scores file %1 was damaged; the score is stored, and the old "
                                               "file is kept as %2")
                                    .arg(file_name_, kept)
                                    .toStdString());
}

}  // namespace pellox
