#pragma once
// The window's colour key: every pixel that ends up exactly purple is
// see-through and click-through. The mask is the region of all other pixels.

#include <QImage>
#include <QRegion>

namespace pellox {

// Region of the non-purple pixels of frame inside area (in frame coordinates).
QRegion OpaqueRegion(const QImage& frame, const QRect& area);

// QRegion's == compares rectangle lists, which differ for the same pixels.
bool SameArea(const QRegion& a, const QRegion& b);

inline bool IsKeyPurple(QRgb pixel) { return (pixel | 0xff000000u) == 0xff800080u; }

inline bool IsSeeThrough(const QImage& frame, int x, int y) {
    return !frame.valid(x, y) || IsKeyPurple(frame.pixel(x, y));
}

// Keeps the window mask in step with a frame that is repainted piece by piece.
class WindowMask {
public:
    void Rebuild(const QImage& frame) { region_ = OpaqueRegion(frame, frame.rect()); }

    // Updates the mask for a repainted area; returns whether the region changed.
    bool Update(const QImage& frame, const QRect& area);

    const QRegion& Region() const { return region_; }

private:
    QRegion region_;
};

}  // namespace pellox
