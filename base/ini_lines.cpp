#include "base/ini_lines.h"

namespace pellox {
namespace {

std::string_view Trimmed(std::string_view text, const IniDialect& dialect) {
    const auto trimmed = [&dialect](char c) { return dialect.is_trimmed(static_cast<unsigned char>(c)); };
    while (!text.empty() && trimmed(text.front())) text.remove_prefix(1);
    while (!text.empty() && trimmed(text.back())) text.remove_suffix(1);
    return text;
}

void Classify(IniLine& line, const IniDialect& dialect) {
    const std::string_view text = line.text = Trimmed(line.raw, dialect);
    if (text.empty()) {
        line.kind = IniLineKind::Blank;
        return;
    }
    if (dialect.comment_marks.find(text.front()) != std::string_view::npos) {
        line.kind = IniLineKind::Comment;
        return;
    }
    const bool header = text.size() >= 2 && text.front() == '[' && text.back() == ']' &&
                        (dialect.brackets_inside_header || text.find_first_of("[]", 1) == text.size() - 1);
    if (header) {
        line.kind = IniLineKind::Section;
        line.section = Trimmed(text.substr(1, text.size() - 2), dialect);
        return;
    }
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        line.kind = IniLineKind::Other;
        return;
    }
    line.kind = IniLineKind::Entry;
    line.key = Trimmed(text.substr(0, equals), dialect);
    line.value = Trimmed(text.substr(equals + 1), dialect);
}

}  // namespace

std::optional<IniLine> IniLineReader::Next() {
    if (rest_.empty()) return std::nullopt;
    const std::string_view ends = dialect_.cr_ends_line ? std::string_view("\r\n") : std::string_view("\n");
    IniLine line;
    const std::size_t end = rest_.find_first_of(ends);
    line.raw = rest_.substr(0, end);
    if (end == std::string_view::npos) {
        rest_ = {};
    } else {
        const bool crlf = rest_[end] == '\r' && end + 1 < rest_.size() && rest_[end + 1] == '\n';
        line.ending = rest_.substr(end, crlf ? 2 : 1);
        rest_.remove_prefix(end + line.ending.size());
    }
    Classify(line, dialect_);
    return line;
}

}  // namespace pellox
