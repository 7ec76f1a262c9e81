#include "gamepad/hot_plug_watch.h"

#include <array>
#include <utility>

#include <QFileInfo>

namespace pellox {
namespace {

// When to look for controllers, from the change in the folder.
constexpr std::array<int, 5> kLookAfter_ms{50, 250, 1000, 3000, 6000};

}  // namespace

HotPlugWatch::HotPlugWatch(std::function<void()> look) : look_(std::move(look)) {
    look_again_.setSingleShot(true);
    QObject::connect(&look_again_, &QTimer::timeout, [this] { LookAgain(); });
}

void HotPlugWatch::Watch(const QString& device_folder) {
    const QString parent = QFileInfo(device_folder).path();
    folder_.addPath(QFileInfo(device_folder).isDir() ? device_folder : parent);
    QObject::connect(&folder_, &QFileSystemWatcher::directoryChanged,
                     [this, device_folder, parent](const QString& path) {
                         if (path == parent && path != device_folder) {
                             if (!QFileInfo(device_folder).isDir()) return;
                             folder_.removePath(parent);
                             folder_.addPath(device_folder);
                         }
                         LookSoon();
                     });
}

void HotPlugWatch::LookSoon() {
    looks_done_ = 0;
    look_again_.start(kLookAfter_ms[0]);
}

void HotPlugWatch::LookAgain() {
    look_();
    ++looks_done_;
    if (looks_done_ < kLookAfter_ms.size())
        look_again_.start(kLookAfter_ms[looks_done_] - kLookAfter_ms[looks_done_ - 1]);
}

}  // namespace pellox
