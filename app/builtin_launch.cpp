#include "app/builtin_launch.h"

#include <QApplication>
#include <QMessageBox>

#include "assets/sprites/builtin_sprites.h"
#include "controls/game_controls.h"
#include "lcd/tmform.h"

namespace pellox {

int RunBuiltinGame() {
    InitBuiltinSprites();
    PictureSet pictures;
    QString error;
    if (!pictures.LoadBuiltin(&error)) {
        QMessageBox::critical(nullptr, QStringLiteral("Pellox"), error);
        return 1;
    }
    TMForm MForm(std::move(pictures));
    GameControls controls(MForm);
    MForm.SetInputHandler(&controls);
    MForm.ResizeToBackground();
    MForm.show();
    const int status = QApplication::exec();
    MForm.SetInputHandler(nullptr);
    return status;
}

}  // namespace pellox
