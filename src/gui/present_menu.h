#pragma once
// The presentation window's button menu in the bottom-right corner, as plain state: where
// it lies, when it shows, which button is lit, and what a click acts on. The window turns
// the answers into repaints and tooltips.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <array>

namespace brevant {

class PresentMenu {
public:
    static constexpr int kButtonCount = 7;
    enum Button { kChart1 = 0, kChart2, kChart3, kStick, kErase, kColour, kEnd };

    // The strip: plain look in rows 50..99, lit cells of 42 × 42 in rows 0..41.
    static constexpr int kStripWidth = 302;
    static constexpr int kMenuHeight = 50;
    static constexpr int kPitch = 42;
    static constexpr int kHitSize = 39;

    // What a mouse move asks of the window.
    struct MoveEffect {
        QRect repaint;            // repaint at once when not empty
        bool hideTooltip = false; // deactivate the tooltip
        int tooltipButton = -1;   // show this button's tooltip (after hiding the old one)
    };

    // Lays the menu out for a screen of the given size and starts afresh: shown, hovered,
    // nothing lit. Returns true when the five-second hide timer is to run.
    bool Start(QSize screen, bool alwaysShow);

    QRect MenuRect() const { return menuRect_; }
    QRect ButtonRect(int button) const { return buttonRects_[button]; }
    // The menu and the 10 px to the screen's corner.
    QRect CornerRect() const { return menuRect_.adjusted(0, 0, 10, 10); }

    bool Visible() const { return pinned_ || hovered_; }
    bool Pinned() const { return pinned_; }
    bool Hovered() const { return hovered_; }
    bool AlwaysShow() const { return alwaysShow_; }
    // The lit button, or -1.
    int LitButton() const;

    MoveEffect OnMove(QPoint point);
    // A left press acts on the lit button wherever it lands; -1 lets it through.
    int ClickTarget() const { return LitButton(); }
    // The hide timer fired with the pointer at `pointer`: the menu stays only if it is
    // always shown or the pointer is over it. Returns the area to repaint.
    QRect OnHideTimer(QPoint pointer);
    // The context-menu toggle: pins the menu exactly when it is now always shown. Returns
    // the area to repaint.
    QRect ToggleAlwaysShow();

    static QString TooltipText(int button);

private:
    void ClearLit() { lit_.fill(false); }

    QRect menuRect_;
    std::array<QRect, kButtonCount> buttonRects_;
    std::array<bool, kButtonCount> lit_ = {};
    bool pinned_ = true;
    bool hovered_ = true;
    bool alwaysShow_ = true;
};

// Draws the menu from the strip onto the window's back buffer if it is visible: the plain
// menu, then the lit cell of the lit button.
void PaintMenu(QImage& window, const QImage& strip, const PresentMenu& menu);

} // namespace brevant
