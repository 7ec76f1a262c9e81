// From a key press to the new pose's pixels handed to the window system.
//
// input_lag_bench [--source posted|xtest|pad-poll|pad-node] [--presses N] [--gap MIN_MS,MAX_MS] [--seed S]
//
// Runs the built-in game in a real game window: first in the demo (where the
// game ignores its keys: what is timed there is the key's way in), then in
// play (Game A, started again after every game over). A driver thread presses
// W, O, D or K after a random gap, always a key that turns the wolf, toward
// the chute whose egg is lowest; the next press waits until this one is seen
// through. Each press is timed from the moment it is handed over (posted to
// Qt's queue, or sent through XTest; with XTest also from the X server's own
// stamp) to the key event delivered, the key handled and the new pose flushed.
// A controller's press (a virtual controller's button, see pad_source.h) is
// timed from the moment its button is set, to the event in whose handling
// the game read it, the handling's end and the flush.
//
// Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise; the sound is
// OpenAL Soft's silent real-time null output unless ALSOFT_DRIVERS says
// otherwise, so that the tick waits for its step sounds as with a sound card.
// Exits with 1 when no press could be seen through.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTimer>

#include "assets/sprites/builtin_sprites.h"
#include "bench/input/lag_probe.h"
#include "bench/input/pad_source.h"
#include "bench/input/posted_key_source.h"
#include "bench/media/stats.h"
#include "gamepad/gamepad_window.h"
#include "media/game_sounds.h"
#include "records/settings_records_store.h"
#include "startscreen/launch.h"
#ifdef PELLOX_BENCH_XTEST
#include "bench/input/xtest_key_source.h"
#endif

namespace {

using namespace pellox;
using namespace pellox::bench;

struct Options {
    std::string source = "posted";
    int presses = 300;
    int min_gap_ms = 20;
    int max_gap_ms = 250;
    unsigned seed = 1;
};

bool ParseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const bool has_value = i + 1 < argc;
        if (std::strcmp(argv[i], "--source") == 0 && has_value) o.source = argv[++i];
        else if (std::strcmp(argv[i], "--presses") == 0 && has_value) o.presses = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--gap") == 0 && has_value) {
            if (std::sscanf(argv[++i], "%d,%d", &o.min_gap_ms, &o.max_gap_ms) != 2) return false;
        } else if (std::strcmp(argv[i], "--seed") == 0 && has_value) o.seed = std::strtoul(argv[++i], nullptr, 10);
        else return false;
    }
    return o.presses > 0 && o.min_gap_ms >= 0 && o.max_gap_ms >= o.min_gap_ms;
}

std::string LoadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

// The next key in play: toward the chute whose lowest egg is nearest its
// mouth, among the three the wolf does not face, so that every press turns him.
int NextPlayPosition(const GameEngine& engine) {
    int best = -1, best_place = 99;
    for (int position = 0; position < 4; ++position) {
        if (position == engine.WolfPos()) continue;
        const std::uint8_t eggs = engine.Chute(position);
        const int place = eggs == 0 ? 8 : __builtin_ctz(eggs);
        if (place < best_place) best = position, best_place = place;
    }
    return best;
}

bool Playing(GameMode state) { return state != GameMode::Demo && state != GameMode::GameOver; }

class LagBench {
public:
    LagBench(GameWindow& window, PressDriver& driver, int presses)
        : window_(window), driver_(driver), presses_(presses) {}

    void Start() { driver_.PressNext(0); }

    void OnSample(const LagSample& sample) {
        (in_play_ ? play_ : demo_).push_back(sample);
        // Outside the key's handling: the next press is chosen, and a game started, from the event loop.
        QMetaObject::invokeMethod(qApp, [this] { Next(); }, Qt::QueuedConnection);
    }

