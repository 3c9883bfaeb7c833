#include "chart_kinds.h"

#include "saturate.h"
#include "text_util.h"
#include "chart_markers.h"
#include "chart_text.h"

#include <algorithm>

namespace brevant {

namespace {

constexpr ColorRef kWhite = 0xFFFFFF;
constexpr ColorRef kGrey = 0x808080;

int Add(int64_t a, int64_t b) { return Sat32(a + b); }

// S ≥ BEP as a double comparison: false for a break-even point that is infinite or not a
// number.
bool AreasShown(const ChartPaint& p) { return p.inputs.maxSales >= p.breakEvenPoint; }

void DrawTriangle(DrawSurface& plot, const ChartPaint& p, const std::array<QPoint, 3>& grid,
                  ColorRef colour)
{
    DrawSurface::Saver keep(plot);
    plot.setPen(colour, 1);
    plot.setBrush(colour);
    plot.polygon(QPolygon({p.pixel(grid[0]), p.pixel(grid[1]), p.pixel(grid[2])}));
}

void DrawAreaLabel(DrawSurface& plot, const ChartPaint& p, const std::array<QPoint, 3>& grid,
                   ColorRef areaColour, int width, const QString& text)
{
    const ColorRef d = AreaLabelColour(areaColour);
    const QPoint a = p.pixel(grid[0]);
    const QPoint b = p.pixel(grid[1]);
    const QPoint c = p.pixel(grid[2]);
    const int cx = Sat32((int64_t(a.x()) + b.x() + c.x()) / 3);
    const int cy = Sat32((int64_t(a.y()) + b.y() + c.y()) / 3);

    DrawSurface::Saver keep(plot);
    plot.setPen(width != 0 ? d : kWhite, width);
    plot.setBrush(kWhite);
    plot.selectFont(NameFont(p.style, plot.dpiY()));
    const QSize e = plot.textExtent(text);
    const int hw = e.width() / 2 + 4;
    const int hh = e.height() / 2 + 4;
    const Box box{Add(cx, -hw), Add(cy, -hh), Add(cx, hw), Add(cy, hh)};
    const int corner = p.style.fontSize / 2;
    plot.roundRect(box, corner, corner);
    plot.setTextColor(d);
    plot.textInBox(box, text, HAlign::Center, VAlign::Center);
}

} // namespace

ColorRef DarkenColour(ColorRef c)
{
    if (c == 0)
        return kGrey;
    return Rgb(std::max(RedOf(c) - 96, 0), std::max(GreenOf(c) - 96, 0),
               std::max(BlueOf(c) - 96, 0));
}

ColorRef AreaLabelColour(ColorRef areaColour)
{
    return areaColour == 0xFFFFFFFFu ? kGrey : DarkenColour(areaColour);
}

std::array<QPoint, 3> ProfitTriangle(const KeyPoints& k, AreaVariant v)
{
    if (v == AreaVariant::BreakEven)
        return {k.salesEnd, k.bepPoint, k.totalCostEnd};
    return {k.marginalEnd, k.indexBepPoint, k.fixedEnd};
}

std::array<QPoint, 3> LossTriangle(const KeyPoints& k, AreaVariant v)
{
    if (v == AreaVariant::BreakEven)
        return {k.origin, k.bepPoint, k.fixedStart};
    return {k.origin, k.indexBepPoint, k.fixedStart};
}

void DrawProfitArea(DrawSurface& plot, const ChartPaint& p, AreaVariant v)
{
    DrawTriangle(plot, p, ProfitTriangle(p.geometry.keys, v), p.style.colors[kProfitArea]);
}

void DrawLossArea(DrawSurface& plot, const ChartPaint& p, AreaVariant v)
{
    DrawTriangle(plot, p, LossTriangle(p.geometry.keys, v), p.style.colors[kLossArea]);
}

void DrawProfitLabel(DrawSurface& plot, const ChartPaint& p, AreaVariant v)
{
    DrawAreaLabel(plot, p, ProfitTriangle(p.geometry.keys, v), p.style.colors[kProfitArea],
                  p.style.lineWidths[kProfitArea], QStringLiteral("利益"));
}

void DrawLossLabel(DrawSurface& plot, const ChartPaint& p, AreaVariant v)
{
    DrawAreaLabel(plot, p, LossTriangle(p.geometry.keys, v), p.style.colors[kLossArea],
                  p.style.lineWidths[kLossArea], QStringLiteral("損失"));
}

void DrawSalesLine(DrawSurface& plot, const ChartPaint& p)
{
    const ChartGeometry& g = p.geometry;
    const ColorRef colour = p.style.colors[kSalesLine];
    DrawSurface::Saver keep(plot);
    plot.setPen(colour, p.style.lineWidths[kSalesLine]);
    const QPoint a = p.pixel(g.keys.origin);
    const QPoint b = p.pixel(g.keys.salesEnd);
    plot.line(a, b);

    const QString name = QStringLiteral("売上高線");
    plot.selectFont(NameFont(p.style, plot.dpiY()));
    const QSize e = plot.textExtent(name);
    const int row = Add(e.height(), 4);
    const auto cross = IntersectSegments(a, b, QPoint(0, row), QPoint(g.plotWidth, row));
    if (!cross)
        return;
    plot.setTextColor(colour);
    plot.textInBox(Box{Add(cross->x(), -e.width()), 0, cross->x(), cross->y()}, name,
                   HAlign::Right, VAlign::Bottom);
}

void DrawFixedLine(DrawSurface& plot, ChartPaint& p, int chart)
{
    const ChartGeometry& g = p.geometry;
    const ColorRef colour = p.style.colors[kFixedLine];
    const int width = p.style.lineWidths[kFixedLine];
    DrawSurface::Saver keep(plot);
    plot.setPen(colour, p.highlight ? SatMul(width, 3) : width);

    const QPoint a = p.pixel(g.keys.fixedStart);
    const QPoint b = p.pixel(g.keys.fixedEnd);
    p.elements.RecordElement(MovableElementTable::kFixedLine[chart], ToScreen(g, chart, a),
                             ToScreen(g, chart, b));
    plot.line(a, b);
    const int y = a.y();

    plot.selectFont(NameFont(p.style, plot.dpiY()));
    const QString name = QStringLiteral("固定費線");
    const QString value = ShownAmount(p.inputs.fixedCosts, p.inputs.amountUnit);
    const QSize e1 = plot.textExtent(name);
    const QSize e2 = plot.textExtent(value);
    const int w = std::max(e1.width(), e2.width()) + 8;
    const int h = e1.height() + 4;
    const int left = Add(g.plotWidth, -w);
    const int right = Add(g.plotWidth, -4);
    plot.setTextColor(colour);
    plot.textInBox(Box{left, y, right, Add(y, h)}, name, HAlign::Right, VAlign::Bottom);
    plot.textInBox(Box{left, Add(y, -h), right, Add(y, 2 * int64_t(h))}, value, HAlign::Right,
                   VAlign::Bottom);
}

void DrawTotalLine(DrawSurface& plot, ChartPaint& p, int chart)
{
    const ChartGeometry& g = p.geometry;
    const ColorRef colour = p.style.colors[kTotalCostLine];
    DrawSurface::Saver keep(plot);
    plot.setPen(colour, p.style.lineWidths[kTotalCostLine]);

    const QPoint a = p.pixel(g.keys.fixedStart);
    const QPoint b = p.pixel(g.keys.totalCostEnd);
    p.elements.RecordElement(MovableElementTable::kTotalCostEnd[chart], ToScreen(g, chart, b));
    plot.line(a, b);

    plot.selectFont(NameFont(p.style, plot.dpiY()));
    const QString name = QStringLiteral("総費用線");
    const QSize e = plot.textExtent(name);
    const int column = Add(e.width(), 4);
    const auto cross = IntersectSegments(a, b, QPoint(column, 0), QPoint(column, g.plotHeight));
    if (!cross)
        return;
    Box r{Add(cross->x(), -e.width()), Add(int64_t(cross->y()) - e.height(), -4),
          Add(cross->x(), e.width()), cross->y()};
    plot.setTextColor(colour);
    plot.textInBox(r, name, HAlign::Left, VAlign::Center);

    plot.selectFont(RatioFont(p.style, plot.dpiY()));
    r.top = Add(r.top, -e.height());
    r.bottom = Add(r.bottom, -e.height());
    plot.textInBox(r, QStringLiteral(" 変動費率 ") + CFormat("%.2f%%", p.inputs.variableCostRatio / 100.0),
                   HAlign::Left, VAlign::Center);
}

void DrawMarginalLine(DrawSurface& plot, ChartPaint& p, int chart)
{
    const ChartGeometry& g = p.geometry;
    const ColorRef colour = p.style.colors[kMarginalLine];
    DrawSurface::Saver keep(plot);
    plot.setPen(colour, p.style.lineWidths[kMarginalLine]);

    const QPoint a = p.pixel(g.keys.origin);
    const QPoint b = p.pixel(g.keys.marginalEnd);
    p.elements.RecordElement(MovableElementTable::kMarginalEnd[chart], ToScreen(g, chart, b));
    plot.line(a, b);

    plot.selectFont(NameFont(p.style, plot.dpiY()));
    const QString name = QStringLiteral("限界利益線");
    const QSize e = plot.textExtent(name);
    const int row = Sat32(int64_t(g.plotHeight) - (2 * int64_t(e.height()) + 4));
    const auto cross = IntersectSegments(a, b, QPoint(0, row), QPoint(g.plotWidth, row));
    if (!cross)
        return;
    const Box r{Add(cross->x(), 4), cross->y(), Sat32(int64_t(cross->x()) + 4 + 2 * int64_t(e.width())),
                Add(g.plotHeight, -4)};
    plot.setTextColor(colour);
    plot.textInBox(r, name, HAlign::Left, VAlign::Top);

    plot.selectFont(RatioFont(p.style, plot.dpiY()));
    plot.textInBox(r, QStringLiteral(" 限界利益率 ") +
                            CFormat("%.2f%%", 100.0 - p.inputs.variableCostRatio / 100.0),
                   HAlign::Left, VAlign::Center);
}

void DrawChart(int k, DrawSurface& comp, QImage& plotImage, ChartPaint& p)
{
    const ChartGeometry& g = p.geometry;
    const QRect& rect = g.chartRects[k];
    const int x0 = rect.left();
    const int y0 = rect.top();
    const bool areas = AreasShown(p);
    const auto& widths = p.style.lineWidths;

    comp.fillRect(Box::fromQRect(rect), kWhite);

    {
        DrawSurface plot(plotImage, comp.dpiY());
        if (comp.textRecord())
            plot.recordTexts(comp.textRecord(), comp.recordOffset() + p.plotOrigin(k));
        if (areas) {
            if (DrawsBreakEvenParts(k)) {
                DrawProfitArea(plot, p, AreaVariant::BreakEven);
                DrawLossArea(plot, p, AreaVariant::BreakEven);
            }
            if (DrawsIndexParts(k)) {
                DrawProfitArea(plot, p, AreaVariant::Index);
                DrawLossArea(plot, p, AreaVariant::Index);
            }
        }
        if (widths[kSalesLine] > 0)
            DrawSalesLine(plot, p);
        if (widths[kFixedLine] > 0)
            DrawFixedLine(plot, p, k);
        if (DrawsBreakEvenParts(k) && widths[kTotalCostLine] > 0)
            DrawTotalLine(plot, p, k);
        if (DrawsIndexParts(k) && widths[kMarginalLine] > 0)
            DrawMarginalLine(plot, p, k);
        // The labels stand even when the areas do not.
        if (DrawsBreakEvenParts(k)) {
            DrawProfitLabel(plot, p, AreaVariant::BreakEven);
            DrawLossLabel(plot, p, AreaVariant::BreakEven);
        }
        if (DrawsIndexParts(k)) {
            DrawProfitLabel(plot, p, AreaVariant::Index);
            DrawLossLabel(plot, p, AreaVariant::Index);
        }
    }

    const QPoint origin = p.plotOrigin(k);
    comp.copyFrom(plotImage, origin, QRect(0, 0, g.plotWidth, g.plotHeight));

    const QPoint topLeft = ToScreen(g, k, QPoint(0, 0));
    const QPoint topRight = ToScreen(g, k, QPoint(g.plotWidth, 0));
    const QPoint bottomRight = ToScreen(g, k, QPoint(g.plotWidth, g.plotHeight));
    p.elements.RecordElement(MovableElementTable::kTopEdge[k], topLeft, topRight);
    p.elements.RecordElement(MovableElementTable::kRightEdge[k], topRight, bottomRight);

    DrawPlotFrame(comp, p, x0, y0);
    if (DrawsBreakEvenParts(k) && p.inputs.maxSales >= p.inputs.targetSales)
        DrawTargetMarker(comp, p, k);
    if (areas)
        DrawBreakEvenMarker(comp, p, k, k == 0 ? AreaVariant::BreakEven : AreaVariant::Index);
    if (DrawsBreakEvenParts(k))
        DrawTotalCostHandle(comp, p, k);
    if (DrawsIndexParts(k))
        DrawMarginalHandle(comp, p, k);

    DrawTitles(comp, p, x0, y0, p.style.titles[k], p.style.subtitles[k]);
    DrawBottomScale(comp, p, x0, y0);
    DrawLeftScale(comp, p, x0, y0);
}

} // namespace brevant
