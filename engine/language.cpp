#include "engine/language.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

namespace pellox {

InterfaceLanguage LanguageOfLocale(std::string_view locale_name) {
    // The language is the name's first part: "uk" of "uk_UA.UTF-8@euro".
    std::string language(locale_name.substr(0, locale_name.find_first_of("_-.@")));
    std::transform(language.begin(), language.end(), language.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    static constexpr std::array<std::string_view, 3> kReadRussian = {"ru", "uk", "be"};
    return std::find(kReadRussian.begin(), kReadRussian.end(), language) != kReadRussian.end()
               ? InterfaceLanguage::Russian
               : InterfaceLanguage::English;
}

InterfaceLanguage StartLanguage(std::optional<InterfaceLanguage> remembered, std::string_view locale_name) {
    return remembered ? *remembered : LanguageOfLocale(locale_name);
}

}  // namespace pellox
