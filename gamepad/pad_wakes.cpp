#include "gamepad/pad_wakes.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>

#include "media/diagnostics.h"

namespace pellox {
namespace {

// Every wake of the event loop costs the whole process some CPU: a
// controller that cannot wake us is read often only while it is played.
constexpr int kPollInPlay_ms = 10;
constexpr int kPollLeftAlone_ms = 100;
constexpr qint64 kLeftAloneAfter_ms = 2000;

}  // namespace

struct PadWakes::Pad {
    explicit Pad(std::int32_t id) : instance_id(id) {}
    ~Pad() {
        node_readable.reset();
        if (node_fd >= 0) ::close(node_fd);
    }
    Pad(const Pad&) = delete;
    Pad& operator=(const Pad&) = delete;

    bool Wakes() const { return node_readable && node_readable->isEnabled(); }

    std::int32_t instance_id;
    // Our own read-only descriptor of the controller's node, -1 without one.
    int node_fd = -1;
    std::unique_ptr<QSocketNotifier> node_readable;
};

PadWakes::PadWakes(Callbacks callbacks) : callbacks_(std::move(callbacks)) {
    connect(&poll_timer_, &QTimer::timeout, this, [this] { callbacks_.read(); });
}

PadWakes::~PadWakes() = default;

PadWakes::Pad* PadWakes::Find(std::int32_t instance_id) {
    for (const auto& pad : pads_)
        if (pad->instance_id == instance_id) return pad.get();
    return nullptr;
}

void PadWakes::Add(std::int32_t instance_id, const char* node) {
    Pad& pad = *pads_.emplace_back(std::make_unique<Pad>(instance_id));
    if (!node) return;  // a virtual controller: polled
    const int fd = ::open(node, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;  // taken before the logging machinery runs
        qCWarning(lcGamepad, "gamepad read by polling: %s: %s", node, std::strerror(error));
        return;
    }
    WakeOnNode(pad, fd);
}

bool PadWakes::WakeOnAsNode(std::int32_t instance_id, int fd) {
    Pad* pad = Find(instance_id);
    if (!pad || pad->node_fd >= 0) {
        ::close(fd);
        return false;
    }
    WakeOnNode(*pad, fd);
    UpdatePolling();
    return true;
}

void PadWakes::WakeOnNode(Pad& pad, int fd) {
    pad.node_fd = fd;
    pad.node_readable = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    const std::int32_t id = pad.instance_id;
    connect(pad.node_readable.get(), &QSocketNotifier::activated, this, [this, id] { NodeReadable(id); });
}

void PadWakes::NodeReadable(std::int32_t instance_id) {
    Pad* pad = Find(instance_id);
    if (!pad) return;
    // Our copy of the events only wakes us; SDL reads its own.
    std::array<char, 4096> buffer;
    ssize_t got = 0;
    while ((got = ::read(pad->node_fd, buffer.data(), buffer.size())) > 0) {
    }
    if (got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
        pad->node_readable->setEnabled(false);
        callbacks_.node_gone();
    }
    // The read may remove this controller: nothing of it is touched after.
    callbacks_.read();
}

void PadWakes::Remove(std::int32_t instance_id) {
    for (auto it = pads_.begin(); it != pads_.end(); ++it) {
        if ((*it)->instance_id != instance_id) continue;
        // Its node's notifier may be the one emitting now (the read that
        // found the controller gone): it goes once that is over.
        if ((*it)->node_readable) (*it)->node_readable->setEnabled(false);
        removed_.push_back(std::move(*it));
        pads_.erase(it);
        QTimer::singleShot(0, this, [this] { removed_.clear(); });
        return;
    }
}

void PadWakes::UpdatePolling() {
    bool any_without_wake = false;
    for (const auto& pad : pads_) any_without_wake = any_without_wake || !pad->Wakes();
    if (!any_without_wake) {
        poll_timer_.stop();
        return;
    }
    const bool in_play = last_played_.isValid() && last_played_.elapsed() < kLeftAloneAfter_ms;
    const int interval_ms = in_play ? kPollInPlay_ms : kPollLeftAlone_ms;
    if (!poll_timer_.isActive() || poll_timer_.interval() != interval_ms) poll_timer_.start(interval_ms);
}

}  // namespace pellox
