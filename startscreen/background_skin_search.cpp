#include "startscreen/background_skin_search.h"

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace pellox {
namespace {

// Long enough for a walk on a local disk to reach its next check, short
// enough that a closed window does not seem to hang.
constexpr std::chrono::milliseconds kStopWait{500};

}  // namespace

// What the walk and the owner share. The walk holds it too, so a walk left
// behind by its owner still has it.
struct BackgroundSkinSearch::Shared {
    std::mutex mutex;
    std::condition_variable changed;
    // The owner while it wants to hear from the walk; null once it is gone.
    // Calls are posted to it under the mutex, so it cannot go away between
    // the check and the post (Qt drops calls posted to an object it destroys).
    BackgroundSkinSearch* owner = nullptr;
    bool paused = false;
    bool stop = false;
    bool walk_over = false;
    std::thread walk;

    // Whether the walk should go on; waits while paused.
    bool GoOn() {
        std::unique_lock lock(mutex);
        changed.wait(lock, [this] { return !paused || stop; });
        return !stop;
    }

    // Runs call(owner) on the owner's thread, unless the owner is gone.
    template <typename Call>
    void PostToOwner(Call call) {
        std::lock_guard lock(mutex);
        if (owner == nullptr) return;
        QMetaObject::invokeMethod(
            owner, [owner = owner, call = std::move(call)] { call(*owner); }, Qt::QueuedConnection);
    }
};

BackgroundSkinSearch::BackgroundSkinSearch(std::vector<std::filesystem::path> roots, Callbacks callbacks)
    : BackgroundSkinSearch(
          [roots = std::move(roots)](const SkinFoundFn& found, const SkinSearchGoOnFn& go_on) {
              SearchSkins(roots, NoTitleMarker, found, go_on);
          },
          std::move(callbacks)) {}

BackgroundSkinSearch::BackgroundSkinSearch(Walk walk, Callbacks callbacks)
    : shared_(std::make_shared<Shared>()), callbacks_(std::move(callbacks)) {
    shared_->owner = this;
    shared_->walk = std::thread([shared = shared_, walk = std::move(walk), afterwards = callbacks_.afterwards] {
        // The player's window comes first on a busy machine.
        ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 10);
        walk(
            [&shared](const SkinProbe& skin, const std::filesystem::path& file) {
                shared->PostToOwner([skin, file](BackgroundSkinSearch& owner) {
                    if (owner.callbacks_.found) owner.callbacks_.found(skin, file);
                });
            },
            [&shared] { return shared->GoOn(); });
        shared->PostToOwner([](BackgroundSkinSearch& owner) {
            if (owner.callbacks_.ended) owner.callbacks_.ended();
        });
        if (afterwards && shared->GoOn()) afterwards();
        std::lock_guard lock(shared->mutex);
        shared->walk_over = true;
        shared->changed.notify_all();
    });
}

BackgroundSkinSearch::~BackgroundSkinSearch() { Stop(); }

bool BackgroundSkinSearch::Stop() {
    if (stopped_) return walk_ended_;
    stopped_ = true;
    std::unique_lock lock(shared_->mutex);
    shared_->owner = nullptr;
    shared_->stop = true;
    shared_->changed.notify_all();
    walk_ended_ = shared_->changed.wait_for(lock, kStopWait, [this] { return shared_->walk_over; });
    lock.unlock();
    if (walk_ended_)
        shared_->walk.join();
    else
        shared_->walk.detach();
    return walk_ended_;
}

void BackgroundSkinSearch::Pause() {
    std::lock_guard lock(shared_->mutex);
    shared_->paused = true;
}

void BackgroundSkinSearch::Resume() {
    std::lock_guard lock(shared_->mutex);
    shared_->paused = false;
    shared_->changed.notify_all();
}

}  // namespace pellox
