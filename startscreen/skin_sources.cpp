#include "startscreen/skin_sources.h"

#include <string>
#include <system_error>

#include "skin/ascii_text.h"
#include "skininstall/archive_kinds.h"

namespace pellox {
namespace {

QString Patterns() {
    QStringList patterns{QStringLiteral("*.ini")};
    for (const SkinArchiveKind& kind : kSkinArchiveKinds)
        patterns << QStringLiteral("*") +
                        QString::fromLatin1(kind.ending.data(), static_cast<qsizetype>(kind.ending.size()));
    return patterns.join(QLatin1Char(' '));
}

}  // namespace

bool IsSkinSourceName(const std::filesystem::path& path) {
    const std::string name = path.filename().string();
    return (name.size() > 4 && EndsWithIgnoringAsciiCase(name, ".ini")) || HasSkinArchiveEnding(name);
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
