// The last start's first frame: kept after each start, shown by the next
// while the widgets are built behind it, replaced when the widgets paint
// something else, and never trusted when the file is not one we wrote.
#include <sys/stat.h>

#include <QCursor>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <fstream>

#include "startscreen/start_picture.h"
#include "tests/startscreen/start_screen_rig.h"

namespace pellox {
namespace {

constexpr QSize kPixels{603, 391};

QImage Filled(QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QPainter(&image).fillRect(10, 10, 40, 20, Qt::white);  // not one colour: the rows must stay in order
    return image;
}

QByteArray Bytes(const std::filesystem::path& file) {
    QFile f(QString::fromStdString(file.string()));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(StartPicture, WhatIsWrittenIsReadBackAtItsPixelRatio) {
    TempFolder cache;
    const StartPicture picture(cache.path() / "made/on/write", InterfaceLanguage::English, 2.0);
    const QImage frame = Filled(kPixels * 2, QColor(0, 142, 0));
    ASSERT_TRUE(picture.Write(frame)) << picture.File();
    const QImage read = picture.Read(kPixels * 2);
    ASSERT_FALSE(read.isNull());
    EXPECT_EQ(read.devicePixelRatio(), 2.0);
    EXPECT_EQ(read, frame);
    // Each language and each ratio has a picture of its own.
    EXPECT_TRUE(StartPicture(cache.path() / "made/on/write", InterfaceLanguage::Russian, 2.0).Read(kPixels * 2).isNull());
    EXPECT_TRUE(StartPicture(cache.path() / "made/on/write", InterfaceLanguage::English, 1.0).Read(kPixels).isNull());
}

// What sits where the picture is kept and is not a picture for this window
// is passed over: the widgets are built at once and paint the first frame.
TEST(StartPicture, AnythingButThePictureWrittenForThisWindowIsPassedOver) {
    struct Case {
        const char* what;
        std::function<void(const std::filesystem::path& file, const QByteArray& good)> plant;
    };
    const Case cases[] = {
        {"nothing there", [](const std::filesystem::path&, const QByteArray&) {}},
        {"a folder", [](const std::filesystem::path& file, const QByteArray&) { std::filesystem::create_directory(file); }},
        // A FIFO would block a reader that opens it: it must not even be opened.
        {"a FIFO", [](const std::filesystem::path& file, const QByteArray&) { ASSERT_EQ(mkfifo(file.c_str(), 0600), 0); }},
        {"cut short",
         [](const std::filesystem::path& file, const QByteArray& good) {
             std::ofstream(file, std::ios::binary).write(good.constData(), good.size() - 1);
         }},
        {"one byte too many",
         [](const std::filesystem::path& file, const QByteArray& good) {
             std::ofstream(file, std::ios::binary).write((good + 'x').constData(), good.size() + 1);
         }},
        {"another program's file",
         [](const std::filesystem::path& file, const QByteArray& good) {
             QByteArray other = good;
             other[0] = 'X';
             std::ofstream(file, std::ios::binary).write(other.constData(), other.size());
         }},
        {"written by another version",
         [](const std::filesystem::path& file, const QByteArray& good) {
             QByteArray other = good;
             other[8 + 7] = '0';  // inside "Pellox <version> Qt <version>"
             std::ofstream(file, std::ios::binary).write(other.constData(), other.size());
         }},
        {"another window's size",
         [](const std::filesystem::path& file, const QByteArray&) {
             const StartPicture wider(file.parent_path(), InterfaceLanguage::Russian, 1.0);
             ASSERT_TRUE(wider.Write(Filled({391, 603}, Qt::green)));  // as many pixels, turned
         }},
    };
    TempFolder good_folder;
    const StartPicture good(good_folder.path(), InterfaceLanguage::Russian, 1.0);
    ASSERT_TRUE(good.Write(Filled(kPixels, Qt::green)));
    const QByteArray good_bytes = Bytes(good.File());
    ASSERT_FALSE(good_bytes.isEmpty());
    for (const Case& c : cases) {
        TempFolder cache;
        const StartPicture picture(cache.path(), InterfaceLanguage::Russian, 1.0);
        c.plant(picture.File(), good_bytes);
        EXPECT_TRUE(picture.Read(kPixels).isNull()) << c.what;
    }
}

TEST(StartPicture, AFolderThatCannotBeMadeIsTold) {
    TempFolder cache;
    cache.Write("taken", "a file where the folder would go");
    const StartPicture picture(cache.path() / "taken" / "pellox", InterfaceLanguage::Russian, 1.0);
    const Result<void> written = picture.Write(Filled(kPixels, Qt::green));
    ASSERT_FALSE(written);
    EXPECT_NE(written.reason().find("taken"), std::string::npos) << written.reason();
}

// Grabs the start screen after the first paint of its widgets.
class FirstBuiltPaint : public QObject {
public:
    explicit FirstBuiltPaint(QImage& into) : into_(into) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint || seen_) return false;
        auto* form = qobject_cast<THBForm*>(watched);
        if (form && form->Built()) {
            seen_ = true;
            QMetaObject::invokeMethod(
                this, [this, form] { into_ = form->grab().toImage().convertToFormat(QImage::Format_RGB32); },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    QImage& into_;
    bool seen_ = false;
};

class StartPictureScreenTest : public StartScreenTest {
protected:
    TempFolder cache;
    StartPicture Picture() const { return StartPicture(cache.path(), InterfaceLanguage::Russian, 1.0); }

    StartPictureScreenTest() {
        adjust_setup = [this](StartScreenSetup& setup) { setup.start_pictures_folder = cache.path(); };
        // Off the window: a pointer left over the start button by an earlier
        // test would start the skin search before the first paint.
        QCursor::setPos(0, 0);
    }

    // What the widgets painted first, grabbed right after that paint (before
    // the skin search changes the menu's caption).
    QImage first_built_frame;

    // Shows the start screen and lets it paint and settle.
    void ShowAndSettle() {
        if (!form) ShowWatched();
        QElapsedTimer waited;
        waited.start();
        while ((!form->Built() || !form->SkinMenuStarted() || first_built_frame.isNull()) && waited.elapsed() < 5000)
            QCoreApplication::processEvents();
        ASSERT_TRUE(form->Built());
        ASSERT_TRUE(form->SkinMenuStarted());
        ASSERT_FALSE(first_built_frame.isNull());
    }

    // Shows the start screen, its first paint of widgets to be grabbed.
    void ShowWatched() {
        first_built_frame = QImage();
        watcher_ = std::make_unique<FirstBuiltPaint>(first_built_frame);
        Show({}, watcher_.get());
    }

private:
    std::unique_ptr<FirstBuiltPaint> watcher_;
};

TEST_F(StartPictureScreenTest, TheFirstStartKeepsItsFrameAndTheNextShowsItWhileItBuilds) {
    ASSERT_NO_FATAL_FAILURE(ShowAndSettle());
    EXPECT_FALSE(form->ShowedStartPicture());  // nothing kept yet
    const QImage kept = Picture().Read(kPixels);
    ASSERT_FALSE(kept.isNull()) << "no picture kept in " << Picture().File();
    EXPECT_EQ(kept, first_built_frame);
    EXPECT_EQ(kept.pixel(20, 200), QColor(0, 142, 0).rgb());
    const QByteArray bytes = Bytes(Picture().File());
    form.reset();

    ShowWatched();
    EXPECT_TRUE(form->ShowedStartPicture());
    EXPECT_FALSE(form->Built());  // the picture stands in for the widgets
    ASSERT_NO_FATAL_FAILURE(ShowAndSettle());
    EXPECT_EQ(first_built_frame, kept);
    EXPECT_EQ(form->BtStart().isVisible(), true);
    EXPECT_EQ(form->MmSUInstruction().isVisible(), true);
    // The widgets painted what the picture showed: nothing was written again.
    EXPECT_EQ(Bytes(Picture().File()), bytes);
}

TEST_F(StartPictureScreenTest, APictureTheWidgetsNoLongerPaintIsReplacedByTheirs) {
    ASSERT_TRUE(Picture().Write(Filled(kPixels, Qt::red)));
    ASSERT_NO_FATAL_FAILURE(ShowAndSettle());
    EXPECT_TRUE(form->ShowedStartPicture());
    EXPECT_EQ(Picture().Read(kPixels), first_built_frame);
}

TEST_F(StartPictureScreenTest, EnterWhileThePictureShowsStartsTheGame) {
    ASSERT_TRUE(Picture().Write(Filled(kPixels, QColor(0, 142, 0))));
    ShowWatched();
    ASSERT_FALSE(form->Built());
    const auto closer = CloseTheGameWhenShown();
    QTest::keyClick(form.get(), Qt::Key_Return);
    EXPECT_FALSE(form->isVisible());
    ASSERT_NE(form->GameWindowIfCreated(), nullptr);
    EXPECT_EQ(form->ExitStatus(), 0);
}

// As the program starts with a skin on its command line, and as tests start it.
TEST_F(StartPictureScreenTest, WithoutAFolderNothingIsShownOrKept) {
    adjust_setup = nullptr;
    ASSERT_NO_FATAL_FAILURE(ShowAndSettle());
    EXPECT_FALSE(form->ShowedStartPicture());
    EXPECT_TRUE(std::filesystem::is_empty(cache.path()));
}

}  // namespace
}  // namespace pellox
