#pragma once
// Qt's Fusion style draws a group box's frame (the skin menu's) from a PNG of
// Qt's own resources that it loads with QPixmap, and QPixmap asks every image
// plugin whether it reads the file before Qt's own PNG reader takes it: the
// start screen's first paint would load the SVG, GIF, ICO and JPEG plugins,
// Qt SVG among them, for nothing.

namespace pellox {

// Reads that picture with Qt's PNG reader alone and puts it where QPixmap
// looks first, its cache, under the name QPixmap gives it there (Qt 6.4).
// Should Qt name it otherwise, or draw another picture, the style loads its
// picture as it always has: the frame looks the same either way.
void CacheStylePictures();

}  // namespace pellox
