#pragma once
// One skin install on a thread of its own, so that the start screen paints
// and answers while an archive unpacks: how far it got, a stop that leaves
// nothing behind, and its result back on the window thread. Qt Core's own
// thread pool and promise, not Qt Concurrent: one library fewer at start.

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QFutureWatcher>
#include <QObject>
#include <QThreadPool>

#include "skininstall/install_progress.h"
#include "skininstall/install_skins.h"
#include "startscreen/failure_texts.h"

namespace pellox {

// Installs source into the installed skins folder; called on the install's
// thread. A throw is taken as a failed install with its message as the reason.
using SkinInstaller =
    std::function<SkinInstallResult(const std::filesystem::path& source, SameTitleChoice same_title, InstallMonitor& monitor)>;
// Why an installed skin file would not start, entry by entry; nothing when it would.
using InstalledSkinCheck = std::function<std::vector<SkinEntryFailure>(const std::filesystem::path& ini)>;

// An install's answer, and the installed skins that would not start: a
// skin's check loads every picture and wave, so it runs beside the install.
struct FinishedInstall {
    SkinInstallResult result;
    std::vector<UnstartableSkin> unstartable;
};

class BackgroundSkinInstall : public QObject {
    Q_OBJECT
public:
    // check may be empty: installed skins are then not checked.
    BackgroundSkinInstall(SkinInstaller installer, InstalledSkinCheck check, QObject* parent = nullptr);
    // Stops a running install and waits for its end: no thread outlives it.
    ~BackgroundSkinInstall() override;
    BackgroundSkinInstall(const BackgroundSkinInstall&) = delete;
    BackgroundSkinInstall& operator=(const BackgroundSkinInstall&) = delete;

    // Starts an install unless one runs (then false); Finished follows.
    bool Start(const std::filesystem::path& source, SameTitleChoice same_title);
    // Asks the running install to stop; its Finished says cancelled, unless
    // it was already renaming the skins into place.
    void Stop();
    // The player's answer to SameTitleQuestion; nothing: they declined, and
    // the install stops.
    void Answer(std::optional<SameTitleChoice> choice);
    bool Running() const { return running_; }
    // The running (or last) install so far.
    InstallProgress Progress() const;

signals:
    void Finished(const pellox::FinishedInstall& finished);
    // Asked with SameTitleChoice::Ask once the source is unpacked: installed
    // skins have the titles of skins in it, with other files. The install
    // waits for Answer (or Stop).
    void SameTitleQuestion(const std::vector<pellox::InstalledSkin>& skins);

private:
    class Monitor;  // the progress and the stop, shared with the install's thread

    SkinInstaller installer_;
    InstalledSkinCheck check_;
    // Its own pool of one thread: an install never waits behind other work,
    // and the destructor knows exactly what to wait for.
    QThreadPool pool_;
    QFutureWatcher<FinishedInstall> watcher_;
    std::shared_ptr<Monitor> monitor_;
    bool running_ = false;
};

}  // namespace pellox
