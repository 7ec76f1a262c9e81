#pragma once
// The program's icon drawn from its SVG source with a real alpha channel, for
// the desktop and the window system (the pictures on the start screen use a
// key colour instead; an icon must not).

#include <QByteArray>
#include <QImage>

namespace pellox {

// The sizes the icon is drawn at for the desktop's icon theme and the windows.
inline constexpr int kProgramIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// The SVG drawn anti-aliased on a transparent side x side square (ARGB32
// premultiplied); null when the SVG cannot be read or the side is not positive.
QImage RasterizeIcon(const QByteArray& svg, int side);

}  // namespace pellox
