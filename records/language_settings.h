#pragma once
// The player's last choice of language, kept between runs in a small file of
// its own beside the scores file ("Pellox.conf" in the scores file's folder),
// so that the scores file and its lock are never touched for it.
//
// The file is an INI text like the scores file: "Language=1" (Russian) or
// "Language=0" (English) in its [General] section. Reading never fails: a
// missing, unreadable or damaged file, or any other value, is no remembered
// choice, and the system's language decides. Writing replaces that one line
// and keeps every other line as it was, through a save file (the old file or
// the new one, never a part); it says why and changes nothing when the
// file cannot be written (a folder in its place, no right to write, a file
// far too large to be ours). Two copies of the game choosing at once leave
// the choice of the last one, which is all a choice of language needs: no
// lock is taken, so a click on a flag never waits.

#include <optional>

#include <QString>

#include "base/result.h"
#include "engine/language.h"

namespace pellox {

class LanguageSettings {
public:
    explicit LanguageSettings(QString file_name);

    std::optional<InterfaceLanguage> Read() const;
    // Kept, or why not (the file is then as it was).
    Result<void> Write(InterfaceLanguage language) const;

    const QString& FileName() const { return file_name_; }

private:
    QString file_name_;
};

// "Pellox.conf" in the scores file's folder; "Pellox-language.conf" when the
// scores file itself is named "Pellox.conf".
QString LanguageFileBeside(const QString& records_file);

}  // namespace pellox
