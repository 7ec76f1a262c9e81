// first_paint_race: from fork to the window's pixels on the X server, the game
// against a bare Qt window, interleaved.
//
//   DISPLAY=:99 first_paint_race --game build/app/pellox
//       --bare build/bench/startscreen/bare_window [--pairs 15] [--x 189 --y 310]
//       [--fresh-cache]
//
// For each pair the two programs run one after the other (which one first
// alternates). Each is forked and exec'd with QT_QPA_PLATFORM=xcb in a fresh
// empty folder; this process then reads one pixel of the root window back from
// the X server (XGetImage) every 0.2 ms until it shows the start screen's green,
// and at that moment takes the wall time since the fork and the child's CPU
// clock (all its threads). The child is then killed. Prints every pair and
// the medians with their ratios.
//
// Before the pairs each program runs once untimed and is left open for a
// second after its paint, as a player leaves a start screen: what a start
// keeps in the cache folder for the next (the start screen's first frame)
// is then there, in the XDG cache folder every run shares. --fresh-cache
// gives every run an empty cache folder of its own instead: the first start
// after an install.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

struct Sample {
    double wall_ms = 0;
    double cpu_ms = 0;
};

double Ms(const timespec& t) { return t.tv_sec * 1e3 + t.tv_nsec / 1e6; }

double MonotonicMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return Ms(now);
}

unsigned long PixelAt(Display* display, int x, int y) {
    XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return 0;
    const unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return pixel;
}

void ClearRoot(Display* display) {
    XSetWindowBackground(display, DefaultRootWindow(display), BlackPixel(display, DefaultScreen(display)));
    XClearWindow(display, DefaultRootWindow(display));
    XSync(display, False);
}

// Runs the program once; false when it never painted within 20 s.
// linger_ms: how long the program stays after its paint before it is killed.
bool RunOnce(Display* display, const std::string& program, int x, int y, unsigned long green, Sample& sample,
             bool fresh_cache, int linger_ms = 0) {
    char folder_template[] = "/tmp/first-paint-XXXXXX";
    const char* folder = mkdtemp(folder_template);
    if (!folder) return false;
    const std::string records = std::string(folder) + "/records.conf";
    ClearRoot(display);
    usleep(100000);
    if (PixelAt(display, x, y) == green) {
        std::fprintf(stderr, "first_paint_race: the probe point is green before the start: another window covers it\n");
        std::filesystem::remove_all(folder);
        return false;
    }
    const double start_ms = MonotonicMs();
    const pid_t child = fork();
    if (child == 0) {
        if (chdir(folder) != 0) _exit(127);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        setenv("PELLOX_RECORDS", records.c_str(), 1);
        setenv("XDG_RUNTIME_DIR", folder, 1);
        if (fresh_cache) setenv("XDG_CACHE_HOME", folder, 1);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    clockid_t cpu_clock{};
    const bool have_cpu_clock = clock_getcpuclockid(child, &cpu_clock) == 0;
    bool painted = false;
    while (MonotonicMs() - start_ms < 20000) {
        if (PixelAt(display, x, y) == green) {
            sample.wall_ms = MonotonicMs() - start_ms;
            timespec cpu{};
            sample.cpu_ms = have_cpu_clock && clock_gettime(cpu_clock, &cpu) == 0 ? Ms(cpu) : -1;
            painted = true;
            break;
        }
        usleep(200);
    }
    if (painted && linger_ms > 0) usleep(static_cast<useconds_t>(linger_ms) * 1000);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    std::filesystem::remove_all(folder);
    return painted;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string game, bare;
    int pairs = 15, x = 189, y = 310;
    bool fresh_cache = false;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--fresh-cache") {
            fresh_cache = true;
            continue;
        }
        if (i + 1 >= argc) break;
        if (name == "--game") game = argv[i + 1];
        else if (name == "--bare") bare = argv[i + 1];
        else if (name == "--pairs") pairs = std::atoi(argv[i + 1]);
        else if (name == "--x") x = std::atoi(argv[i + 1]);
        else if (name == "--y") y = std::atoi(argv[i + 1]);
        ++i;
    }
    if (game.empty() || bare.empty() || pairs < 1) {
        std::fprintf(stderr, "usage: first_paint_race --game PROGRAM --bare PROGRAM [--pairs N] [--x X --y Y] [--fresh-cache]\n");
        return 2;
    }
    // The children start in folders of their own.
    game = std::filesystem::absolute(game).string();
    bare = std::filesystem::absolute(bare).string();
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "first_paint_race: no X display (set DISPLAY)\n");
        return 2;
    }
    const Visual* visual = DefaultVisual(display, DefaultScreen(display));
    if (visual->red_mask != 0xff0000 || visual->green_mask != 0xff00 || visual->blue_mask != 0xff) {
        std::fprintf(stderr, "first_paint_race: needs a 24-bit true colour screen\n");
        return 2;
    }
    const unsigned long green = 0x008e00;
    // One untimed run of each, left open a second: the caches warm.
    Sample warm;
    if (!RunOnce(display, bare, x, y, green, warm, fresh_cache, 1000) ||
        !RunOnce(display, game, x, y, green, warm, fresh_cache, 1000)) {
        std::fprintf(stderr, "first_paint_race: a program never painted the probe point %d, %d green\n", x, y);
        return 1;
    }
    std::vector<double> bare_wall, bare_cpu, game_wall, game_cpu;
    std::printf("pair  bare wall  bare cpu  game wall  game cpu   (ms)\n");
    for (int pair = 0; pair < pairs; ++pair) {
        Sample b, g;
        const bool game_first = pair % 2 == 1;
        bool ok = true;
        if (game_first) ok = RunOnce(display, game, x, y, green, g, fresh_cache);
        ok = ok && RunOnce(display, bare, x, y, green, b, fresh_cache);
        if (!game_first) ok = ok && RunOnce(display, game, x, y, green, g, fresh_cache);
        if (!ok) {
            std::fprintf(stderr, "first_paint_race: pair %d: a program never painted\n", pair);
            return 1;
        }
        std::printf("%4d %10.1f %9.1f %10.1f %9.1f\n", pair, b.wall_ms, b.cpu_ms, g.wall_ms, g.cpu_ms);
        bare_wall.push_back(b.wall_ms);
        bare_cpu.push_back(b.cpu_ms);
        game_wall.push_back(g.wall_ms);
        game_cpu.push_back(g.cpu_ms);
    }
    std::vector<double> wall_ratio, cpu_ratio;
    for (std::size_t i = 0; i < game_wall.size(); ++i) {
        wall_ratio.push_back(game_wall[i] / bare_wall[i]);
        cpu_ratio.push_back(game_cpu[i] / bare_cpu[i]);
    }
    std::printf("median  bare %.1f ms wall, %.1f ms CPU; game %.1f ms wall, %.1f ms CPU\n", Median(bare_wall),
                Median(bare_cpu), Median(game_wall), Median(game_cpu));
    std::printf("ratio of medians  wall %.2f  CPU %.2f\n", Median(game_wall) / Median(bare_wall),
                Median(game_cpu) / Median(bare_cpu));
    std::printf("median of pair ratios  wall %.2f  CPU %.2f\n", Median(wall_ratio), Median(cpu_ratio));
    XCloseDisplay(display);
    return 0;
}
