#include "skin/reason_russian.h"

namespace pellox {
namespace {

// The template with %1, %2, ... replaced in one pass, so that a file name
// holding "%2" stays as it is.
std::string Filled(std::string_view text, const std::vector<std::string>& captures) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
            const std::size_t n = static_cast<std::size_t>(text[i + 1] - '0');
            if (n <= captures.size()) {
                out += captures[n - 1];
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// The English text holds "; " itself, where other reasons are joined.
bool SpansSemicolon(const ReasonRule& rule) { return std::string_view(rule.english).find("; ") != std::string_view::npos; }

// The whole reason by one rule; nothing when none matches.
std::optional<std::string> ByRule(std::string_view reason, bool spanning_semicolon, const ReasonMatcher& matches) {
    const std::vector<ReasonRule>& rules = ReasonRules();
    for (std::size_t r = 0; r < rules.size(); ++r) {
        if (SpansSemicolon(rules[r]) != spanning_semicolon) continue;
        std::optional<std::vector<std::string>> captures = matches(r, reason);
        if (!captures) continue;
        const std::size_t nested = static_cast<std::size_t>(rules[r].nested);
        if (nested >= 1 && nested <= captures->size())
            (*captures)[nested - 1] = RussianReason((*captures)[nested - 1], matches);
        return Filled(rules[r].russian, *captures);
    }
    return std::nullopt;
}

}  // namespace

const std::vector<ReasonRule>& ReasonRules() {
    static const std::vector<ReasonRule> rules = {
        // What the launch and the picture and wave readers say of an entry.
        {R"re(beside the skin: (.+))re", "рядом с файлом скина: %1", 1},
        {R"re(not a picture: (.+))re", "не картинка: %1", 1},
        {R"re(the entry is missing)re", "записи нет"},
        {R"re(the sprite entry is missing)re", "записи картинки нет"},
        {R"re(no comma after field (\d) \((\w+)\): a sprite entry is left,top,width,height,path)re",
         "нет запятой после поля %1 (%2): запись картинки — это left,top,width,height,path"},
        {R"re(field (\d) \((\w+)\) is empty: it needs a number)re", "поле %1 (%2) пустое: нужно число"},
        {R"re(not a number in field (\d) \((\w+)\): only the digits 0 to 9 are allowed, no sign or space)re",
         "в поле %1 (%2) не число: допустимы только цифры от 0 до 9, без знака и пробелов"},
        {R"re(the number in field (\d) \((\w+)\) is larger than 2147483647)re", "число в поле %1 (%2) больше 2147483647"},
        {R"re(the box is larger than (\d+) pixels)re", "рамка больше %1 пикселей"},
        {R"re(the background is larger than (\d+) pixels)re", "фон больше %1 пикселей"},
        // Paths.
        {R"re(no such file: (".*") is a link to nothing)re", "нет такого файла: %1 — ссылка в никуда"},
        {R"re(no such file: (".*") is a loop of links)re", "нет такого файла: %1 — ссылки образуют петлю"},
        {R"re(no such file: (".*") is not a folder)re", "нет такого файла: %1 — не папка"},
        {R"re(no such file: no (".*") in (".*"))re", "нет такого файла: в %2 нет %1"},
        {R"re(no such file: (.+))re", "нет такого файла: %1"},
        {R"re(not a folder: (".*") ends with a separator but is a file)re",
         "не папка: %1 записан с косой чертой в конце, но это файл"},
        {R"re(not a folder: (".*"))re", "не папка: %1"},
        {R"re(not a regular file \(a folder\): (".*"))re", "не обычный файл (папка): %1"},
        {R"re(not a regular file \(a FIFO\): (".*"))re", "не обычный файл (канал FIFO): %1"},
        {R"re(not a regular file \(a device\): (".*"))re", "не обычный файл (устройство): %1"},
        {R"re(not a regular file \(a socket\): (".*"))re", "не обычный файл (сокет): %1"},
        {R"re(not a regular file \(of an unknown kind\): (".*"))re", "не обычный файл (неизвестного вида): %1"},
        {R"re(cannot reach (".*"): (.+))re", "нет доступа к %1: %2"},
        {R"re(cannot read the folder (".*"): (.+))re", "не удалось прочитать папку %1: %2"},
        {R"re(no file named)re", "файл не указан"},
        {R"re(a Windows drive letter \((..)\) has no meaning on Linux: name the file relative to the skin's dir)re",
         "буква диска Windows (%1) в Linux ничего не значит: укажите путь относительно папки dir скина"},
        {R"re(the file name holds a zero byte: (.*))re", "в имени файла есть нулевой байт: %1"},
        // Pictures.
        {R"re(the file cannot be opened)re", "файл не открывается"},
        {R"re(the file is empty)re", "файл пуст"},
        {R"re(the file has (\d+) bytes: pictures of at most (\d+) bytes are read)re",
         "в файле %1 байт: читаются картинки не больше %2 байт"},
        {R"re(the file cannot be read)re", "файл не читается"},
        {R"re(not a readable picture \(BMP, PNG, GIF and JPEG pictures are read\))re",
         "картинка не читается (читаются BMP, PNG, GIF и JPEG)"},
        {R"re(not a readable picture \(its header gives no size\))re", "картинка не читается (в заголовке нет размера)"},
        {R"re(not a readable picture)re", "картинка не читается"},
        {R"re(the bitmap's header is cut short)re", "заголовок BMP обрезан"},
        {R"re(an unknown kind of bitmap header \((\d+) bytes\))re", "неизвестный вид заголовка BMP (%1 байт)"},
        {R"re(the bitmap has no pixels \((-?\d+) x (-?\d+) pixels\))re", "в BMP нет пикселей (%1 × %2)"},
        {R"re(the (?:bitmap|picture) is (\d+) x (\d+) pixels: at most (\d+) pixels \(4096 x 4096\) are read)re",
         "картинка %1 × %2 пикселей: читается не больше %3 пикселей (4096 × 4096)"},
        {R"re((\d+) bits a pixel: bitmaps of 1, 4, 8, 16, 24 or 32 are read)re",
         "%1 бит на пиксель: читаются BMP с 1, 4, 8, 16, 24 или 32 битами"},
        {R"re(a compression \((\d+)\) that bitmaps of (\d+) bits a pixel do not have)re",
         "сжатие (%1), которого не бывает у BMP с %2 битами на пиксель"},
        {R"re(the bitmap claims (\d+) palette colours: at most 256)re", "в палитре BMP заявлено цветов: %1, а допустимо не больше 256"},
        {R"re(the bitmap's palette of (\d+) colours is cut short: it would end at byte (\d+) of (\d+))re",
         "палитра BMP из %1 цветов обрезана: она закончилась бы на байте %2 из %3"},
        {R"re(the bitmap's pixels would start at byte (\d+), past the end of its (\d+) bytes)re",
         "пиксели BMP начинались бы с байта %1, за концом файла из %2 байт"},
        {R"re(the bitmap's pixels are cut short: (\d+) bytes from byte (\d+), but the file has (\d+))re",
         "пиксели BMP обрезаны: %1 байт начиная с байта %2, а в файле всего %3"},
        // The skin file itself.
        {R"re((.+) cannot be reached: (.+))re", "%1 недоступен: %2"},
        {R"re((.+) is a folder, not a skin file)re", "%1 — папка, а не файл скина"},
        {R"re((.+) is not a regular file)re", "%1 — не обычный файл"},
        {R"re((.+) is too large for a skin file \(over 4 MiB\))re", "%1 слишком велик для файла скина (больше 4 МиБ)"},
        {R"re((.+) cannot be opened)re", "%1 не открывается"},
        {R"re((.+) cannot be read: (.+))re", "%1 не читается: %2"},
        {R"re((.+) cannot be read)re", "%1 не читается"},
        {R"re(\[SETTINGS\] has no ver: write ver=(.+))re", "в разделе [SETTINGS] нет ver: допишите ver=%1"},
        {R"re(ver=(.*) is older than (.+), the oldest the game reads \(versions compare as text, character by character\))re",
         "ver=%1 старше %2, самой старой версии, которую читает игра (версии сравниваются как текст, посимвольно)"},
        {R"re(\[SETTINGS\] has no title)re", "в разделе [SETTINGS] нет title"},
        {R"re(the title is the text that stands for no title)re", "title — это текст, который означает «без названия»"},
        {R"re(the game turns it down)re", "игра его не принимает"},
        // Waves.
        {R"re(Wave is invalid)re", "это не звук в формате WAVE"},
        {R"re(Stream read error)re", "файл короче, чем сказано в его заголовке"},
        {R"re(Cannot open file (.+))re", "не удалось открыть файл %1"},
        {R"re(Wave has too many chunks: more than (\d+))re", "в звуковом файле больше %1 блоков"},
        {R"re(Wave data too long for a sound effect: (\d+) bytes, at most (\d+))re",
         "звук слишком длинный для эффекта: %1 байт, допустимо не больше %2"},
        {R"re(the wave has no format block)re", "в звуке нет блока формата"},
        {R"re(not plain PCM \(format tag (\d+)\): save it as PCM)re", "не простой PCM (формат %1): сохраните звук как PCM"},
        {R"re((\d+) bits a sample: only 8 and 16 play)re", "%1 бит на отсчёт: играются только 8 и 16"},
        {R"re((\d+) channels: only mono and stereo play)re", "каналов: %1, а играются только моно и стерео"},
        {R"re(a rate of (\d+) Hz: 1000 to 192000 Hz play)re", "частота %1 Гц: играются частоты от 1000 до 192 000 Гц"},
        {R"re(a block size of (\d+) bytes where (\d+) fit the format)re",
         "размер блока %1 байт, а формату соответствует %2"},
        {R"re(the samples end in the middle of a frame)re", "отсчёты обрываются посреди кадра"},
        // The installer.
        {R"re((.+): no skin this game can use \(no \.ini skin file in it; it holds (.+)\))re",
         "%1: скина, пригодного для игры, нет (нет файла скина .ini; внутри: %2)"},
        {R"re((.+): no skin this game can use \(no \.ini skin file in it\))re",
         "%1: скина, пригодного для игры, нет (нет файла скина .ini)"},
        {R"re((.+): no skin this game can use \((\d+) \.ini files? found, none of them a skin\))re",
         "%1: скина, пригодного для игры, нет (найдено файлов .ini: %2, но ни один не скин)"},
        {R"re(the archive cannot be read)re", "архив не читается"},
        {R"re(the archive is damaged or not one this game reads: (.+))re",
         "архив повреждён или игра не читает архивы такого вида: %1"},
        {R"re(the archive holds more than (\d+) entries, too many for a skin)re",
         "в архиве больше %1 записей — для скина слишком много"},
        {R"re(the archive is empty, or damaged, or not one this game reads)re",
         "архив пуст, повреждён или игра не читает архивы такого вида"},
        {R"re(the entry "(.+)" would be written outside the skin's folder)re",
         "запись «%1» оказалась бы за пределами папки скина"},
        {R"re(passed over the link (.+): links are never unpacked)re", "пропущена ссылка %1: ссылки не распаковываются"},
        {R"re(passed over (.+): not a file or folder)re", "пропущено %1: не файл и не папка"},
        {R"re(the archive unpacks to more than (\d+) MiB, far more than a skin needs)re",
         "архив распаковывается больше чем в %1 МиБ — намного больше, чем нужно скину"},
        {R"re(the archive unpacks to more than (\d+) times its own size, which no skin does \(a zip bomb\?\))re",
         "архив распаковывается в объём, больше чем в %1 раз превышающий его размер; со скинами так не бывает "
         "(zip-бомба?)"},
        {R"re(out of memory)re", "не хватило памяти"},
        {R"re(not an archive this game reads \(zip, 7z, rar, tar\): (.+))re",
         "игра не читает такой архив (читаются zip, 7z, rar, tar): %1"},
        {R"re(nothing at (.+))re", "по пути %1 ничего нет"},
        {R"re(cannot make the skins folder (.+): (.+))re", "не удалось создать папку скинов %1: %2"},
        {R"re(cannot make the skins folder (.+))re", "не удалось создать папку скинов %1"},
        {R"re(cannot make the folder for (.+): (.+))re", "не удалось создать папку для %1: %2"},
        {R"re(cannot make the folder (.+): (.+))re", "не удалось создать папку %1: %2"},
        {R"re(cannot make (.+): (.+))re", "не удалось создать %1: %2"},
        {R"re(cannot write the skin file)re", "не удалось записать файл скина"},
        {R"re(cannot write in (.+): (.+))re", "не удалось записать в %1: %2"},
        {R"re(cannot write (.+): (.+))re", "не удалось записать %1: %2"},
        {R"re(cannot unpack (.+): (.+))re", "не удалось распаковать %1: %2"},
        {R"re(cannot read (.+): (.+))re", "не удалось прочитать %1: %2"},
        {R"re(cannot copy (.+): (.+))re", "не удалось скопировать %1: %2"},
        {R"re(cannot put the skin in place as (.+): (.+))re", "не удалось поместить скин в %1: %2"},
        {R"re(no folder to install skins in: neither XDG_DATA_HOME nor HOME is set)re",
         "некуда устанавливать скины: не заданы ни XDG_DATA_HOME, ни HOME"},
        {R"re(more than (\d+) files and folders, too many for a skin)re",
         "больше %1 файлов и папок — для скина слишком много"},
        {R"re(the skin's files are larger than the bound on what is installed)re",
         "файлы скина больше, чем разрешено устанавливать"},
    };
    return rules;
}

std::string RussianReason(std::string_view reason, const ReasonMatcher& matches) {
    // Reasons joined with "; " (a path tried in two places, a file with
    // several faults), each put into Russian on its own.
    const std::size_t semicolon = reason.find("; ");
    if (semicolon != std::string_view::npos && semicolon > 0) {
        if (std::optional<std::string> whole = ByRule(reason, true, matches)) return *whole;
        return RussianReason(reason.substr(0, semicolon), matches) + "; " +
               RussianReason(reason.substr(semicolon + 2), matches);
    }
    if (std::optional<std::string> whole = ByRule(reason, false, matches)) return *whole;
    // A place named before a reason ("pack/a.ini: ...").
    const std::size_t colon = reason.find(": ");
    if (colon != std::string_view::npos && colon > 0) {
        if (std::optional<std::string> tail = ByRule(reason.substr(colon + 2), false, matches))
            return std::string(reason.substr(0, colon + 2)) + *tail;
    }
    return std::string(reason);
}

}  // namespace pellox
