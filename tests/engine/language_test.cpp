// The language the start screen opens in, from the player's last choice or
// the system's locale.
#include "engine/language.h"

#include <gtest/gtest.h>

namespace pellox {
namespace {

constexpr InterfaceLanguage kRu = InterfaceLanguage::Russian;
constexpr InterfaceLanguage kEn = InterfaceLanguage::English;

TEST(LanguageTest, TheLocaleDecidesWhenNothingIsRemembered) {
    struct Case {
        const char* locale;
        InterfaceLanguage expected;
    };
    const Case cases[] = {
        {"ru_RU", kRu}, {"uk_UA", kRu}, {"be_BY", kRu}, {"ru_UA", kRu}, {"ru", kRu},
        // As the system may spell them: with an encoding, a modifier, a dash, capitals.
        {"ru_RU.UTF-8", kRu}, {"uk_UA.KOI8-U", kRu}, {"be_BY@latin", kRu}, {"uk-UA", kRu}, {"RU_ru", kRu},
        {"en_GB", kEn}, {"en_US.UTF-8", kEn}, {"de_DE", kEn}, {"kk_KZ", kEn}, {"C", kEn}, {"C.UTF-8", kEn},
        {"POSIX", kEn}, {"", kEn},
        // Only the whole language part counts.
        {"rue_UA", kEn}, {"bem_ZM", kEn}, {"r", kEn},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LanguageOfLocale(c.locale), c.expected) << '"' << c.locale << '"';
        EXPECT_EQ(StartLanguage(std::nullopt, c.locale), c.expected) << '"' << c.locale << '"';
    }
}

TEST(LanguageTest, TheRememberedChoiceWinsOverTheLocale) {
    for (const char* locale : {"ru_RU", "en_GB", "C"}) {
        EXPECT_EQ(StartLanguage(kEn, locale), kEn) << locale;
        EXPECT_EQ(StartLanguage(kRu, locale), kRu) << locale;
    }
}

}  // namespace
}  // namespace pellox
