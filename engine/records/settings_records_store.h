#pragma once
// The two stored scores in a per-user settings file (organisation "Ardwyn",
// application "Kestrow"; on Linux ~/.config/Ardwyn/Kestrow.conf). The
// environment variable PELLOX_RECORDS, when set and not empty, names the file instead.
//
// Values "A" and "B" hold the score's code plus 0x80000000 as a 32-bit
// unsigned integer. Reading never fails and never asks for write access:
// a missing file or value, a value that is not a 32-bit integer, or a wrong
// parity reads 0; every value that can be read is read, whatever else in the
// file is damaged. Writing replaces one value only, through Qt's save-file
// (a temporary file renamed over the old one) under a lock file, so the other
// value survives and a crash leaves the old or the new file. A damaged file is
// first copied beside itself (".damaged"), and the write then reports that as
// its message although the score was stored.

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
    // player hears of it).
    void WriteRecord(Variant variant, std::uint16_t score) override;

    const QString& FileName() const { return file_name_; }

private:
    QString file_name_;
};

// The per-user settings file of this game.
QString DefaultRecordsFile();

}  // namespace pellox
