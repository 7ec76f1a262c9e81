#pragma once
// Tells when controllers may have been plugged in or out, without polling: a
// node new or gone in the device folder (an inotify watch), then a few more
// times over the next seconds, as the system finishes setting the device up.
// The node comes first; the system's rules (permissions, udev's notice, which
// SDL waits for) follow within a moment, on a slow machine within seconds.

#include <cstddef>
#include <functional>

#include <QFileSystemWatcher>
#include <QString>
#include <QTimer>

namespace pellox {

class HotPlugWatch {
public:
    // `look` is called each time controllers may have come or gone.
    explicit HotPlugWatch(std::function<void()> look);
    HotPlugWatch(const HotPlugWatch&) = delete;
    HotPlugWatch& operator=(const HotPlugWatch&) = delete;

    // Watches `device_folder` (/dev/input) from now on; called once. A system
    // with no input device at all has no such folder until the first one
    // comes: its parent is watched until then.
    void Watch(const QString& device_folder);
    // Looks a few times from now on, as after a change in the folder (also
    // when a controller's own node tells that it is going).
    void LookSoon();

private:
    void LookAgain();

    std::function<void()> look_;
    QFileSystemWatcher folder_;
    QTimer look_again_;
    std::size_t looks_done_ = 0;
};

}  // namespace pellox
