// Skins installed from the start screen: dropped on the window or chosen from
// its context menu, through an installer the test hands in.
#include <chrono>

#include <QDesktopServices>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QMenu>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QUrl>

#include "tests/startscreen/start_screen_rig.h"

namespace pellox {
namespace {

const QString kBuiltinSU = QStringLiteral("Встроенная игра по умолчанию «Kestrow»");

class SkinInstallTest : public StartScreenTest {
protected:
    TempFolder installed;  // the installed skins folder, a search root after the start folder
    std::vector<std::filesystem::path> install_calls;
    // What the installer answers; by default it installs "Новый"/"New".
    std::function<SkinInstallResult(const std::filesystem::path&)> answer = [this](const std::filesystem::path&) {
        return InstallSkin("new", "Новый", "New");
    };
    QStringList message_boxes;  // each message box's text, as the player saw it
    QList<Qt::TextFormat> message_box_formats;

    SkinInstallTest() {
        RunTheApplicationLoopOnce();
        adjust_setup = [this](StartScreenSetup& setup) {
            setup.search_roots.push_back(installed.path());
            setup.installed_skins_folder = installed.path();
            setup.install_skin = [this](const std::filesystem::path& source, SameTitleChoice, InstallMonitor&) {
                install_calls.push_back(source);
                return answer(source);
            };
        };
    }

    // Writes a skin into the installed folder as an installer would.
    SkinInstallResult InstallSkin(const std::string& folder, const std::string& title, const std::string& title_gb) {
        const std::filesystem::path ini =
            installed.Write(folder + "/" + folder + ".ini",
                            "[SETTINGS]\nver=1.6\ntitle=" + title + "\ntitleGB=" + title_gb + "\n");
        SkinInstallResult result;
        result.installed.push_back({title, title_gb, ini.parent_path(), ini});
        return result;
    }

    static QMimeData* Files(const QStringList& paths) {
        auto* data = new QMimeData;
        QList<QUrl> urls;
        for (const QString& path : paths) urls << (path.contains(u':') ? QUrl(path) : QUrl::fromLocalFile(path));
        data->setUrls(urls);
        return data;
    }

    // Drags data over target (the form or one of its children) and drops it
    // when the drag is taken; gives whether it was. Lets the install run.
    bool Drop(const QStringList& paths, QWidget* target = nullptr) {
        if (!target) target = form.get();
        std::unique_ptr<QMimeData> data(Files(paths));
        const QPointF at(target->width() / 2, target->height() / 2);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        WhileAnswering([this] { WaitForInstalls(); });
        return drop.isAccepted();
    }

    // Runs work; every message box it opens is read and closed.
    void WhileAnswering(const std::function<void()>& work) {
        QTimer reader;
        QObject::connect(&reader, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                message_boxes << box->windowTitle() + u'\n' + box->text();
                message_box_formats << box->textFormat();
                box->close();
            }
        });
        reader.start(10);
        work();
    }

    std::string Listed() { return Entries().join(QStringLiteral(" | ")).toStdString(); }
};

TEST_F(SkinInstallTest, ADroppedArchiveIsInstalledAndTheNewSkinSelectedInTheMenuThatWasLocked) {
    Open();  // no skin anywhere: the menu is locked on the built-in game
    ASSERT_EQ(form->MenuState(), SkinMenuState::NoneFound);
    const std::filesystem::path archive = skins.Write("downloads/New Skin.zip", "PK");

    EXPECT_TRUE(Drop({QString::fromStdString(archive.string())}));
    ASSERT_EQ(install_calls.size(), 1u);
    EXPECT_EQ(install_calls[0], archive);
    EXPECT_EQ(Listed(), kBuiltinSU.toStdString() + " | Новый");
    EXPECT_EQ(form->CbSkin().currentIndex(), 1);
    EXPECT_TRUE(form->CbSkin().isEnabled());
    EXPECT_EQ(form->GbSkin().title(), kChoosingSU);
    EXPECT_TRUE(message_boxes.isEmpty()) << message_boxes.join(u'\n').toStdString();
    form->imLanguageClick(0);
    EXPECT_EQ(form->CbSkin().currentText(), QStringLiteral("New"));
    EXPECT_EQ(form->Menu().SkinFiles.back(), installed.path() / "new" / "new.ini");
}

