#include "skincommands/skin_check.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include <QFile>
#include <QImage>
#include <QString>

#include "lcd/picture_file.h"
#include "lcd/picture_set.h"
#include "media/core/byte_source.h"
#include "media/core/wave.h"
#include "skin/skin_apply.h"
#include "skin/skin_entries.h"
#include "skin/skin_file.h"
#include "skin/skin_path.h"
#include "skin/skin_probe.h"
#include "skin/skin_text.h"
#include "skin/sprite_entry.h"
#include "skincommands/terminal_text.h"

namespace pellox {
namespace {

constexpr std::string_view kNotTried = "not tried at launch: an earlier entry of its group failed";

std::string Utf8(const std::u16string& text) { return TerminalSafe(QString::fromStdU16String(text).toStdString()); }

// The key the launch gives a chute: the first character of the value, a to z
// in capitals; an empty value keeps the fallback.
struct ChuteKey {
    char16_t key;
    bool is_default;
};
ChuteKey ChuteKeyOf(const SkinFile& file, const std::string& value, int index, char16_t fallback) {
    const bool written = file.Find("SETTINGS", "key" + std::to_string(index)).has_value();
    if (DecodeSkinText(value).empty()) return {fallback, true};
    return {SkinControlKey(value, fallback), !written};
}

// A picture file's first bytes, enough to tell its format.
QByteArray FileHead(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(16) : QByteArray();
}

// The bits a pixel of a Windows bitmap file, from its header; nothing when
// the file is no Windows bitmap.
std::optional<int> BitmapBitsPerPixel(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray head = file.read(30);
    if (head.size() < 26 || !head.startsWith("BM")) return std::nullopt;
    auto u16 = [&](int at) {
        return static_cast<int>(static_cast<std::uint8_t>(head[at]) | (static_cast<std::uint8_t>(head[at + 1]) << 8));
    };
    // The oldest header (12 bytes) holds the bit count earlier than all later ones.
    const int header_size = u16(14) | (u16(16) << 16);
    if (header_size == 12) return u16(24);
    if (head.size() < 30) return std::nullopt;
    return u16(28);
}

std::string HexColour(QRgb colour) {
    return QStringLiteral("#%1").arg(colour & 0xFFFFFFu, 6, 16, QLatin1Char('0')).toStdString();
}

// Loads each entry as the game would, into nothing: the pictures into a
// scratch set, the waves into a scratch wave. Keeps a description of the last
// one that loaded.
class CheckingTarget final : public SkinTarget {
public:
    explicit CheckingTarget(const std::filesystem::path& skin_folder) : skin_folder_(skin_folder.lexically_normal()) {}

    Result<void> LoadSprite(SpriteId sprite, const SpriteEntry& e, const std::filesystem::path& file) override {
        description_.clear();
        if (Result<void> box = CheckSpriteBox(sprite, e); !box) return box;
        const QString path = QString::fromStdString(file.string());
        const bool transparent = LayoutOf(sprite).transparent;
        const Result<void> picture = scratch_.LoadPicture(sprite, path, transparent);
        if (!picture) return Failure("not a picture: " + picture.reason());
        description_ = TerminalSafe(Shown(file)) + " " + DescribePicture(e, path, transparent);
        return {};
    }

    Result<void> LoadSound(Effect, const std::filesystem::path& file) override {
        description_.clear();
        Result<std::unique_ptr<FileSource>> source = FileSource::Open(file.string());
        if (!source) return Failure(source.reason());
        TWave wave;
        if (const Result<void> read = wave.LoadWaveImage(**source); !read)
            return Failure("not a readable wave file: " + read.reason());
        if (const Result<void> playable = CheckPlayableFormat(wave); !playable)
            return Failure("cannot be played: " + playable.reason());
        description_ = TerminalSafe(Shown(file)) + " (" + DescribeWave(wave) + ")";
        return {};
    }

