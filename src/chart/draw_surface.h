#pragma once
// The drawing target of every chart routine: a QPainter on a QImage (Format_RGB32) that
// keeps the raster rules the chart code is written against. A pen of width 0 draws one
// pixel; a filled box covers left/top up to, not including, right/bottom; text in a box is
// one clipped, aligned line on a transparent background; rotated text turns
// counter-clockwise about the top-left corner of the unrotated text; fonts are asked for
// by character (em) height in pixels.
//
// An image with a device pixel ratio other than 1 (a window's back buffer on a scaled
// screen) is drawn on in logical pixels at the screen's resolution: shapes and text keep
// their logical places and sizes, the width-0 pen stays one device pixel wide, and crisp
// lines cover the same logical pixels as at 1x.

#include "chart_style.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QSize>
#include <QString>

#include <memory>
#include <vector>

namespace brevant {

// A rectangle as the chart code writes it: (left, top, right, bottom), right and bottom
// exclusive. Unlike QRect it never shifts the far edges by one.
struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    constexpr bool isEmpty() const { return right <= left || bottom <= top; }
    QRect toQRect() const { return QRect(left, top, width(), height()); }
    static Box fromQRect(const QRect& r)
    {
        return Box{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    }
    friend constexpr bool operator==(const Box&, const Box&) = default;
};

enum class HAlign { Left, Center, Right };
enum class VAlign { Top, Center, Bottom };

// One text as a surface drew it, for tests that read what the charts say and where: the
// box it was aligned in (textAt: its top-left corner and unrotated extent), in the
// coordinates of the surface that keeps the record.
struct DrawnText {
    QString text;
    Box box;
    HAlign h = HAlign::Left;
    VAlign v = VAlign::Top;
    int rotation = 0;
    ColorRef color = 0;
};
using TextRecord = std::vector<DrawnText>;

// The face every chart text asks for; IPAPGothic stands in for it on this desktop.
QString ChartFaceName();
// Registers the stand-in faces once per process (idempotent).
void RegisterChartFontSubstitutes();
// Character height in pixels of a size in points: round(points × dpiY / 72), the size
// raised to 2 points first.
int CharHeightPixels(int points, int dpiY);

// A chart font: the face and size as QFont holds them, plus the rotation that QFont
// cannot carry (degrees counter-clockwise).
struct ChartFont {
    QFont font;
    int rotation = 0;
    bool valid = false;
    // Which of the cached fonts this is: the key of its measurements. -1 for none.
    int id = -1;
};

// Builds a chart font: the face (empty means the chart face), weight 700 or 400, requested
// by character height at dpiY, rotated counter-clockwise by `rotation` degrees. Fonts are
// cached per face, size and weight; any thread may ask.
ChartFont MakeChartFont(const QString& face, int points, bool bold, int rotation, int dpiY);

// A painting session on an image. The image must outlive the surface and must not be
// copied while the surface paints on it (the copy would share the pixels being drawn).
class DrawSurface {
public:
    // Off-screen images are measured at 96 pixels per logical inch vertically.
    static constexpr int kOffscreenDpiY = 96;
    // Coordinates handed to QPainter are kept within this range; every pixel of any
    // realistic image stays the same, while absurd figures cannot upset the rasterizer.
    static constexpr int kCoordinateLimit = 1000000;

    explicit DrawSurface(QImage& image, int dpiY = kOffscreenDpiY);
    ~DrawSurface();
    DrawSurface(const DrawSurface&) = delete;
    DrawSurface& operator=(const DrawSurface&) = delete;

    bool isValid() const { return painter_ != nullptr; }
    // Logical size.
    int width() const { return size_.width(); }
    int height() const { return size_.height(); }
    int dpiY() const { return dpiY_; }
    QImage& image() { return image_; }

    // Current drawing objects. Saver restores all of them on destruction.
    void setPen(ColorRef color, int width);
    void setNullPen();
    void setBrush(ColorRef color);
    void setNullBrush();
    // Selects the font and returns the one selected before.
    ChartFont selectFont(const ChartFont& font);
    const ChartFont& font() const { return font_; }
    void setTextColor(ColorRef color) { textColor_ = color; }
    ColorRef textColor() const { return textColor_; }

    class Saver {
    public:
        explicit Saver(DrawSurface& s);
        ~Saver();
        Saver(const Saver&) = delete;
        Saver& operator=(const Saver&) = delete;

    private:
        DrawSurface& s_;
        ColorRef penColor_;
        int penWidth_;
        bool penNull_;
        ColorRef brushColor_;
        bool brushNull_;
        ChartFont font_;
        ColorRef textColor_;
    };

    // Solid fill of [left, right) × [top, bottom), no pen.
    void fillRect(const Box& box, ColorRef color);
    // Lines with the current pen. Axis-aligned lines are always crisp.
    void line(QPoint a, QPoint b);
    void polyline(const QPolygon& points);
    // Filled with the brush and outlined with the pen.
    void polygon(const QPolygon& points);
    void rectangle(const Box& box);
    void roundRect(const Box& box, int ellipseWidth, int ellipseHeight);

    // Text with its top-left corner (before rotation) at `topLeft`.
    void textAt(QPoint topLeft, const QString& text);
    // One line of text aligned in the box and clipped to it; nothing for an empty box.
    void textInBox(const Box& box, const QString& text, HAlign h, VAlign v);
    // Width and height of the text laid out horizontally in the current font.
    QSize textExtent(const QString& text) const;

    // Copies `source` (from srcRect) onto this surface with its top-left at `dest`,
    // replacing the pixels there. Both are in logical pixels; the source's pixels are
    // copied unscaled, so its ratio should be this image's.
    void copyFrom(const QImage& source, QPoint dest, const QRect& srcRect);

    // Antialiasing of slanted lines and polygons (on by default); text is always smooth.
    void setSmoothShapes(bool on) { smoothShapes_ = on; }

    // Appends every text drawn from now on to `record` (nullptr stops), its box moved by
    // `offset`: a plot's surface records in the composition's coordinates. Off by default.
    void recordTexts(TextRecord* record, QPoint offset = QPoint())
    {
        textRecord_ = record;
        recordOffset_ = offset;
    }
    TextRecord* textRecord() const { return textRecord_; }
    QPoint recordOffset() const { return recordOffset_; }

    // A font's metrics and the text widths measured with it (on the calling thread).
    struct Measures;

private:
    Measures& measures() const;
    void applyPen(bool smooth);
    void applyShapeHints(bool smooth);
    void recordText(const QString& text, const Box& box, HAlign h, VAlign v);

    QImage& image_;
    int dpiY_;
    qreal ratio_ = 1;
    QSize size_;
    std::unique_ptr<QPainter> painter_;
    ColorRef penColor_ = 0;
    int penWidth_ = 0;
    bool penNull_ = false;
    ColorRef brushColor_ = 0xFFFFFF;
    bool brushNull_ = true;
    ChartFont font_;
    ColorRef textColor_ = 0;
    bool smoothShapes_ = true;
    TextRecord* textRecord_ = nullptr;
    QPoint recordOffset_;
};

// Colour conversions between 0x00BBGGRR and Qt.
inline QColor ToQColor(ColorRef c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }
inline ColorRef FromQRgb(QRgb rgb) { return Rgb(qRed(rgb), qGreen(rgb), qBlue(rgb)); }

} // namespace brevant
