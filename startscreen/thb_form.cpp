#include "startscreen/thb_form.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <exception>
#include <system_error>
#include <utility>

#include "assets/startscreen/pictures/startscreen_pictures.h"
#include "lcd/fixed_size_window.h"
#include "lcd/plain_text.h"
#include "lcd/window_placement.h"
#include "media/diagnostics.h"
#include "skin/find_skin.h"
#include "skin/skin_probe.h"
#include "startscreen/first_hover.h"
#include "startscreen/focus_ring.h"
#include "startscreen/install_texts.h"
#include "startscreen/launch.h"
#include "startscreen/menu/start_texts.h"
#include "startscreen/skin_sources.h"
#include "startscreen/start_picture.h"
#include "startscreen/style_pictures.h"

namespace pellox {
namespace {

constexpr QSize kClientSize{603, 391};
constexpr QPoint kScreenPos{169, 110};
const QColor kGreen{0, 142, 0};
const QColor kSilver{192, 192, 192};
constexpr int kFont_px = 11;
constexpr int kSmallInfoFont_px = 16;


template <typename Widget>
Widget* Place(Widget* widget, const char* name, int left, int top, int width, int height) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

QLabel* Picture(QWidget* parent, const char* name, StartScreenPicture which, const char* accessible, QRect box) {
    auto* label = Place(new QLabel(parent), name, box.x(), box.y(), box.width(), box.height());
    label->setPixmap(QPixmap::fromImage(LoadStartScreenPicture(which, parent->devicePixelRatioF())));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);  // drawn from the corner, cut at the box
    label->setAccessibleName(QString::fromUtf8(accessible));
    return label;
}

QLabel* StaticText(QWidget* parent, const char* name, QRect box) {
    auto* label = Place(new QLabel(parent), name, box.x(), box.y(), box.width(), box.height());
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QPlainTextEdit* Memo(QWidget* parent, const char* name) {
    auto* memo = Place(new QPlainTextEdit(parent), name, 8, 8, 353, 137);
    memo->setReadOnly(true);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return memo;
}

// The largest pixel size, from the form's own down, at which text fits the
// button on one line: DejaVu Sans is wider than the font these captions were
// written for, and a cut caption is worse than a slightly smaller one.
void FitCaption(QPushButton& button, const QString& text) {
    QFont font = button.font();
    const int room = button.width() - 12;
    for (int px = kFont_px; px >= 8; --px) {
        font.setPixelSize(px);
        if (QFontMetrics(font).horizontalAdvance(text) <= room) break;
    }
    button.setFont(font);
    button.setText(text);
}

}  // namespace

void LanguageFlag::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit Clicked(tag_);
}

void LanguageFlag::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        // Enter is left to the form, which starts the game wherever the focus is.
        case Qt::Key_Space: emit Clicked(tag_); return;
        default: QLabel::keyPressEvent(event);
    }
}

THBForm::THBForm(StartScreenSetup setup, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      setup_(std::move(setup)),
      launch_(setup_.make_game_window) {
    setObjectName(QStringLiteral("HBForm"));
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(kFont_px);
    setFont(font);
    setAutoFillBackground(true);
    QPalette green = palette();
    green.setColor(QPalette::Window, kGreen);
    setPalette(green);
    setFixedSize(kClientSize);
    RefuseMaximise(*this);
    language_ = StartLanguage(setup_.remembered_language ? setup_.remembered_language() : std::nullopt,
                              setup_.system_locale.toStdString());
    // The window manager shows the title from the start, picture or not.
    setWindowTitle(QString::fromUtf8(StartTextsIn(language_).window_caption));
    if (setup_.start_pictures_folder.empty()) Build();
}

THBForm::~THBForm() = default;

void THBForm::Build() {
    CacheStylePictures();  // before the menu's frame is first painted
    BuildComponents();
    installs_ = std::make_unique<SkinInstallUi>(*this, setup_, InstallHooks());
    BuildContextMenu();
    ShowTexts();
    built_ = true;
}

void THBForm::BuildOrShowStartPicture() {
    const qreal ratio = devicePixelRatioF();
    start_picture_ = StartPicture(setup_.start_pictures_folder, language_, ratio).Read(size() * ratio);
    if (start_picture_.isNull())
        Build();
    else
        showed_start_picture_ = true;
}

void THBForm::BuildBehindStartPicture() {
    if (built_) return;
    Build();
    // Widgets made in a window already shown wait to be shown themselves.
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!child->isWindow() && !child->testAttribute(Qt::WA_WState_ExplicitShowHide)) child->show();
    LookAtCommandLine();
    update();
}