    const std::vector<LagSample>& Demo() const { return demo_; }
    const std::vector<LagSample>& Play() const { return play_; }
    int Games() const { return games_; }

private:
    void Next() {
        GameEngine& engine = window_.Engine();
        if (!in_play_ && static_cast<int>(demo_.size()) >= presses_) in_play_ = true;
        if (in_play_ && Measured(play_) >= presses_) return QCoreApplication::quit();
        if (in_play_ && !Playing(engine.CurrentState())) {
            engine.PressGameButton(Variant::A);
            engine.ReleaseGameButton();
            ++games_;
        }
        driver_.PressNext(in_play_ ? NextPlayPosition(engine) : static_cast<int>(demo_.size() % 4));
    }

    static int Measured(const std::vector<LagSample>& samples) {
        int n = 0;
        for (const LagSample& s : samples) n += s.flushed_ms.has_value();
        return n;
    }

    GameWindow& window_;
    PressDriver& driver_;
    int presses_;
    bool in_play_ = false;
    int games_ = 0;
    std::vector<LagSample> demo_, play_;
};

template <typename Pick>
std::vector<double> Values(const std::vector<LagSample>& samples, Pick pick) {
    std::vector<double> v;
    for (const LagSample& s : samples)
        if (const std::optional<double> x = pick(s)) v.push_back(*x);
    return v;
}

void PrintRow(const char* phase, const char* what, const std::vector<double>& v) {
    if (v.empty()) return (void)std::printf("| %s | %s | 0 | | | | |\n", phase, what);
    const Summary s = Summarise(v);
    std::printf("| %s | %s | %zu | %.3f | %.3f | %.3f | %.3f |\n", phase, what, v.size(), s.p50, s.p90, s.p99, s.max);
}

void PrintReport(const LagBench& bench, const PressSource& source, const PressDriver& driver) {
    using S = const LagSample&;
    const auto& demo = bench.Demo();
    const auto& play = bench.Play();
    int demo_drawn = 0;
    for (S s : demo) demo_drawn += s.pose_changed;
    std::printf("\n| phase | from the press handed over to | presses | p50 ms | p90 ms | p99 ms | max ms |\n");
    std::printf("|---|---|---|---|---|---|---|\n");
    PrintRow("demo", "press delivered", Values(demo, [](S s) { return std::optional(s.delivered_ms); }));
    PrintRow("demo", "press handled", Values(demo, [](S s) { return std::optional(s.handled_ms); }));
    std::vector<LagSample> playing, other;
    for (S s : play) (s.state == GameMode::Playing ? playing : other).push_back(s);
    PrintRow("play", "new pose flushed", Values(playing, [](S s) { return s.flushed_ms; }));
    PrintRow("play, between ticks", "new pose flushed",
             Values(playing, [](S s) { return s.in_tick ? std::nullopt : s.flushed_ms; }));
    PrintRow("play, between ticks, a tick began before the flush", "new pose flushed",
             Values(playing, [](S s) { return !s.in_tick && s.flushed_in_tick ? s.flushed_ms : std::nullopt; }));
    PrintRow("play, inside a tick", "new pose flushed",
             Values(playing, [](S s) { return s.in_tick ? s.flushed_ms : std::nullopt; }));
    PrintRow("play", "press delivered", Values(playing, [](S s) { return std::optional(s.delivered_ms); }));
    PrintRow("miss or bonus sequence", "new pose flushed", Values(other, [](S s) { return s.flushed_ms; }));
    if (source.StampedByServer()) {
        int consistent = 0;
        for (S s : play) consistent += s.stamp_consistent;
        PrintRow("play", "new pose flushed, from the X server's stamp",
                 Values(playing, [](S s) { return s.flushed_from_stamp_ms; }));
        std::printf("\nX server stamps between the hand-over and the delivery: %d of %zu\n", consistent, play.size());
    }
    int asked = 0, shown = 0;
    for (S s : play)
        if (s.shown_by_window_system) ++asked, shown += *s.shown_by_window_system;
    if (asked > 0) {
        std::printf("new pose already in the X server's copy of the window at the flush: %d of %d\n", shown, asked);
    }
    int play_unchanged = 0;
    for (S s : play) play_unchanged += !s.pose_changed;
    std::printf("demo: %zu presses, %d drew a new pose (the demo ignores keys); play: %zu presses in %d games, "
                "%zu while playing, %d turned nothing; unanswered presses: %d\n",
                demo.size(), demo_drawn, play.size(), bench.Games(), playing.size(), play_unchanged,
                driver.Unanswered());
}

