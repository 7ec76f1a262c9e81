#include "skininstall/archive_names.h"

#include <algorithm>
#include <optional>

#include "skin/code_pages.h"

namespace pellox {
namespace {

std::u32string Decoded(std::string_view bytes, char32_t (*character_of)(unsigned char)) {
    std::u32string text;
    for (const char c : bytes) text.push_back(character_of(static_cast<unsigned char>(c)));
    return text;
}

bool IsRussianLetter(char32_t c) { return (c >= 0x0410 && c <= 0x044F) || c == 0x0401 || c == 0x0451; }

int RussianLetters(const std::u32string& text) {
    return static_cast<int>(std::count_if(text.begin(), text.end(), IsRussianLetter));
}

bool IsDriveLetter(std::string_view part) {
    return part.size() == 2 && part[1] == ':' &&
           ((part[0] >= 'A' && part[0] <= 'Z') || (part[0] >= 'a' && part[0] <= 'z'));
}

// Valid UTF-8 by its bytes, and text someone would write: a short name in an
// old code page can pass for UTF-8 by chance ("ёлка" in CP866 is one letter
// of an unassigned plane), but never without C1 controls or such letters.
bool LooksLikeUtf8Text(std::string_view bytes) {
    const std::optional<std::u32string> text = DecodeUtf8(bytes);
    if (!text) return false;
    return std::none_of(text->begin(), text->end(),
                        [](char32_t c) { return (c >= 0x80 && c < 0xA0) || c >= 0x30000; });
}

}  // namespace

std::string ArchiveNameToUtf8(std::string_view bytes) {
    if (LooksLikeUtf8Text(bytes)) return std::string(bytes);
    const std::u32string dos = Decoded(bytes, Cp866Character);
    // 0x98 has no letter in Windows-1251: a name holding it is not Windows-1251.
    const bool windows_possible = bytes.find('\x98') == std::string_view::npos;
    const std::u32string windows = windows_possible ? Decoded(bytes, Cp1251Character) : std::u32string();
    const std::u32string& chosen = windows_possible && RussianLetters(windows) > RussianLetters(dos) ? windows : dos;
    std::string out;
    for (char32_t c : chosen) AppendUtf8(out, c);
    return out;
}

std::optional<std::filesystem::path> SafeRelativePath(std::string_view name) {
    if (name.empty() || name.front() == '/' || name.front() == '\\') return std::nullopt;
    std::filesystem::path path;
    std::size_t start = 0;
    bool first = true;
    while (start <= name.size()) {
        std::size_t end = name.find_first_of("/\\", start);
        if (end == std::string_view::npos) end = name.size();
        const std::string_view part = name.substr(start, end - start);
        if (part == "..") return std::nullopt;
        if (first && IsDriveLetter(part)) return std::nullopt;
        if (part.find('\0') != std::string_view::npos) return std::nullopt;
        if (!part.empty() && part != ".") path /= std::string(part);
        first = false;
        start = end + 1;
    }
    if (path.empty()) return std::nullopt;
    return path;
}

}  // namespace pellox
