#pragma once
// Where each chart's plot lies and where every line and point lies inside it. Positions
// are first taken on a 0..999 grid in both axes (y downwards, 999 = amount 0) and only then
// scaled to the plot's pixels, so the three chart kinds agree to the pixel.

#include "bep_model.h"
#include "chart_style.h"

#include <QPoint>
#include <QRect>
#include <QSize>

#include <array>
#include <cstdint>
#include <optional>

namespace brevant {

constexpr int32_t kGridMax = 999;

// The eleven key points of one paint, in grid coordinates.
struct KeyPoints {
    QPoint origin;
    QPoint salesEnd;
    QPoint fixedStart;
    QPoint fixedEnd;
    QPoint totalCostEnd;
    QPoint marginalEnd;
    QPoint bepPoint;
    QPoint indexBepPoint;
    QPoint bepFoot;
    QPoint targetFoot;
    QPoint targetPoint;
};

// The geometry of one paint. chartArea and chartRects are read from the window; the rest
// is computed at the start of every paint. chartRects are relative to chartArea's top-left
// corner; a hidden chart's rectangle is QRect() (all zero).
struct ChartGeometry {
    QRect chartArea;
    std::array<QRect, kChartCount> chartRects;
    int32_t leftBand = 0;
    int32_t topBand = 0;
    int32_t bottomBand = 0;
    int32_t chartWidth = 0;
    int32_t chartHeight = 0;
    int32_t plotWidth = 0;
    int32_t plotHeight = 0;
    KeyPoints keys;
};

// Grid row of an amount: 999 − trunc(amount / maxSales × 999), saturated.
int32_t AmountRow(double amount, double maxSales);

// chartWidth/Height from the first shown chart (else chart 2's rectangle, whatever it
// holds), then the plot size from the bands.
void ComputePlotSize(ChartGeometry& geometry, const std::array<int32_t, kChartCount>& drawGraph);

KeyPoints ComputeKeyPoints(const BepInputs& inputs);
inline void ComputeKeyPoints(ChartGeometry& geometry, const BepInputs& inputs)
{
    geometry.keys = ComputeKeyPoints(inputs);
}

// Where segment p1–p2 meets segment p3–p4, ends included; nothing when they are parallel,
// overlapping, degenerate or do not reach each other.
std::optional<QPoint> IntersectSegments(QPoint p1, QPoint p2, QPoint p3, QPoint p4);

// Grid point to plot pixel: (x × plotWidth) / 999, (y × plotHeight) / 999, truncated
// toward zero, product in 64 bits, saturated to 32.
QPoint ToPlotPixels(QPoint grid, int32_t plotWidth, int32_t plotHeight);
inline QPoint ToPlotPixels(const ChartGeometry& g, QPoint grid)
{
    return ToPlotPixels(grid, g.plotWidth, g.plotHeight);
}

// Plot pixel of chart k to the window's client coordinates.
QPoint ToScreen(const ChartGeometry& geometry, int chart, QPoint pixel);

// The width of one chart when n charts share a chart area of width W with margin m:
// (W − (n + 1) × m) / n, truncated.
int32_t ChartSlotWidth(int32_t areaWidth, int n, int32_t margin);

// Side-by-side layout of the shown charts in a chart area of the given size; the result is
// relative to the area's top-left corner. With no chart shown, `previous` comes back.
std::array<QRect, kChartCount> ComputeChartRects(QSize chartArea,
                                                 const std::array<int32_t, kChartCount>& drawGraph,
                                                 int32_t outerMargin,
                                                 const std::array<QRect, kChartCount>& previous);

// One draggable line or point and where it was drawn last.
struct MovableElement {
    enum Kind : int32_t { kSegment = 0, kPoint = 1 };
    int32_t chart = 0;
    int32_t kind = kSegment;
    QPoint p0;
    QPoint p1;
    // Drawn by the latest paint. The positions outlive a paint that leaves the element
    // out, but an element that is not on screen now cannot be grabbed.
    bool drawn = false;
};

// The fifteen movable elements in hit-test order.
class MovableElementTable {
public:
    static constexpr int kCount = 15;
    // Records written by the chart composition for each chart's plot edges.
    static constexpr std::array<int, kChartCount> kTopEdge = {0, 4, 7};
    static constexpr std::array<int, kChartCount> kRightEdge = {12, 13, 14};
    static constexpr std::array<int, kChartCount> kTargetLine = {1, -1, 8};
    static constexpr std::array<int, kChartCount> kFixedLine = {2, 5, 9};
    static constexpr std::array<int, kChartCount> kTotalCostEnd = {3, -1, 10};
    static constexpr std::array<int, kChartCount> kMarginalEnd = {-1, 6, 11};

    MovableElementTable() { Reset(); }

    // The constant chart/kind pairs with every position (0, 0).
    void Reset();
    // A paint begins: no element is drawn yet, and each chart's place on the window is
    // its rectangle inside the chart area (client coordinates, empty for a hidden chart).
    void BeginPaint(const QRect& chartArea, const std::array<QRect, kChartCount>& chartRects);
    // Writes the positions of one record and marks it drawn; an index outside 0..14 is
    // ignored.
    void RecordElement(int index, QPoint p0, QPoint p1 = QPoint());
    // The chart area and where chart k stood in it at the latest paint.
    const QRect& PaintedArea() const { return paintedArea_; }
    const QRect& ChartOnScreen(int chart) const { return chartsOnScreen_[chart]; }

    const MovableElement& at(int index) const { return elements_[index]; }
    const MovableElement& operator[](int index) const { return elements_[index]; }
    static constexpr int size() { return kCount; }
    auto begin() const { return elements_.begin(); }
    auto end() const { return elements_.end(); }

private:
    std::array<MovableElement, kCount> elements_;
    QRect paintedArea_;
    std::array<QRect, kChartCount> chartsOnScreen_;
};

} // namespace brevant