TEST_F(SkinInstallTest, ASkinInstalledBeforeWithTheSameFilesIsSelectedAndSaidSo) {
    const SkinInstallResult first = InstallSkin("new", "Новый", "New");
    WriteSkin("mine.ini", "Мой");
    answer = [&](const std::filesystem::path&) {
        SkinInstallResult again;
        again.already_installed = first.installed;
        return again;
    };
    Open();
    form->CbSkin().setCurrentIndex(form->CbSkin().findText(QStringLiteral("Мой")));
    ASSERT_EQ(form->CbSkin().currentText(), QStringLiteral("Мой"));
    const std::size_t entries = form->Menu().SkinFiles.size();
    EXPECT_TRUE(Drop({QString::fromStdString(skins.Write("downloads/New.zip", "PK").string())}));
    EXPECT_EQ(form->CbSkin().currentText(), QStringLiteral("Новый"));
    EXPECT_EQ(form->Menu().SkinFiles.size(), entries) << "listed once";
    ASSERT_EQ(message_boxes.size(), 1);
    EXPECT_TRUE(message_boxes[0].endsWith(QStringLiteral("Скин «Новый» уже установлен, с теми же файлами; он выбран в меню.")))
        << message_boxes[0].toStdString();
}

// A skin installed again over its own folder once kept its old titles in the
// menu (and one the search had listed got a second entry).
TEST_F(SkinInstallTest, ASkinInstalledAgainOverItsFolderKeepsOneEntryWithItsNewTitles) {
    Open();
    const QString archive = QString::fromStdString(skins.Write("downloads/New.zip", "PK").string());
    EXPECT_TRUE(Drop({archive}));
    form->imLanguageClick(0);
    answer = [this](const std::filesystem::path&) { return InstallSkin("new", "Новый", "Newer"); };
    EXPECT_TRUE(Drop({archive}));
    EXPECT_EQ(Entries(), (QStringList{QStringLiteral("Built-in game “Kestrow”"), QStringLiteral("Newer")}));
    EXPECT_EQ(form->CbSkin().currentIndex(), 1);
    EXPECT_EQ(form->Menu().SkinFiles.size(), 2u);
}

TEST_F(SkinInstallTest, TheSameTitleWithOtherFilesIsThePlayersChoice) {
    std::vector<SameTitleChoice> asked;  // each install's choice, as the installer got it
    std::optional<SameTitleChoice> player;
    QStringList titles_shown;
    const SkinInstallResult installed_before = InstallSkin("new", "Новый", "New");
    adjust_setup = [&, with_installer = adjust_setup](StartScreenSetup& setup) {
        with_installer(setup);
        setup.install_skin = [&](const std::filesystem::path&, SameTitleChoice same_title, InstallMonitor&) {
            asked.push_back(same_title);
            SkinInstallResult result;
            if (same_title == SameTitleChoice::Ask) result.to_choose = installed_before.installed;
            else result = InstallSkin("new (2)", "Новый (2)", "New (2)");
            return result;
        };
        setup.choose_same_title = [&](QWidget*, const QStringList& titles) {
            titles_shown += titles;
            return player;
        };
    };
    Open();
    const QString archive = QString::fromStdString(skins.Write("downloads/New.zip", "PK").string());
    player = std::nullopt;  // cancelled: nothing more is done
    EXPECT_TRUE(Drop({archive}));
    EXPECT_EQ(asked, (std::vector<SameTitleChoice>{SameTitleChoice::Ask}));
    EXPECT_EQ(titles_shown, QStringList{QStringLiteral("Новый")});
    EXPECT_TRUE(message_boxes.isEmpty()) << message_boxes.join(u'\n').toStdString();

    asked.clear();
    player = SameTitleChoice::KeepBoth;
    EXPECT_TRUE(Drop({archive}));
    EXPECT_EQ(asked, (std::vector<SameTitleChoice>{SameTitleChoice::Ask, SameTitleChoice::KeepBoth}));
    EXPECT_EQ(form->CbSkin().currentText(), QStringLiteral("Новый (2)"));
}

