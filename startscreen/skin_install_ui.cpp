#include "startscreen/skin_install_ui.h"

#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>
#include <system_error>

#include "lcd/plain_text.h"
#include "startscreen/install_texts.h"
#include "startscreen/skin_sources.h"
#include "startscreen/thb_form.h"

namespace pellox {
namespace {

constexpr std::chrono::milliseconds kProgressRefresh{100};
constexpr int kBarSteps = 1000;

}  // namespace

SkinInstallUi::SkinInstallUi(QWidget& window, const StartScreenSetup& setup, InstallMenuHooks menu)
    : window_(window), setup_(setup), menu_(std::move(menu)), worker_(setup.install_skin, setup.check_installed_skin) {
    connect(&worker_, &BackgroundSkinInstall::Finished, this, &SkinInstallUi::OnFinished);
    connect(&worker_, &BackgroundSkinInstall::SameTitleQuestion, this,
            [this](const std::vector<InstalledSkin>& skins) {
                // A question that crossed a Cancel is not put to the player.
                worker_.Answer(cancelled_ ? std::nullopt : AskSameTitle(skins));
            });
    progress_delay_.setSingleShot(true);
    progress_delay_.setTimerType(Qt::PreciseTimer);  // never early: a quick install shows no window
    progress_delay_.setInterval(kProgressDelay);
    connect(&progress_delay_, &QTimer::timeout, this, &SkinInstallUi::ShowProgressWindow);
    progress_refresh_.setInterval(kProgressRefresh);
    connect(&progress_refresh_, &QTimer::timeout, this, &SkinInstallUi::RefreshProgressWindow);
    window_.installEventFilter(this);
}

SkinInstallUi::~SkinInstallUi() {
    window_.removeEventFilter(this);
    worker_.disconnect(this);
    Cancel();
    delete progress_window_.data();
}

bool SkinInstallUi::eventFilter(QObject* watched, QEvent* event) {
    // Closing the start screen ends the program: nothing is left half done.
    if (watched == &window_ && event->type() == QEvent::Close) Cancel();
    return QObject::eventFilter(watched, event);
}

void SkinInstallUi::Install(const std::vector<std::filesystem::path>& sources) {
    if (!setup_.install_skin || sources.empty()) return;
    for (const std::filesystem::path& source : sources) queue_.push_back({source, SameTitleChoice::Ask});
    sources_in_batch_ += static_cast<int>(sources.size());
    if (batch_running_) {
        RefreshProgressWindow();
        return;  // its turn comes
    }
    batch_running_ = true;
    cancelled_ = false;
    menu_.running(true);
    progress_delay_.start();
    StartNext();
}

void SkinInstallUi::Cancel() {
    cancelled_ = true;
    queue_.clear();
    worker_.Stop();
    progress_refresh_.stop();
}

void SkinInstallUi::StartNext() {
    if (queue_.empty() || cancelled_) {
        EndBatch();
        return;
    }
    current_ = queue_.front();
    queue_.pop_front();
    if (current_.same_title == SameTitleChoice::Ask) ++source_number_;  // not again for the run after the question
    worker_.Start(current_.source, current_.same_title);
    RefreshProgressWindow();
}

void SkinInstallUi::OnFinished(const FinishedInstall& finished) {
    if (finished.result.cancelled || cancelled_) {
        // A stop that came too late to stop anything still lists what went in.
        if (!finished.result.cancelled) Apply(current_.source, finished);
        queue_.clear();
        EndBatch();
        return;
    }
    if (!finished.result.to_choose.empty() && current_.same_title == SameTitleChoice::Ask) {
        // An installer that could not wait for the answer installed nothing:
        // the player chooses, then it runs again.
        const std::optional<SameTitleChoice> choice = AskSameTitle(finished.result.to_choose);
        if (choice) queue_.push_front({current_.source, *choice});
        StartNext();
        return;
    }
    Apply(current_.source, finished);
    StartNext();
}

void SkinInstallUi::Apply(const std::filesystem::path& source, const FinishedInstall& finished) {
    const SkinInstallResult& result = finished.result;
    for (const InstalledSkin& skin : result.installed) {
        const int entry = menu_.list_skin(skin.ini);
        if (report_.first_listed < 0) report_.first_listed = entry;
    }
    report_.unstartable.insert(report_.unstartable.end(), finished.unstartable.begin(), finished.unstartable.end());
    // Installed before with the same files: nothing copied, the entry selected.
    for (const InstalledSkin& skin : result.already_installed) {
        const int entry = menu_.list_skin(skin.ini);
        if (report_.first_listed < 0) report_.first_listed = entry;
        report_.already_installed << QString::fromStdString(Language() == InterfaceLanguage::Russian ? skin.title_su
                                                                                                     : skin.title_gb);
    }
    if (!result.Succeeded() && (result.already_installed.empty() || !result.error.empty()))
        report_.failed.push_back({source, result});
}

void SkinInstallUi::EndBatch() {
    HideProgressWindow();
    progress_delay_.stop();
    batch_running_ = false;
    sources_in_batch_ = 0;
    source_number_ = 0;
    const BatchReport report = std::move(report_);
    report_ = BatchReport{};
    menu_.running(false);
    if (report.first_listed > 0) menu_.select_skin(report.first_listed);
    // Closed meanwhile: the program is ending, there is nobody to tell.
    if (!window_.isVisible()) return;
    const InterfaceLanguage language = Language();
    if (!report.already_installed.isEmpty())
        ShowPlainMessage(&window_, QMessageBox::Information, InstallBoxTitle(language),
                         AlreadyInstalledText(language, report.already_installed));
    if (!report.failed.empty())
        ShowPlainMessage(&window_, QMessageBox::Warning, InstallFailureTitle(language),
                         InstallFailureText(language, report.failed));
    if (!report.unstartable.empty())
        ShowPlainMessage(&window_, QMessageBox::Warning, UnstartableSkinsTitle(language),
                         UnstartableSkinsText(language, report.unstartable));
}

std::optional<SameTitleChoice> SkinInstallUi::AskSameTitle(const std::vector<InstalledSkin>& skins) {
    // The question box takes the progress window's place while it is open.
    asking_ = true;
    HideProgressWindow();
    const std::optional<SameTitleChoice> choice = ChooseSameTitle(skins);
    asking_ = false;
    if (batch_running_ && !cancelled_ && progress_window_ && !progress_delay_.isActive()) ShowProgressWindow();
    return choice;
}

std::optional<SameTitleChoice> SkinInstallUi::ChooseSameTitle(const std::vector<InstalledSkin>& skins) {
    const bool su = Language() == InterfaceLanguage::Russian;
    QStringList titles;
    for (const InstalledSkin& skin : skins) titles << QString::fromStdString(su ? skin.title_su : skin.title_gb);
    if (setup_.choose_same_title) return setup_.choose_same_title(&window_, titles);
    // Kept past exec(), which would delete a box that deletes itself on closing.
    const std::unique_ptr<QMessageBox> box(NewPlainMessageBox(&window_, QMessageBox::Question,
                                                              InstallBoxTitle(Language()),
                                                              SameTitleQuestion(Language(), titles)));
    box->setAttribute(Qt::WA_DeleteOnClose, false);
    QPushButton* replace =
        box->addButton(su ? QStringLiteral("Заменить") : QStringLiteral("Replace"), QMessageBox::DestructiveRole);
    QPushButton* keep =
        box->addButton(su ? QStringLiteral("Оставить оба") : QStringLiteral("Keep both"), QMessageBox::AcceptRole);
    box->addButton(QMessageBox::Cancel);
    box->setDefaultButton(keep);
    box->exec();
    if (box->clickedButton() == replace) return SameTitleChoice::Replace;
    if (box->clickedButton() == keep) return SameTitleChoice::KeepBoth;
    return std::nullopt;
}

QProgressDialog* SkinInstallUi::ProgressWindow() const {
    return progress_window_ && progress_window_->isVisible() ? progress_window_.data() : nullptr;
}

void SkinInstallUi::ShowProgressWindow() {
    if (!batch_running_ || cancelled_ || asking_) return;
    if (!progress_window_) {
        // Not modal: the menu, the flags and the text stay in the player's hands.
        progress_window_ = new QProgressDialog(&window_);
        progress_window_->setObjectName(QStringLiteral("installProgress"));
        // Plain text: it names the archive, and a name that looks like markup
        // would have Qt open the file it points to.
        auto* label = new QLabel;
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignCenter);
        progress_window_->setLabel(label);
        progress_window_->setWindowModality(Qt::NonModal);
        progress_window_->setAutoClose(false);
        progress_window_->setAutoReset(false);
        // Shown now by this call; Qt's own delay would show it again later.
        progress_window_->setMinimumDuration(0);
        connect(progress_window_, &QProgressDialog::canceled, this, &SkinInstallUi::Cancel);
    }
    progress_window_->reset();  // a Cancel pressed in an earlier batch is forgotten
    RefreshProgressWindow();
    progress_window_->show();
    progress_refresh_.start();
}

