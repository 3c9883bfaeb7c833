#include "drag_edit.h"

#include "chart_geometry.h"
#include "saturate.h"
#include "text_util.h"
#include "chart_renderer.h"
#include "chart_text.h"
#include "draw_surface.h"

#include <algorithm>
#include <cmath>

namespace brevant {

namespace {

constexpr int kElementCount = MovableElementTable::kCount;
constexpr int kLabelPoints = 10;

bool ValidElement(int k) { return k >= 0 && k < kElementCount; }

int ChartOfElement(int k)
{
    static const MovableElementTable constants;
    return constants[k].chart;
}

// Box test of one axis: only a segment that spans the axis limits it.
bool WithinSpan(int64_t p, int64_t a, int64_t b)
{
    if (a < b)
        return p >= a - kHitTolerance && p <= b + kHitTolerance;
    if (a > b)
        return p >= b - kHitTolerance && p <= a + kHitTolerance;
    return true;
}

// A press counts for a chart only on the chart itself: a line end recorded off the plot
// (a total cost above the maximum sales) would otherwise be grabbed over the controls.
// The tolerance reaches past the chart's sides, never past the chart area.
bool OnItsChart(const MovableElementTable& elements, int chart, QPoint point)
{
    const QRect& onScreen = elements.ChartOnScreen(chart);
    if (onScreen.isEmpty())
        return false;
    const QRect around =
        onScreen.adjusted(-kHitTolerance, -kHitTolerance, kHitTolerance, kHitTolerance);
    return (around & elements.PaintedArea()).contains(point);
}

double Diff(int a, int b) { return double(int64_t(a) - int64_t(b)); }

// Nearest integer, halves away from zero; NaN gives 0, the limits saturate.
int32_t Round32(double v) { return Trunc32(std::round(v)); }

} // namespace

bool NearSegment(QPoint p, QPoint a, QPoint b)
{
    if (a == b)
        return p == a;
    if (!WithinSpan(p.x(), a.x(), b.x()) || !WithinSpan(p.y(), a.y(), b.y()))
        return false;

    // Distance from the line through A and B by the law of cosines.
    const double dxB = Diff(p.x(), b.x()), dyB = Diff(p.y(), b.y());
    const double dxA = Diff(p.x(), a.x()), dyA = Diff(p.y(), a.y());
    const double dx = Diff(a.x(), b.x()), dy = Diff(a.y(), b.y());
    const double d2sq = dxB * dxB + dyB * dyB;
    const double lsq = dx * dx + dy * dy;
    const double l = std::sqrt(lsq);
    const double d1sq = dxA * dxA + dyA * dyA;
    const double q = (d1sq + lsq - d2sq) / (2 * l);
    const double h = std::sqrt(d2sq - (l - q) * (l - q));
    // A point on the line can leave a tiny negative residue under the root.
    return std::isnan(h) || h <= kHitTolerance;
}

int32_t PointDistance(QPoint p, QPoint q)
{
    const double dx = Diff(q.x(), p.x()), dy = Diff(q.y(), p.y());
    return Trunc32(std::sqrt(dx * dx + dy * dy));
}

int HitTestElements(const MovableElementTable& elements,
                    const std::array<int32_t, kChartCount>& drawGraph, QPoint point)
{
    for (int k = 0; k < kElementCount; ++k) {
        const MovableElement& r = elements[k];
        if (r.chart < 0 || r.chart >= kChartCount || drawGraph[r.chart] == 0)
            continue;
        if (r.p0 == QPoint(0, 0) || !r.drawn || !OnItsChart(elements, r.chart, point))
            continue;
        const bool hit = r.kind == MovableElement::kPoint
                             ? PointDistance(point, r.p0) < kHitTolerance
                             : NearSegment(point, r.p0, r.p1);
        if (hit)
            return k;
    }
    return -1;
}

DragRole RoleOfElement(int element)
{
    switch (element) {
    case 1:
    case 8:
        return DragRole::TargetSales;
    case 2:
    case 5:
    case 9:
        return DragRole::FixedCosts;
    case 3:
    case 10:
        return DragRole::TotalCostEnd;
    case 6:
    case 11:
        return DragRole::MarginalEnd;
    default:
        return DragRole::MaxSales;
    }
}

bool IsHorizontalElement(int element)
{
    return element == 1 || element == 8 || element == 12 || element == 13 || element == 14;
}

Qt::CursorShape CursorShape(DragCursor cursor)
{
    switch (cursor) {
    case DragCursor::LeftRight:
        return Qt::SizeHorCursor;
    case DragCursor::UpDown:
        return Qt::SizeVerCursor;
    case DragCursor::Arrow:
        break;
    }
    return Qt::ArrowCursor;
}

DragCursor CursorForElement(int element)
{
    if (!ValidElement(element))
        return DragCursor::Arrow;
    return IsHorizontalElement(element) ? DragCursor::LeftRight : DragCursor::UpDown;
}

int64_t PlotLeft(const ChartGeometry& g, int chart)
{
    return int64_t(g.chartArea.left()) + g.chartRects[chart].left() + g.leftBand;
}

int64_t PlotBottom(const ChartGeometry& g, int32_t outerMargin)
{
    return int64_t(g.chartArea.top()) + outerMargin + g.topBand + g.plotHeight;
}

// A line end: the ratio at height `up` above the plot's bottom.
PendingValue PendingRatio(DragRole role, double up, const ChartGeometry& g, const BepInputs& in,
                          bool ctrl)
{
    PendingValue out;
    // A flat plot has no scale to read a height from.
    if (g.plotHeight == 0)
        return out;
    const double s = in.maxSales;
    double t = up * s / g.plotHeight;
    if (t < 0)
        t = 0;
    if (t > s)
        t = s;
    double u = 0;
    int32_t ratio = 0;
    if (role == DragRole::TotalCostEnd) {
        const double share = (t - in.fixedCosts) / s;
        u = ctrl ? share : std::floor(share * 100) / 100;
        ratio = Round32(u * 10000);
    } else {
        const double share = t / s;
        u = ctrl ? share : std::floor(share * 100) / 100;
        ratio = SatSub(10000, Round32(u * 10000));
    }
    // Non-finite figures give no ratio worth setting.
    if (!std::isfinite(u))
        return out;
    out.ratio = ratio;
    out.label = CFormat("%.2f", u * 100);
    return out;
}

PendingValue ComputePendingValue(int element, QPoint pointer, const ChartGeometry& g,
                                 int32_t outerMargin, const BepInputs& in, bool ctrl)
{
    PendingValue out;
    if (!ValidElement(element))
        return out;
    const double s = in.maxSales;
    const DragRole role = RoleOfElement(element);
    const double up = double(PlotBottom(g, outerMargin) - pointer.y());

    if (role == DragRole::TotalCostEnd || role == DragRole::MarginalEnd)
        return PendingRatio(role, up, g, in, ctrl);

    const bool horizontal = IsHorizontalElement(element);
    const int32_t extent = horizontal ? g.plotWidth : g.plotHeight;
    if (extent == 0)
        return out;
    const double along =
        horizontal ? double(int64_t(pointer.x()) - PlotLeft(g, ChartOfElement(element))) : up;
    int32_t o = Trunc32(along * 1000.0 / extent);
    if (o < 1)
        o = 1;
    if (role != DragRole::MaxSales && o > 1000)
        o = 1000;
    out.permille = o;
    out.label = ShownAmount(o * s / 1000.0, in.amountUnit);
    return out;
}

QRect LabelBox(int element, QPoint pointer, QSize extent)
{
    const int64_t x = pointer.x(), y = pointer.y();
    const int64_t w = extent.width(), h = extent.height();
    int64_t left, top, right, bottom;
    if (IsHorizontalElement(element)) {
        left = x - (w / 2 + 2);
        top = y - h - 8;
        right = x + w / 2 + 2;
        bottom = y;
    } else {
        left = x - w - 8;
        top = y - (h / 2 + 2);
        right = x;
        bottom = y + h / 2 + 2;
    }
    return QRect(Sat32(left), Sat32(top), Sat32(right - left), Sat32(bottom - top));
}

void RemoveValueLabel(ChartRenderer& renderer, QImage& window)
{
    renderer.RestoreUnderLabel(window);
    renderer.ClearLabelRect();
}

bool DrawValueLabel(ChartRenderer& renderer, QImage& window, int element, QPoint pointer,
                    const QString& text, int dpiY)
{
    RemoveValueLabel(renderer, window);
    if (text.isEmpty() || window.isNull())
        return false;

    const ChartFont font = MakeChartFont(QString(), kLabelPoints, true, 0, dpiY);
    QSize extent;
    {
        DrawSurface s(window, dpiY);
        if (!s.isValid())
            return false;
        s.selectFont(font);
        extent = s.textExtent(text);
    }
    const QRect box = LabelBox(element, pointer, extent);
    if (!renderer.CreateLabelSurface(window, box.width(), box.height()))
        return false;
    renderer.SaveUnderLabel(window, box);

    DrawSurface s(window, dpiY);
    if (!s.isValid())
        return false;
    const Box b = Box::fromQRect(box);
    s.fillRect(b, Rgb(255, 255, 255));
    s.selectFont(font);
    s.setTextColor(Rgb(0, 0, 0));
    s.textInBox(b, text, HAlign::Center, VAlign::Center);
    renderer.SetLabelRect(box);
    return true;
}

bool UpdateDragFeedback(DragState& state, ChartRenderer& renderer, QImage& window,
                        QPoint pointer, const ChartGeometry& geometry, int32_t outerMargin,
                        const BepInputs& inputs, bool ctrl, int dpiY)
{
    const bool hadLabel = !renderer.LabelRect().isEmpty();
    RemoveValueLabel(renderer, window);
    if (!state.dragging() || !geometry.chartArea.contains(pointer))
        return hadLabel;

    const PendingValue pending =
        ComputePendingValue(state.dragTarget, pointer, geometry, outerMargin, inputs, ctrl);
    if (pending.permille)
        state.dragPermille = *pending.permille;
    if (pending.ratio)
        state.dragRatio = pending.ratio;
    const bool drawn =
        DrawValueLabel(renderer, window, state.dragTarget, pointer, pending.label, dpiY);
    return hadLabel || drawn;
}

DropChange ComputeDrop(const DragState& state, QPoint pointer, const QRect& chartArea,
                       const BepInputs& inputs)
{
    DropChange out;
    if (!ValidElement(state.dragTarget) || !chartArea.contains(pointer))
        return out;
    switch (RoleOfElement(state.dragTarget)) {
    case DragRole::TotalCostEnd:
    case DragRole::MarginalEnd:
        if (!state.dragRatio)
            return out;
        out.kind = DropChange::Kind::Ratio;
        out.ratio = std::clamp(*state.dragRatio, 0, 10000);
        return out;
    case DragRole::MaxSales:
        out.field = AmountField::MaxSales;
        break;
    case DragRole::TargetSales:
        out.field = AmountField::TargetSales;
        break;
    case DragRole::FixedCosts:
        out.field = AmountField::FixedCosts;
        break;
    }
    if (state.dragPermille < 0)
        return out;
    out.kind = DropChange::Kind::Amount;
    out.value = state.dragPermille * inputs.maxSales / 1000.0;
    out.text = FormatWhole(out.value);
    return out;
}

} // namespace brevant
