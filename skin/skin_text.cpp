#include "skin/skin_text.h"

#include <optional>
#include <string_view>

#include "skin/ascii_text.h"

namespace pellox {
namespace {

// Windows-1251 from 0x80 to 0xBF; 0xC0 to 0xFF are А to я in order. 0x98 has
// no letter and stands for itself, as the usual converters take it.
constexpr std::array<char16_t, 64> kCp1251Upper = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

std::u16string DecodeCp1251(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80)
            text.push_back(b);
        else if (b < 0xC0)
            text.push_back(kCp1251Upper[b - 0x80]);
        else
            text.push_back(static_cast<char16_t>(0x0410 + (b - 0xC0)));
    }
    return text;
}

void AppendUtf16(std::u16string& text, char32_t code) {
    if (code < 0x10000) {
        text.push_back(static_cast<char16_t>(code));
        return;
    }
    code -= 0x10000;
    text.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
    text.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
}

// Strict UTF-8 (Utf8SequenceAt); nothing when the bytes are not UTF-8.
std::optional<std::u16string> DecodeUtf8(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    while (!bytes.empty()) {
        char32_t code = 0;
        const std::size_t length = Utf8SequenceAt(bytes, code);
        if (length == 0) return std::nullopt;
        AppendUtf16(text, code);
        bytes.remove_prefix(length);
    }
    return text;
}

}  // namespace

std::size_t Utf8SequenceAt(std::string_view text, char32_t& code) {
    if (text.empty()) return 0;
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead < 0x80) {
        code = lead;
        return 1;
    }
    std::size_t length = 0;
    char32_t smallest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, code = lead & 0x1F, smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, code = lead & 0x0F, smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, code = lead & 0x07, smallest = 0x10000;
    } else {
        return 0;
    }
    if (text.size() < length) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[k]);
        if ((next & 0xC0) != 0x80) return 0;
        code = (code << 6) | (next & 0x3F);
    }
    if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

std::u16string DecodeSkinText(const std::string& bytes) {
    std::string_view view = bytes;
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (std::optional<std::u16string> utf8 = DecodeUtf8(view)) {
        if (view.starts_with(kByteOrderMark)) utf8->erase(0, 1);
        return *utf8;
    }
    return DecodeCp1251(view);
}

char16_t SkinControlKey(const std::string& value, char16_t fallback) {
    const std::u16string text = DecodeSkinText(value);
    return text.empty() ? fallback : AsciiUpper(text.front());
}

}  // namespace pellox
