#include "skininstall/skin_file_lines.h"

#include "skin/ascii_text.h"
#include "skin/skin_file.h"

namespace pellox {

SkinFileLines ReadSkinFileLines(std::string_view text) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    SkinFileLines file;
    if (text.starts_with(kByteOrderMark)) {
        file.byte_order_mark = text.substr(0, kByteOrderMark.size());
        text.remove_prefix(kByteOrderMark.size());
    }
    file.body = text;
    IniLineReader lines(text, kSkinFileLines);
    bool in_settings = false;
    for (std::size_t i = 0; const std::optional<IniLine> line = lines.Next(); ++i) {
        if (line->kind == IniLineKind::Section) {
            in_settings = AsciiLowered(line->section) == "settings";
            if (in_settings) {
                // Written again, the section starts over, as the game reads it.
                file.settings_header = i;
                file.settings_entries.clear();
            }
        } else if (line->kind == IniLineKind::Entry && in_settings) {
            file.settings_entries[AsciiLowered(line->key)] = i;
        }
    }
    return file;
}

std::string WrittenLine(const IniLine& line) { return std::string(line.raw) + std::string(line.ending); }

std::string EditedSkinFile(const SkinFileLines& file, const LineEdit& edit) {
    std::string out(file.byte_order_mark);
    IniLineReader lines(file.body, kSkinFileLines);
    for (std::size_t i = 0; const std::optional<IniLine> line = lines.Next(); ++i) {
        if (std::optional<std::string> edited = edit(i, *line))
            out += *edited;
        else
            out.append(line->raw).append(line->ending);
    }
    return out;
}

}  // namespace pellox
