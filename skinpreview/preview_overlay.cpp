#include "skinpreview/preview_overlay.h"

#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>

#include "lcd/compositor.h"
#include "skinpreview/overlay_painting.h"
#include "skinpreview/preview_texts.h"

namespace pellox {
namespace {

// Text lies this far inside the background's box, clear of a case's rounded
// corners, where the window's mask would cut it.
constexpr int kTextInset_px = 24;

QFont OverlayFont() {
    QFont font;
    font.setPixelSize(12);
    return font;
}

}  // namespace

PreviewOverlay::PreviewOverlay(TMForm& form, GameSoundPlayer& sound, InterfaceLanguage language)
    : QWidget(&form), form_(form), sound_player_(sound), language_(language) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setFont(OverlayFont());
    setGeometry(form.rect());
    form.installEventFilter(this);  // its size and the author's keys
    show();
}

bool PreviewOverlay::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &form_) {
        if (event->type() == QEvent::Resize) setGeometry(form_.rect());
        if (event->type() == QEvent::KeyPress && TakeKey(static_cast<const QKeyEvent&>(*event))) return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool PreviewOverlay::TakeKey(const QKeyEvent& key) {
    switch (key.key()) {
    case Qt::Key_F1: ToggleHelp(); return true;
    case Qt::Key_F2: ToggleBoxes(); return true;
    case Qt::Key_F3: ToggleAllLit(); return true;
    case Qt::Key_F5: StepSprite(key.modifiers() & Qt::ShiftModifier ? -1 : 1); return true;
    case Qt::Key_F6: PlayNextSound(); return true;
    case Qt::Key_Escape: ClearViews(); return true;
    default: return false;
    }
}

void PreviewOverlay::ToggleHelp() { help_ = !help_, Changed(); }
void PreviewOverlay::ToggleBoxes() { boxes_ = !boxes_, Changed(); }
void PreviewOverlay::ToggleAllLit() { all_lit_ = !all_lit_, Changed(); }

void PreviewOverlay::StepSprite(int by) {
    const int at = picked_ ? IndexOf(*picked_) + by : (by > 0 ? 0 : kSpriteCount - 1);
    picked_ = SpriteAt((at % kSpriteCount + kSpriteCount) % kSpriteCount);
    Changed();
}

void PreviewOverlay::PlayNextSound() {
    sound_ = sound_ ? kAllEffects[(EffectIndex(*sound_) + 1) % kEffectCount] : kAllEffects[0];
    try {
        sound_player_.PlayEffect(*sound_, false);
    } catch (const std::exception&) {
        // No voice for it on this output: its length is still worth showing.
    }
    Changed();
}

void PreviewOverlay::ClearViews() {
    boxes_ = all_lit_ = false;
    picked_.reset();
    sound_.reset();
    Changed();
}

void PreviewOverlay::ShowFailures(const QStringList& lines) {
    if (lines == failures_) return;
    failures_ = lines;
    Changed();
}

QRect PreviewOverlay::CaseArea() const {
    const QRect background = ToQRect(form_.Sprites().BoundsOf(SpriteId::imBckgrnd));
    return background.adjusted(kTextInset_px, kTextInset_px, -kTextInset_px, -kTextInset_px);
}

QStringList PreviewOverlay::BarLines() const {
    if (failures_.isEmpty()) return {};
    QStringList lines{BrokenSaveHeading(language_)};
    lines += failures_.mid(0, kShownFailures);
    if (failures_.size() > kShownFailures) lines << MoreFailures(language_, failures_.size() - kShownFailures);
    return lines;
}

std::vector<PanelLine> PreviewOverlay::PanelLines() const {
    std::vector<PanelLine> lines;
    if (picked_) {
        const Bounds& box = form_.Sprites().BoundsOf(*picked_);
        lines.push_back({SpriteLine(language_, *picked_, box, form_.Pictures().NaturalSize(*picked_))});
    }
    if (sound_) lines.push_back({SoundLine(language_, *sound_, sound_player_.EffectSeconds(*sound_))});
    if (boxes_) lines.push_back({QString(), true});
    if (help_) lines.push_back({HelpLine(language_)});
    return lines;
}

QStringList PreviewOverlay::PanelTexts() const {
    QStringList texts;
    for (const PanelLine& line : PanelLines()) texts << line.text;
    return texts;
}

QRect PreviewOverlay::BarRect() const {
    const QStringList lines = BarLines();
    if (lines.isEmpty()) return {};
    return pellox::PanelRect(QFontMetrics(font()), CaseArea(), lines.size(), false);
}

QRect PreviewOverlay::PanelRect() const {
    const std::vector<PanelLine> lines = PanelLines();
    if (lines.empty()) return {};
    return pellox::PanelRect(QFontMetrics(font()), CaseArea(), static_cast<qsizetype>(lines.size()), true);
}

void PreviewOverlay::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const SpriteModel& model = form_.Sprites();
    if (all_lit_) PaintAllLit(painter, model, form_.Pictures(), event->rect());
    if (picked_) PaintPicked(painter, model, form_.Pictures(), *picked_);
    if (boxes_) PaintBoxes(painter, model);
    if (const QStringList bar = BarLines(); !bar.isEmpty()) {
        std::vector<PanelLine> lines;
        for (const QString& text : bar) lines.push_back({text});
        PaintPanel(painter, BarRect(), QColor::fromRgb(kBarColour), lines);
    }
    if (const std::vector<PanelLine> panel = PanelLines(); !panel.empty())
        PaintPanel(painter, PanelRect(), QColor::fromRgb(kPanelColour), panel);
}

}  // namespace pellox
