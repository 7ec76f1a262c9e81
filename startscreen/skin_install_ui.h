#pragma once
// Installing skins from the start screen: dropped on it or chosen from its
// context menu. The install runs on a thread of its own; the window thread
// starts it, shows how far it got and applies what it installed to the menu.
// Sources given while one installs wait their turn, so that two installs
// never race into the skins folder. A progress window with Cancel shows once
// an install has taken more than kProgressDelay; until the last install has
// ended the start button waits (the progress window says so), as a launch
// would hide the start screen and could start a skin still being replaced.
// Closing the start screen cancels the installs.

#include <chrono>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QObject>
#include <QPointer>
#include <QProgressDialog>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include "engine/language.h"
#include "startscreen/background_skin_install.h"
#include "startscreen/failure_texts.h"

namespace pellox {

struct StartScreenSetup;

// What installing needs from the start screen.
struct InstallMenuHooks {
    // The start screen's language, for every word shown.
    std::function<InterfaceLanguage()> language;
    // The menu entry of an installed skin file: listed now unless it already
    // is (the search may have met it first); -1 when it cannot be listed.
    std::function<int(const std::filesystem::path& ini)> list_skin;
    // The first skin the installs just ended listed: what the player wants
    // to play next.
    std::function<void(int entry)> select_skin;
    // Installs began (true) or all ended (false).
    std::function<void(bool running)> running;
};

class SkinInstallUi : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kProgressDelay{300};

    // window: the start screen, over which the boxes open; setup gives the
    // installer, the check of an installed skin, the reinstall question and
    // the installed skins folder.
    SkinInstallUi(QWidget& window, const StartScreenSetup& setup, InstallMenuHooks menu);
    // Cancels what runs and waits for its thread.
    ~SkinInstallUi() override;

    // Installs each source after what is already queued; tells the player in
    // a box, once the queue has run out, why a source gave no skin and why a
    // skin installed would not start.
    void Install(const std::vector<std::filesystem::path>& sources);
    // The file dialog, then the install of the file chosen.
    void ChooseAndInstall();
    void OpenSkinsFolder();
    // Stops the running install and drops the queued ones; nothing of them is left.
    void Cancel();

    bool Running() const { return batch_running_; }
    // The progress window while it shows, else null.
    QProgressDialog* ProgressWindow() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Job {
        std::filesystem::path source;
        SameTitleChoice same_title = SameTitleChoice::Ask;
    };
    // What the installs since the queue last ran dry gave, told when it runs dry again.
    struct BatchReport {
        std::vector<FailedInstall> failed;
        QStringList already_installed;
        std::vector<UnstartableSkin> unstartable;
        int first_listed = -1;
    };

    void StartNext();
    void OnFinished(const FinishedInstall& finished);
    void Apply(const std::filesystem::path& source, const FinishedInstall& finished);
    void EndBatch();
    // Asks whether the skins with installed skins' titles replace them or go
    // beside them; nothing when the player declines.
    std::optional<SameTitleChoice> AskSameTitle(const std::vector<InstalledSkin>& skins);
    std::optional<SameTitleChoice> ChooseSameTitle(const std::vector<InstalledSkin>& skins);
    void ShowProgressWindow();
    void RefreshProgressWindow();
    void HideProgressWindow();
    InterfaceLanguage Language() const { return menu_.language(); }

    QWidget& window_;
    const StartScreenSetup& setup_;
    InstallMenuHooks menu_;
    BackgroundSkinInstall worker_;
    std::deque<Job> queue_;
    Job current_;
    bool batch_running_ = false;
    bool cancelled_ = false;  // the player or the window's close stopped this batch
    bool asking_ = false;     // the same-title question is open
    int sources_in_batch_ = 0;
    int source_number_ = 0;  // the current source's place in the batch, from 1
    BatchReport report_;
    QTimer progress_delay_;
    QTimer progress_refresh_;
    QPointer<QProgressDialog> progress_window_;
};

}  // namespace pellox
