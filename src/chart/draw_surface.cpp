#include "draw_surface.h"

#include "device_pixels.h"
#include "kept_shapes.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QLineF>
#include <QPolygonF>
#include <QThread>

#include <QHash>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <tuple>
#include <vector>

namespace brevant {

namespace {

constexpr double kLimit = DrawSurface::kCoordinateLimit;

int ClampCoord(int64_t v)
{
    return int(std::clamp<int64_t>(v, -DrawSurface::kCoordinateLimit,
                                   DrawSurface::kCoordinateLimit));
}

QPoint ClampPoint(QPoint p) { return QPoint(ClampCoord(p.x()), ClampCoord(p.y())); }

Box ClampBox(const Box& b)
{
    return Box{ClampCoord(b.left), ClampCoord(b.top), ClampCoord(b.right), ClampCoord(b.bottom)};
}

// Where a shape may reach before it is cut. Antialiased shapes are cut just outside the
// image: the rasterizer walks every row such a shape spans, so a line a million pixels
// long would take a second to draw. Crisp shapes are cheap at any length, and their
// rounded end points must stay far away so the visible slope does not change.
struct ClipArea {
    double left, top, right, bottom;
};

ClipArea AreaFor(QSize image, int penWidth, bool smooth)
{
    if (!smooth)
        return {-kLimit, -kLimit, kLimit, kLimit};
    // Beyond the pen's half width, its round cap and the antialiased fringe.
    const double margin = std::max(penWidth, 1) + 4.0;
    return {-margin, -margin, image.width() + margin, image.height() + margin};
}

bool Inside(const QPoint& p, const ClipArea& area)
{
    return p.x() >= area.left && p.x() <= area.right && p.y() >= area.top &&
           p.y() <= area.bottom;
}

// Cuts a segment to the clip area (Liang-Barsky), so that a line reaching far beyond the
// image keeps its slope where it is visible.
bool ClipSegment(QPointF& a, QPointF& b, const ClipArea& area)
{
    double t0 = 0;
    double t1 = 1;
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - area.left, area.right - a.x(), a.y() - area.top,
                         area.bottom - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, r);
        else
            t1 = std::min(t1, r);
        if (t0 > t1)
            return false;
    }
    const QPointF start = a;
    a = QPointF(start.x() + t0 * dx, start.y() + t0 * dy);
    b = QPointF(start.x() + t1 * dx, start.y() + t1 * dy);
    return true;
}

// Sutherland-Hodgman against the clip area, for polygons.
QPolygonF ClipPolygon(const QPolygon& in, const ClipArea& area)
{
    QPolygonF poly;
    poly.reserve(in.size());
    bool inside = true;
    for (const QPoint& p : in) {
        poly.append(QPointF(p));
        inside = inside && Inside(p, area);
    }
    if (inside)
        return poly;

    auto clipEdge = [](const QPolygonF& src, int axis, double bound, bool keepBelow) {
        QPolygonF out;
        auto coord = [axis](const QPointF& p) { return axis == 0 ? p.x() : p.y(); };
        auto in = [&](const QPointF& p) {
            return keepBelow ? coord(p) <= bound : coord(p) >= bound;
        };
        for (qsizetype i = 0; i < src.size(); ++i) {
            const QPointF cur = src[i];
            const QPointF prev = src[(i + src.size() - 1) % src.size()];
            const bool curIn = in(cur);
            const bool prevIn = in(prev);
            if (curIn != prevIn) {
                const double t = (bound - coord(prev)) / (coord(cur) - coord(prev));
                out.append(prev + (cur - prev) * t);
            }
            if (curIn)
                out.append(cur);
        }
        return out;
    };
    poly = clipEdge(poly, 0, area.left, false);
    poly = clipEdge(poly, 0, area.right, true);
    poly = clipEdge(poly, 1, area.top, false);
    poly = clipEdge(poly, 1, area.bottom, true);
    return poly;
}

