#include "startscreen/background_skin_install.h"

#include <atomic>
#include <exception>
#include <mutex>

#include <QPromise>

namespace pellox {

class BackgroundSkinInstall::Monitor final : public InstallMonitor {
public:
    void Progress(const InstallProgress& so_far) override {
        const std::lock_guard<std::mutex> lock(mutex_);
        progress_ = so_far;
    }
    bool StopRequested() override { return stop_.load(std::memory_order_relaxed); }

    void RequestStop() { stop_.store(true, std::memory_order_relaxed); }
    InstallProgress SoFar() const {
        const std::lock_guard<std::mutex> lock(mutex_);
        return progress_;
    }

private:
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    InstallProgress progress_;
};

namespace {

// Runs on the install's thread: nothing may unwind out of it.
FinishedInstall InstallAndCheck(const SkinInstaller& installer, const InstalledSkinCheck& check,
                                const std::filesystem::path& source, SameTitleChoice same_title,
                                InstallMonitor& monitor) {
    FinishedInstall finished;
    try {
        finished.result = installer(source, same_title, monitor);
    } catch (const std::exception& error) {
        finished.result.error = error.what();
        return finished;
    } catch (...) {
        finished.result.error = "the installer failed without saying why";
        return finished;
    }
    if (!check) return finished;
    for (const InstalledSkin& skin : finished.result.installed) {
        std::vector<SkinEntryFailure> problems;
        try {
            problems = check(skin.ini);
        } catch (const std::exception& error) {
            problems.push_back({"", "", error.what()});
        } catch (...) {
            problems.push_back({"", "", "the check failed without saying why"});
        }
        if (!problems.empty()) finished.unstartable.push_back({skin, std::move(problems)});
    }
    return finished;
}

}  // namespace

BackgroundSkinInstall::BackgroundSkinInstall(SkinInstaller installer, InstalledSkinCheck check, QObject* parent)
    : QObject(parent), installer_(std::move(installer)), check_(std::move(check)), monitor_(std::make_shared<Monitor>()) {
    pool_.setMaxThreadCount(1);
    connect(&watcher_, &QFutureWatcherBase::finished, this, [this] {
        running_ = false;
        const QFuture<FinishedInstall> future = watcher_.future();
        emit Finished(future.resultCount() > 0 ? future.result() : FinishedInstall{});
    });
}

BackgroundSkinInstall::~BackgroundSkinInstall() {
    monitor_->RequestStop();
    watcher_.disconnect(this);
    pool_.waitForDone();
}

bool BackgroundSkinInstall::Start(const std::filesystem::path& source, SameTitleChoice same_title) {
    if (running_) return false;
    running_ = true;
    monitor_ = std::make_shared<Monitor>();  // a fresh stop and count for each install
    auto promise = std::make_shared<QPromise<FinishedInstall>>();
    watcher_.setFuture(promise->future());
    pool_.start([promise, installer = installer_, check = check_, source, same_title, monitor = monitor_] {
        promise->start();
        promise->addResult(InstallAndCheck(installer, check, source, same_title, *monitor));
        promise->finish();
    });
    return true;
}

void BackgroundSkinInstall::Stop() { monitor_->RequestStop(); }

InstallProgress BackgroundSkinInstall::Progress() const { return monitor_->SoFar(); }

}  // namespace pellox