void SkinInstallUi::RefreshProgressWindow() {
    if (!progress_window_ || cancelled_) return;
    const InterfaceLanguage language = Language();
    const InstallProgress so_far = worker_.Progress();
    progress_window_->setWindowTitle(InstallProgressTitle(language));
    progress_window_->setCancelButtonText(InstallCancelText(language));
    progress_window_->setLabelText(
        InstallProgressText(language, current_.source, source_number_, sources_in_batch_, so_far));
    if (so_far.packed_total == 0) {
        progress_window_->setRange(0, 0);  // a folder or a skin file: no measure, a busy bar
        return;
    }
    progress_window_->setRange(0, kBarSteps);
    const std::uint64_t read = std::min(so_far.packed_read, so_far.packed_total);
    progress_window_->setValue(static_cast<int>(read * kBarSteps / so_far.packed_total));
}

void SkinInstallUi::HideProgressWindow() {
    progress_refresh_.stop();
    if (progress_window_) progress_window_->hide();
}

void SkinInstallUi::ChooseAndInstall() {
    // Skins are mostly downloaded: the dialog opens where downloads go.
    QString start = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (start.isEmpty() || !QFileInfo::exists(start)) start = QDir::homePath();
    const QString file =
        QFileDialog::getOpenFileName(&window_, InstallBoxTitle(Language()), start, SkinSourceFilter(Language()));
    if (file.isEmpty()) return;
    Install({std::filesystem::path(file.toStdString())});
}

void SkinInstallUi::OpenSkinsFolder() {
    const std::filesystem::path& folder = setup_.installed_skins_folder;
    std::error_code ec;
    if (!folder.empty()) std::filesystem::create_directories(folder, ec);
    if (!folder.empty() && !ec &&
        QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(folder.string()))))
        return;
    // No file manager, or no room for the folder: the player still learns where it is.
    ShowPlainMessage(&window_, QMessageBox::Information, OpenSkinsFolderActionText(Language()),
                     SkinsFolderNotOpenedText(Language(), folder));
}

}  // namespace pellox
