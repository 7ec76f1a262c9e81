#include "startscreen/background_skin_install.h"

#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>

#include <QPromise>

namespace pellox {

class BackgroundSkinInstall::Monitor final : public InstallMonitor {
public:
    // ask: puts the same-title question to the window thread, which answers
    // through Answer.
    explicit Monitor(std::function<void(const std::vector<InstalledSkin>&)> ask) : ask_(std::move(ask)) {}

    void Progress(const InstallProgress& so_far) override {
        const std::lock_guard<std::mutex> lock(mutex_);
        progress_ = so_far;
    }
    bool StopRequested() override { return stop_.load(std::memory_order_relaxed); }

    // Waits for the player's answer, on the install's thread, until it comes
    // or the install is to stop; a declined question stops the install.
    std::optional<SameTitleChoice> ChooseSameTitle(const std::vector<InstalledSkin>& skins) override {
        if (!ask_ || StopRequested()) return std::nullopt;
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            answered_ = false;
        }
        ask_(skins);
        std::unique_lock<std::mutex> lock(mutex_);
        answer_given_.wait(lock, [this] { return answered_ || StopRequested(); });
        if (!answered_) return std::nullopt;
        if (!answer_) stop_.store(true, std::memory_order_relaxed);
        return answer_;
    }

    void Answer(std::optional<SameTitleChoice> answer) {
        const std::lock_guard<std::mutex> lock(mutex_);
        answer_ = answer;
        answered_ = true;
        answer_given_.notify_all();
    }
    void RequestStop() {
        const std::lock_guard<std::mutex> lock(mutex_);  // not between a waiter's check and its sleep
        stop_.store(true, std::memory_order_relaxed);
        answer_given_.notify_all();
    }
    InstallProgress SoFar() const {
        const std::lock_guard<std::mutex> lock(mutex_);
        return progress_;
    }

private:
    std::function<void(const std::vector<InstalledSkin>&)> ask_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::condition_variable answer_given_;
    InstallProgress progress_;
    bool answered_ = false;
    std::optional<SameTitleChoice> answer_;
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
    : QObject(parent), installer_(std::move(installer)), check_(std::move(check)), monitor_(std::make_shared<Monitor>(nullptr)) {
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
    // A fresh stop and count for each install. The question reaches the
    // window thread as a queued call, dropped if this object has gone.
    monitor_ = std::make_shared<Monitor>([this](const std::vector<InstalledSkin>& skins) {
        QMetaObject::invokeMethod(
            this, [this, skins] { emit SameTitleQuestion(skins); }, Qt::QueuedConnection);
    });
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

void BackgroundSkinInstall::Answer(std::optional<SameTitleChoice> choice) { monitor_->Answer(choice); }

InstallProgress BackgroundSkinInstall::Progress() const { return monitor_->SoFar(); }

}  // namespace pellox
