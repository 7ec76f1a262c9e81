#pragma once
// `pellox --check-skin FILE --watch`: the check's report printed again at
// every save of the skin file or of a picture or wave it names, for an author
// who edits the skin in a text editor beside the game.

#include <filesystem>
#include <ostream>

#include <QObject>

#include "skinwatch/skin_file_watcher.h"

namespace pellox {

class SkinCheckWatch : public QObject {
    Q_OBJECT
public:
    // start_folder: where the command was run (the current folder), from
    // which a skin without a dir of its own looks for its files.
    SkinCheckWatch(std::filesystem::path skin_file, std::filesystem::path start_folder, std::ostream& out);

    // Prints the first report and watches for saves.
    void Start();

signals:
    // A report has been printed; status as --check-skin gives it.
    void Reported(int status);

private:
    void Check(bool again);

    std::filesystem::path skin_file_;
    std::filesystem::path start_folder_;
    std::ostream& out_;
    SkinFileWatcher watcher_;
};

// Runs the watch in the application's event loop until the process is
// stopped (Ctrl+C).
int WatchSkinCheckCommand(const std::filesystem::path& skin_file, std::ostream& out);

}  // namespace pellox