void THBForm::KeepStartPicture() {
    if (setup_.start_pictures_folder.empty()) return;
    const QImage shown = std::exchange(start_picture_, QImage());
    const QImage frame = grab().toImage().convertToFormat(QImage::Format_RGB32);
    if (frame == shown) return;
    if (const Result<void> kept = StartPicture(setup_.start_pictures_folder, language_, devicePixelRatioF()).Write(frame);
        !kept)
        qCWarning(lcGame, "the start screen's first frame is not kept for the next start: %s", kept.reason().c_str());
}

void THBForm::BuildComponents() {
    im_wolf_ = Picture(this, "imWolf", StartScreenPicture::Wolf, "The wolf with his basket", {475, 0, 128, 129});
    im_hare_ = Picture(this, "imHare", StartScreenPicture::Hare, "The hare", {0, 0, 58, 75});
    im_bell_ = Picture(this, "imBell", StartScreenPicture::Bell, "A bell", {48, 56, 33, 49});

    st_small_info_ = StaticText(this, "stSmallInfo", {128, 8, 321, 121});
    QFont bold = font();
    bold.setBold(true);
    bold.setPixelSize(kSmallInfoFont_px);
    st_small_info_->setFont(bold);
    QPalette silver = st_small_info_->palette();
    silver.setColor(QPalette::WindowText, kSilver);
    st_small_info_->setPalette(silver);

    im_soviet_ = Place(new LanguageFlag(-1, this), "imSoviet", 40, 144, 36, 24);
    im_british_ = Place(new LanguageFlag(0, this), "imBritish", 528, 144, 36, 24);
    im_soviet_->setPixmap(QPixmap::fromImage(LoadStartScreenPicture(StartScreenPicture::Soviet, devicePixelRatioF())));
    im_british_->setPixmap(QPixmap::fromImage(LoadStartScreenPicture(StartScreenPicture::British, devicePixelRatioF())));
    im_soviet_->setAccessibleName(QStringLiteral("Русский язык"));
    im_british_->setAccessibleName(QStringLiteral("English language"));
    for (LanguageFlag* flag : {im_soviet_, im_british_}) {
        flag->setFocusPolicy(Qt::StrongFocus);
        flag->setCursor(Qt::PointingHandCursor);
        connect(flag, &LanguageFlag::Clicked, this, [this](int tag) { imLanguageClick(tag); });
    }

    panel1_ = Place(new QFrame(this), "Panel1", 112, 136, 369, 153);
    panel1_->setFrameStyle(QFrame::Panel | QFrame::Raised);

    lb_year_ = Place(new QLabel(this), "lbYear", 16, 208, 83, 13);
    lb_year_->setTextFormat(Qt::PlainText);
    im_logo_ = Picture(this, "imLogo", StartScreenPicture::Icon, "Pellox", {40, 232, 32, 32});
    st_credits_[0] = StaticText(this, "stCredits1", {520, 200, 57, 33});
    st_credits_[1] = StaticText(this, "stCredits2", {520, 248, 57, 49});
    st_credits_[2] = StaticText(this, "stCredits3", {504, 312, 81, 33});

    gb_skin_ = Place(new QGroupBox(this), "gbSkin", 104, 296, 385, 57);
    cb_skin_ = Place(new QComboBox(gb_skin_), "cbSkin", 16, 24, 353, 21);
    cb_skin_->setEditable(false);
    cb_skin_->setAccessibleName(QStringLiteral("Skin"));
    connect(cb_skin_, &QComboBox::activated, this, [this](int index) { menu_.PlayerChose(index); });
    // Moved by the program's own hand (or a test's): the model follows.
    connect(cb_skin_, &QComboBox::currentIndexChanged, this, [this](int index) {
        menu_.Select(index);
        ShowMenu();
    });

    bt_start_ = Place(new QPushButton(this), "btStart", 104, 360, 385, 25);
    connect(bt_start_, &QPushButton::clicked, this, [this] { btStartClick(); });
    // Enter starts the game from anywhere on the form (keyPressEvent): the
    // button wears the default button's look to say so.
    bt_start_->setDefault(true);
    // The game window is made by the start button, or while the pointer is
    // on its way to it.
    OnFirstHover(*bt_start_, [this] { LongCreate(); });

    OrderTabs();
    FollowFocusWithRing(*this);
    for (QWidget* control : std::initializer_list<QWidget*>{im_soviet_, im_british_, cb_skin_, bt_start_})
        FrameFocusOf(*control);
    bt_start_->setFocus();
}