int AlignFlags(HAlign h, VAlign v)
{
    int flags = Qt::TextSingleLine;
    switch (h) {
    case HAlign::Left: flags |= Qt::AlignLeft; break;
    case HAlign::Center: flags |= Qt::AlignHCenter; break;
    case HAlign::Right: flags |= Qt::AlignRight; break;
    }
    switch (v) {
    case VAlign::Top: flags |= Qt::AlignTop; break;
    case VAlign::Center: flags |= Qt::AlignVCenter; break;
    case VAlign::Bottom: flags |= Qt::AlignBottom; break;
    }
    return flags;
}

} // namespace

QString ChartFaceName() { return QStringLiteral("ＭＳ Ｐゴシック"); }

void RegisterChartFontSubstitutes()
{
    static const bool registered = [] {
        QFont::insertSubstitution(ChartFaceName(), QStringLiteral("IPAPGothic"));
        return true;
    }();
    (void)registered;
}

int CharHeightPixels(int points, int dpiY)
{
    const int size = std::max(points, 2);
    return int(std::lround(double(size) * dpiY / 72.0));
}

// What a font measures: its metrics and the widths of the texts measured with it so far.
// The same few texts (scale labels, titles, names) are measured on every paint; the
// widths are forgotten when there are many, as a long batch brings new amounts.
struct DrawSurface::Measures {
    static constexpr qsizetype kMaxWidths = 2048;
    std::optional<QFontMetrics> metrics;
    int ascent = 0;
    int height = 0;
    QHash<QString, int> widths;
};

namespace {

using FontKey = std::tuple<QString, int, int>;  // family, pixels, weight

// Fonts and their measurements, kept by every thread that draws charts for itself: a
// font's engines and metrics belong to the thread that uses them, and a QFont shared
// between threads would be set up by two of them at once.
struct ThreadFonts {
    std::map<FontKey, QFont> fonts;
    // By font id, then by the resolution of the image measured on.
    std::vector<std::map<int, std::unique_ptr<DrawSurface::Measures>>> measures;
};

ThreadFonts& FontsOfThisThread()
{
    // The main thread's are let go with the application, before Qt's font engines go
    // away; a worker's when it ends.
    thread_local std::unique_ptr<ThreadFonts> fonts;
    if (!fonts) {
        fonts = std::make_unique<ThreadFonts>();
        const QCoreApplication* app = QCoreApplication::instance();
        if (app && app->thread() == QThread::currentThread())
            qAddPostRoutine([] { fonts.reset(); });
    }
    return *fonts;
}

// One id for each face, size and weight, the same on every thread and never reused.
int FontId(const FontKey& key)
{
    static std::mutex mutex;
    static std::map<FontKey, int> ids;
    const std::lock_guard lock(mutex);
    return ids.emplace(key, int(ids.size())).first->second;
}

} // namespace

ChartFont MakeChartFont(const QString& face, int points, bool bold, int rotation, int dpiY)
{
    RegisterChartFontSubstitutes();
    const QString family = face.isEmpty() ? ChartFaceName() : face;
    const int pixels = std::max(CharHeightPixels(points, dpiY), 1);
    const int weight = bold ? 700 : 400;

    // Fonts are asked for many times per paint with a handful of sizes.
    const FontKey key(family, pixels, weight);
    auto& fonts = FontsOfThisThread().fonts;
    auto it = fonts.find(key);
    if (it == fonts.end()) {
        QFont font(family);
        font.setPixelSize(pixels);
        font.setWeight(bold ? QFont::Bold : QFont::Normal);
        font.setItalic(false);
        font.setUnderline(false);
        font.setStrikeOut(false);
        font.setStyleStrategy(QFont::PreferAntialias);
        it = fonts.emplace(key, font).first;
    }
    return ChartFont{it->second, rotation, true, FontId(key)};
}

