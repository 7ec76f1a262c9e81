#pragma once
// The start screen, HBForm: the program's first and main window. It
// introduces the game in Russian or English (two flags switch), shows the
// licence and the rules, offers the skin menu and starts the game. Once it
// has been painted it fills the menu; the game window is made by the start
// button (or the pointer coming over it): the player sees the start screen
// without waiting for the game's pictures and sound. Given a folder for it,
// it shows the last start's first frame at once and builds its widgets
// behind it (startscreen/start_picture.h). Skins dropped on it, or chosen
// from its context menu, are installed and offered at once.

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QWidget>

#include "assets/startscreen/texts/startscreen_texts.h"
#include "engine/language.h"
#include "gamewindow/game_window.h"
#include "skin/skin_menu.h"
#include "skininstall/install_skins.h"
#include "startscreen/background_skin_install.h"
#include "startscreen/background_skin_search.h"
#include "startscreen/failure_texts.h"
#include "startscreen/launch_session.h"
#include "startscreen/menu/skin_menu_model.h"
#include "startscreen/qt_translations.h"
#include "startscreen/skin_install_ui.h"

namespace pellox {

// A flag that switches the language: clicked, or Space while it has the
// keyboard focus.
class LanguageFlag : public QLabel {
    Q_OBJECT
public:
    LanguageFlag(int tag, QWidget* parent) : QLabel(parent), tag_(tag) {}
    int Tag() const { return tag_; }

signals:
    void Clicked(int tag);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int tag_;
};

// What the start screen needs from the program.
struct StartScreenSetup {
    // The command line's arguments after the program's name and its options.
    QStringList arguments;
    // Where the skin search looks, in order.
    std::vector<std::filesystem::path> search_roots;
    // Makes the game window, hidden (pictures, sound, stored scores); nothing
    // when it cannot (the program then ends with status 1).
    std::function<std::unique_ptr<GameWindow>()> make_game_window;
    // The system's language as a locale name ("ru_RU", "en_GB", "C"): the
    // start screen opens in its language until the player clicks a flag.
    QString system_locale;
    // The player's last choice of language, when one was kept, and where a
    // flag's click keeps the new one. Left empty, nothing is remembered.
    std::function<std::optional<InterfaceLanguage>()> remembered_language;
    std::function<void(InterfaceLanguage)> remember_language;
    // Tells the player why the chosen skin did not start, over the start
    // screen; a message box unless a test hands its own.
    std::function<void(QWidget* parent, const QString& title, const QString& text)> show_launch_failure;
    // Installs the skins of an archive, a folder or a skin file into the
    // installed skins folder, which is among the search roots; called on a
    // thread of its own, telling monitor how far it got and stopping when it
    // asks. Left empty, the start screen takes no drops and offers no install.
    // same_title: what to do with a skin whose title an installed skin has,
    // with other files. The start screen passes Ask: the install puts the
    // question to monitor (ChooseSameTitle), which asks the player and
    // waits; an installer that returns to_choose instead is run again with
    // the answer.
    SkinInstaller install_skin;
    // Asks the player whether the skins titled as installed ones replace
    // them or go beside them; nothing when they cancel. A message box unless
    // a test hands its own.
    std::function<std::optional<SameTitleChoice>(QWidget* parent, const QStringList& titles)> choose_same_title;
    // Opens the live preview of a skin file beside the start screen (the
    // game starts itself again with --preview-skin). Left empty, the context
    // menu offers no preview.
    std::function<void(const std::filesystem::path& skin_file)> preview_skin;
    std::filesystem::path installed_skins_folder;
    // Why an installed skin file would not start, entry by entry (its check);
    // nothing when it would. Called beside the install, on its thread. Left
    // empty, installed skins are not checked.
    InstalledSkinCheck check_installed_skin;
    // Where the first frame of each start is kept for the next one to show
    // before its widgets are built (the cache folder). Left empty, the
    // widgets are built with the start screen and nothing is kept.
    std::filesystem::path start_pictures_folder;
};

class THBForm : public QWidget {
    Q_OBJECT
public:
    // The widgets are built here, unless setup names a start pictures
    // folder: then when the start screen is shown, behind the last start's
    // picture when one fits.
    explicit THBForm(StartScreenSetup setup, QWidget* parent = nullptr);
    ~THBForm() override;
    // The widgets exist (always, once the start screen has been painted).
    bool Built() const { return built_; }
    // The last start's picture was shown while the widgets were built.
    bool ShowedStartPicture() const { return showed_start_picture_; }

