#include "skincommands/skin_export.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <system_error>
#include <vector>

#include <QByteArray>
#include <QFile>
#include <QString>

#include "assets/sounds/builtin_sounds.h"
#include "assets/sprites/builtin_sprites.h"
#include "controls/control_keys.h"
#include "lcd/core/sprite_layout.h"
#include "skin/skin_entries.h"
#include "skin/skin_probe.h"
#include "skin/skin_text.h"

namespace pellox {
namespace {

constexpr std::string_view kHeader =
    "; Kestrow, the game built into Pellox, written out as a skin to start from.\n"
    "; Paint over the pictures in pictures/ and the waves in sounds/, or point the\n"
    "; entries below at files of your own; give the skin a title of its own, as the\n"
    "; start screen lists skins by title. Then check it and play it:\n"
    ";   pellox --check-skin pellox.ini\n"
    ";   pellox pellox.ini\n"
    ";\n"
    "; A picture entry is left,top,width,height,file: the box on the case where the\n"
    "; picture is drawn, in pixels from the top left of the background. Pictures\n"
    "; are Windows bitmaps; the colour of a picture's lower-left pixel is left out\n"
    "; (white in a 1-bit picture). A sound entry is a file: a PCM wave, 8 or 16\n"
    "; bits, mono or stereo. Files are looked for from dir, then beside this file;\n"
    "; \\ works as a folder separator and letter case need not match.\n";

// The keys are the game's own shorthand: each section says what its keys are.
const std::map<std::string_view, std::string_view>& SectionComments() {
    static const std::map<std::string_view, std::string_view> comments = {
        {"SETTINGS",
         "; ver: the skin format, 1.6 or later. title: the name in the menu, UTF-8 or\n"
         "; Windows-1251; titleGB: the English name. dir: the folder files are looked\n"
         "; for from. sound: 1 starts with sound on. key0 to key3: the keys for the\n"
         "; upper left, upper right, lower left and lower right chutes. Left out, the\n"
         "; keys are W, D, O, K (not the built-in W, O, D, K), so all four are written.\n"},
        {"BACK", "; The case with the empty screen. The window is its size plus 8 by 34 pixels.\n"},
        {"TIME",
         "; The AM and PM marks, the clock's colon and the four digits: d<segment><digit>,\n"
         "; segment 1 top, 2 upper left, 3 upper right, 4 middle, 5 lower left,\n"
         "; 6 lower right, 7 bottom; digit 1 the ones up to 4 the thousands.\n"},
        {"GAME", "; The buttons Game A, Game B, sound, Time and exit, and the Game A and B marks.\n"},
        {"ERRORS",
         "; The three miss marks; the smashed egg and its shell on the floor, left and\n"
         "; right; the chick's four steps as it runs off to either side.\n"},
        {"WOLF", "; The wolf facing left and right, and his basket at each chute.\n"},
        {"CHUTES", "; The eggs: egg<chute><place>, place 1 at the top of the chute to 5 at its mouth.\n"},
        {"HARE", "; The hare, and the bell that shows the sound is on.\n"},
        {"SOUNDS", "; A step in each chute, an egg caught, an egg missed, a chick's step, game over.\n"},
    };
    return comments;
}

std::string BoxOf(SpriteId sprite) {
    const Bounds& b = LayoutOf(sprite).bounds;
    return std::to_string(b.left) + "," + std::to_string(b.top) + "," + std::to_string(b.width) + "," +
           std::to_string(b.height);
}

std::string Utf8(char16_t key) { return QString(QChar(key)).toStdString(); }

// Writes bytes to a file that must not exist yet; gives why not, or an empty text.
std::string WriteNewFile(const std::filesystem::path& path, const char* bytes, std::size_t size) {
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) return path.string() + " exists already";
    std::ofstream file(path, std::ios::binary);
    if (file) file.write(bytes, static_cast<std::streamsize>(size));
    if (file) file.close();
    if (!file) return "cannot write " + path.string() + ": " + std::strerror(errno);
    return {};
}

// One file of the skin: where it goes, and the built-in resource it copies.
struct ExportedFile {
    std::string relative;  // as the skin file names it
    QString resource;
    bool picture = false;
};

}  // namespace

