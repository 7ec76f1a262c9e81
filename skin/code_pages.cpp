#include "skin/code_pages.h"

#include <array>

namespace pellox {
namespace {

// Windows-1251 from 0x80 to 0xBF; 0xC0 to 0xFF are А to я in order.
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

// CP866 from 0xB0 to 0xDF (the box drawing between а..п and р..я) and from
// 0xF0 on; 0x80 to 0xAF are А to п and 0xE0 to 0xEF р to я.
constexpr std::array<char16_t, 48> kCp866Boxes = {
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
};
constexpr std::array<char16_t, 16> kCp866Last = {
    0x0401, 0x0451, 0x0404, 0x0454, 0x0407, 0x0457, 0x040E, 0x045E,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x2116, 0x00A4, 0x25A0, 0x00A0,
};

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

std::optional<std::u32string> DecodeUtf8(std::string_view bytes) {
    std::u32string text;
    text.reserve(bytes.size());
    while (!bytes.empty()) {
        char32_t code = 0;
        const std::size_t length = Utf8SequenceAt(bytes, code);
        if (length == 0) return std::nullopt;
        text.push_back(code);
        bytes.remove_prefix(length);
    }
    return text;
}

bool IsValidUtf8(std::string_view bytes) {
    char32_t code = 0;
    while (!bytes.empty()) {
        const std::size_t length = Utf8SequenceAt(bytes, code);
        if (length == 0) return false;
        bytes.remove_prefix(length);
    }
    return true;
}

char32_t Cp1251Character(unsigned char byte) {
    if (byte < 0x80) return byte;
    if (byte < 0xC0) return kCp1251Upper[byte - 0x80];
    return 0x0410 + (byte - 0xC0);
}

char32_t Cp866Character(unsigned char byte) {
    if (byte < 0x80) return byte;
    if (byte < 0xB0) return 0x0410 + (byte - 0x80);
    if (byte < 0xE0) return kCp866Boxes[byte - 0xB0];
    if (byte < 0xF0) return 0x0440 + (byte - 0xE0);
    return kCp866Last[byte - 0xF0];
}

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

void AppendUtf16(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out.push_back(static_cast<char16_t>(c));
        return;
    }
    c -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
}

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

}  // namespace pellox