DrawSurface::Measures& DrawSurface::measures() const
{
    auto& kept = FontsOfThisThread().measures;
    const int dpi = image_.isNull() ? 0 : image_.logicalDpiY();
    const auto index = size_t(font_.id);
    if (kept.size() <= index)
        kept.resize(index + 1);
    std::unique_ptr<Measures>& m = kept[index][dpi];
    if (!m) {
        m = std::make_unique<Measures>();
        m->metrics.emplace(font_.font, image_.isNull() ? nullptr : &image_);
        m->ascent = m->metrics->ascent();
        m->height = m->metrics->height();
    }
    return *m;
}

DrawSurface::DrawSurface(QImage& image, int dpiY)
    : image_(image), dpiY_(dpiY), ratio_(image.devicePixelRatio()), size_(image.size())
{
    if (image_.isNull())
        return;
    if (ratio_ != 1)
        size_ = image_.deviceIndependentSize().toSize();
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(&image_)) {
        painter_.reset();
        return;
    }
    painter_->setRenderHint(QPainter::TextAntialiasing, true);
    painter_->setBackgroundMode(Qt::TransparentMode);
}

DrawSurface::~DrawSurface()
{
    if (painter_)
        painter_->end();
}

void DrawSurface::setPen(ColorRef color, int width)
{
    penColor_ = color;
    penWidth_ = std::max(width, 0);
    penNull_ = false;
}

void DrawSurface::setNullPen() { penNull_ = true; }

void DrawSurface::setBrush(ColorRef color)
{
    brushColor_ = color;
    brushNull_ = false;
}

void DrawSurface::setNullBrush() { brushNull_ = true; }

ChartFont DrawSurface::selectFont(const ChartFont& font)
{
    ChartFont previous = font_;
    font_ = font;
    return previous;
}

DrawSurface::Saver::Saver(DrawSurface& s)
    : s_(s), penColor_(s.penColor_), penWidth_(s.penWidth_), penNull_(s.penNull_),
      brushColor_(s.brushColor_), brushNull_(s.brushNull_), font_(s.font_),
      textColor_(s.textColor_)
{
}

DrawSurface::Saver::~Saver()
{
    s_.penColor_ = penColor_;
    s_.penWidth_ = penWidth_;
    s_.penNull_ = penNull_;
    s_.brushColor_ = brushColor_;
    s_.brushNull_ = brushNull_;
    s_.font_ = font_;
    s_.textColor_ = textColor_;
}

void DrawSurface::applyPen(bool smooth)
{
    if (penNull_) {
        painter_->setPen(Qt::NoPen);
        return;
    }
    // Width 0 still draws one pixel: one device pixel on a scaled image.
    QPen pen(ToQColor(penColor_), ratio_ != 1 && penWidth_ == 0 ? 0 : std::max(penWidth_, 1));
    pen.setCapStyle(penWidth_ > 1 ? Qt::RoundCap : Qt::SquareCap);
    pen.setJoinStyle(penWidth_ > 1 ? Qt::RoundJoin : Qt::MiterJoin);
    if (!smooth && penWidth_ <= 1)
        pen.setCapStyle(Qt::FlatCap);
    painter_->setPen(pen);
}

void DrawSurface::applyShapeHints(bool smooth)
{
    painter_->setRenderHint(QPainter::Antialiasing, smooth);
    // Integer coordinates name pixel centres, as on the raster the charts were laid out on;
    // without this an antialiased one-pixel line would smear over two pixel columns.
    // On a scaled image crisp lines are centred on the logical pixel too, so that they
    // cover the device pixels of the logical pixels they cover at 1x.
    painter_->resetTransform();
    if (smooth || ratio_ != 1)
        painter_->translate(0.5, 0.5);
}

void DrawSurface::fillRect(const Box& box, ColorRef color)
{
    if (!painter_)
        return;
    const Box b = ClampBox(box);
    if (b.isEmpty())
        return;
    painter_->resetTransform();
    painter_->fillRect(b.toQRect(), ToQColor(color));
}