int ExportSkinCommand(const std::filesystem::path& dir, std::ostream& out, std::ostream& err) {
    if (dir.empty()) {
        err << "pellox: no folder named to export into\n";
        return 1;
    }
    std::error_code ec;
    if (std::filesystem::exists(dir, ec)) {
        if (!std::filesystem::is_directory(dir, ec)) {
            err << "pellox: " << dir.string() << " exists and is not a folder\n";
            return 1;
        }
        if (!std::filesystem::is_empty(dir, ec) || ec) {
            err << "pellox: " << dir.string()
                << (ec ? " cannot be read: " + ec.message() : std::string(" is not empty"))
                << "; export into a new or empty folder, so that nothing there is overwritten\n";
            return 1;
        }
    } else if (ec) {
        err << "pellox: cannot reach " << dir.string() << ": " << ec.message() << "\n";
        return 1;
    }
    for (const char* sub : {"pictures", "sounds"}) {
        std::filesystem::create_directories(dir / sub, ec);
        if (ec) {
            err << "pellox: cannot make the folder " << (dir / sub).string() << ": " << ec.message() << "\n";
            return 1;
        }
    }

    const ControlKeys keys;  // the built-in game's
    std::string text(kHeader);
    text += "\n[SETTINGS]\n";
    text += SectionComments().at("SETTINGS");
    text += "ver=" + std::string(kOldestSkinVersion) + "\n";
    text += "title=" + std::string(kExportedTitleSU) + "\n";
    text += "titleGB=" + std::string(kExportedTitleGB) + "\n";
    text += "dir=.\n";
    text += "sound=1\n";
    text += "key0=" + Utf8(keys.KeyUL) + "\n";
    text += "key1=" + Utf8(keys.KeyUR) + "\n";
    text += "key2=" + Utf8(keys.KeyDL) + "\n";
    text += "key3=" + Utf8(keys.KeyDR) + "\n";

    // The entries' own order keeps each section's keys together and gives the
    // sections in the order a skin lists them.
    std::vector<ExportedFile> files;
    std::string_view section;
    for (const SkinEntryGroup& group : SkinEntryGroups()) {
        for (const SkinEntry& entry : group) {
            if (entry.section != section) {
                section = entry.section;
                text += "\n[" + std::string(section) + "]\n";
                if (const auto comment = SectionComments().find(section); comment != SectionComments().end())
                    text += comment->second;
            }
            ExportedFile file;
            if (entry.sprite) {
                const std::string_view name = NameOf(*entry.sprite);
                file.relative = "pictures/" + std::string(name) + ".bmp";
                file.picture = true;
                file.resource = BuiltinSpritePath(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
                text += entry.key + "=" + BoxOf(*entry.sprite) + "," + file.relative + "\n";
            } else {
                file.relative = "sounds/" + std::string(EffectName(*entry.effect)) + ".wav";
                file.resource = QString::fromStdString(BuiltinSoundPath(*entry.effect));
                text += entry.key + "=" + file.relative + "\n";
            }
            files.push_back(std::move(file));
        }
    }

    InitBuiltinSprites();
    int pictures = 0;
    int sounds = 0;
    for (const ExportedFile& file : files) {
        QFile resource(file.resource);
        if (!resource.open(QIODevice::ReadOnly)) {
            err << "pellox: the built-in file " << file.resource.toStdString() << " is missing\n";
            return 1;
        }
        const QByteArray bytes = resource.readAll();
        if (std::string error = WriteNewFile(dir / file.relative, bytes.constData(), static_cast<std::size_t>(bytes.size()));
            !error.empty()) {
            err << "pellox: " << error << "\n";
            return 1;
        }
        ++(file.picture ? pictures : sounds);
    }
    // Last, so that an export cut short leaves no skin file that would fail.
    const std::filesystem::path skin_file = dir / kExportedSkinFile;
    if (std::string error = WriteNewFile(skin_file, text.data(), text.size()); !error.empty()) {
        err << "pellox: " << error << "\n";
        return 1;
    }

    out << "Wrote the built-in game as a skin to " << dir.string() << ":\n"
        << "  " << skin_file.string() << "\n"
        << "  " << (dir / "pictures").string() << "/ (" << pictures << " bitmaps)\n"
        << "  " << (dir / "sounds").string() << "/ (" << sounds << " waves)\n"
        << "Check it with:  pellox --check-skin " << skin_file.string() << "\n"
        << "Play it with:   pellox " << skin_file.string() << "\n";
    return 0;
}

}  // namespace pellox
