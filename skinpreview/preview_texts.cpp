#include "skinpreview/preview_texts.h"

namespace pellox {
namespace {
bool IsRussian(InterfaceLanguage language) { return language == InterfaceLanguage::Russian; }
}  // namespace

QString BrokenSaveHeading(InterfaceLanguage language) {
    return IsRussian(language) ? QStringLiteral("Не загрузилось (на экране остаётся последнее удачное):")
                               : QStringLiteral("Not loaded (the last good version stays on screen):");
}

QString MoreFailures(InterfaceLanguage language, qsizetype more) {
    return IsRussian(language) ? QStringLiteral("…и ещё %1.").arg(more) : QStringLiteral("…and %1 more.").arg(more);
}

}  // namespace pellox