QPlainTextEdit& THBForm::MemoOf(InterfaceLanguage language) {
    const bool su = language == InterfaceLanguage::Russian;
    QPlainTextEdit*& memo = su ? mm_su_instruction_ : mm_gb_instruction_;
    if (memo) return *memo;
    memo = Memo(panel1_, su ? "mmSUInstruction" : "mmGBInstruction");
    memo->setPlainText((su ? texts_su_ : texts_gb_).memo);
    memo->hide();  // until ShowTexts shows its language's
    FrameFocusOf(*memo);
    OrderTabs();
    return *memo;
}

void THBForm::OrderTabs() {
    // Tab goes flag, flag, the memo shown, menu, start button, as a reader
    // looks down the form; the hidden memo is passed over.
    QWidget* previous = im_british_;
    setTabOrder(im_soviet_, im_british_);
    for (QWidget* memo : {mm_su_instruction_, mm_gb_instruction_}) {
        if (!memo) continue;
        setTabOrder(previous, memo);
        previous = memo;
    }
    setTabOrder(previous, cb_skin_);
    setTabOrder(cb_skin_, bt_start_);
}

void THBForm::BuildContextMenu() {
    // On the whole form, and on the menu itself, as a combo box keeps right
    // clicks to itself while it is enabled (a disabled one passes them on to
    // the form). No new control: the window looks as it always has.
    install_skin_action_ = new QAction(this);
    open_skins_folder_action_ = new QAction(this);
    install_skin_action_->setObjectName(QStringLiteral("acInstallSkin"));
    open_skins_folder_action_->setObjectName(QStringLiteral("acOpenSkinsFolder"));
    connect(install_skin_action_, &QAction::triggered, installs_.get(), &SkinInstallUi::ChooseAndInstall);
    connect(open_skins_folder_action_, &QAction::triggered, installs_.get(), &SkinInstallUi::OpenSkinsFolder);
    preview_skin_action_ = new QAction(this);
    preview_skin_action_->setObjectName(QStringLiteral("acPreviewSkin"));
    preview_skin_action_->setEnabled(false);
    connect(preview_skin_action_, &QAction::triggered, this, [this] {
        const std::filesystem::path file = menu_.Entries().FileOf(menu_.Selected());
        if (!file.empty() && setup_.preview_skin) setup_.preview_skin(file);
    });
    if (setup_.preview_skin) {
        for (QWidget* widget : {static_cast<QWidget*>(this), static_cast<QWidget*>(cb_skin_)}) {
            widget->addAction(preview_skin_action_);
            widget->setContextMenuPolicy(Qt::ActionsContextMenu);
        }
    }
    if (!setup_.install_skin) return;
    for (QWidget* widget : {static_cast<QWidget*>(this), static_cast<QWidget*>(cb_skin_)}) {
        widget->addAction(install_skin_action_);
        widget->addAction(open_skins_folder_action_);
        widget->setContextMenuPolicy(Qt::ActionsContextMenu);
    }
    setAcceptDrops(true);
}

QString THBForm::Caption(SkinMenuState state) const {
    const bool su = language_ == InterfaceLanguage::Russian;
    switch (state) {
        case SkinMenuState::Choosing: return QString::fromUtf8(StartTextsIn(language_).menu_choosing);
        case SkinMenuState::Locked: return su ? QStringLiteral(" Выбрана: ") : QStringLiteral(" Chosen: ");
        case SkinMenuState::NoneFound:
            return su ? QStringLiteral(" Скины не найдены. Будет запущена: ") : QStringLiteral(" No skins found; you will play: ");
    }
    return {};
}

