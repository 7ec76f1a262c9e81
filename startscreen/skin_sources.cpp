#include "startscreen/skin_sources.h"

#include <array>
#include <string_view>
#include <system_error>

namespace pellox {
namespace {

// A skin file, and the archives the installer unpacks.
constexpr std::array<std::string_view, 16> kSourceEndings = {
    ".ini",  ".zip",     ".7z",   ".rar",     ".tar",   ".tar.gz", ".tgz",      ".tar.xz",
    ".txz",  ".tar.bz2", ".tbz2", ".tbz",     ".tar.zst", ".tzst", ".tar.lzma", ".tar.lz"};

QString Patterns() {
    QStringList patterns;
    for (std::string_view ending : kSourceEndings)
        patterns << QStringLiteral("*") + QString::fromLatin1(ending.data(), static_cast<qsizetype>(ending.size()));
    return patterns.join(QLatin1Char(' '));
}

}  // namespace

bool IsSkinSourceName(const std::filesystem::path& path) {
    const QString name = QString::fromStdString(path.filename().string());
    for (std::string_view ending : kSourceEndings) {
        if (name.size() > static_cast<qsizetype>(ending.size()) &&
            name.endsWith(QLatin1String(ending.data(), static_cast<qsizetype>(ending.size())), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

std::vector<std::filesystem::path> SkinSourcesOf(const QMimeData& data) {
    std::vector<std::filesystem::path> sources;
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile()) return {};
        const std::filesystem::path path = url.toLocalFile().toStdString();
        std::error_code ec;
        if (!std::filesystem::is_directory(path, ec) && !IsSkinSourceName(path)) return {};
        sources.push_back(path);
    }
    return sources;
}

QString SkinSourceFilter(InterfaceLanguage language) {
    const bool russian = language == InterfaceLanguage::Russian;
    return (russian ? QStringLiteral("Скины: архивы и файлы .ini (%1)") : QStringLiteral("Skins: archives and .ini files (%1)"))
               .arg(Patterns()) +
           (russian ? QStringLiteral(";;Все файлы (*)") : QStringLiteral(";;All files (*)"));
}

}  // namespace pellox
