#pragma once
// The skin search on a thread of its own, so that the start screen paints and
// its start button works at once, however large the tree under the start
// folder. The walk touches only the file system; every skin it finds, and its
// end, reach the owner on the user-interface thread as queued calls.

#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include <QObject>

#include "skin/skin_probe.h"

namespace pellox {

class BackgroundSkinSearch : public QObject {
public:
    struct Callbacks {
        // A usable skin, in menu order.
        std::function<void(const SkinProbe& skin, const std::filesystem::path& file)> found;
        // The walk is over: every skin has been handed on before this.
        std::function<void()> ended;
        // Work for the walk's thread once the walk is over and ended has been
        // posted (not when the walk was stopped): housekeeping that must not
        // hold the window.
        std::function<void()> afterwards;
    };

    // Starts walking roots at once, listing every skin of the trees.
    BackgroundSkinSearch(std::vector<std::filesystem::path> roots, Callbacks callbacks);
    // Stops the walk. Nothing is called back after this. Waits briefly for the
    // walk to notice; a walk held up inside the system (a folder that does not
    // answer) is left to end by itself, so that closing the game never hangs.
    ~BackgroundSkinSearch() override;

    // Holds the walk at its next step, while a game runs; Resume goes on.
    void Pause();
    void Resume();

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
    Callbacks callbacks_;
};

}  // namespace pellox
