#include "startscreen/launch.h"


#include <QCoreApplication>
#include <QEventLoop>

#include "lcd/window_placement.h"
#include "media/diagnostics.h"

namespace pellox {
namespace {

class GameWindowSkinTarget final : public SkinTarget {
public:
    explicit GameWindowSkinTarget(GameWindow& window) : window_(window) {}

    Result<void> LoadSprite(SpriteId sprite, const SpriteEntry& e, const std::filesystem::path& file) override {
        if (Result<void> box = CheckSpriteBox(sprite, e); !box) return box;
        // The picture first: a sprite whose picture cannot be read keeps its place too.
        const Result<void> picture = window_.Form().LoadPicture(sprite, QString::fromStdString(file.string()));
        if (!picture) return Failure("not a picture: " + picture.reason());
        window_.Form().Sprites().SetBounds(sprite, {e.left, e.top, e.width, e.height});
        return {};
    }

    Result<void> LoadSound(Effect effect, const std::filesystem::path& file) override {
        // The output may refuse the wave's voice: that is the entry's failure too.
        try {
            return window_.Sound().LoadEffectFile(effect, file.string());
        } catch (const std::exception& error) {
            return Failure(error.what());
        }
    }

private:
    GameWindow& window_;
};

// The skin file the choice stands for, and whether the titles come from it.
std::filesystem::path ChosenSkinFile(GameWindow& window, const LaunchChoice& choice) {
    if (choice.from_command_line) return choice.command_line_skin;
    std::filesystem::path file = choice.menu.FileOf(choice.selected);
    if (file.empty()) return {};
    const auto entry = static_cast<std::size_t>(choice.selected);
    window.Texts().TitleSU = DecodeSkinText(choice.menu.MenuTitlesSU[entry]);
    window.Texts().TitleGB = DecodeSkinText(choice.menu.MenuTitlesGB[entry]);
    return file;
}

}  // namespace

std::vector<std::string> FailureLines(const std::filesystem::path& skin, const std::vector<SkinEntryFailure>& failures) {
    const std::string file = skin.empty() ? std::string("(no skin file found)") : skin.string();
    std::vector<std::string> lines;
    for (const SkinEntryFailure& f : failures) lines.push_back(SkinEntryFailureLine(file, f));
    return lines;
}

std::unique_ptr<SkinTarget> MakeGameWindowSkinTarget(GameWindow& window) {
    return std::make_unique<GameWindowSkinTarget>(window);
}

void ApplySkinTitleAndKeys(GameWindow& window, const SkinSettings& settings) {
    window.Texts().TitleSU = DecodeSkinText(settings.title);
    ControlKeys& keys = window.Controls().Keys();
    keys.KeyUL = SkinControlKey(settings.keys[0], kSkinDefaultKeys[0]);
    keys.KeyUR = SkinControlKey(settings.keys[1], kSkinDefaultKeys[1]);
    keys.KeyDL = SkinControlKey(settings.keys[2], kSkinDefaultKeys[2]);
    keys.KeyDR = SkinControlKey(settings.keys[3], kSkinDefaultKeys[3]);
}

void PrepareLaunch(GameWindow& window) {
    window.Controls().Keys() = ControlKeys{};  // W, O, D, K
    // The engine holds its sprite tables from its creation: nothing to bind here.
    window.Engine().PrepareLaunch();
    window.Texts().TitleSU = kBuiltinTitleSU;
    window.Texts().TitleGB = kBuiltinTitleGB;
}

std::vector<SkinEntryFailure> ApplySkin(GameWindow& window, const std::filesystem::path& skin_file) {
    LoadedSkinFile loaded = LoadSkinFile(skin_file);
    const SkinFile skin = loaded ? std::move(*loaded) : SkinFile::FromText("");

    const SkinSettings settings = ReadSkinSettings(skin);
    std::error_code ec;
    const std::filesystem::path skin_folder = std::filesystem::absolute(skin_file, ec).lexically_normal().parent_path();
    // The skin's dir is where its files are looked for; the game's current
    // folder stays as it is (the skin search may be walking it).
    const SkinFolders folders{SkinWorkFolder(settings.dir, skin_folder), skin_folder};
    if (!settings.sound_on) window.Controls().imButtSClick();
    ApplySkinTitleAndKeys(window, settings);

    GameWindowSkinTarget target(window);
    std::vector<SkinEntryFailure> failures = ApplySkinEntries(skin, folders, target);
    if (!loaded) failures.insert(failures.begin(), {"", "", loaded.reason()});
    return failures;
}

void FinishLaunch(GameWindow& window) {
    QCoreApplication::processEvents();
    window.Form().ResizeToBackground();
    PlaceOnScreenUnderPointer(window.Form(), kBuiltinWindowPos, window.Form().ButtonsBox());
    QCoreApplication::processEvents();
    window.FrameTimer().SetEnabled(true);
}

void PrepareBuiltinGame(GameWindow& window) {
    PrepareLaunch(window);
    FinishLaunch(window);
}

void RunGameWindow(GameWindow& window) {
    TMForm& form = window.Form();
    QEventLoop loop;
    QObject::connect(&form, &TMForm::Closed, &loop, &QEventLoop::quit);
    form.setWindowModality(Qt::ApplicationModal);
    form.show();
    form.activateWindow();
    if (form.isVisible()) loop.exec();
}

std::filesystem::path ShownPath(const std::filesystem::path& path, const std::filesystem::path& start_folder) {
    const std::filesystem::path normal = path.lexically_normal();
    if (!normal.is_absolute() || start_folder.empty()) return normal;
    std::filesystem::path base = start_folder.lexically_normal();
    if (!base.has_filename()) base = base.parent_path();  // "/games/" as "/games"
    const std::filesystem::path inside = normal.lexically_relative(base);
    if (inside.empty() || *inside.begin() == "..") return normal;
    return inside;
}

int LaunchChosenGame(GameWindow& window, const LaunchChoice& choice, LaunchFailure* failure) {
    // The folder the game was started in, which failure paths are shown from.
    std::error_code ec;
    const std::filesystem::path start_folder = std::filesystem::current_path(ec);
    PrepareLaunch(window);
    std::vector<SkinEntryFailure> failures;
    std::filesystem::path skin;
    if (choice.selected > 0) {
        skin = ChosenSkinFile(window, choice);
        failures = ApplySkin(window, skin);
    }
    FinishLaunch(window);
    if (failures.empty()) {
        RunGameWindow(window);
        return 0;
    }
    const std::filesystem::path shown = skin.empty() ? skin : ShownPath(skin, start_folder);
    for (const std::string& line : FailureLines(shown, failures)) qCWarning(lcSkin, "%s", line.c_str());
    if (failure) *failure = {shown, failures, start_folder};
    // The playfield shows only for a moment.
    window.Form().show();
    QCoreApplication::processEvents();
    window.FrameTimer().SetEnabled(false);
    window.SideTimer().SetEnabled(false);
    window.Form().close();
    return 1;
}

}  // namespace pellox
