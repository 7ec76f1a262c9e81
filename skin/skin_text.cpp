#include "skin/skin_text.h"

#include <optional>
#include <string_view>

#include "skin/ascii_text.h"
#include "skin/code_pages.h"

namespace pellox {

std::u16string DecodeSkinText(const std::string& bytes) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    std::u16string text;
    text.reserve(bytes.size());
    if (const std::optional<std::u32string> utf8 = DecodeUtf8(bytes)) {
        const bool marked = bytes.starts_with(kByteOrderMark);
        for (auto c = utf8->begin() + (marked ? 1 : 0); c != utf8->end(); ++c) AppendUtf16(text, *c);
        return text;
    }
    for (const char c : bytes) AppendUtf16(text, Cp1251Character(static_cast<unsigned char>(c)));
    return text;
}

std::string SkinTextToUtf8(const std::string& bytes) { return Utf16ToUtf8(DecodeSkinText(bytes)); }

char16_t SkinControlKey(const std::string& value, char16_t fallback) {
    const std::u16string text = DecodeSkinText(value);
    return text.empty() ? fallback : AsciiUpper(text.front());
}

}  // namespace pellox