TEST_F(SkinInstallTest, OnlyLocalArchivesFoldersAndSkinFilesAreTaken) {
    Open();
    const QString folder = QString::fromStdString(skins.Folder("a skin folder").string());
    const struct {
        QStringList paths;
        bool taken;
    } cases[] = {
        {{QStringLiteral("/somewhere/skin.ini")}, true},
        {{QStringLiteral("/somewhere/SKIN.TAR.GZ")}, true},
        {{QStringLiteral("/somewhere/skin.7z"), QStringLiteral("/somewhere/other.rar")}, true},
        {{folder}, true},
        {{QStringLiteral("/somewhere/picture.png")}, false},
        {{QStringLiteral("/somewhere/skin.zip"), QStringLiteral("/somewhere/picture.png")}, false},
        {{QStringLiteral("https://example.org/skin.zip")}, false},
        {{QStringLiteral("/somewhere/.zip")}, false},
    };
    for (const auto& c : cases) {
        install_calls.clear();
        EXPECT_EQ(Drop(c.paths), c.taken) << c.paths.join(u' ').toStdString();
        EXPECT_EQ(install_calls.size(), c.taken ? static_cast<std::size_t>(c.paths.size()) : 0u)
            << c.paths.join(u' ').toStdString();
    }
    // Anywhere on the window: over the text, the menu or the start button.
    for (QWidget* child : {static_cast<QWidget*>(form->MmSUInstruction().viewport()),
                           static_cast<QWidget*>(&form->CbSkin()), static_cast<QWidget*>(&form->BtStart())}) {
        install_calls.clear();
        EXPECT_TRUE(Drop({QStringLiteral("/somewhere/skin.zip")}, child)) << child->objectName().toStdString();
        EXPECT_EQ(install_calls.size(), 1u) << child->objectName().toStdString();
    }
}

// The walk, still running when the skin is installed, meets it in the
// installed folder: it stays listed once, and the player's new skin stays selected.
TEST_F(SkinInstallTest, ASkinInstalledWhileTheSearchRunsIsListedOnce) {
    WriteSkin("alpha.ini", "Alpha");
    Show();
    form->InstallSkinSources({skins.path() / "new.zip"});
    QElapsedTimer waited;
    waited.start();
    while ((!form->SkinMenuStarted() || form->SkinSearchRunning() || form->SkinInstallRunning()) &&
           waited.elapsed() < 5000)
        QCoreApplication::processEvents();
    ASSERT_FALSE(form->SkinSearchRunning());
    // The install runs beside the walk: which of the two lists it first
    // depends on who gets there first, not how often.
    const QStringList entries = Entries();
    EXPECT_EQ(entries.size(), 3) << Listed();
    EXPECT_EQ(entries.count(QStringLiteral("Новый")), 1) << Listed();
    EXPECT_EQ(entries.count(QStringLiteral("Alpha")), 1) << Listed();
    EXPECT_EQ(form->CbSkin().currentText(), QStringLiteral("Новый"));
}

TEST_F(SkinInstallTest, AFailedInstallShowsItsReasonsInTheLanguageAndLeavesTheMenu) {
    WriteSkin("alpha.ini", "Alpha");
    Open();
    answer = [](const std::filesystem::path&) {
        SkinInstallResult result;
        for (int i = 1; i <= 7; ++i)
            result.rejected.push_back({"pack/skin" + std::to_string(i) + ".ini", "it names no title"});
        return result;
    };
    const QString archive = QString::fromStdString(skins.Write("broken.zip", "PK").string());
    EXPECT_TRUE(Drop({archive}));
    form->imLanguageClick(0);
    EXPECT_TRUE(Drop({archive}));
    answer = [](const std::filesystem::path&) -> SkinInstallResult {
        throw std::runtime_error("the archive is damaged: truncated input");
    };
    EXPECT_TRUE(Drop({archive}));
    answer = [](const std::filesystem::path&) {
        SkinInstallResult result;
        result.error = "unpacking would take more than 256 MB";
        return result;
    };
    EXPECT_TRUE(Drop({archive}));

    ASSERT_EQ(message_boxes.size(), 4);
    EXPECT_EQ(message_boxes[0].toStdString(),
              "Скин не установился\n"
              "Из «broken.zip» не удалось установить ни одного скина.\n"
              "Найденные файлы скинов и почему они не подошли:\n"
              "• pack/skin1.ini: it names no title\n• pack/skin2.ini: it names no title\n"
              "• pack/skin3.ini: it names no title\n• pack/skin4.ini: it names no title\n"
              "• pack/skin5.ini: it names no title\n"
              "…и ещё 2.");
    EXPECT_TRUE(message_boxes[1].startsWith(QStringLiteral("The skin was not installed\n"
                                                           "No skin could be installed from ‘broken.zip’.\n"
                                                           "Skin files found there, and why each was left out:\n")))
        << message_boxes[1].toStdString();
    EXPECT_TRUE(message_boxes[1].endsWith(QStringLiteral("…and 2 more."))) << message_boxes[1].toStdString();
    EXPECT_TRUE(message_boxes[2].endsWith(QStringLiteral("‘broken.zip’.\nthe archive is damaged: truncated input")))
        << message_boxes[2].toStdString();
    EXPECT_TRUE(message_boxes[3].endsWith(QStringLiteral("‘broken.zip’.\nunpacking would take more than 256 MB")))
        << message_boxes[3].toStdString();
    EXPECT_EQ(Entries().size(), 2);
    EXPECT_EQ(form->CbSkin().currentText(), QStringLiteral("Alpha"));
}

