// The window's "MacOS" look: its colours, its font and the style that draws its controls.
#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QProxyStyle>

namespace quorvix::skin {

// Frames, borders and the lines between tabs and pages.
QColor BorderGrey();
// The body of the frame, the page control and its pages.
QColor BodyGrey();

// Height of a tab of the page control, in pixels.
inline constexpr int TabHeight = 24;

// "MS Sans Serif" at 11 pixels where it exists, else an installed sans serif with Chinese
// glyphs, so that the captions render wherever the program runs.
QFont WindowFont();

// base made bold so that it shows as bold: the first of its families that is installed with a
// bold face goes first. A family without one is drawn regular, as fontconfig does not make
// the strokes heavier for it; the fallbacks follow for the characters the first one lacks.
// With no such family the font is only marked bold. Cannot fail.
QFont BoldFont(const QFont& base);

// The window's colours: body grey around black text, white fields.
QPalette WindowPalette();

// Draws push buttons, edits, tabs, list frames and column headers in the skin's "MacOS" manner
// over the Fusion style; everything else is Fusion's.
class MacSkinStyle final : public QProxyStyle {
    Q_OBJECT

public:
    MacSkinStyle();

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    QRect subElementRect(SubElement element, const QStyleOption* option,
                         const QWidget* widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget = nullptr) const override;
};

// Gives root and every widget below it the style (which must outlive them), the palette and the
// font. Call once all of the window's controls exist.
void ApplySkin(QWidget* root, QStyle* style);

} // namespace quorvix::skin
