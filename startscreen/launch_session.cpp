#include "startscreen/launch_session.h"

#include <QGuiApplication>
#include <exception>
#include <string>

#include "media/diagnostics.h"
#include "skin/skin_text.h"

namespace pellox {

LaunchSession::LaunchSession(MakeGameWindow make) : make_(std::move(make)) {}

bool LaunchSession::EnsureGameWindow(InterfaceLanguage language) {
    if (window_) return true;
    // Runs from a queued call or a click: nothing may unwind into Qt's event dispatch.
    try {
        window_ = make_ ? make_() : nullptr;
    } catch (const std::exception& error) {
        qCWarning(lcGame, "the game window cannot be made: %s", error.what());
        return false;
    }
    if (!window_) return false;
    window_->Texts().Language = language;
    return true;
}

void LaunchSession::SetLanguage(InterfaceLanguage language) {
    if (window_) window_->Texts().Language = language;
}

LaunchOutcome LaunchSession::Launch(const SkinMenuModel& menu, InterfaceLanguage language) {
    LaunchChoice choice;
    choice.selected = menu.Selected();
    choice.command_line_skin = menu.CommandLineSkin();
    choice.from_command_line = !choice.command_line_skin.empty();
    choice.menu = menu.Entries();
    // The game window closes by itself when a skin fails, while the start
    // screen is still hidden: that is not the program's last window.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    LaunchOutcome outcome;
    // Runs from the button's clicked signal: nothing may unwind into Qt's dispatch.
    try {
        outcome.status = LaunchChosenGame(*window_, choice, &outcome.failure);
    } catch (const std::exception& error) {
        qCWarning(lcGame, "the game could not be launched: %s", error.what());
        std::filesystem::path launched =
            choice.from_command_line ? choice.command_line_skin : choice.menu.FileOf(choice.selected);
        if (launched.empty() && choice.selected >= 0) {
            const std::string& title = menu.Titles(language)[static_cast<std::size_t>(choice.selected)];
            launched = QString::fromStdU16String(DecodeSkinText(title)).toStdString();
        }
        outcome.failure = LaunchFailure{launched, {{"", "", error.what()}}, {}};
        outcome.status = 1;
    }
    QGuiApplication::setQuitOnLastWindowClosed(true);
    // The next launch gets a fresh game window: this one holds part of the failed skin.
    if (outcome.status != 0) window_.reset();
    return outcome;
}

}  // namespace pellox