// Installed and listed all the same, so the player can mend it; the box says
// why it would not start, names and reasons as plain text.
TEST_F(SkinInstallTest, AnInstalledSkinThatFailsItsCheckIsListedAndItsReasonsShownInABox) {
    std::vector<std::filesystem::path> checked;
    adjust_setup = [&, with_installer = adjust_setup](StartScreenSetup& setup) {
        with_installer(setup);
        setup.check_installed_skin = [&](const std::filesystem::path& ini) {
            checked.push_back(ini);
            return std::vector<SkinEntryFailure>{{"WOLF", "wolfL", "no such file: no \"ВОЛК0.BMP\" in \"рисунки/\""},
                                                 {"SOUNDS", "Over", "the entry is missing"}};
        };
    };
    Open();
    answer = [this](const std::filesystem::path&) { return InstallSkin("wolf", "Волк <b>", "Wolf <b>"); };
    EXPECT_TRUE(Drop({QString::fromStdString(skins.Write("wolf.zip", "PK").string())}));
    EXPECT_EQ(checked, std::vector<std::filesystem::path>{installed.path() / "wolf" / "wolf.ini"});
    EXPECT_EQ(form->CbSkin().currentText(), QStringLiteral("Волк <b>"));
    ASSERT_EQ(message_boxes.size(), 1);
    EXPECT_EQ(message_boxes[0].toStdString(),
              "Скин не запустится\n"
              "Скин «Волк <b>» установлен, но не запустится:\n"
              "• [WOLF] wolfL: нет такого файла: в \"рисунки/\" нет \"ВОЛК0.BMP\"\n"
              "• [SOUNDS] Over: записи нет\n"
              "Скин остался в меню; исправить его можно в папке:\n" +
                  (installed.path() / "wolf").string());
    EXPECT_EQ(message_box_formats, QList<Qt::TextFormat>{Qt::PlainText});
}

// A killed install's hidden folder goes without an install, once the
// search has filled the menu.
TEST_F(SkinInstallTest, TheStartScreenRemovesWhatAKilledInstallLeft) {
    const std::filesystem::path stale = installed.path() / ".pellox-install-killed";
    installed.Write(".pellox-install-killed/unpacked/half.bmp", "BM");
    std::filesystem::last_write_time(stale, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
    Open();
    QElapsedTimer waited;
    waited.start();
    while (std::filesystem::exists(stale) && waited.elapsed() < 5000) QCoreApplication::processEvents();
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_TRUE(install_calls.empty());
}

// Catches what the desktop would be asked to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void Open(const QUrl& url) { opened << url; }
};

// What a right click on widget pops up: its actions' texts.
QStringList ContextMenuOf(QWidget& widget) {
    QStringList shown;
    QTimer reader;
    QObject::connect(&reader, &QTimer::timeout, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* action : menu->actions()) shown << action->text();
            menu->close();
        }
    });
    reader.start(10);
    const QPoint at(widget.width() / 2, widget.height() / 2);
    QContextMenuEvent click(QContextMenuEvent::Mouse, at, widget.mapToGlobal(at));
    QApplication::sendEvent(&widget, &click);
    return shown;
}

