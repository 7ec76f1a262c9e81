#pragma once
// The start screen's first frame as the last start painted it, kept in the
// cache folder. The next start shows it the moment its window is mapped and
// builds the widgets behind it; the widgets then paint the same pixels over
// it. Text is the costliest part of the first frame (the font database is
// opened for it): the picture lets the player see the window as soon as a
// bare window would show.
//
// After each start the start screen compares the picture with what its
// widgets painted and keeps the new frame when they differ (other fonts, a
// new version, another theme), so a stale picture shows at most once, for
// the few milliseconds the widgets take.

#include <cstdint>
#include <filesystem>

#include <QImage>
#include <QSize>

#include "base/result.h"
#include "engine/language.h"

namespace pellox {

class StartPicture {
public:
    // The picture of the start screen in language at a device pixel ratio,
    // in folder (the program's cache folder).
    StartPicture(const std::filesystem::path& folder, InterfaceLanguage language, double pixel_ratio);

    // The kept picture when there is one of exactly this many device pixels,
    // written by this version of the program with this Qt; a null image
    // otherwise (none kept yet, another size, a damaged or foreign file).
    // Its pixel ratio is set, ready to paint at the window's corner.
    QImage Read(QSize device_pixels) const;

    // Keeps frame (a grab of the painted start screen), replacing the file at
    // once, never leaving half of one.
    Result<void> Write(const QImage& frame) const;

    const std::filesystem::path& File() const { return file_; }

private:
    std::filesystem::path file_;
    double pixel_ratio_;
};

}  // namespace pellox