void THBForm::ShowTexts() {
    const bool su = language_ == InterfaceLanguage::Russian;
    const StartScreenTexts& texts = su ? texts_su_ : texts_gb_;
    qt_translations_.Use(language_);
    setWindowTitle(QString::fromUtf8(StartTextsIn(language_).window_caption));
    st_small_info_->setText(texts.intro);
    QPlainTextEdit& shown = MemoOf(language_);
    QPlainTextEdit* hidden = su ? mm_gb_instruction_ : mm_su_instruction_;
    if (hidden) hidden->setVisible(false);
    shown.setVisible(true);
    FitCaption(*bt_start_, QString::fromUtf8(StartTextsIn(language_).start_button));
    lb_year_->setText(texts.year);
    for (std::size_t i = 0; i < st_credits_.size(); ++i) st_credits_[i]->setText(texts.credits[i]);
    install_skin_action_->setText(InstallSkinActionText(language_));
    open_skins_folder_action_->setText(OpenSkinsFolderActionText(language_));
    preview_skin_action_->setText(su ? QStringLiteral("Предпросмотр этого скина") : QStringLiteral("Preview this skin"));
    ShowMenu();
}

void THBForm::ShowMenu() {
    // The widget's own signals would only tell the model what it already holds.
    const QSignalBlocker quiet(cb_skin_);
    const std::vector<std::string>& titles = menu_.Titles(language_);
    if (shown_list_version_ != menu_.ListVersion() || shown_language_ != language_ ||
        static_cast<std::size_t>(cb_skin_->count()) > titles.size()) {
        cb_skin_->clear();
        shown_list_version_ = menu_.ListVersion();
        shown_language_ = language_;
    }
    // Found skins are appended: an open popup stays open, and the walk of a
    // large tree costs no refill per skin.
    for (auto i = static_cast<std::size_t>(cb_skin_->count()); i < titles.size(); ++i)
        cb_skin_->addItem(QString::fromStdU16String(DecodeSkinText(titles[i])));
    if (cb_skin_->currentIndex() != menu_.Selected()) cb_skin_->setCurrentIndex(menu_.Selected());
    cb_skin_->setEnabled(menu_.Enabled());
    gb_skin_->setTitle(Caption(menu_.State()));
    if (preview_skin_action_) preview_skin_action_->setEnabled(!menu_.Entries().FileOf(menu_.Selected()).empty());
}

void THBForm::imLanguageClick(int tag) {
    language_ = tag == -1 ? InterfaceLanguage::Russian : InterfaceLanguage::English;
    if (setup_.remember_language) setup_.remember_language(language_);
    launch_.SetLanguage(language_);
    ShowTexts();
}

void THBForm::setVisible(bool visible) {
    // Placed once, before the window is made: on the screen under the pointer.
    if (visible && !placed_) PlaceOnScreenUnderPointer(*this, kScreenPos);
    placed_ = placed_ || visible;
    if (visible && !built_) BuildOrShowStartPicture();
    QWidget::setVisible(visible);
}

void THBForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (built_) LookAtCommandLine();
}

void THBForm::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (!built_) {
        // The last start's frame, pixel for pixel; the widgets come right after it.
        QPainter(this).drawImage(QPoint(0, 0), start_picture_);
        if (!build_queued_)
            QMetaObject::invokeMethod(this, [this] { BuildBehindStartPicture(); }, Qt::QueuedConnection);
        build_queued_ = true;
        return;
    }
    if (creation_queued_) return;
    creation_queued_ = true;
    // After this paint: the window system reads every size of the icon as
    // it is given, for every window of the program. The game window waits
    // for the start button: its pictures and frames would hold more memory
    // than the whole start screen while the player reads.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (QApplication::windowIcon().isNull()) QApplication::setWindowIcon(ProgramIcon());
            // Before the search changes the menu: the frame as the next start opens.
            KeepStartPicture();
            FillSkinMenu();
        },
        Qt::QueuedConnection);
}

bool THBForm::LongCreate() {
    BuildBehindStartPicture();
    FillSkinMenu();
    return launch_.EnsureGameWindow(language_);
}

void THBForm::LookAtCommandLine() {
    if (menu_.CommandLineSeen()) return;
    std::filesystem::path file;
    SkinProbe probe;
    if (!setup_.arguments.isEmpty()) {
        file = setup_.arguments.front().toStdString();
        probe = ProbeSkin(file);
    }
    menu_.CommandLineLooked(probe, file);
    ShowMenu();
}

void THBForm::FillSkinMenu() {
    LookAtCommandLine();
    if (menu_.SearchDue()) StartSkinSearch();
}

