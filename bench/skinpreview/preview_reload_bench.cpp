// The live preview's reload, as an author sees it: from a picture's save to
// the game window showing it. A writer thread saves the hare's picture in a
// new colour, either in place (opened, truncated, written, closed) or by
// rename (written to a new file beside it, closed, renamed over it), and
// stamps the moment the save is complete (the close; the rename). The window
// thread stamps the moment the window, after the preview applied that
// colour, has painted and flushed to the window system: Qt Widgets paints and
// flushes a top-level window's backing store inside the handling of its
// UpdateRequest event, so the end of the first such handling with a paint
// after the apply is that flush. The writer waits for it, then a random 50 to
// 150 ms, and saves again. The demo plays all along, as in a preview. On a
// machine loaded past its cores the writer may lose the processor between
// its save and its stamp; a save shown before its stamp counts as 0 ms.
//
//   preview_reload_bench [saves per way]     (default 50)
//
// Runs on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise
// (xcb under Xvfb: the flush is a put of the image to the X server).

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <random>
#include <sstream>
#include <thread>

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>

#include "assets/sprites/builtin_sprites.h"
#include "bench/media/stats.h"
#include "media/game_sounds.h"
#include "records/settings_records_store.h"
#include "skincommands/skin_export.h"
#include "skinpreview/skin_preview.h"

namespace {

using SaveClock = std::chrono::steady_clock;
using namespace pellox;

enum class SaveWay { InPlace, ByRename };

QByteArray HareBitmap(QRgb colour) {
    QImage picture(58, 75, QImage::Format_RGB32);
    picture.fill(colour);
    picture.setPixel(0, 74, qRgb(255, 255, 255));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "BMP");
    return bytes;
}

void WriteFile(const std::filesystem::path& file, const QByteArray& bytes, int flags) {
    const int fd = ::open(file.c_str(), O_WRONLY | flags, 0644);
    if (fd < 0) throw std::runtime_error("cannot write " + file.string());
    const char* at = bytes.constData();
    for (qsizetype left = bytes.size(); left > 0;) {
        const ssize_t n = ::write(fd, at, static_cast<std::size_t>(left));
        if (n <= 0) throw std::runtime_error("write failed: " + file.string());
        at += n, left -= n;
    }
    ::close(fd);
}

// What the writer and the window thread share about the save in flight.
struct Exchange {
    std::atomic<QRgb> wanted{0};
    std::atomic<bool> flushed{false};
    SaveClock::time_point saved;    // written by the writer before `wanted`
    SaveClock::time_point shown;    // written by the window thread before `flushed`
    SaveClock::time_point applied;  // the preview applied the wanted colour (before `flushed`)
    std::atomic<int> applies{0};    // applies since the save
};

// Every event of the game window passes here: the first UpdateRequest with a
// paint, once the wanted colour is applied, is the flush that shows it.
class FlushWatch : public QApplication {
public:
    using QApplication::QApplication;
    TMForm* form = nullptr;
    Exchange* exchange = nullptr;
    std::function<QRgb()> hare_colour;

    bool notify(QObject* receiver, QEvent* event) override {
        if (!form || receiver != form) return QApplication::notify(receiver, event);
        if (event->type() == QEvent::Paint) painted_ = true;
        if (event->type() != QEvent::UpdateRequest) return QApplication::notify(receiver, event);
        painted_ = false;
        const bool result = QApplication::notify(receiver, event);
        const QRgb wanted = exchange->wanted.load();
        if (painted_ && wanted != 0 && !exchange->flushed.load() && hare_colour() == wanted) {
            exchange->shown = SaveClock::now();
            exchange->flushed.store(true);
        }
        return result;
    }

private:
    bool painted_ = false;
};

