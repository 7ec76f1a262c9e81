#pragma once
// Small hand-made pictures for drawing tests.

#include <QImage>

namespace pellox::testing {

// A w x h picture of one colour whose lower-left pixel is the key colour.
inline QImage Filled(int w, int h, QRgb fill, QRgb key) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(fill);
    img.setPixel(0, h - 1, key);
    return img;
}

}  // namespace pellox::testing
