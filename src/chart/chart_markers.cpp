#include "chart_markers.h"

#include "chart_paint.h"
#include "saturate.h"
#include "chart_text.h"

#include <algorithm>

namespace brevant {

namespace {

constexpr ColorRef kWhite = 0xFFFFFF;

int Add(int64_t a, int64_t b) { return Sat32(a + b); }

Box Around(QPoint c, int d) { return Box{Add(c.x(), -d), Add(c.y(), -d), Add(c.x(), d), Add(c.y(), d)}; }

void Triangle(DrawSurface& s, QPoint c, int d)
{
    s.polygon(QPolygon({QPoint(c.x(), Add(c.y(), -d)), QPoint(Add(c.x(), -d), Add(c.y(), d)),
                        QPoint(Add(c.x(), d), Add(c.y(), d))}));
}

} // namespace

int32_t MarkerSize(int32_t plotHeight) { return std::max(plotHeight / 70, 5); }

void DrawTargetMarker(DrawSurface& s, ChartPaint& p, int chart)
{
    const ChartGeometry& g = p.geometry;
    const ColorRef colour = p.style.colors[kTargetSales];
    const int width = p.style.lineWidths[kTargetSales];
    const int d = MarkerSize(g.plotHeight);

    DrawSurface::Saver keep(s);
    s.setPen(colour, p.highlight ? SatMul(width, 3) : width);
    s.setBrush(kMarkerYellow);
    p.elements.RecordElement(MovableElementTable::kTargetLine[chart],
                             ToScreen(g, chart, p.pixel(g.keys.targetPoint)),
                             ToScreen(g, chart, p.pixel(g.keys.targetFoot)));
    const QPoint point = p.onComposition(chart, g.keys.targetPoint);
    const QPoint foot = p.onComposition(chart, g.keys.targetFoot);
    s.line(point, foot);

    s.setPen(colour, width);
    s.rectangle(Around(point, d));
    s.rectangle(Around(foot, d));

    s.selectFont(BoxFont(p.style, s.dpiY()));
    const QString text1 = QStringLiteral("目標売上高 ") +
                          ShownAmount(p.inputs.targetSales, p.inputs.amountUnit);
    const QString text2 = QStringLiteral("目標営業利益 ") +
                          ShownAmount(p.inputs.targetSales - p.breakEvenPoint, p.inputs.amountUnit);
    const QSize e1 = s.textExtent(text1);
    const QSize e2 = s.textExtent(text2);
    const int w = std::max(e1.width(), e2.width()) + 8;
    Box b;
    b.right = Add(point.x(), -d);
    b.bottom = Add(point.y(), -d);
    b.left = Add(b.right, -w);
    b.top = Add(b.bottom, -2 * int64_t(e1.height()));

    s.setBrush(kWhite);
    s.rectangle(Box{b.left, Add(b.top, -2), b.right, Add(b.bottom, 2)});
    s.setTextColor(colour);
    s.textInBox(b, text1, HAlign::Center, VAlign::Top);
    s.textInBox(b, text2, HAlign::Center, VAlign::Bottom);
}

void DrawBreakEvenMarker(DrawSurface& s, const ChartPaint& p, int chart, AreaVariant variant)
{
    const ChartGeometry& g = p.geometry;
    const ColorRef colour = p.style.colors[kBreakEven];
    const int d = MarkerSize(g.plotHeight);

    DrawSurface::Saver keep(s);
    s.setPen(colour, p.style.lineWidths[kBreakEven]);
    s.setBrush(kMarkerYellow);
    // The index variant too starts from the point on the sales line.
    const QPoint point = p.onComposition(chart, g.keys.bepPoint);
    const QPoint foot = p.onComposition(chart, g.keys.bepFoot);
    s.line(point, foot);
    Triangle(s, point, d);
    if (variant == AreaVariant::Index)
        Triangle(s, p.onComposition(chart, g.keys.indexBepPoint), d);
    Triangle(s, foot, d);

    s.selectFont(BoxFont(p.style, s.dpiY()));
    const QString text = QStringLiteral("損益分岐点 ") +
                         ShownAmount(p.breakEvenPoint, p.inputs.amountUnit);
    const QSize e = s.textExtent(text);
    const Box box{Sat32(int64_t(point.x()) - d - e.width() - 4),
                  Sat32(int64_t(point.y()) - d - e.height() - 4), Add(point.x(), -d),
                  Add(point.y(), -d)};
    s.rectangle(box);
    s.setTextColor(colour);
    s.textInBox(box, text, HAlign::Center, VAlign::Center);
}

void DrawTotalCostHandle(DrawSurface& s, const ChartPaint& p, int chart)
{
    s.fillRect(Around(p.onComposition(chart, p.geometry.keys.totalCostEnd), HandleHalf(p.highlight)),
               p.style.colors[kTotalCostLine]);
}

void DrawMarginalHandle(DrawSurface& s, const ChartPaint& p, int chart)
{
    s.fillRect(Around(p.onComposition(chart, p.geometry.keys.marginalEnd), HandleHalf(p.highlight)),
               p.style.colors[kMarginalLine]);
}

} // namespace brevant