    const std::string& Description() const { return description_; }

private:
    // The picture as a skin's author sees it in a paint program. Decoded again
    // here because the scratch set keeps only the drawable form.
    static std::string DescribePicture(const SpriteEntry& e, const QString& path, bool transparent) {
        // Read as the game reads it, so that the colour reported is the one it sees.
        const Result<QImage> read = ReadPictureFile(path);
        const QImage picture = read ? *read : QImage();
        // Appended piece by piece: g++ 12 warns falsely (-Wrestrict) on "(" + std::string.
        std::string text = "(";
        text += std::to_string(picture.width()) + "x" + std::to_string(picture.height()) + ", ";
        if (const std::optional<int> bits = BitmapBitsPerPixel(path))
            text += std::to_string(*bits) + "-bit bitmap";
        else
            text += PictureFormat(FileHead(path)).toStdString() +
                    " picture, not a Windows bitmap (this game reads it, others may not)";
        if (transparent) text += ", see-through colour " + HexColour(KeyColourOf(picture));
        text += ") in box " + std::to_string(e.left) + "," + std::to_string(e.top) + "," + std::to_string(e.width) +
                "," + std::to_string(e.height);
        if (picture.width() > e.width || picture.height() > e.height)
            text += "; note: the picture is larger than its box, which cuts it";
        else if (picture.width() < e.width || picture.height() < e.height)
            text += "; note: the picture is smaller than its box, which shows what lies under it in the rest";
        return text;
    }

    static std::string DescribeWave(const TWave& wave) {
        PcmFormat pcm;
        wave.ReadPcmFormat(pcm);  // a playable wave has one
        const std::uint64_t bytes_per_second = std::uint64_t{pcm.block_align} * pcm.samples_per_second;
        const std::uint64_t length_ms = static_cast<std::uint64_t>(wave.DataSize()) * 1000 / bytes_per_second;
        return std::string(pcm.channels == 1 ? "mono" : "stereo") + ", " + std::to_string(pcm.bits_per_sample) +
               " bits, " + std::to_string(pcm.samples_per_second) + " Hz, " + std::to_string(length_ms) + " ms";
    }

    // From the skin's folder when the file lies in it: shorter than the
    // whole path, and the same wherever the check was started.
    std::string Shown(const std::filesystem::path& file) const {
        std::error_code ec;
        const std::filesystem::path whole = std::filesystem::absolute(file, ec).lexically_normal();
        const std::filesystem::path inside = whole.lexically_relative(skin_folder_);
        if (inside.empty() || *inside.begin() == "..") return whole.string();
        return inside.string();
    }