bool IsPadSource(const std::string& name) { return name == "pad-poll" || name == "pad-node"; }

std::unique_ptr<PressSource> MakeSource(const std::string& name, GameWindow& window) {
    if (name == "posted") return std::make_unique<PostedKeySource>(window.Form());
    if (IsPadSource(name)) {
        GamepadInput* gamepads = GamepadsOf(window);
        std::string error = "the window has no gamepads";
        auto source = gamepads ? MakePadSource(*gamepads, name == "pad-poll" ? PadWake::Polled : PadWake::AsNode,
                                               &error)
                               : nullptr;
        if (!source) std::fprintf(stderr, "input_lag_bench: %s\n", error.c_str());
        return source;
    }
#ifdef PELLOX_BENCH_XTEST
    if (name == "xtest") {
        std::string error;
        auto source = MakeXTestKeySource(&error);
        if (!source) std::fprintf(stderr, "input_lag_bench: %s\n", error.c_str());
        return source;
    }
#endif
    std::fprintf(stderr, "input_lag_bench: no source named %s\n", name.c_str());
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: input_lag_bench [--source posted|xtest|pad-poll|pad-node] [--presses N] "
                             "[--gap MIN_MS,MAX_MS] [--seed S]\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("ALSOFT_DRIVERS")) qputenv("ALSOFT_DRIVERS", "null");
    ProbedApplication app(argc, argv);
    const std::string load_before = LoadAverage();

    QTemporaryDir records_dir;
    PictureSet pictures;
    if (!LoadBuiltinPictures(pictures)) return 1;
    auto records = std::make_unique<SettingsRecordsStore>(records_dir.filePath(QStringLiteral("records.conf")));
    // With a controller, the window the game makes, gamepads and their rumble in.
    const std::unique_ptr<GameWindow> made =
        IsPadSource(options.source)
            ? MakeGameWindowWithGamepads(std::move(pictures), MakeGameSound(), std::move(records), QString())
            : std::make_unique<GameWindow>(std::move(pictures), MakeGameSound(), std::move(records));
    GameWindow& window = *made;
    PrepareBuiltinGame(window);
    FinishLaunch(window);
    window.Form().show();
    window.Form().activateWindow();

    std::unique_ptr<PressSource> source = MakeSource(options.source, window);
    if (!source) return 2;
    PressDriver driver(*source, std::chrono::milliseconds(options.min_gap_ms),
                       std::chrono::milliseconds(options.max_gap_ms), options.seed);
    LagBench bench(window, driver, options.presses);
    LagProbe probe(window, driver, *source, [&bench](const LagSample& s) { bench.OnSample(s); });
    app.SetProbe(&probe);
    QTimer::singleShot(300, [&] {
        if (QGuiApplication::applicationState() != Qt::ApplicationActive) {
            // The frame timer ticks only for the active application; a bare X server
            // without a window manager may never say so.
            std::fprintf(stderr, "input_lag_bench: the game window is not active; the frame timer runs anyway\n");
            window.FrameTimer().SetActiveOnly(false);
        }
        bench.Start();
    });
    app.exec();
    app.SetProbe(nullptr);
    window.FrameTimer().SetEnabled(false);

    std::printf("platform %s, source %s, gaps %d to %d ms, ALSOFT_DRIVERS=%s; load average before %s, after %s\n",
                qPrintable(QGuiApplication::platformName()), source->Name().c_str(), options.min_gap_ms,
                options.max_gap_ms, qgetenv("ALSOFT_DRIVERS").constData(), load_before.c_str(),
                LoadAverage().c_str());
    PrintReport(bench, *source, driver);
    for (const LagSample& s : bench.Play())
        if (s.flushed_ms) return 0;
    return 1;
}