    // Starts filling the menu, once, and makes the game window unless it
    // is there (LaunchSession). Gives false when the game window cannot be
    // made. The start button calls it, and so does the pointer first coming
    // over that button; the menu starts filling on its own once the start
    // screen has been painted. The menu fills from a search on a thread of
    // its own: it adds skins as it finds them, selecting the last one unless the
    // player has chosen an entry, and sets the menu's state when it ends. The
    // start button works all the while: it launches the entry shown (the
    // built-in game until a skin is found), and the search waits while the
    // game runs and stops when the start screen goes.
    bool LongCreate();
    // Tag -1: Russian (the Soviet flag); anything else: English. The choice
    // is remembered for the next start.
    void imLanguageClick(int tag);
    // Hides the start screen, launches the chosen game and, when the game
    // window has closed, closes the start screen and ends the program with
    // the launch's exit status.
    void btStartClick();
    // Installs each source (an archive, a folder or a skin file) on a thread
    // of its own (startscreen/skin_install_ui.h), adds what was installed to
    // the menu and selects the first new skin; the start button waits until
    // the installs have ended.
    void InstallSkinSources(const std::vector<std::filesystem::path>& sources);
    bool SkinInstallRunning() const;
    SkinInstallUi& SkinInstalls() { return *installs_; }

    InterfaceLanguage Language() const { return language_; }
    SkinMenuState MenuState() const { return menu_.State(); }
    bool SkinSearchRunning() const { return menu_.SearchRunning(); }
    // The menu has been filled, or its search started.
    bool SkinMenuStarted() const { return menu_.CommandLineSeen() && !menu_.SearchDue(); }
    const SkinMenu& Menu() const { return menu_.Entries(); }
    GameWindow* GameWindowIfCreated() { return launch_.Window(); }
    // The launch's exit status, once the start button has run.
    int ExitStatus() const { return exit_status_; }
    // Stops the skin search if it still runs. False when a walk held up
    // inside the system had to be left behind, now or before: it may still
    // run as the program ends, which must then not destroy its static
    // objects under it.
    bool StopSkinSearch();

    // The components under their own names (also their Qt object names).
    QLabel& StSmallInfo() { return *st_small_info_; }
    // A language's memo is made when it is first shown, or asked for here.
    QPlainTextEdit& MmSUInstruction() { return MemoOf(InterfaceLanguage::Russian); }
    QPlainTextEdit& MmGBInstruction() { return MemoOf(InterfaceLanguage::English); }
    QGroupBox& GbSkin() { return *gb_skin_; }
    QComboBox& CbSkin() { return *cb_skin_; }
    QPushButton& BtStart() { return *bt_start_; }
    LanguageFlag& ImSoviet() { return *im_soviet_; }
    LanguageFlag& ImBritish() { return *im_british_; }
    QLabel& LbYear() { return *lb_year_; }
    QLabel& StCredits(int i) { return *st_credits_[static_cast<std::size_t>(i)]; }
    // The context menu's actions: install a skin from a file, open the
    // installed skins folder.
    QAction& InstallSkinAction() { return *install_skin_action_; }
    QAction& OpenSkinsFolderAction() { return *open_skins_folder_action_; }
    QAction& PreviewSkinAction() { return *preview_skin_action_; }