    std::filesystem::path skin_folder_;
    PictureSet scratch_;
    std::string description_;
};

void ReportSettings(const SkinFile& skin, const SkinSettings& settings, std::ostream& out) {
    out << "Title: " << Utf8(DecodeSkinText(settings.title)) << "\n";
    if (const std::optional<std::string_view> gb = skin.Find("SETTINGS", "titleGB"); gb && *gb != NoTitleMarker)
        out << "English title: " << Utf8(DecodeSkinText(std::string(*gb))) << "\n";
    else
        out << "English title: none (the English menu shows the title)\n";
    const std::optional<std::string_view> ver = skin.Find("SETTINGS", "ver");
    out << "Version: " << (ver ? TerminalSafe(*ver) : std::string("none")) << "\n";

    static constexpr std::array<std::string_view, 4> kChutes = {"upper left", "upper right", "lower left",
                                                                "lower right"};
    out << "Keys:";
    for (int i = 0; i < 4; ++i) {
        const auto index = static_cast<std::size_t>(i);
        const ChuteKey key = ChuteKeyOf(skin, settings.keys[index], i, kSkinDefaultKeys[index]);
        out << (i == 0 ? " " : ", ") << kChutes[index] << " " << Utf8(std::u16string(1, key.key))
            << (key.is_default ? " (default)" : "");
    }
    out << "\n";
    if (settings.sound_on)
        out << "Sound: on at start\n";
    else
        out << "Sound: off at start (sound=1 turns it on)\n";
}

// A folder as the player finds it: whole, links resolved.
std::string Whole(const std::filesystem::path& folder) {
    std::error_code ec;
    const std::filesystem::path whole = std::filesystem::weakly_canonical(
        folder.empty() ? std::filesystem::current_path(ec) : folder, ec);
    return (ec ? folder : whole).string();
}

// Where the launch looks for the skin's files, and says so.
std::filesystem::path ReportDir(const std::string& dir, const std::filesystem::path& skin_folder, std::ostream& out) {
    out << "Dir: " << TerminalSafe(dir);
    const ResolvedSkinPath folder = ResolveSkinDir(dir, skin_folder);
    if (folder.ok())
        out << " (files are looked for from " << TerminalSafe(Whole(*folder)) << ")\n";
    else
        out << " (not found: " << TerminalSafe(folder.reason())
            << "; files are looked for from the folder the game was started in)\n";
    const std::filesystem::path work = folder.ok() ? *folder : std::filesystem::path();
    out << "Files are looked for from " << TerminalSafe(Whole(work)) << ", then beside the skin in "
        << TerminalSafe(skin_folder.string()) << "; below, a file in the skin's folder is named from there\n";
    return work;
}

// What the game does with a file that is no skin.
constexpr std::string_view kLeftOut =
    "the menu leaves it out, and named on the command line it is reported and the menu is filled by the search";

}  // namespace

int CheckSkinCommand(const std::filesystem::path& file, std::ostream& out) { return CheckSkin(file, out).status; }

std::vector<SkinEntryFailure> SkinLaunchProblems(const std::filesystem::path& file) {
    std::ostringstream report;
    return CheckSkin(file, report).problems;
}

SkinCheckOutcome CheckSkin(const std::filesystem::path& file, std::ostream& out) {
    SkinCheckOutcome outcome;
    out << "Skin file: " << TerminalSafe(file.string()) << "\n";
    LoadedSkinFile loaded = LoadSkinFile(file);
    if (!loaded) {
        out << "Usable: no: it cannot be read: " << TerminalSafe(loaded.reason()) << "\n"
            << "Summary: not a skin; " << kLeftOut << "\n";
        outcome.problems.push_back({"", "", loaded.reason()});
        return outcome;
    }
    const SkinFile& skin = *loaded;

    const bool usable = ProbeSkin(skin).usable;
    if (usable) {
        out << "Usable: yes\n";
    } else {
        std::vector<std::string> reasons = SkinUnusableReasons(skin);
        if (reasons.empty()) reasons.push_back("the game turns it down");
        out << "Usable: no:";
        for (std::size_t i = 0; i < reasons.size(); ++i) out << (i == 0 ? " " : "; ") << TerminalSafe(reasons[i]);
        out << "\n";
        for (const std::string& reason : reasons) outcome.problems.push_back({"", "", reason});
    }

    const SkinSettings settings = ReadSkinSettings(skin);
    ReportSettings(skin, settings, out);
    std::error_code ec;
    const std::filesystem::path skin_folder = std::filesystem::absolute(file, ec).parent_path();
    const SkinFolders folders{ReportDir(settings.dir, skin_folder, out), skin_folder};

    out << "Entries:\n";
    CheckingTarget target(skin_folder);
    int entries = 0;
    int failed = 0;
    for (const SkinEntryGroup& group : SkinEntryGroups()) {
        bool group_failed = false;
        for (const SkinEntry& entry : group) {
            ++entries;
            const Result<void> applied = ApplySkinEntry(skin, entry, folders, target);
            const std::string& reason = applied.reason();
            out << "  [" << entry.section << "] " << entry.key << ": ";
            if (applied) {
                out << "loaded";
                if (group_failed) out << ", but " << kNotTried << ":";
                out << " " << target.Description() << "\n";
                continue;
            }
            ++failed;
            out << "FAILED: " << TerminalSafe(reason);
            if (group_failed) out << " (" << kNotTried << ")";
            out << "\n";
            group_failed = true;
            outcome.problems.push_back({std::string(entry.section), entry.key, reason});
        }
    }

    out << "Summary: ";
    if (usable && failed == 0) {
        out << "the skin would launch: all " << entries << " entries load\n";
        outcome.status = 0;
        return outcome;
    }
    if (!usable) {
        out << "not a usable skin; " << kLeftOut << "; of its entries, ";
        if (failed == 0)
            out << "all " << entries << " load\n";
        else
            out << failed << " of " << entries << " fail\n";
        return outcome;
    }
    out << failed << " of " << entries
        << " entries fail, so a launch would name them and return to the start screen\n";
    return outcome;
}

}  // namespace pellox
