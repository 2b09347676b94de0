#include "gui/SkinLook.h"

#include <QAbstractItemView>
#include <QFontDatabase>
#include <QFrame>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QStyleFactory>
#include <QStyleOption>
#include <QWidget>

#include <algorithm>

namespace quorvix::skin {
namespace {

constexpr qreal ButtonRadius = 4.0;

bool IsSunken(const QStyleOption* option) {
    return (option->state & (QStyle::State_Sunken | QStyle::State_On)) != 0;
}

bool IsEnabled(const QStyleOption* option) {
    return (option->state & QStyle::State_Enabled) != 0;
}

// Like Windows, the focus shows once the keyboard has been used in the window.
bool ShowsKeyboardFocus(const QStyleOption* option) {
    return (option->state & QStyle::State_HasFocus) != 0 &&
           (option->state & QStyle::State_KeyboardFocusChange) != 0;
}

void DrawFocusRect(const QRect& rect, QPainter* painter) {
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(QPen(QColor(40, 40, 40), 1, Qt::DotLine));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(rect.adjusted(0, 0, -1, -1));
    painter->restore();
}

void DrawButtonPanel(const QStyleOption* option, QPainter* painter) {
    const QRectF bounds = QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient fill(bounds.topLeft(), bounds.bottomLeft());
    if (!IsEnabled(option)) {
        fill.setColorAt(0.0, QColor(246, 246, 246));
        fill.setColorAt(1.0, QColor(232, 232, 232));
    } else if (IsSunken(option)) {
        fill.setColorAt(0.0, QColor(166, 196, 238));
        fill.setColorAt(0.5, QColor(120, 166, 228));
        fill.setColorAt(1.0, QColor(170, 206, 246));
    } else {
        fill.setColorAt(0.0, QColor(255, 255, 255));
        fill.setColorAt(0.5, QColor(238, 238, 238));
        fill.setColorAt(0.51, QColor(226, 226, 226));
        fill.setColorAt(1.0, QColor(246, 246, 246));
    }
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(IsEnabled(option) ? BorderGrey() : QColor(176, 176, 176));
    painter->setBrush(fill);
    painter->drawRoundedRect(bounds, ButtonRadius, ButtonRadius);
    painter->restore();
}

void DrawFieldPanel(const QStyleOption* option, QPainter* painter) {
    painter->save();
    const QColor base = IsEnabled(option) ? option->palette.color(QPalette::Base) : BodyGrey();
    painter->fillRect(option->rect, base);
    painter->setPen(BorderGrey());
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
    painter->restore();
}

void DrawTabShape(const QStyleOptionTab* tab, QPainter* painter) {
    const bool selected = (tab->state & QStyle::State_Selected) != 0;
    // Tabs in the background sit two pixels lower than the one in front.
    QRectF shape = QRectF(tab->rect).adjusted(0.5, selected ? 0.5 : 2.5, -0.5, 0.5);
    QPainterPath path;
    const qreal radius = 4.0;
    path.moveTo(shape.bottomLeft());
    path.lineTo(shape.left(), shape.top() + radius);
    path.quadTo(shape.topLeft(), QPointF(shape.left() + radius, shape.top()));
    path.lineTo(shape.right() - radius, shape.top());
    path.quadTo(shape.topRight(), QPointF(shape.right(), shape.top() + radius));
    path.lineTo(shape.bottomRight());

    QLinearGradient fill(shape.topLeft(), shape.bottomLeft());
    if (selected) {
        fill.setColorAt(0.0, QColor(255, 255, 255));
        fill.setColorAt(1.0, BodyGrey());
    } else {
        fill.setColorAt(0.0, QColor(226, 226, 226));
        fill.setColorAt(1.0, QColor(202, 202, 202));
    }
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(fill);
    painter->drawPath(path);
    painter->setPen(BorderGrey());
    painter->setBrush(Qt::NoBrush);
    painter->drawPath(path);
    painter->setRenderHint(QPainter::Antialiasing, false);
    const QRect outer = tab->rect;
    if (selected) {
        // The front tab opens into its page: no line along its foot.
        painter->setPen(BodyGrey());
        painter->drawLine(outer.left() + 1, outer.bottom(), outer.right() - 1, outer.bottom());
    } else {
        painter->drawLine(outer.left(), outer.bottom(), outer.right(), outer.bottom());
    }
    painter->restore();
}

void DrawHeaderSection(const QStyleOption* option, QPainter* painter) {
    const QRect r = option->rect;
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0.0, QColor(255, 255, 255));
    fill.setColorAt(1.0, QColor(222, 222, 222));
    painter->save();
    painter->fillRect(r, fill);
    painter->setPen(QColor(190, 190, 190));
    painter->drawLine(r.topRight(), r.bottomRight());
    painter->setPen(BorderGrey());
    painter->drawLine(r.bottomLeft(), r.bottomRight());
    painter->restore();
}

} // namespace

QColor BorderGrey() {
    return {127, 127, 127};
}

QColor BodyGrey() {
    return {231, 231, 231};
}