void THBForm::StartSkinSearch() {
    menu_.SearchStarted();
    ShowMenu();
    // What killed installs left in the skins folder (up to 256 MiB each) goes
    // once the menu is full, on the walk's thread: the window never waits.
    std::function<void()> afterwards;
    if (!setup_.installed_skins_folder.empty())
        afterwards = [folder = setup_.installed_skins_folder] { RemoveStaleSkinStaging(folder); };
    skin_search_ = std::make_unique<BackgroundSkinSearch>(
        setup_.search_roots,
        BackgroundSkinSearch::Callbacks{
            [this](const SkinProbe& skin, const std::filesystem::path& file) {
                if (menu_.SkinFound(skin, file)) ShowMenu();
            },
            [this] {
                menu_.SearchEnded();
                ShowMenu();
            },
            std::move(afterwards)});
}

void THBForm::btStartClick() {
    if (!LongCreate()) {
        // Without its game window the program has nothing to play.
        close();
        QCoreApplication::exit(1);
        return;
    }
    // The game gets the machine; the menu as found so far is launched from,
    // and the entry launched stays selected should the start screen come back.
    if (skin_search_) skin_search_->Pause();
    menu_.Launched();
    hide();
    const bool from_command_line = !menu_.CommandLineSkin().empty();
    const LaunchOutcome outcome = launch_.Launch(menu_, language_);
    exit_status_ = outcome.status;
    if (exit_status_ == 0) {
        StopSkinSearch();
        close();
        QCoreApplication::exit(exit_status_);
        return;
    }
    // Back to the menu as it was. The command line's skin has just failed:
    // the player chooses again from the built-in game and what the search
    // finds, and Enter now plays the built-in game.
    if (from_command_line) {
        menu_.CommandLineSkinFailed();
        FillSkinMenu();
    }
    show();
    if (skin_search_) skin_search_->Resume();
    const QString title = LaunchFailureTitle(language_);
    const QString text = LaunchFailureText(language_, outcome.failure);
    if (setup_.show_launch_failure)
        setup_.show_launch_failure(this, title, text);
    else
        ShowPlainMessage(this, QMessageBox::Warning, title, text);
}

bool THBForm::StopSkinSearch() {
    if (skin_search_ && !skin_search_->Stop()) walk_left_behind_ = true;
    skin_search_.reset();
    return !walk_left_behind_;
}

void THBForm::keyPressEvent(QKeyEvent* event) {
    // A key in the instant the picture shows finds the widgets it is meant for.
    BuildBehindStartPicture();
    // Enter starts the game from anywhere on the form, as a default button does.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && bt_start_->isEnabled()) {
        bt_start_->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void THBForm::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData() && !SkinSourcesOf(*event->mimeData()).empty()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }
}

void THBForm::dragMoveEvent(QDragMoveEvent* event) {
    // Anywhere on the window: its children take no drops of their own.
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void THBForm::dropEvent(QDropEvent* event) {
    if (!event->mimeData()) return;
    const std::vector<std::filesystem::path> sources = SkinSourcesOf(*event->mimeData());
    if (sources.empty()) return;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // After the drop has been answered: the file manager that the files
    // came from waits for that answer, not for the unpacking or the message box.
    QMetaObject::invokeMethod(
        this, [this, sources] { InstallSkinSources(sources); }, Qt::QueuedConnection);
}

void THBForm::InstallSkinSources(const std::vector<std::filesystem::path>& sources) {
    BuildBehindStartPicture();
    installs_->Install(sources);
}

bool THBForm::SkinInstallRunning() const { return installs_ && installs_->Running(); }

InstallMenuHooks THBForm::InstallHooks() {
    return InstallMenuHooks{
        [this] { return language_; }, [this](const std::filesystem::path& ini) { return ListInstalledSkin(ini); },
        [this](int entry) { SelectInstalledSkin(entry); },
        // A launch hides the start screen, whose installs' questions and
        // boxes belong to it, and could start a skin being replaced.
        [this](bool running) { bt_start_->setEnabled(!running); }};
}

int THBForm::ListInstalledSkin(const std::filesystem::path& ini) {
    const int entry = menu_.SkinInstalled(ProbeSkin(ini), ini);
    ShowMenu();
    return entry;
}

void THBForm::SelectInstalledSkin(int entry) {
    // The new skin is what the player wants to play next; a menu that was
    // locked (no skin found, or the command line's) now offers a choice.
    menu_.OfferInstalled(entry);
    ShowMenu();
}

}  // namespace pellox
