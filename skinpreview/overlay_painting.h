#pragma once
// The author's views drawn over the game window, each in window pixels (the
// painter scales them to the screen's): sprite boxes outlined and labelled,
// every sprite lit at once, one sprite picked out, and lines of text in a
// panel over the case.

#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include <QColor>
#include <QPainter>
#include <QRect>
#include <QStringList>

#include "lcd/core/sprite_model.h"
#include "lcd/picture_set.h"

namespace pellox {

// Each section of the skin file outlines its sprites in a colour of its own.
QColor SectionColour(std::string_view section);
// The colour a picked-out sprite's box is outlined in.
inline constexpr QRgb kPickedColour = 0xffffff00u;

// Every sprite's box outlined on its outermost pixels, in its section's
// colour, with its key written in white on that colour in its corner. The
// outlines are drawn last, so no label covers one.
void PaintBoxes(QPainter& painter, const SpriteModel& model);

// Every sprite lit, in drawing order, over what the window shows: an LCD's
// test pattern. The game's own sprites are left as they are.
void PaintAllLit(QPainter& painter, const SpriteModel& model, const PictureSet& pictures, const QRect& area);

// One sprite lit and its box outlined, with a dark line around the outline
// so that it shows on any picture.
void PaintPicked(QPainter& painter, const SpriteModel& model, const PictureSet& pictures, SpriteId sprite);

// The sections that hold pictures, in the file's order.
inline constexpr std::array<std::string_view, 7> kPictureSections = {"BACK", "TIME", "GAME", "ERRORS",
                                                                     "WOLF", "CHUTES", "HARE"};

// A line of a panel: text in white, or the legend of the outlines' colours
// (each section's name in its colour).
struct PanelLine {
    QString text;
    bool legend = false;
};
// The panel's box for so many lines, at the top or the bottom of within.
QRect PanelRect(const QFontMetrics& metrics, const QRect& within, qsizetype lines, bool at_bottom);
void PaintPanel(QPainter& painter, const QRect& panel, QColor fill, const std::vector<PanelLine>& lines);

}  // namespace pellox
