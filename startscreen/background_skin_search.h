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

#include "skin/find_skin.h"
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

    // What walks: hands each skin to found and asks go_on between steps.
    using Walk = std::function<void(const SkinFoundFn& found, const SkinSearchGoOnFn& go_on)>;

    // Starts walking roots at once, listing every skin of the trees.
    BackgroundSkinSearch(std::vector<std::filesystem::path> roots, Callbacks callbacks);
    // Starts the walk given (tests: one that is held up).
    BackgroundSkinSearch(Walk walk, Callbacks callbacks);
    // Stops the walk as Stop does.
    ~BackgroundSkinSearch() override;

    // Stops the walk: nothing is called back after this. Waits briefly for
    // the walk to notice; a walk held up inside the system (a folder that does
    // not answer) is left to end by itself, so that closing the game never
    // hangs. Gives false when it was left so: it may still be running when
    // the program ends, and the program must then end without destroying its
    // static objects under it (std::quick_exit).
    bool Stop();

    // Holds the walk at its next step, while a game runs; Resume goes on.
    void Pause();
    void Resume();

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
    Callbacks callbacks_;
    bool stopped_ = false;
    bool walk_ended_ = false;
};

}  // namespace pellox
