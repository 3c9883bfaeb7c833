#pragma once
// The pointer stick that replaces the cursor in presentation mode, its pointing ripple and
// its ink. Everything is drawn straight onto the window's back buffer as a sprite with a
// saved background, so pointer movement never re-renders the charts; a repaint of the
// window wipes stick, ripple and ink together.

#include "chart_style.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

#include <array>

namespace brevant {

class SavedBackground;

// The ink colour's default: RGB(255, 130, 0), orange.
constexpr ColorRef kDefaultInkColour = 33535;
inline const QString kInkColourKey = QStringLiteral("refPointer");

// The stored text is the signed decimal of the colour value; a text that is not a number
// gives 0 (black).
ColorRef InkColourFromText(const QString& text);
QString InkColourText(ColorRef colour);

// One ink segment: a solid 5 px line with round ends and joins, not smoothed.
void DrawInkSegment(QImage& window, QPoint from, QPoint to, ColorRef colour);

// Copies the top-left size × size pixels of the sprite to the window at `at`, leaving out
// the pure-blue key pixels; no blending.
void DrawKeyed(QImage& window, const QImage& sprite, QPoint at, int size);

class PointerStick {
public:
    static constexpr int kMinLevel = 1;
    static constexpr int kMaxLevel = 3;
    static constexpr int kUnit = 61;       // drawn size per level
    static constexpr int kInkWidth = 5;

    // The stick pictures of levels 1..3.
    void SetImages(const std::array<QImage, 3>& images);

    bool Shown() const { return shown_; }
    int Level() const { return level_; }
    int Size() const { return kUnit * level_; }
    ColorRef InkColour() const { return ink_; }
    void SetInkColour(ColorRef colour) { ink_ = colour; }
    bool StrokeActive() const { return strokeActive_; }
    QPoint LastInkPoint() const { return lastInk_; }
    bool ButtonHeld() const { return buttonHeld_; }

    // Shows or hides the stick; a stick being shown starts without a stroke. Returns the
    // new state.
    bool Toggle();
    // Makes the stick `delta` levels longer, held within 1..3. Only while shown: returns
    // false (and changes nothing) when the stick is hidden.
    bool ChangeLevel(int delta);

    // One pointer update: restore the old background, extend the ink stroke while the
    // button is down, save the new background, draw the ripple while a click is held
    // without a stroke, draw the stick. The saved square is Size() + 100 px, from 60 px
    // above and left of the point.
    void UpdatePointer(QImage& window, SavedBackground& background, bool buttonDown, QPoint point);
    // Left press and release with the stick shown: the press shows the ripple at the tip,
    // the release takes it away.
    void Press(QImage& window, SavedBackground& background, QPoint point);
    void Release(QImage& window, SavedBackground& background, QPoint point);

    // Where the background is saved for a stick of `size` at `point`.
    static QRect SaveRect(QPoint point, int size);
    // The ripple's centre and the stick's top-left corner for a pointer at `point`.
    static QPoint RippleCentre(QPoint point) { return point + QPoint(13, 13); }
    static QPoint StickOrigin(QPoint point) { return point - QPoint(10, 10); }

private:
    std::array<QImage, 3> images_;
    bool shown_ = false;
    int level_ = kMinLevel;
    ColorRef ink_ = kDefaultInkColour;
    bool strokeActive_ = false;
    QPoint lastInk_;
    bool buttonHeld_ = false;
};

} // namespace brevant