void DrawSurface::line(QPoint a, QPoint b)
{
    if (!painter_ || penNull_)
        return;
    const bool axisAligned = a.x() == b.x() || a.y() == b.y();
    const bool smooth = smoothShapes_ && !axisAligned;
    QPointF fa(a);
    QPointF fb(b);
    if (!ClipSegment(fa, fb, AreaFor(size_, penWidth_, smooth)))
        return;
    applyShapeHints(smooth);
    applyPen(smooth);
    if (smooth) {
        const QLineF l(fa, fb);
        // Only where the painter draws nothing but the line: an opaque image of logical
        // pixels (the kept pixels are taken at 1x), and no clip (text in a box sets one
        // only while it draws).
        if (penWidth_ > 1 && ratio_ == 1 && image_.format() == QImage::Format_RGB32
            && !painter_->hasClipping()) {
            KeptShapes* kept = KeptShapes::OfThisThread();
            if (kept && kept->draw(image_, {QPolygonF({fa, fb}), penWidth_, penColor_,
                                            image_.size()},
                                   painter_->pen()))
                return;
        }
        painter_->drawLine(l);
    } else {
        painter_->drawLine(QLineF(std::round(fa.x()), std::round(fa.y()), std::round(fb.x()),
                                  std::round(fb.y())));
    }
}

void DrawSurface::polyline(const QPolygon& points)
{
    if (points.size() < 2)
        return;
    bool axisAligned = true;
    for (qsizetype i = 1; i < points.size(); ++i) {
        axisAligned = axisAligned && (points[i].x() == points[i - 1].x() ||
                                      points[i].y() == points[i - 1].y());
    }
    if (!painter_ || penNull_)
        return;
    const bool smooth = smoothShapes_ && !axisAligned;
    const ClipArea area = AreaFor(size_, penWidth_, smooth);
    bool inside = true;
    for (const QPoint& p : points)
        inside = inside && Inside(p, area);
    if (!inside) {
        for (qsizetype i = 1; i < points.size(); ++i)
            line(points[i - 1], points[i]);
        return;
    }
    applyShapeHints(smooth);
    applyPen(smooth);
    painter_->drawPolyline(points);
}

void DrawSurface::polygon(const QPolygon& points)
{
    if (!painter_ || points.size() < 2)
        return;
    const QPolygonF poly = ClipPolygon(points, AreaFor(size_, penWidth_, smoothShapes_));
    if (poly.isEmpty())
        return;
    applyShapeHints(smoothShapes_);
    applyPen(smoothShapes_);
    // The fill of a smooth polygon on an opaque image may come from the kept pixels; the
    // outline is then drawn over it as drawPolygon would draw it after the fill.
    if (smoothShapes_ && !brushNull_ && ratio_ == 1 && image_.format() == QImage::Format_RGB32
        && !painter_->hasClipping()) {
        KeptShapes* kept = KeptShapes::OfThisThread();
        if (kept && kept->draw(image_, {poly, 0, brushColor_, image_.size()}, QPen())) {
            if (!penNull_) {
                painter_->setBrush(Qt::NoBrush);
                painter_->drawPolygon(poly);
            }
            return;
        }
    }
    painter_->setBrush(brushNull_ ? QBrush(Qt::NoBrush) : QBrush(ToQColor(brushColor_)));
    painter_->drawPolygon(poly);
}

void DrawSurface::rectangle(const Box& box)
{
    if (!painter_)
        return;
    const Box b = ClampBox(box);
    if (b.width() <= 0 || b.height() <= 0)
        return;
    // Crisp: the outline runs along the outermost pixels of [left, right) × [top, bottom).
    applyShapeHints(false);
    applyPen(false);
    painter_->setBrush(brushNull_ ? QBrush(Qt::NoBrush) : QBrush(ToQColor(brushColor_)));
    painter_->drawRect(QRect(b.left, b.top, b.width() - 1, b.height() - 1));
}