// A combo box keeps right clicks to itself, and once swallowed this one.
TEST_F(SkinInstallTest, ARightClickOnTheMenuOrAnywhereOnTheFormOffersTheInstall) {
    Open();  // no skin: the menu is locked, disabled
    const QStringList expected{QStringLiteral("Установить скин…"), QStringLiteral("Открыть папку скинов")};
    for (QWidget* widget : {static_cast<QWidget*>(&form->CbSkin()), static_cast<QWidget*>(&form->GbSkin()),
                            static_cast<QWidget*>(&form->BtStart()), static_cast<QWidget*>(&form->LbYear()),
                            static_cast<QWidget*>(form.get())})
        EXPECT_EQ(ContextMenuOf(*widget), expected) << widget->objectName().toStdString();
    form->InstallSkinSources({skins.path() / "new.zip"});
    WaitForInstalls();
    ASSERT_TRUE(form->CbSkin().isEnabled());
    EXPECT_EQ(ContextMenuOf(form->CbSkin()), expected);
}

TEST_F(SkinInstallTest, TheContextMenuInstallsAChosenFileAndOpensTheSkinsFolder) {
    Open();
    const struct {
        int flag;
        const char* install;
        const char* open;
    } languages[] = {{-1, "Установить скин…", "Открыть папку скинов"}, {0, "Install a skin…", "Open the skins folder"}};
    for (const auto& language : languages) {
        form->imLanguageClick(language.flag);
        ASSERT_EQ(form->actions().size(), 2);
        EXPECT_EQ(form->actions()[0]->text().toStdString(), language.install);
        EXPECT_EQ(form->actions()[1]->text().toStdString(), language.open);
    }

    const std::filesystem::path chosen = skins.Write("downloads/chosen.tar.xz", "xz");
    QTimer chooser;
    QObject::connect(&chooser, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            const QString path = QString::fromStdString(chosen.string());
            dialog->selectFile(path);
            // selectFile leaves the name field alone while it has the focus
            // and the folder's listing has not come in yet; typed, it counts.
            if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) name->setText(path);
            static_cast<QDialog*>(dialog)->accept();  // public in QDialog
        }
    });
    chooser.start(10);
    form->InstallSkinAction().trigger();
    chooser.stop();
    WaitForInstalls();
    ASSERT_EQ(install_calls.size(), 1u);
    EXPECT_EQ(install_calls[0], chosen);
    EXPECT_EQ(form->CbSkin().currentText(), QStringLiteral("New"));

    UrlCatcher desktop;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &desktop, "Open");
    std::filesystem::remove_all(installed.path());
    form->OpenSkinsFolderAction().trigger();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    ASSERT_EQ(desktop.opened.size(), 1);
    EXPECT_EQ(desktop.opened[0], QUrl::fromLocalFile(QString::fromStdString(installed.path().string())));
    EXPECT_TRUE(std::filesystem::is_directory(installed.path()));  // made for the player to put skins in
}

TEST_F(SkinInstallTest, WithNoHomeThePlayerIsToldThereIsNoSkinsFolder) {
    const auto with_installer = adjust_setup;
    adjust_setup = [&](StartScreenSetup& setup) {
        with_installer(setup);
        setup.installed_skins_folder.clear();  // neither XDG_DATA_HOME nor HOME
    };
    Open();
    WhileAnswering([this] { form->OpenSkinsFolderAction().trigger(); });
    ASSERT_EQ(message_boxes.size(), 1);
    EXPECT_EQ(message_boxes[0].toStdString(),
              "Открыть папку скинов\nПапки скинов нет: не заданы ни XDG_DATA_HOME, ни HOME.");
}

TEST_F(SkinInstallTest, WithoutAnInstallerTheStartScreenOffersNone) {
    adjust_setup = nullptr;
    Open();
    EXPECT_TRUE(form->actions().isEmpty());
    EXPECT_FALSE(form->acceptDrops());
}

}  // namespace
}  // namespace pellox

#include "skin_install_test.moc"