QFont WindowFont() {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("WenQuanYi Micro Hei"),
                      QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Droid Sans Fallback"),
                      QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

QFont BoldFont(const QFont& base) {
    QFont bold = base;
    bold.setBold(true);
    QStringList families = base.families();
    const auto hasBoldFace = [](const QString& family) {
        if (!QFontDatabase::hasFamily(family)) {
            return false;
        }
        const QStringList styles = QFontDatabase::styles(family);
        return std::any_of(styles.begin(), styles.end(), [&family](const QString& style) {
            return QFontDatabase::weight(family, style) >= QFont::Bold;
        });
    };
    const auto withBold = std::find_if(families.begin(), families.end(), hasBoldFace);
    if (withBold != families.end()) {
        const QString family = *withBold;
        families.erase(withBold);
        families.prepend(family);
        bold.setFamilies(families);
    }
    return bold;
}

QPalette WindowPalette() {
    QPalette palette;
    palette.setColor(QPalette::Window, BodyGrey());
    palette.setColor(QPalette::Button, BodyGrey());
    palette.setColor(QPalette::WindowText, Qt::black);
    palette.setColor(QPalette::ButtonText, Qt::black);
    palette.setColor(QPalette::Text, Qt::black);
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::AlternateBase, QColor(243, 246, 250));
    palette.setColor(QPalette::Highlight, QColor(56, 117, 215));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Light, Qt::white);
    palette.setColor(QPalette::Midlight, QColor(240, 240, 240));
    palette.setColor(QPalette::Mid, QColor(190, 190, 190));
    palette.setColor(QPalette::Dark, BorderGrey());
    palette.setColor(QPalette::Shadow, QColor(64, 64, 64));
    palette.setColor(QPalette::ToolTipBase, QColor(255, 255, 225));
    palette.setColor(QPalette::ToolTipText, Qt::black);
    const QColor disabledText(150, 150, 150);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, disabledText);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, disabledText);
    palette.setColor(QPalette::Disabled, QPalette::Text, disabledText);
    palette.setColor(QPalette::Disabled, QPalette::Base, BodyGrey());
    return palette;
}

MacSkinStyle::MacSkinStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

void MacSkinStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                 QPainter* painter, const QWidget* widget) const {
    switch (element) {
    case PE_PanelButtonCommand:
        DrawButtonPanel(option, painter);
        return;
    case PE_PanelLineEdit:
    case PE_FrameLineEdit:
        DrawFieldPanel(option, painter);
        return;
    case PE_FrameFocusRect:
        // A whole selected row already shows where the list is; a dotted cell would be noise.
        if (qobject_cast<const QAbstractItemView*>(widget) != nullptr) {
            return;
        }
        if (ShowsKeyboardFocus(option)) {
            DrawFocusRect(option->rect, painter);
        }
        return;
    default:
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
}

void MacSkinStyle::drawControl(ControlElement element, const QStyleOption* option,
                               QPainter* painter, const QWidget* widget) const {
    switch (element) {
    case CE_TabBarTabShape:
        if (const auto* tab = qstyleoption_cast<const QStyleOptionTab*>(option)) {
            DrawTabShape(tab, painter);
            return;
        }
        break;
    case CE_TabBarTabLabel:
        if (const auto* tab = qstyleoption_cast<const QStyleOptionTab*>(option)) {
            // Fusion marks a focused tab with its own highlight; the skin uses the dotted
            // rectangle around the caption instead.
            QStyleOptionTab label = *tab;
            label.state &= ~State_HasFocus;
            QProxyStyle::drawControl(element, &label, painter, widget);
            if (ShowsKeyboardFocus(option)) {
                DrawFocusRect(tab->rect.adjusted(3, 4, -3, -2), painter);
            }
            return;
        }
        break;
    case CE_PushButton:
        QProxyStyle::drawControl(element, option, painter, widget);
        if (ShowsKeyboardFocus(option)) {
            DrawFocusRect(subElementRect(SE_PushButtonFocusRect, option, widget), painter);
        }
        return;
    case CE_HeaderSection:
        DrawHeaderSection(option, painter);
        return;
    case CE_ShapedFrame:
        if (const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
            frame != nullptr && frame->frameShape == QFrame::Box) {
            // The skin's flat grey frame instead of a raised or sunken border.
            painter->save();
            painter->setPen(BorderGrey());
            painter->setBrush(Qt::NoBrush);
            painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
            painter->restore();
            return;
        }
        break;
    default:
        break;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

QRect MacSkinStyle::subElementRect(SubElement element, const QStyleOption* option,
                                   const QWidget* widget) const {
    if (element == SE_PushButtonFocusRect) {
        return option->rect.adjusted(2, 2, -2, -2);
    }
    return QProxyStyle::subElementRect(element, option, widget);
}

int MacSkinStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                              const QWidget* widget) const {
    switch (metric) {
    case PM_DefaultFrameWidth:
        // The fields are 17 pixels high: a one-pixel frame leaves room for the text.
        if (qobject_cast<const QLineEdit*>(widget) != nullptr) {
            return 1;
        }
        break;
    case PM_ButtonShiftHorizontal:
    case PM_ButtonShiftVertical:
        return 0;
    default:
        break;
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
}

QSize MacSkinStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                     const QSize& size, const QWidget* widget) const {
    QSize result = QProxyStyle::sizeFromContents(type, option, size, widget);
    if (type == CT_TabBarTab) {
        result.setHeight(TabHeight);
    }
    return result;
}

void ApplySkin(QWidget* root, QStyle* style) {
    root->setPalette(WindowPalette());
    root->setFont(WindowFont());
    // A style set on a widget does not pass to its children, so each one gets it.
    root->setStyle(style);
    for (QWidget* child : root->findChildren<QWidget*>()) {
        child->setStyle(style);
    }
}

} // namespace quorvix::skin
