#pragma once
// What wakes the gamepads' reading of SDL, so that nothing polls while
// nothing happens. A controller with a device node wakes it when the node has
// input: we read our own descriptor of it (every reader of an input node gets
// its own copy of the events) and then let SDL read its own. Only a
// controller without a node (SDL's virtual ones), or whose node cannot be
// opened, is polled, and only while it is plugged in: every 10 ms while it
// is played, every 100 ms once left alone for 2 s.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace pellox {

class PadWakes final : public QObject {
public:
    struct Callbacks {
        // SDL has something to read: a node woke, or a poll is due.
        std::function<void()> read;
        // A node's read found its device going; SDL learns it from the
        // system, soon. Called before `read`.
        std::function<void()> node_gone;
    };

    explicit PadWakes(Callbacks callbacks);
    ~PadWakes() override;
    PadWakes(const PadWakes&) = delete;
    PadWakes& operator=(const PadWakes&) = delete;

    // A controller opened, `node` its device node (null for one without):
    // woken by the node when it can be opened, polled otherwise.
    void Add(std::int32_t instance_id, const char* node);
    // For the input lag bench: `fd` wakes for the controller as a node does,
    // for one added without a node, which is then no longer polled. Takes
    // `fd` over (closed on false: no such controller, or it has a node).
    bool WakeOnAsNode(std::int32_t instance_id, int fd);
    // A controller closed, perhaps from inside its own node's wake: the node
    // goes once that wake is over.
    void Remove(std::int32_t instance_id);

    // A button or stick moved: polled often for a while.
    void Played() { last_played_.start(); }
    // Starts, retimes or stops the poll for the controllers added now: after
    // every read.
    void UpdatePolling();
    bool Polling() const { return poll_timer_.isActive(); }

private:
    struct Pad;

    Pad* Find(std::int32_t instance_id);
    void WakeOnNode(Pad& pad, int fd);
    void NodeReadable(std::int32_t instance_id);

    Callbacks callbacks_;
    std::vector<std::unique_ptr<Pad>> pads_;
    // Removed, kept until the wake that found them gone is over.
    std::vector<std::unique_ptr<Pad>> removed_;
    QTimer poll_timer_;
    QElapsedTimer last_played_;
};

}  // namespace pellox
