#include "skinwatch/skin_file_watcher.h"

#include <QStringList>

namespace pellox {
namespace {

QString ToQString(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

// What is to be watched and is not, and what is watched and no longer to be.
void Retarget(QFileSystemWatcher& watcher, const QStringList& watched, const std::set<std::filesystem::path>& wanted) {
    QStringList add;
    std::set<QString> keep;
    for (const std::filesystem::path& path : wanted) {
        const QString name = ToQString(path);
        keep.insert(name);
        if (!watched.contains(name)) add << name;
    }
    QStringList remove;
    for (const QString& name : watched)
        if (!keep.count(name)) remove << name;
    if (!remove.isEmpty()) watcher.removePaths(remove);
    // A path that does not exist (yet) is refused; the next Watch tries again.
    if (!add.isEmpty()) watcher.addPaths(add);
}

}  // namespace

SkinFileWatcher::SkinFileWatcher(QObject* parent) : QObject(parent) {
    quiet_.setSingleShot(true);
    quiet_.setTimerType(Qt::PreciseTimer);
    connect(&quiet_, &QTimer::timeout, this, &SkinFileWatcher::EndBurst);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &SkinFileWatcher::OnEvent);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this](const QString&) { OnEvent({}); });
}

void SkinFileWatcher::Watch(const SkinWatchList& list) {
    Retarget(watcher_, watcher_.directories(), list.folders);
    Retarget(watcher_, watcher_.files(), list.files);
}

void SkinFileWatcher::TellChangeSoon() { OnEvent({}); }

void SkinFileWatcher::OnEvent(const QString& file) {
    if (!file.isEmpty()) fired_.insert(file);
    if (!quiet_.isActive()) burst_.start();
    const auto left = kLongestBurst - std::chrono::milliseconds(burst_.elapsed());
    quiet_.start(std::max(std::chrono::milliseconds(0), std::min(kQuiet, left)));
}

void SkinFileWatcher::EndBurst() {
    std::set<QString> files;
    files.swap(fired_);
    emit Changed(files);
}

}  // namespace pellox
