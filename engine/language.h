#pragma once
// The interface language: chosen on the start screen, remembered between
// runs, and at the very first start taken from the system's language.

#include <optional>
#include <string_view>

namespace pellox {

// The values are those the game has always used: Russian 1, English 0.
enum class InterfaceLanguage { English = 0, Russian = 1 };

// Whether texts are given in Russian: what every caption and box asks.
constexpr bool IsRussian(InterfaceLanguage language) { return language == InterfaceLanguage::Russian; }

// The language for a locale name as the system gives it ("ru_RU",
// "uk_UA.UTF-8", "be-BY", "en_GB", "C"): Russian for Russian, Ukrainian and
// Belarusian, whose readers read Russian more readily than English; English
// for every other language, for "C", "POSIX" and for no name at all.
InterfaceLanguage LanguageOfLocale(std::string_view locale_name);

// The language the start screen opens in: the player's last choice when one
// was remembered, else the locale's.
InterfaceLanguage StartLanguage(std::optional<InterfaceLanguage> remembered, std::string_view locale_name);

}  // namespace pellox
