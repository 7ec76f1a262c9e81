#pragma once
// The start screen's captions and the words of its boxes that the desktop and
// the page both show, in each language: written once here. %1 stands for
// what the text is about (a quoted name, a count).

#include "engine/language.h"

namespace pellox {

struct StartTexts {
    const char* window_caption;
    const char* start_button;
    // The skin menu's caption while the player chooses (SkinMenuState::Choosing).
    const char* menu_choosing;
    const char* install_skin;
    // A name in the language's quotation marks.
    const char* quoted;
    // A list cut short: how many more lines there are.
    const char* and_more;
    const char* launch_failed_title;
    const char* not_loaded;
    const char* choose_another;
    const char* install_failed_title;
    const char* nothing_installed_from;
    const char* rejected_heading;
    const char* no_skin_file;
};

inline constexpr StartTexts kStartTextsRussian{
    "Pellox — версия 1.8",
    "Да, я это уже сто раз видел! Всё прочитал!! Дайте поиграть!!!",
    " Выберите скин ",
    "Установить скин…",
    "«%1»",
    "…и ещё %1.",
    "Скин не запустился",
    "Не загрузилось:",
    "Выберите другой скин или встроенную игру.",
    "Скин не установился",
    "Из %1 не удалось установить ни одного скина.",
    "Найденные файлы скинов и почему они не подошли:",
    "Файла скина там нет: скин — это файл .ini, в разделе [SETTINGS] которого указаны ver и title.",
};

inline constexpr StartTexts kStartTextsEnglish{
    "Pellox – version 1.8",
    "Yes, I’ve seen this thousands of times! Read it all through!! Let me play!!!",
    " Choose a skin ",
    "Install a skin…",
    "‘%1’",
    "…and %1 more.",
    "The skin did not start",
    "What could not be loaded:",
    "Choose another skin or the built-in game.",
    "The skin was not installed",
    "No skin could be installed from %1.",
    "Skin files found there, and why each was left out:",
    "There is no skin file in it: a skin is an .ini file whose [SETTINGS] section gives its ver and title.",
};

constexpr const StartTexts& StartTextsIn(InterfaceLanguage language) {
    return IsRussian(language) ? kStartTextsRussian : kStartTextsEnglish;
}

}  // namespace pellox
