#include "records/language_settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "records/records_text.h"

namespace pellox {
namespace {

constexpr std::string_view kValueName = "Language";

// The file holds a line or two; anything larger is not ours, and is neither
// read nor written over.
constexpr qint64 kMaxLanguageFileBytes = 64 * 1024;

constexpr std::string_view kNewFileComment =
    "; Pellox: the start screen's language at the next start, 1 Russian, 0 English.\n"
    "; It is the last flag clicked; without it the system's language decides.\n"
    "[General]\n";

// The file's text, or nothing when it is missing, no plain file, unreadable
// or too large to be ours.
std::optional<std::string> ReadText(const QString& file_name) {
    const QFileInfo info(file_name);  // follows a link
    if (!info.isFile() || info.size() > kMaxLanguageFileBytes) return std::nullopt;
    QFile file(file_name);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.read(kMaxLanguageFileBytes + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > kMaxLanguageFileBytes) return std::nullopt;
    return bytes.toStdString();
}

}  // namespace

LanguageSettings::LanguageSettings(QString file_name) : file_name_(std::move(file_name)) {}

std::optional<InterfaceLanguage> LanguageSettings::Read() const {
    const std::optional<std::string> text = ReadText(file_name_);
    if (!text) return std::nullopt;
    const std::optional<std::uint32_t> value = FindStoredValue(*text, kValueName);
    if (value == static_cast<std::uint32_t>(InterfaceLanguage::Russian)) return InterfaceLanguage::Russian;
    if (value == static_cast<std::uint32_t>(InterfaceLanguage::English)) return InterfaceLanguage::English;
    return std::nullopt;
}

Result<void> LanguageSettings::Write(InterfaceLanguage language) const {
    if (file_name_.isEmpty()) return Failure("no file to keep the language in");
    const QFileInfo info(file_name_);
    const std::string shown = QDir::toNativeSeparators(file_name_).toStdString();
    std::string text;
    if (info.exists()) {
        // Whatever else the player keeps in the file stays; what cannot be
        // read whole is left alone.
        const std::optional<std::string> old = ReadText(file_name_);
        if (!old) return Failure(shown + " is not a small file that can be read whole: it is left as it is");
        text = *old;
    } else {
        if (!QDir().mkpath(info.absolutePath()))
            return Failure("the folder " + QDir::toNativeSeparators(info.absolutePath()).toStdString() +
                           " cannot be made");
        text = kNewFileComment;
    }
    const std::string new_text = WithStoredValue(text, kValueName, static_cast<std::uint32_t>(language));
    QSaveFile out(file_name_);
    // A failed flush is checked before the commit, which would not see it.
    const bool written = out.open(QIODevice::WriteOnly) &&
                         out.write(new_text.data(), static_cast<qint64>(new_text.size())) ==
                             static_cast<qint64>(new_text.size()) &&
                         out.flush() && out.commit();
    if (!written) return Failure(shown + " cannot be written: " + out.errorString().toStdString());
    return {};
}

QString LanguageFileBeside(const QString& records_file) {
    const QFileInfo records(records_file);
    const QString name = records.fileName() == QStringLiteral("Pellox.conf") ? QStringLiteral("Pellox-language.conf")
                                                                            : QStringLiteral("Pellox.conf");
    return records.absoluteDir().filePath(name);
}

}  // namespace pellox
