#include "engine/records/settings_records_store.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include "engine/record_codec.h"

namespace pellox {
namespace {

QString ValueName(Variant variant) { return variant == Variant::A ? QStringLiteral("A") : QStringLiteral("B"); }

// A 32-bit integer, read as unsigned. On disk it is decimal text; a value this
// process wrote is still held as a number. Negative numbers are taken as the
// two's complement a signed writer would produce.
bool ParseStoredValue(const QVariant& value, std::uint32_t& out) {
    qlonglong number = 0;
    bool ok = false;
    switch (value.typeId()) {
    case QMetaType::QString: number = value.toString().trimmed().toLongLong(&ok, 10); break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong: number = value.toLongLong(&ok); break;
    default: return false;  // lists, byte arrays, @Variant(...) values
    }
    if (!ok || number < -2147483648LL || number > 4294967295LL) return false;
    out = static_cast<std::uint32_t>(number);
    return true;
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
    if (file_name_.isEmpty() || !QFileInfo(file_name_).isFile()) return 0;
    // Opens the file for reading only; nothing is written back, since nothing changed.
    const QSettings settings(file_name_, QSettings::NativeFormat);
    if (settings.status() != QSettings::NoError) return 0;
    std::uint32_t stored = 0;
    if (!ParseStoredValue(settings.value(ValueName(variant)), stored)) return 0;
    return ScoreOfStoredValue(stored);
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

    QSettings settings(file_name_, QSettings::NativeFormat);
    if (settings.status() != QSettings::NoError) {
        // A file Qt cannot parse is left alone rather than rewritten from what
        // could be read of it, which might drop the other score.
        throw RecordsWriteError(set_failed.toStdString());
    }
    settings.setValue(name, static_cast<quint32>(StoredRecordValue(score)));
    settings.sync();
    if (settings.status() != QSettings::NoError) throw RecordsWriteError(set_failed.toStdString());
}

}  // namespace pellox
