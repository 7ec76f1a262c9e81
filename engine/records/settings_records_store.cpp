#include "engine/records/settings_records_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include "engine/record_codec.h"
#include "engine/records/records_text.h"

namespace pellox {
namespace {

QString ValueName(Variant variant) { return variant == Variant::A ? QStringLiteral("A") : QStringLiteral("B"); }

// A scores file is a few lines; anything much larger is no scores file and is
// read only this far.
constexpr qint64 kMaxRecordsFileBytes = 1 << 20;

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

}  // namespace

QString DefaultRecordsFile() {
    // Only the path: the file itself is made when a score is first written.
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Ardwyn"),
                       QStringLiteral("Kestrow"));
    return settings.fileName();
}

SettingsRecordsStore::SettingsRecordsStore()
    // An empty PELLOX_RECORDS names no file: it counts as unset.
    : file_name_(!qEnvironmentVariableIsEmpty("PELLOX_RECORDS") ? qEnvironmentVariable("PELLOX_RECORDS")
                                                                 : DefaultRecordsFile()) {}

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
    if (file_name_.isEmpty()) throw RecordsWriteError(set_failed.toStdString());

    // The folder stands where the original kept its parent key.
    const QString folder = QFileInfo(file_name_).absolutePath();
    if (!QDir().mkpath(folder))
        throw RecordsWriteError(QStringLiteral("Failed to create key %1")
                                    .arg(QStringLiteral("\\Software\\Ardwyn"))
                                    .toStdString());

    // Writing through Qt drops the lines it cannot read: a damaged file is
    // kept beside, whole, before it is written again.
    QString kept;
    if (HasUnreadableLines(ReadText(file_name_))) {
        kept = FreeNameBeside(file_name_);
        if (!QFile::copy(file_name_, kept)) throw RecordsWriteError(set_failed.toStdString());
    }

    const std::uint32_t value = StoredRecordValue(score);
    QSettings settings(file_name_, QSettings::NativeFormat);
    settings.setValue(name, static_cast<quint32>(value));
    settings.sync();
    // The status also carries an error from reading a damaged file, which says
    // nothing about the write: what the file holds now does.
    if (settings.status() == QSettings::AccessError ||
        FindStoredValue(ReadText(file_name_), name.toStdString()) != value)
        throw RecordsWriteError(set_failed.toStdString());
    if (!kept.isEmpty())
        throw RecordsWriteError(QStringLiteral("The scores file %1 was damaged; the score is stored, and the old "
                                               "file is kept as %2")
                                    .arg(file_name_, kept)
                                    .toStdString());
}

}  // namespace pellox