void Report(const char* way, std::vector<double> ms) {
    const bench::Summary s = bench::Summarise(ms);
    std::printf("| %s | %zu | %.1f ms | %.1f ms | %.1f ms | %.1f ms | %.1f ms |\n", way, ms.size(), s.min, s.p50,
                s.p95, s.p99, s.max);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const int saves = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    FlushWatch app(argc, argv);
    QTemporaryDir dir;
    const std::filesystem::path skin = std::filesystem::path(dir.path().toStdString()) / "skin";
    std::ostringstream out, err;
    if (ExportSkinCommand(skin, out, err) != 0) {
        std::cerr << err.str();
        return 1;
    }
    PictureSet pictures;
    if (!LoadBuiltinPictures(pictures)) return 1;
    GameWindow window(std::move(pictures), MakeGameSound(),
                      std::make_unique<SettingsRecordsStore>(dir.filePath(QStringLiteral("records.conf"))));
    SkinPreview preview(window, skin / std::string(kExportedSkinFile), skin, InterfaceLanguage::English);
    preview.Start();

    Exchange exchange;
    app.form = &window.Form();
    app.exchange = &exchange;
    app.hare_colour = [&] {
        const QImage& hare = window.Form().Pictures().Drawable(SpriteId::imHare);
        return hare.pixel(hare.width() / 2, hare.height() / 2) | 0xff000000u;
    };

    QObject::connect(&preview, &SkinPreview::Applied, [&] {
        const QRgb wanted = exchange.wanted.load();
        ++exchange.applies;
        if (wanted != 0 && !exchange.flushed.load() && app.hare_colour() == wanted) exchange.applied = SaveClock::now();
    });
    std::vector<double> in_place, by_rename;
    std::atomic<bool> done{false};
    std::thread writer([&] {
        std::mt19937 random(29);
        std::this_thread::sleep_for(std::chrono::milliseconds(500));  // the window up and idle
        const std::filesystem::path hare = skin / "pictures/imHare.bmp";
        for (int i = 0; i < 2 * saves; ++i) {
            const SaveWay way = i < saves ? SaveWay::InPlace : SaveWay::ByRename;
            const QRgb colour = qRgb(20 + i % 200, 40, 200 - i % 150);
            const QByteArray bytes = HareBitmap(colour);
            exchange.flushed.store(false);
            exchange.applies.store(0);
            // Wanted before the save: the window may show it before this
            // thread, descheduled after its save, stamps the save's end.
            exchange.saved = SaveClock::time_point::max();
            exchange.wanted.store(colour);
            if (way == SaveWay::InPlace) {
                WriteFile(hare, bytes, O_TRUNC);
            } else {
                const std::filesystem::path temporary = skin / "pictures/.imHare.bmp.new";
                WriteFile(temporary, bytes, O_CREAT | O_TRUNC);
                std::filesystem::rename(temporary, hare);
            }
            exchange.saved = SaveClock::now();
            const auto give_up = SaveClock::now() + std::chrono::seconds(5);
            while (!exchange.flushed.load() && SaveClock::now() < give_up)
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            if (!exchange.flushed.load()) {
                std::fprintf(stderr, "save %d was never shown\n", i);
                continue;
            }
            // Shown before the stamp: the writer lost the processor after its save.
            const double ms =
                std::max(0.0, std::chrono::duration<double, std::milli>(exchange.shown - exchange.saved).count());
            (way == SaveWay::InPlace ? in_place : by_rename).push_back(ms);
            if (ms > 100)
                std::fprintf(stderr, "save %d (%s): %.1f ms, applied after %.1f ms, %d applies\n", i,
                             way == SaveWay::InPlace ? "in place" : "by rename", ms,
                             std::chrono::duration<double, std::milli>(exchange.applied - exchange.saved).count(),
                             exchange.applies.load());
            exchange.wanted.store(0);
            std::this_thread::sleep_for(std::chrono::milliseconds(50 + random() % 100));
        }
        done.store(true);
        QMetaObject::invokeMethod(&app, &QCoreApplication::quit, Qt::QueuedConnection);
    });
    app.exec();
    writer.join();
    app.form = nullptr;

    std::printf("platform %s, %d saves each way\n", qPrintable(QGuiApplication::platformName()), saves);
    std::printf("| save | saves | min | p50 | p95 | p99 | max |\n|---|---|---|---|---|---|---|\n");
    Report("in place", in_place);
    Report("by rename", by_rename);
    return in_place.size() + by_rename.size() == static_cast<std::size_t>(2 * saves) ? 0 : 1;
}
