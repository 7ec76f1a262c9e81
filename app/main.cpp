// Pellox: the program's entry.

#include <QApplication>

#include "assets/sprites/builtin_sprites.h"
#include "engine/records/settings_records_store.h"
#include "gamewindow/game_window.h"
#include "media/game_sounds.h"
#include "startscreen/skin/launch.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pellox"));

    pellox::PictureSet pictures;
    QString error;
    if (!pellox::LoadBuiltinPictures(pictures, &error)) {
        qCritical("%s", qPrintable(error));
        return 1;
    }
    pellox::GameWindow window(std::move(pictures), pellox::MakeGameSound(),
                              std::make_unique<pellox::SettingsRecordsStore>());
    pellox::btStartClick(window);
    return 0;
}
