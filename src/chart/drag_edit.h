#pragma once
// Dragging the movable lines and points of the charts, without any window: which element
// the pointer is over, the value a drop would set and its label, the label itself on a
// window's back buffer, and what a drop changes. The main window and the presentation
// window both drive these with their own mouse tracking and cursors.

#include "bep_model.h"
#include "chart_style.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace brevant {

struct ChartGeometry;
class ChartRenderer;
class MovableElementTable;

// Pixels within which the pointer catches a line or point.
constexpr int32_t kHitTolerance = 5;

// True when P lies within the tolerance of segment A–B (its end boxes widened by the
// tolerance, then its distance from the line through A and B). A degenerate segment
// answers only at its own point.
bool NearSegment(QPoint p, QPoint a, QPoint b);
// Distance of two points, truncated toward zero (saturated for absurd coordinates).
int32_t PointDistance(QPoint p, QPoint q);

// The first movable element (0..14) near the point, or -1. Records of hidden charts,
// records never drawn (p0 still at (0, 0)) or not drawn by the latest paint, and presses
// off the element's chart (beyond the hit tolerance, or outside the chart area) never
// answer.
int HitTestElements(const MovableElementTable& elements,
                    const std::array<int32_t, kChartCount>& drawGraph, QPoint point);

// What dragging an element changes.
enum class DragRole { MaxSales, TargetSales, FixedCosts, TotalCostEnd, MarginalEnd };
DragRole RoleOfElement(int element);
// Target lines and right edges move left-right; every other element up-down.
bool IsHorizontalElement(int element);

enum class DragCursor { Arrow, LeftRight, UpDown };
// The cursor over an element; -1 (no element) gets the arrow.
DragCursor CursorForElement(int element);
// The platform cursor that shows it.
Qt::CursorShape CursorShape(DragCursor cursor);

// The drag state a window keeps; the presentation window uses the main window's.
struct DragState {
    int32_t dragTarget = -1;              // element being dragged, -1 when none
    int32_t dragPermille = -1;            // pending amount in thousandths of maxSales
    std::optional<int32_t> dragRatio;     // pending variable-cost ratio of a line end
    bool highlightMode = false;           // movable elements drawn enlarged

    bool dragging() const { return dragTarget >= 0; }
    // A press on element k: nothing pending yet.
    void Start(int element)
    {
        dragRatio.reset();
        dragPermille = -1;
        dragTarget = element;
    }
};

// The value under the pointer while dragging one element. Exactly one of permille and
// ratio is set when there is a value; an empty label means there is nothing to show.
struct PendingValue {
    std::optional<int32_t> permille;
    std::optional<int32_t> ratio;
    QString label;
};

// Screen edges of the plot of an element's chart. The bottom counts from the top of the
// chart area, since every chart rectangle starts outerMargin below it.
int64_t PlotLeft(const ChartGeometry& geometry, int chart);
int64_t PlotBottom(const ChartGeometry& geometry, int32_t outerMargin);

// The pending value of element k with the pointer at `pointer` (client coordinates).
// Amounts: thousandths of the maximum sales under the pointer, limited per element, shown
// as the chart shows amounts. Line ends: the ratio of the total cost or the marginal
// profit at the pointer's height, floored to a whole percent unless Ctrl is held.
PendingValue ComputePendingValue(int element, QPoint pointer, const ChartGeometry& geometry,
                                 int32_t outerMargin, const BepInputs& inputs, bool ctrl);

// Where the value label goes: above the pointer for horizontal elements, left of it for
// vertical ones. Right and bottom are exclusive, as the chart code writes boxes.
QRect LabelBox(int element, QPoint pointer, QSize textExtent);

// Draws the value label on a window's back buffer: takes the previous label away, saves
// the pixels under the new box in the renderer's label surface, then white box, black
// 10-point bold text centred. Sets the renderer's label rectangle. Returns false (no
// label) when the text is empty or the label surface cannot be made.
bool DrawValueLabel(ChartRenderer& renderer, QImage& window, int element, QPoint pointer,
                    const QString& text, int dpiY);

// Takes the value label away and forgets its rectangle.
void RemoveValueLabel(ChartRenderer& renderer, QImage& window);

// One pointer move of a running drag on a window: the previous label is taken away; inside
// the chart area the pending value is computed anew, stored in the state and shown in a
// fresh label. Outside, the state keeps what the last move inside computed. Returns true
// when the window's image changed.
bool UpdateDragFeedback(DragState& state, ChartRenderer& renderer, QImage& window,
                        QPoint pointer, const ChartGeometry& geometry, int32_t outerMargin,
                        const BepInputs& inputs, bool ctrl, int dpiY);

// What a drop changes.
struct DropChange {
    enum class Kind { None, Amount, Ratio };
    Kind kind = Kind::None;
    AmountField field = AmountField::MaxSales;  // Amount: the entry to set
    QString text;                               // Amount: "%.0f" of the new value
    double value = 0;                           // Amount: the new value in yen
    int32_t ratio = 0;                          // Ratio: 0..10000
};

// The drop of the running drag at `pointer`: nothing outside the chart area, nothing when
// no value is pending; otherwise the amount field and its text, or the clamped ratio.
DropChange ComputeDrop(const DragState& state, QPoint pointer, const QRect& chartArea,
                       const BepInputs& inputs);

} // namespace brevant
