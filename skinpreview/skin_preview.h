#pragma once
// `pellox --preview-skin FILE.ini`: the game window with a skin applied,
// applied again whenever the author saves the skin file or a file it names,
// without restarting the game: the demo or a game in progress plays on, and
// the window takes the background's new size. A save that breaks an entry
// keeps what loaded last and lists why on the window until a good save.

#include <filesystem>
#include <memory>
#include <set>
#include <vector>

#include <QObject>
#include <QPointer>
#include <QStringList>

#include "engine/language.h"
#include "gamewindow/game_window.h"
#include "skin/skin_apply.h"
#include "skinpreview/changed_entries_target.h"
#include "skinpreview/preview_overlay.h"
#include "skinwatch/skin_file_watcher.h"

namespace pellox {

class SkinPreview : public QObject {
    Q_OBJECT
public:
    // start_folder: where relative paths start when the skin's dir names no
    // folder (the folder the game was started in); the process's current
    // folder is never changed.
    SkinPreview(GameWindow& window, std::filesystem::path skin_file, std::filesystem::path start_folder,
                InterfaceLanguage language);
    ~SkinPreview() override;

    // Prepares the window as a launch does, applies the skin (its sound
    // setting too, this once), sizes and shows the window and starts watching.
    void Start();

    // What the last apply could not load, one line each ("[CHUTES] eggUL1:
    // why"); empty when everything loaded.
    const QStringList& FailureLines() const { return failure_lines_; }
    PreviewOverlay& Overlay() { return *overlay_; }
    SkinFileWatcher& Watcher() { return watcher_; }

signals:
    // An apply has ended and what it changed is on the window.
    void Applied();

private:
    void Apply(bool first, const std::set<QString>& fired);

    GameWindow& window_;
    std::filesystem::path skin_file_;
    std::filesystem::path start_folder_;
    std::unique_ptr<SkinTarget> window_target_;
    ChangedEntriesTarget target_;
    QPointer<PreviewOverlay> overlay_;  // a child of the game window
    SkinFileWatcher watcher_;
    QStringList failure_lines_;
};

}  // namespace pellox
