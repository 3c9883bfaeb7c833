#include "present_menu.h"

#include <QPainter>

namespace brevant {

bool PresentMenu::Start(QSize screen, bool alwaysShow)
{
    const int w = screen.width();
    const int h = screen.height();
    menuRect_ = QRect(w - 312, h - 60, kStripWidth, kMenuHeight);
    for (int i = 0; i < kButtonCount; ++i)
        buttonRects_[i] = QRect(w - 305 + kPitch * i, h - 54, kHitSize, kHitSize);
    ClearLit();
    hovered_ = true;
    pinned_ = true;
    alwaysShow_ = alwaysShow;
    return !alwaysShow;
}

int PresentMenu::LitButton() const
{
    for (int i = 0; i < kButtonCount; ++i) {
        if (lit_[i])
            return i;
    }
    return -1;
}

PresentMenu::MoveEffect PresentMenu::OnMove(QPoint point)
{
    // QRect::contains on whole pixels is the half-open test: right and bottom lie outside.
    MoveEffect effect;
    const bool inside = menuRect_.contains(point);
    if (!hovered_) {
        // Coming back over the menu only shows it; the next move may light a button.
        if (inside) {
            hovered_ = true;
            ClearLit();
            effect.repaint = menuRect_;
        }
        return effect;
    }
    if (!inside) {
        effect.hideTooltip = true;
        hovered_ = false;
        ClearLit();
        effect.repaint = CornerRect();
        return effect;
    }
    for (int i = 0; i < kButtonCount; ++i) {
        if (!buttonRects_[i].contains(point) || lit_[i])
            continue;
        effect.hideTooltip = true;
        effect.tooltipButton = i;
        ClearLit();
        lit_[i] = true;
        effect.repaint = CornerRect();
        break;
    }
    return effect;
}

QRect PresentMenu::OnHideTimer(QPoint pointer)
{
    if (alwaysShow_)
        return menuRect_;
    pinned_ = false;
    // A window that opens under a resting pointer gets no move, so the hover it started
    // with may be stale: where the pointer is now decides.
    if (!menuRect_.contains(pointer)) {
        hovered_ = false;
        ClearLit();
    }
    return menuRect_;
}

QRect PresentMenu::ToggleAlwaysShow()
{
    alwaysShow_ = !alwaysShow_;
    pinned_ = alwaysShow_;
    return menuRect_;
}

QString PresentMenu::TooltipText(int button)
{
    switch (button) {
    case kChart1:
    case kChart2:
    case kChart3:
        return QStringLiteral("図表%1\n表示/非表示(F%1)").arg(button + 1);
    case kStick:
        return QStringLiteral("指示棒\n(+, -, ↑,↓)");
    case kErase:
        return QStringLiteral("消去\n(RWClick, C, Delete)");
    case kColour:
        return QStringLiteral("色変更");
    case kEnd:
        return QStringLiteral("終了\n(ESC, F11)");
    default:
        return QString();
    }
}

void PaintMenu(QImage& window, const QImage& strip, const PresentMenu& menu)
{
    if (!menu.Visible() || strip.isNull() || window.isNull())
        return;
    const QRect menuRect = menu.MenuRect();
    QPainter p(&window);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(menuRect.topLeft(), strip,
                QRect(0, PresentMenu::kMenuHeight, PresentMenu::kStripWidth, PresentMenu::kMenuHeight));
    const int lit = menu.LitButton();
    if (lit >= 0) {
        const int cell = 2 + PresentMenu::kPitch * lit;
        p.drawImage(QPoint(menuRect.left() + cell, menuRect.top() + 1), strip,
                    QRect(cell, 0, PresentMenu::kPitch, PresentMenu::kPitch));
    }
}

} // namespace brevant
