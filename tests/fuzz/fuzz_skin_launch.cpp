// The whole launch with a stranger's skin: the skin file, its pictures and its
// waves go through PrepareLaunch, ApplySkin and FinishLaunch over the real game
// window, as the start button does.
//
// One input is a small archive: the skin file's text, then any number of files,
// each introduced by a line "\n--file NAME\n" (NAME relative, "/" or "\" between
// folders). The files are written to a private folder, which is the current
// directory during the launch.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>

#include <QApplication>

#include "assets/sprites/builtin_sprites.h"
#include "records/settings_records_store.h"
#include "tests/support/temp_folder.h"
#include "lcd/core/sprite_layout.h"
#include "media/game_sounds.h"
#include "startscreen/launch.h"

namespace {

constexpr std::string_view kFileMarker = "\n--file ";
constexpr std::size_t kMaxNameBytes = 64;

// A name from the archive as a relative path inside the scratch folder: no
// root, no "..", only plain characters; empty when nothing usable is left.
std::filesystem::path SafeName(std::string_view written) {
    std::filesystem::path out;
    std::string part;
    auto flush = [&] {
        if (!part.empty() && part != "." && part != "..") out /= part;
        part.clear();
    };
    for (char c : written.substr(0, kMaxNameBytes)) {
        if (c == '/' || c == '\\') {
            flush();
        } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                   c == '_' || c == '-' || c == ' ') {
            part += c;
        }
    }
    flush();
    return out;
}

void Unpack(std::string_view input, const pellox::TempFolder& scratch) {
    std::size_t marker = input.find(kFileMarker);
    scratch.Write("skin.ini", input.substr(0, marker));
    while (marker != std::string_view::npos) {
        input.remove_prefix(marker + kFileMarker.size());
        const std::size_t name_end = input.find('\n');
        const std::string_view name = input.substr(0, name_end);
        input = name_end == std::string_view::npos ? std::string_view() : input.substr(name_end + 1);
        marker = input.find(kFileMarker);
        const std::filesystem::path relative = SafeName(name);
        if (relative.empty() || relative == "skin.ini") continue;
        // A name the input gives both as a file and as a folder keeps the first.
        std::error_code ec;
        scratch.TryWrite(relative, input.substr(0, marker), ec);
    }
}

// The folders are removed at exit; the window is left to the end of the
// process, as the Qt objects it holds may not outlive the application.
struct Game {
    const pellox::TempFolder& scratch;
    const pellox::TempFolder& records;
    pellox::PictureSet builtin;
    std::unique_ptr<pellox::GameWindow> window;
};

Game* game = nullptr;

// The offscreen platform's notes ("does not support setting window masks")
// would bury libFuzzer's own lines; a fatal message still ends the run.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The game's own surroundings in CI: no display, and a sound output that
    // plays nowhere so that a skin's waves reach a real voice.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("ALSOFT_DRIVERS")) qputenv("ALSOFT_DRIVERS", "null");
    if (qEnvironmentVariableIsEmpty("ALSOFT_LOGLEVEL")) qputenv("ALSOFT_LOGLEVEL", "0");
    static pellox::TempFolder runtime_dir(pellox::TempFolder::Where::Memory);
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime_dir.path().string()));
    qInstallMessageHandler(QuietQtMessages);
    static int argc = 1;
    static char name[] = "fuzz_skin_launch";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);

    static const pellox::TempFolder scratch(pellox::TempFolder::Where::Memory);
    static const pellox::TempFolder records(pellox::TempFolder::Where::Memory);
    game = new Game{scratch, records, {}, nullptr};  // lives as long as the process
    if (const auto loaded = pellox::LoadBuiltinPictures(game->builtin); !loaded) {
        std::fprintf(stderr, "built-in pictures: %s\n", loaded.reason().c_str());
        std::abort();
    }
    game->window = std::make_unique<pellox::GameWindow>(
        game->builtin, pellox::MakeGameSound(),
        std::make_unique<pellox::SettingsRecordsStore>(
            QString::fromStdString((game->records.path() / "records.conf").string())));
    game->window->Form().show();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    pellox::GameWindow& window = *game->window;
    // What an earlier skin left: its pictures and its sprite boxes. The sounds
    // it loaded stay; every launch loads over them the same way.
    window.Form().Pictures() = game->builtin;
    for (int i = 0; i < pellox::kSpriteCount; ++i) {
        const pellox::SpriteId id = pellox::SpriteAt(i);
        window.Form().Sprites().SetBounds(id, pellox::LayoutOf(id).bounds);
    }

    game->scratch.Clear();
    Unpack(std::string_view(reinterpret_cast<const char*>(data), size), game->scratch);
    std::error_code ec;
    std::filesystem::current_path(game->scratch.path(), ec);

    pellox::PrepareLaunch(window);
    (void)pellox::ApplySkin(window, game->scratch.path() / "skin.ini");
    pellox::FinishLaunch(window);
    window.FrameTimer().SetEnabled(false);
    QCoreApplication::processEvents();  // the first paint of the skinned window
    return 0;
}
