#include "assets/startscreen/pictures/startscreen_pictures.h"

#include <QPixmap>
#include <QtCore/qresource.h>

#include "lcd/picture_set.h"

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitPelloxStartScreenPicturesResource() { Q_INIT_RESOURCE(pellox_startscreen_picture_files); }

namespace pellox {
namespace {

void InitStartScreenPictures() {
    static const bool done = (InitPelloxStartScreenPicturesResource(), true);
    (void)done;
}

const char* NameOf(StartScreenPicture which) {
    switch (which) {
        case StartScreenPicture::Wolf: return "wolf";
        case StartScreenPicture::Hare: return "hare";
        case StartScreenPicture::Bell: return "bell";
        case StartScreenPicture::Soviet: return "soviet";
        case StartScreenPicture::British: return "british";
        case StartScreenPicture::Icon: return "icon";
    }
    return "";
}

}  // namespace

QString StartScreenPicturePath(StartScreenPicture which) {
    return QStringLiteral(":/startscreen/pictures/%1.bmp").arg(QLatin1String(NameOf(which)));
}

bool IsTransparentPicture(StartScreenPicture which) {
    return which != StartScreenPicture::Soviet && which != StartScreenPicture::British;
}

QImage LoadStartScreenPicture(StartScreenPicture which) {
    InitStartScreenPictures();
    const QImage picture(StartScreenPicturePath(which), "BMP");  // named: no search through the image plugins
    if (picture.isNull()) return {};
    // The key colour is the lower-left pixel, as for the sprites.
    return MakeDrawable(picture, IsTransparentPicture(which));
}

QIcon ProgramIcon() {
    const QImage icon = LoadStartScreenPicture(StartScreenPicture::Icon);
    if (icon.isNull()) return {};
    return QIcon(QPixmap::fromImage(icon));
}

}  // namespace pellox
