#pragma once
// Tells when a skin's files change: the skin file, the pictures and waves it
// names and the folders they lie in (inotify, through QFileSystemWatcher).
//
// An editor's save is a burst of events: a write in several pieces, or a new
// file written, the old one renamed away and the new one renamed into place.
// The burst is told once, when no event has come for a few milliseconds (and
// at the latest a little after its first event, so that a stream of writes
// cannot hold the change back), with the watched files that fired in it. A
// file renamed over drops out of inotify's watch: Watch() again after each
// change puts the new one under watch.

#include <chrono>
#include <set>

#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

#include "skin/skin_watch_list.h"

namespace pellox {

class SkinFileWatcher : public QObject {
    Q_OBJECT
public:
    // Quiet this long after the last event ends a burst...
    static constexpr std::chrono::milliseconds kQuiet{8};
    // ...or this long after its first event, whichever comes first.
    static constexpr std::chrono::milliseconds kLongestBurst{30};

    explicit SkinFileWatcher(QObject* parent = nullptr);

    // Watches exactly these files and folders from now on (those that exist;
    // a missing one is looked for again at the next Watch).
    void Watch(const SkinWatchList& list);

    // Tells a change now, as if a burst had just ended, without an event:
    // for a file changed between being read and being watched again.
    void TellChangeSoon();

signals:
    // A burst of changes has ended. files: the watched files that fired in
    // it (a folder's change names no file).
    void Changed(const std::set<QString>& files);

private:
    void OnEvent(const QString& file);
    void EndBurst();

    QFileSystemWatcher watcher_;
    QTimer quiet_;
    QElapsedTimer burst_;
    std::set<QString> fired_;
};

}  // namespace pellox
