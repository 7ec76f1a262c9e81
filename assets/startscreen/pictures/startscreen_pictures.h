#pragma once
// The start screen's pictures, embedded as Qt resources
// ":/startscreen/pictures/<name>.bmp": 24-bit bitmaps rendered from our SVG
// sources; the transparent ones carry magenta as their key colour (also in
// the lower-left pixel), the flags are opaque.

#include <QIcon>
#include <QImage>
#include <QSize>
#include <QString>

// StartScreenPicture (Wolf, Hare, Bell, Soviet, British, Icon) and its table,
// made by the build from pictures.txt beside this header.
#include "assets/startscreen/pictures/startscreen_picture_table.h"

namespace pellox {

// The resource path of a picture, e.g. ":/startscreen/pictures/wolf.bmp".
QString StartScreenPicturePath(StartScreenPicture which);

// Whether the picture has see-through parts (false for the two flags).
bool IsTransparentPicture(StartScreenPicture which);

// The picture's size in the start screen's own pixels.
QSize StartScreenPictureSize(StartScreenPicture which);

// The picture ready to draw: the key colour of a transparent picture made
// fully transparent (ARGB32 premultiplied). Null if the resource is missing.
// At a device pixel ratio above 1 it is drawn again from its SVG source at
// that ratio (its device pixel ratio set, so it keeps its size on screen).
QImage LoadStartScreenPicture(StartScreenPicture which, qreal ratio = 1.0);

// The program's icon, for the windows. Needs a QGuiApplication.
QIcon ProgramIcon();

}  // namespace pellox
