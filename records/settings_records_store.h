#pragma once
// The two stored scores in a per-user settings file (organisation "Ardwyn",
// application "Kestrow"; on Linux ~/.config/Ardwyn/Kestrow.conf). The
// environment variable PELLOX_RECORDS, when set and not empty, names the file instead.
//
// Values "A" and "B" hold the score's code plus 0x80000000 as a 32-bit
// unsigned integer, in the [General] section of an INI text. Reading never
// fails and never asks for write access: a missing file or value, a value
// that is not a 32-bit integer, or a wrong parity reads 0; every value that
// can be read is read, whatever else in the file is damaged.
//
// Writing replaces one value only and keeps every other line. It holds the
// lock file "<file>.lock" (the one QSettings uses) while it reads the file
// again and writes it through a save file (a temporary file renamed over the
// old one when whole), so two copies of the game ending games at once keep
// both scores, and a crash or a full disk leaves the old file or the new one.
// The end of a game waits at most 0.4 s for the lock. A lock left by a
// process that is gone from this computer is taken over at once, any other
// lock once it is 2 s old (a write takes milliseconds), but never one that a
// live writer holds; a lock still there after the wait makes the write fail
// with a message naming the lock file and its owner.
//
// What the file name holds decides the rest:
// - a damaged file (lines that are neither comments, sections nor key=value,
//   or more than 1 MiB) is copied beside itself (".damaged", ".damaged-2", ...)
//   and written again without those lines; the write then reports that as its
//   message, although the score was stored;
// - a symbolic link is followed: the file it leads to is read and replaced
//   (made, when it is missing) and the link stays; a loop of links reads 0
//   and is replaced by the file;
// - a folder, a pipe or any other non-file reads 0 and its write fails with
//   its message, touching nothing;
// - a file the player may not read reads 0 and its write fails ("cannot be
//   read"), a read-only file reads its scores and its write fails ("is not
//   writable"), and so does a file in a folder the player may not write in
//   ("no right to write in"); none of them is changed (root reads and writes
//   them all).
// A folder that cannot be made fails the write with "Failed to create key
// \Software\Ardwyn"; every other failed write with "Failed to set data for
// 'A'" (or 'B'), a colon and the reason. Either leaves the old file as it was.

#include <QString>

#include "engine/ports.h"

namespace pellox {

class SettingsRecordsStore : public RecordsStore {
public:
    // The file PELLOX_RECORDS names, or the per-user settings file.
    SettingsRecordsStore();
    // An explicit file (tests).
    explicit SettingsRecordsStore(QString file_name);

    std::uint16_t ReadRecord(Variant variant) override;
    // Throws RecordsWriteError when the score could not be stored, and also
    // when it was but the damaged old file had to be kept beside (so the
    // player hears of it). Waits at most a moment for another writer.
    void WriteRecord(Variant variant, std::uint16_t score) override;

    const QString& FileName() const { return file_name_; }

private:
    QString file_name_;
};

// The per-user settings file of this game.
QString DefaultRecordsFile();
// The scores file the game uses: the one PELLOX_RECORDS names, or the
// per-user settings file.
QString RecordsFileName();

}  // namespace pellox
