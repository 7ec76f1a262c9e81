#include "skinpreview/overlay_painting.h"

#include <QFontMetrics>

#include "lcd/compositor.h"
#include "skin/skin_entries.h"

namespace pellox {
namespace {

constexpr int kPanelPadding_px = 6;

// Outlines the box's outermost pixels: a 1-pixel pen at a rectangle one
// smaller draws on both its first and its last row and column.
void Outline(QPainter& painter, const QRect& box, QColor colour) {
    if (box.isEmpty()) return;
    painter.setPen(QPen(colour, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
}

}  // namespace

QColor SectionColour(std::string_view section) {
    if (section == "BACK") return QColor(0, 200, 200);
    if (section == "TIME") return QColor(255, 0, 160);
    if (section == "GAME") return QColor(255, 140, 0);
    if (section == "ERRORS") return QColor(230, 0, 0);
    if (section == "WOLF") return QColor(0, 170, 0);
    if (section == "CHUTES") return QColor(0, 90, 255);
    return QColor(160, 0, 255);  // HARE
}

void PaintBoxes(QPainter& painter, const SpriteModel& model) {
    painter.save();
    QFont small = painter.font();
    small.setPixelSize(9);
    painter.setFont(small);
    const QFontMetrics metrics(small);
    for (int i = 0; i < kSpriteCount; ++i) {
        const SpriteId id = SpriteAt(i);
        const SkinEntry& entry = SkinEntryOf(id);
        const QRect box = ToQRect(model.BoundsOf(id));
        const QString label = QString::fromStdString(entry.key);
        const QRect label_box(box.left() + 1, box.top() + 1, metrics.horizontalAdvance(label) + 2, metrics.height());
        // White on the section's colour reads on any picture.
        painter.fillRect(label_box, SectionColour(entry.section));
        painter.setPen(Qt::white);
        painter.drawText(label_box.adjusted(1, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, label);
    }
    for (int i = 0; i < kSpriteCount; ++i) {
        const SpriteId id = SpriteAt(i);
        Outline(painter, ToQRect(model.BoundsOf(id)), SectionColour(SkinEntryOf(id).section));
    }
    painter.restore();
}

void PaintAllLit(QPainter& painter, const SpriteModel& model, const PictureSet& pictures, const QRect& area) {
    SpriteModel all_lit = model;
    all_lit.SetListener({});
    for (int i = 0; i < kSpriteCount; ++i) all_lit.Show(SpriteAt(i));
    const PictureResolution resolution = pictures.Factor() > 1 ? PictureResolution::Sharp : PictureResolution::GamePixels;
    Compositor(all_lit, pictures).PaintSprites(painter, area, resolution);
}

void PaintPicked(QPainter& painter, const SpriteModel& model, const PictureSet& pictures, SpriteId sprite) {
    painter.save();
    const QRect box = ToQRect(model.BoundsOf(sprite));
    const bool sharp = pictures.Factor() > 1;
    painter.setClipRect(box);
    painter.drawImage(box.topLeft(), sharp ? pictures.Sharp(sprite) : pictures.Drawable(sprite));
    painter.setClipping(false);
    Outline(painter, box.adjusted(-1, -1, 1, 1), Qt::black);
    Outline(painter, box, QColor::fromRgb(kPickedColour));
    painter.restore();
}

QRect PanelRect(const QFontMetrics& metrics, const QRect& within, qsizetype lines, bool at_bottom) {
    const int height = static_cast<int>(lines) * metrics.lineSpacing() + 2 * kPanelPadding_px;
    return at_bottom ? QRect(within.left(), within.bottom() + 1 - height, within.width(), height)
                     : QRect(within.left(), within.top(), within.width(), height);
}

void PaintPanel(QPainter& painter, const QRect& panel, QColor fill, const std::vector<PanelLine>& lines) {
    painter.save();
    painter.fillRect(panel, fill);
    const QFontMetrics metrics(painter.font());
    QPoint at = panel.topLeft() + QPoint(kPanelPadding_px, kPanelPadding_px + metrics.ascent());
    for (const PanelLine& line : lines) {
        if (line.legend) {
            QPoint word = at;
            for (std::string_view section : kPictureSections) {
                const QString name = QString::fromLatin1(section.data(), static_cast<qsizetype>(section.size()));
                painter.setPen(SectionColour(section));
                painter.drawText(word, name);
                word.rx() += metrics.horizontalAdvance(name + QStringLiteral("  "));
            }
        } else {
            painter.setPen(Qt::white);
            // drawText(QPoint, ...) takes the text as it is: a file name is never markup.
            painter.drawText(at, metrics.elidedText(line.text, Qt::ElideMiddle, panel.width() - 2 * kPanelPadding_px));
        }
        at.ry() += metrics.lineSpacing();
    }
    painter.restore();
}

}  // namespace pellox
