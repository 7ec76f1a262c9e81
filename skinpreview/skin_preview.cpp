#include "skinpreview/skin_preview.h"

#include "skin/skin_entries.h"
#include "skin/skin_file.h"
#include "skin/skin_probe.h"
#include "skin/skin_watch_list.h"
#include "startscreen/launch.h"

namespace pellox {
namespace {

// "[SECTION] key: why", or "[SECTION]: why" for the file's settings as a whole.
QString Line(const std::string& section, const std::string& key, const std::string& reason) {
    std::string line = "[" + section + "]";
    if (!key.empty()) line += " " + key;
    line += ": ";
    line += reason;
    return QString::fromStdString(line);
}

// The size the window takes for its background, as the launch sizes it.
QSize SizeForBackground(TMForm& form) {
    const Bounds& bg = form.Sprites().BoundsOf(SpriteId::imBckgrnd);
    return {bg.width + 8, bg.height + 34};
}

}  // namespace

SkinPreview::SkinPreview(GameWindow& window, std::filesystem::path skin_file, std::filesystem::path start_folder,
                         InterfaceLanguage language)
    : window_(window),
      skin_file_(std::move(skin_file)),
      start_folder_(std::move(start_folder)),
      window_target_(MakeGameWindowSkinTarget(window)),
      target_(*window_target_),
      overlay_(new PreviewOverlay(window.Form(), window.Sound(), language)) {
    connect(&watcher_, &SkinFileWatcher::Changed, this,
            [this](const std::set<QString>& fired) { Apply(false, fired); });
}

SkinPreview::~SkinPreview() { delete overlay_.data(); }

void SkinPreview::Start() {
    PrepareLaunch(window_);
    Apply(true, {});
    FinishLaunch(window_);
    window_.Form().show();
    window_.Form().activateWindow();
}

void SkinPreview::Apply(bool first, const std::set<QString>& fired) {
    // Stamped before the read: a save between the read and the watch is seen.
    const FileStamp skin_stamp = StampOf(skin_file_);
    LoadedSkinFile loaded = LoadSkinFile(skin_file_);
    QStringList lines;
    SkinFolders folders{};
    if (!loaded) {
        // Half saved, renamed away for a moment, or broken: what loaded stays.
        lines << QString::fromStdString(skin_file_.filename().string() + ": " + loaded.reason());
        folders = SkinFoldersFor(skin_file_, ".", start_folder_);
    } else {
        const SkinFile& skin = *loaded;
        // The menu would not list it; the preview shows it all the same.
        for (const std::string& reason : SkinUnusableReasons(skin)) lines << Line("SETTINGS", "", reason);
        const SkinSettings settings = ReadSkinSettings(skin);
        folders = SkinFoldersFor(skin_file_, settings.dir, start_folder_);
        // The sound setting is where a game starts; later saves leave the
        // player's sound as it is.
        if (first && !settings.sound_on) window_.Controls().imButtSClick();
        ApplySkinTitleAndKeys(window_, settings);

        std::set<std::filesystem::path> fired_files;
        for (const QString& file : fired) fired_files.insert(std::filesystem::path(file.toStdString()).lexically_normal());
        target_.StartPass(std::move(fired_files));
        // Every entry, not only the first failure of each group as a launch
        // does: the author wants to see all that is wrong.
        for (const SkinEntryGroup& group : SkinEntryGroups())
            for (const SkinEntry& entry : group)
                if (const Result<void> applied = ApplySkinEntry(skin, entry, folders, target_); !applied)
                    lines << Line(std::string(entry.section), entry.key, applied.reason());
        if (!first && window_.Form().size() != SizeForBackground(window_.Form())) window_.Form().ResizeToBackground();
    }
    failure_lines_ = lines;
    overlay_->ShowFailures(lines);
    overlay_->update();  // boxes and sizes the views show may have moved
    watcher_.Watch(SkinWatchListFor(skin_file_, loaded ? &*loaded : nullptr, folders, start_folder_));
    if (StampOf(skin_file_) != skin_stamp || target_.AnyFileChangedSinceRead()) watcher_.TellChangeSoon();
    emit Applied();
}

}  // namespace pellox