void DrawSurface::roundRect(const Box& box, int ellipseWidth, int ellipseHeight)
{
    if (!painter_)
        return;
    const Box b = ClampBox(box);
    if (b.width() <= 0 || b.height() <= 0)
        return;
    applyShapeHints(smoothShapes_);
    applyPen(smoothShapes_);
    painter_->setBrush(brushNull_ ? QBrush(Qt::NoBrush) : QBrush(ToQColor(brushColor_)));
    painter_->drawRoundedRect(QRectF(b.left, b.top, b.width() - 1, b.height() - 1),
                              std::max(ellipseWidth, 0) / 2.0, std::max(ellipseHeight, 0) / 2.0);
}

void DrawSurface::recordText(const QString& text, const Box& box, HAlign h, VAlign v)
{
    const QPoint o = recordOffset_;
    textRecord_->push_back({text, Box{box.left + o.x(), box.top + o.y(), box.right + o.x(),
                                      box.bottom + o.y()},
                            h, v, font_.rotation, textColor_});
}

void DrawSurface::textAt(QPoint topLeft, const QString& text)
{
    if (!painter_ || !font_.valid || text.isEmpty())
        return;
    const QPoint p = ClampPoint(topLeft);
    if (textRecord_) {
        const QSize e = textExtent(text);
        recordText(text, Box{p.x(), p.y(), p.x() + e.width(), p.y() + e.height()},
                   HAlign::Left, VAlign::Top);
    }
    painter_->resetTransform();
    painter_->setFont(font_.font);
    painter_->setPen(ToQColor(textColor_));
    const int ascent = font_.id < 0 ? QFontMetrics(font_.font, &image_).ascent()
                                    : measures().ascent;
    if (font_.rotation != 0) {
        painter_->translate(p);
        painter_->rotate(-font_.rotation);
        painter_->drawText(QPoint(0, ascent), text);
        painter_->resetTransform();
    } else {
        painter_->drawText(QPoint(p.x(), p.y() + ascent), text);
    }
}

void DrawSurface::textInBox(const Box& box, const QString& text, HAlign h, VAlign v)
{
    if (!painter_ || !font_.valid || text.isEmpty())
        return;
    const Box b = ClampBox(box);
    if (b.isEmpty())
        return;
    if (textRecord_)
        recordText(text, b, h, v);
    painter_->resetTransform();
    painter_->setFont(font_.font);
    painter_->setPen(ToQColor(textColor_));
    const QRect r = b.toQRect();
    painter_->save();
    painter_->setClipRect(r);
    painter_->drawText(r, AlignFlags(h, v), text);
    painter_->restore();
}

QSize DrawSurface::textExtent(const QString& text) const
{
    if (!font_.valid)
        return QSize();
    if (font_.id < 0) {
        const QFontMetrics fm(font_.font, image_.isNull() ? nullptr : &image_);
        return QSize(text.isEmpty() ? 0 : fm.horizontalAdvance(text), fm.height());
    }
    Measures& m = measures();
    if (text.isEmpty())
        return QSize(0, m.height);
    auto it = m.widths.constFind(text);
    if (it == m.widths.cend()) {
        if (m.widths.size() >= Measures::kMaxWidths)
            m.widths.clear();
        it = m.widths.insert(text, m.metrics->horizontalAdvance(text));
    }
    return QSize(*it, m.height);
}

void DrawSurface::copyFrom(const QImage& source, QPoint dest, const QRect& srcRect)
{
    if (!painter_ || source.isNull())
        return;
    painter_->resetTransform();
    painter_->setCompositionMode(QPainter::CompositionMode_Source);
    if (ratio_ == 1 && source.devicePixelRatio() == 1) {
        painter_->drawImage(ClampPoint(dest), source, srcRect);
    } else {
        // In device pixels, one for one: the ratio is undone for the copy.
        const QRect from = DeviceRect(srcRect, source.devicePixelRatio());
        const QPoint to = DevicePoint(ClampPoint(dest), ratio_);
        painter_->setWorldTransform(QTransform::fromScale(1.0 / ratio_, 1.0 / ratio_));
        painter_->drawImage(QRectF(to, from.size()), source, QRectF(from));
        painter_->resetTransform();
    }
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

} // namespace brevant
