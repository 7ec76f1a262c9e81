#include "startscreen/reason_texts.h"

#include <QRegularExpression>

#include "skin/reason_russian.h"

namespace pellox {
namespace {

// The table's patterns, each compiled once to match a whole reason.
const std::vector<QRegularExpression>& Patterns() {
    static const std::vector<QRegularExpression> patterns = [] {
        std::vector<QRegularExpression> compiled;
        for (const ReasonRule& rule : ReasonRules())
            compiled.emplace_back(QRegularExpression::anchoredPattern(QString::fromUtf8(rule.english)));
        return compiled;
    }();
    return patterns;
}

std::optional<std::vector<std::string>> Matches(std::size_t rule, std::string_view text) {
    const QRegularExpressionMatch match =
        Patterns()[rule].match(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    if (!match.hasMatch()) return std::nullopt;
    std::vector<std::string> captures;
    for (int i = 1; i <= Patterns()[rule].captureCount(); ++i) captures.push_back(match.captured(i).toStdString());
    return captures;
}

}  // namespace

QString ReasonText(InterfaceLanguage language, const std::string& reason) {
    if (language != InterfaceLanguage::Russian) return QString::fromStdString(reason);
    return QString::fromStdString(RussianReason(reason, Matches));
}

}  // namespace pellox
