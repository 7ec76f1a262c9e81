#include "skincommands/skin_check_watch.h"

#include <system_error>

#include <QCoreApplication>
#include <QTime>

#include "skin/skin_apply.h"
#include "skin/skin_file.h"
#include "skin/skin_watch_list.h"
#include "skincommands/skin_check.h"

namespace pellox {

SkinCheckWatch::SkinCheckWatch(std::filesystem::path skin_file, std::filesystem::path start_folder, std::ostream& out)
    : skin_file_(std::move(skin_file)), start_folder_(std::move(start_folder)), out_(out) {
    connect(&watcher_, &SkinFileWatcher::Changed, this, [this] { Check(true); });
}

void SkinCheckWatch::Start() { Check(false); }

void SkinCheckWatch::Check(bool again) {
    if (again)
        out_ << "\n--- " << QTime::currentTime().toString(QStringLiteral("HH:mm:ss")).toStdString()
             << ": saved, checked again ---\n";
    const int status = CheckSkinCommand(skin_file_, out_);

    // Watched before the report says so: a save right after it is seen.
    const LoadedSkinFile loaded = LoadSkinFile(skin_file_);
    const std::string dir = loaded ? ReadSkinSettings(*loaded).dir : std::string(".");
    const SkinFolders folders = SkinFoldersFor(skin_file_, dir, start_folder_);
    watcher_.Watch(SkinWatchListFor(skin_file_, loaded ? &*loaded : nullptr, folders, start_folder_));
    out_ << "Watching " << skin_file_.string() << " and the files it names; Ctrl+C ends.\n" << std::flush;
    emit Reported(status);
}

int WatchSkinCheckCommand(const std::filesystem::path& skin_file, std::ostream& out) {
    std::error_code ec;
    SkinCheckWatch watch(skin_file, std::filesystem::current_path(ec), out);
    watch.Start();
    return QCoreApplication::exec();
}

}  // namespace pellox
