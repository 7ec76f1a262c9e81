#include "skininstall/archive_names.h"

#include <iconv.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "skin/skin_text.h"

namespace pellox {
namespace {

// The text converted by iconv, or nothing when the conversion fails.
std::optional<std::u32string> Decode(std::string_view bytes, const char* charset) {
    iconv_t cd = ::iconv_open("UTF-32LE", charset);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string in(bytes);
    std::vector<char> out(in.size() * 4 + 4);
    char* in_at = in.data();
    char* out_at = out.data();
    std::size_t in_left = in.size();
    std::size_t out_left = out.size();
    const std::size_t done = ::iconv(cd, &in_at, &in_left, &out_at, &out_left);
    ::iconv_close(cd);
    if (done == static_cast<std::size_t>(-1)) return std::nullopt;
    std::u32string text;
    for (const char* at = out.data(); at + 4 <= out_at; at += 4) {
        std::uint32_t c = 0;
        for (int i = 3; i >= 0; --i) c = (c << 8) | static_cast<std::uint8_t>(at[i]);
        text.push_back(static_cast<char32_t>(c));
    }
    return text;
}

bool IsRussianLetter(char32_t c) { return (c >= 0x0410 && c <= 0x044F) || c == 0x0401 || c == 0x0451; }

int RussianLetters(const std::optional<std::u32string>& text) {
    if (!text) return -1;
    int letters = 0;
    for (char32_t c : *text) letters += IsRussianLetter(c) ? 1 : 0;
    return letters;
}

bool IsDriveLetter(std::string_view part) {
    return part.size() == 2 && part[1] == ':' &&
           ((part[0] >= 'A' && part[0] <= 'Z') || (part[0] >= 'a' && part[0] <= 'z'));
}

}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string SkinTextToUtf8(const std::string& bytes) { return Utf16ToUtf8(DecodeSkinText(bytes)); }

std::string Utf16ToUtf8(const std::u16string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        AppendUtf8(out, c);
    }
    return out;
}

bool IsValidUtf8(std::string_view bytes) {
    return Decode(bytes, "UTF-8").has_value();
}

namespace {

// Valid UTF-8 by its bytes, and text someone would write: a short name in an
// old code page can pass for UTF-8 by chance ("ёлка" in CP866 is one letter
// of an unassigned plane), but never without C1 controls or such letters.
bool LooksLikeUtf8Text(std::string_view bytes) {
    const std::optional<std::u32string> text = Decode(bytes, "UTF-8");
    if (!text) return false;
    return std::none_of(text->begin(), text->end(),
                        [](char32_t c) { return (c >= 0x80 && c < 0xA0) || c >= 0x30000; });
}

}  // namespace

std::string ArchiveNameToUtf8(std::string_view bytes) {
    if (LooksLikeUtf8Text(bytes)) return std::string(bytes);
    const std::optional<std::u32string> dos = Decode(bytes, "CP866");
    const std::optional<std::u32string> windows = Decode(bytes, "CP1251");
    const std::optional<std::u32string>& chosen = RussianLetters(windows) > RussianLetters(dos) ? windows : dos;
    std::string out;
    if (!chosen) {
        // Every byte has a meaning in CP866, so this is a broken iconv;
        // a name of question marks still unpacks.
        for (unsigned char c : bytes) out += c < 0x80 ? static_cast<char>(c) : '?';
        return out;
    }
    for (char32_t c : *chosen) AppendUtf8(out, c);
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
