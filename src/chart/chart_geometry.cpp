#include "chart_geometry.h"

#include "saturate.h"

#include <cmath>

namespace brevant {

int32_t AmountRow(double amount, double maxSales)
{
    return Sat32(int64_t(kGridMax) - Trunc32(amount / maxSales * kGridMax));
}

void ComputePlotSize(ChartGeometry& g, const std::array<int32_t, kChartCount>& drawGraph)
{
    int first = kChartCount - 1;
    for (int k = 0; k < kChartCount; ++k) {
        if (drawGraph[k] != 0) {
            first = k;
            break;
        }
    }
    g.chartWidth = g.chartRects[first].width();
    g.chartHeight = g.chartRects[first].height();
    g.plotWidth = SatSub(g.chartWidth, g.leftBand);
    g.plotHeight = Sat32(int64_t(g.chartHeight) - g.topBand - g.bottomBand);
}

KeyPoints ComputeKeyPoints(const BepInputs& in)
{
    const double s = in.maxSales;
    const double t = in.targetSales;
    const double f = in.fixedCosts;
    const double r = in.variableCostRatio / 10000.0;

    KeyPoints k;
    k.origin = QPoint(0, kGridMax);
    k.salesEnd = QPoint(kGridMax, 0);
    const int32_t yF = AmountRow(f, s);
    k.fixedStart = QPoint(0, yF);
    k.fixedEnd = QPoint(kGridMax, yF);
    k.totalCostEnd = QPoint(kGridMax, AmountRow(f + s * r, s));
    k.marginalEnd = QPoint(kGridMax, AmountRow((1 - r) * s, s));

    const QPoint middle(500, 500);
    k.bepPoint = IntersectSegments(k.origin, k.salesEnd, k.fixedStart, k.totalCostEnd)
                     .value_or(middle);
    k.indexBepPoint = IntersectSegments(k.origin, k.marginalEnd, k.fixedStart, k.fixedEnd)
                          .value_or(middle);
    k.bepFoot = QPoint(k.bepPoint.x(), kGridMax);
    const int32_t xT = Trunc32(t / s * kGridMax);
    k.targetFoot = QPoint(xT, kGridMax);
    k.targetPoint = IntersectSegments(k.origin, k.salesEnd, QPoint(xT, kGridMax), QPoint(xT, 0))
                        .value_or(middle);
    return k;
}

std::optional<QPoint> IntersectSegments(QPoint p1, QPoint p2, QPoint p3, QPoint p4)
{
    // Differences in 64 bits: far-off points must not wrap around.
    const double dx1 = double(int64_t(p2.x()) - p1.x());
    const double dy1 = double(int64_t(p2.y()) - p1.y());
    const double dx2 = double(int64_t(p4.x()) - p3.x());
    const double dy2 = double(int64_t(p4.y()) - p3.y());
    const double ex = double(int64_t(p3.x()) - p1.x());
    const double ey = double(int64_t(p3.y()) - p1.y());

    const double den = dx2 * dy1 - dy2 * dx1;
    if (den == 0)
        return std::nullopt;
    const double t = (dx2 * ey - dy2 * ex) / den;
    const double u = (dx1 * ey - dy1 * ex) / den;
    // Written so that NaN fails the test.
    if (!(t >= 0 && t <= 1 && u >= 0 && u <= 1))
        return std::nullopt;
    return QPoint(Trunc32(p1.x() + dx1 * t), Trunc32(dy1 * t + p1.y()));
}

QPoint ToPlotPixels(QPoint grid, int32_t plotWidth, int32_t plotHeight)
{
    return QPoint(SatDiv(int64_t(grid.x()) * plotWidth, kGridMax),
                  SatDiv(int64_t(grid.y()) * plotHeight, kGridMax));
}

QPoint ToScreen(const ChartGeometry& g, int chart, QPoint pixel)
{
    const QRect& r = g.chartRects[chart];
    return QPoint(Sat32(int64_t(g.chartArea.left()) + r.left() + g.leftBand + pixel.x()),
                  Sat32(int64_t(g.chartArea.top()) + r.top() + g.topBand + pixel.y()));
}

int32_t ChartSlotWidth(int32_t areaWidth, int n, int32_t margin)
{
    if (n <= 0)
        return 0;
    return SatDiv(int64_t(areaWidth) - int64_t(n + 1) * margin, n);
}

std::array<QRect, kChartCount> ComputeChartRects(QSize area,
                                                 const std::array<int32_t, kChartCount>& drawGraph,
                                                 int32_t outerMargin,
                                                 const std::array<QRect, kChartCount>& previous)
{
    int n = 0;
    for (int32_t shown : drawGraph)
        n += shown != 0;
    if (n == 0)
        return previous;

    const int32_t w = ChartSlotWidth(area.width(), n, outerMargin);
    const int32_t h = SatSub(SatSub(area.height(), outerMargin), outerMargin);
    std::array<QRect, kChartCount> rects{};
    int s = 0;
    for (int k = 0; k < kChartCount; ++k) {
        if (drawGraph[k] == 0)
            continue;
        const int32_t x = Sat32(int64_t(outerMargin) + int64_t(s) * (int64_t(w) + outerMargin));
        rects[k] = QRect(x, outerMargin, w, h);
        ++s;
    }
    return rects;
}

void MovableElementTable::Reset()
{
    struct Constant {
        int32_t chart;
        int32_t kind;
    };
    static constexpr Constant kConstants[kCount] = {
        {0, MovableElement::kSegment}, {0, MovableElement::kSegment},
        {0, MovableElement::kSegment}, {0, MovableElement::kPoint},
        {1, MovableElement::kSegment}, {1, MovableElement::kSegment},
        {1, MovableElement::kPoint},   {2, MovableElement::kSegment},
        {2, MovableElement::kSegment}, {2, MovableElement::kSegment},
        {2, MovableElement::kPoint},   {2, MovableElement::kPoint},
        {0, MovableElement::kSegment}, {1, MovableElement::kSegment},
        {2, MovableElement::kSegment},
    };
    for (int i = 0; i < kCount; ++i)
        elements_[i] = MovableElement{kConstants[i].chart, kConstants[i].kind, {}, {}, false};
    paintedArea_ = QRect();
    chartsOnScreen_ = {};
}

void MovableElementTable::BeginPaint(const QRect& chartArea,
                                     const std::array<QRect, kChartCount>& chartRects)
{
    for (MovableElement& e : elements_)
        e.drawn = false;
    paintedArea_ = chartArea;
    for (int k = 0; k < kChartCount; ++k)
        chartsOnScreen_[k] = chartRects[k].translated(chartArea.topLeft());
}

void MovableElementTable::RecordElement(int index, QPoint p0, QPoint p1)
{
    if (index < 0 || index >= kCount)
        return;
    elements_[index].p0 = p0;
    elements_[index].p1 = p1;
    elements_[index].drawn = true;
}

} // namespace brevant