    // The first showing places the form on the screen under the pointer.
    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Archives, folders and skin files dropped on the window are installed.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Everything in the window: the widgets, the installs, the context menu, the texts.
    void Build();
    // Shown: builds now, unless the last start's picture fits the window.
    void BuildOrShowStartPicture();
    // After the picture's paint: the widgets, shown, painted over it.
    void BuildBehindStartPicture();
    // After the widgets' first paint: keeps their frame when it is not the picture shown.
    void KeepStartPicture();
    void BuildComponents();
    // Only the shown language's long text is laid out before the first paint.
    QPlainTextEdit& MemoOf(InterfaceLanguage language);
    void OrderTabs();
    // Locks the menu on the first command-line argument when it is a usable
    // skin; only the first call looks.
    void LookAtCommandLine();
    void FillSkinMenu();
    void StartSkinSearch();
    void BuildContextMenu();
    // The installs' hook into the menu.
    InstallMenuHooks InstallHooks();
    // An installed skin's entry: the one listed, or a new one; -1 when unusable.
    int ListInstalledSkin(const std::filesystem::path& ini);
    // Selects the first skin an install gave and unlocks the menu for it.
    void SelectInstalledSkin(int entry);
    void ShowTexts();
    // Shows the menu model in the widgets: its entries in the language, the
    // selection, whether it opens, and its state in the caption. The one
    // place that sets them.
    void ShowMenu();
    QString Caption(SkinMenuState state) const;

    StartScreenSetup setup_;
    // Both languages' texts, read once.
    const StartScreenTexts texts_su_ = LoadStartScreenTexts(InterfaceLanguage::Russian);
    const StartScreenTexts texts_gb_ = LoadStartScreenTexts(InterfaceLanguage::English);
    // Qt's own texts (buttons, the file dialog) follow the language.
    QtTranslations qt_translations_;
    InterfaceLanguage language_ = InterfaceLanguage::Russian;
    SkinMenuModel menu_;
    // What the menu's widget shows of the model: appended to as skins are
    // found, filled again when the list or the language changes.
    std::uint64_t shown_list_version_ = 0;
    InterfaceLanguage shown_language_ = InterfaceLanguage::Russian;
    bool creation_queued_ = false;
    bool placed_ = false;
    bool built_ = false;
    bool build_queued_ = false;
    bool showed_start_picture_ = false;
    // The last start's first frame, painted until the widgets are built and
    // then compared with theirs.
    QImage start_picture_;
    LaunchSession launch_;
    // Declared after everything its calls touch, so that it stops first.
    std::unique_ptr<BackgroundSkinSearch> skin_search_;
    int exit_status_ = 0;
    bool walk_left_behind_ = false;

    QLabel* im_wolf_ = nullptr;
    QLabel* im_hare_ = nullptr;
    QLabel* im_bell_ = nullptr;
    QLabel* st_small_info_ = nullptr;
    LanguageFlag* im_soviet_ = nullptr;
    LanguageFlag* im_british_ = nullptr;
    QFrame* panel1_ = nullptr;
    QPlainTextEdit* mm_su_instruction_ = nullptr;
    QPlainTextEdit* mm_gb_instruction_ = nullptr;
    QLabel* lb_year_ = nullptr;
    QLabel* im_logo_ = nullptr;
    std::array<QLabel*, 3> st_credits_{};
    QGroupBox* gb_skin_ = nullptr;
    QComboBox* cb_skin_ = nullptr;
    QPushButton* bt_start_ = nullptr;
    QAction* install_skin_action_ = nullptr;
    QAction* open_skins_folder_action_ = nullptr;
    QAction* preview_skin_action_ = nullptr;  // enabled while a skin file's entry is selected
    // Last: it waits for a running install's thread before anything it touches goes.
    std::unique_ptr<SkinInstallUi> installs_;
};

}  // namespace pellox
