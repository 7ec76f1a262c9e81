#pragma once
// How a screen with more than one device pixel per game pixel is served.
// Positions and sizes stay in the game's own pixels; only the pictures and the
// painted frame gain pixels. Our drawings are made again from their sources at
// the frame's factor; a skin's bitmaps, which have no source, are enlarged by a
// whole factor without smoothing, so that pixel art keeps its hard edges.

#include <QImage>

namespace pellox {

// The frame's and the built-in pictures' whole factor: the ratio rounded up
// (a fractional ratio is drawn at the next whole one and scaled down once,
// after the see-through pixels are settled).
int SharpFactor(qreal ratio);

// A bitmap's whole factor: the ratio rounded, at least 1.
int BitmapFactor(qreal ratio);

// Each pixel made a factor x factor block; the result's device pixel ratio is
// the factor, so it still draws at the picture's own size in game pixels.
QImage ScaleNearest(const QImage& picture, int factor);

}  // namespace pellox
