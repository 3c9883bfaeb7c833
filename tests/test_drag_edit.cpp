#include "drag_edit.h"

#include "chart_renderer.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <cmath>
#include <limits>

using namespace brevant;

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

BepInputs Figures(double s, double t, double f, int32_t ratio, int32_t unit = 0)
{
    BepInputs in;
    in.maxSales = s;
    in.targetSales = t;
    in.fixedCosts = f;
    in.variableCostRatio = ratio;
    in.amountUnit = unit;
    return in;
}

// Charts 0 and 1 side by side in a chart area starting 100 px down the window, outer
// margin 10: plot left of chart 0 at x 70, of chart 1 at x 740, plot bottom at y 550
// (plots 600 × 400 px), or at y 1150 with a 1000 px tall plot.
constexpr int32_t kMargin = 10;

ChartGeometry Geometry(int plotHeight = 400)
{
    ChartGeometry g;
    const int chartHeight = plotHeight + 80;
    g.chartArea = QRect(0, 100, 1400, chartHeight + 2 * kMargin);
    g.chartRects = {QRect(10, 10, 660, chartHeight), QRect(680, 10, 660, chartHeight), QRect()};
    g.leftBand = 60;
    g.topBand = 40;
    g.bottomBand = 40;
    g.chartWidth = 660;
    g.chartHeight = chartHeight;
    g.plotWidth = 600;
    g.plotHeight = plotHeight;
    return g;
}

constexpr int kPlotLeft0 = 70;
constexpr int kPlotLeft1 = 740;
constexpr int kPlotBottom = 550;
constexpr int kTallPlotBottom = 1150;

} // namespace

TEST(NearSegment, ToleranceAndBoxBounds)
{
    struct Case {
        const char* what;
        QPoint p, a, b;
        bool near;
    } cases[] = {
        {"degenerate segment: its own point", {10, 10}, {10, 10}, {10, 10}, true},
        {"degenerate segment: one pixel off", {11, 10}, {10, 10}, {10, 10}, false},
        {"horizontal, 5 px off", {50, 55}, {0, 50}, {100, 50}, true},
        {"horizontal, 6 px off", {50, 56}, {0, 50}, {100, 50}, false},
        {"horizontal, box left bound inclusive", {-5, 50}, {0, 50}, {100, 50}, true},
        {"horizontal, beyond box left", {-6, 50}, {0, 50}, {100, 50}, false},
        {"horizontal, box right bound inclusive", {105, 50}, {0, 50}, {100, 50}, true},
        {"horizontal, beyond box right", {106, 50}, {0, 50}, {100, 50}, false},
        {"reversed ends, box left bound", {-5, 50}, {100, 50}, {0, 50}, true},
        {"reversed ends, beyond box right", {106, 50}, {100, 50}, {0, 50}, false},
        {"vertical, 5 px off", {55, 50}, {50, 0}, {50, 100}, true},
        {"vertical, 6 px off", {56, 50}, {50, 0}, {50, 100}, false},
        {"vertical, box bottom inclusive", {50, 105}, {50, 0}, {50, 100}, true},
        {"vertical, beyond box bottom", {50, 106}, {50, 0}, {50, 100}, false},
        {"vertical, far aside inside its height", {1000, 50}, {50, 0}, {50, 100}, false},
        {"diagonal, 4.95 px off", {50, 57}, {0, 0}, {100, 100}, true},
        {"diagonal, 5.66 px off", {50, 58}, {0, 0}, {100, 100}, false},
        {"diagonal, on the extension inside the box", {-5, -5}, {0, 0}, {100, 100}, true},
        {"diagonal, near the line but outside the box", {-4, -6}, {0, 0}, {100, 100}, false},
        // The root of a tiny negative rounding residue is not a number: it counts as near.
        {"midpoint leaving a negative residue", {1, 1}, {0, 0}, {2, 2}, true},
        {"full-range segment does not overflow", {0, 3}, {kMin, 0}, {kMax, 0}, true},
        {"long segment, 5 px off", {0, 5}, {-1000000, 0}, {1000000, 0}, true},
        {"long segment, 6 px off", {0, 6}, {-1000000, 0}, {1000000, 0}, false},
        {"box bound at the top of the range", {kMax, 3}, {kMax - 10, 0}, {kMax, 0}, true},
        {"box bound at the bottom of the range", {kMin, 2}, {kMin, 0}, {kMin + 10, 0}, true},
        {"far corner of the range", {kMin, kMin}, {kMax - 10, kMax}, {kMax, kMax}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NearSegment(c.p, c.a, c.b), c.near) << c.what;
}

TEST(PointDistance, TruncatesAndSaturates)
{
    struct Case {
        QPoint p, q;
        int32_t distance;
    } cases[] = {
        {{0, 0}, {3, 4}, 5},
        {{0, 0}, {-3, -4}, 5},
        {{0, 0}, {4, 4}, 5},       // 5.66
        {{0, 0}, {3, 3}, 4},       // 4.24
        {{10, 10}, {10, 10}, 0},
        {{kMin, kMin}, {kMax, kMax}, kMax},
        {{kMin, 0}, {kMax, 0}, kMax},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PointDistance(c.p, c.q), c.distance) << c.p.x() << "," << c.p.y();
}

TEST(HitTestElements, OrderVisibilityAndNeverDrawn)
{
    MovableElementTable t;
    const ChartGeometry g = Geometry();
    // Chart 2 drawn last where chart 1 is now, before chart 1 came back.
    const std::array<QRect, kChartCount> rects = {g.chartRects[0], g.chartRects[1],
                                                  g.chartRects[1]};
    // A paint before the latest one drew chart 1's right edge.
    t.BeginPaint(g.chartArea, rects);
    t.RecordElement(13, {1340, 150}, {1340, 550});
    t.BeginPaint(g.chartArea, rects);
    t.RecordElement(0, {70, 150}, {670, 150});    // chart 0 top edge
    t.RecordElement(12, {670, 150}, {670, 550});  // chart 0 right edge
    t.RecordElement(1, {490, 270}, {490, 550});   // chart 0 target line
    t.RecordElement(2, {70, 430}, {670, 430});    // chart 0 fixed-cost line
    t.RecordElement(3, {670, 310});               // chart 0 total-cost end
    t.RecordElement(4, {740, 150}, {1340, 150});  // chart 1 top edge
    t.RecordElement(6, {1340, 390});              // chart 1 marginal-profit end
    t.RecordElement(7, {740, 150}, {1340, 150});
    t.RecordElement(11, {1340, 390});
    // A total cost far above the maximum sales ends above the chart area.
    t.RecordElement(10, {1340, 60});
    // A record whose start was never set, even with an end.
    t.RecordElement(14, {0, 0}, {0, 400});

    struct Case {
        const char* what;
        std::array<int32_t, kChartCount> drawGraph;
        QPoint point;
        int element;
    } cases[] = {
        {"top-right corner: the top edge comes first", {1, 1, 0}, {670, 150}, 0},
        {"right edge below the corner", {1, 1, 0}, {672, 300}, 12},
        {"target line crossing the fixed-cost line", {1, 1, 0}, {490, 430}, 1},
        {"fixed-cost line away from the target", {1, 1, 0}, {200, 433}, 2},
        {"total-cost end 4 px away", {1, 1, 0}, {670, 314}, 3},
        {"total-cost end on the right edge 5 px away", {1, 1, 0}, {670, 315}, 12},
        {"marginal-profit end, chart 1 shown", {1, 1, 0}, {1343, 393}, 6},
        {"nothing near", {1, 1, 0}, {300, 300}, -1},
        {"chart 1 hidden: its records never answer", {1, 0, 1}, {1343, 393}, 11},
        {"chart 1 hidden: its top edge skipped for chart 2's", {1, 0, 1}, {900, 152}, 7},
        {"no chart shown", {0, 0, 0}, {670, 150}, -1},
        {"never drawn: a record still at the origin", {1, 1, 1}, {0, 0}, -1},
        {"never drawn: nor along its segment", {1, 1, 1}, {0, 200}, -1},
        {"not drawn by the latest paint", {1, 1, 0}, {1342, 300}, -1},
        {"drawn off the chart area", {1, 0, 1}, {1340, 60}, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HitTestElements(t, c.drawGraph, c.point), c.element) << c.what;
}

TEST(ComputePendingValue, AmountElements)
{
    const ChartGeometry g = Geometry();
    const BepInputs yen = Figures(1000000, 700000, 300000, 4000);
    const BepInputs thousands = Figures(1000000, 700000, 300000, 4000, 1);
    struct Case {
        const char* what;
        int element;
        QPoint pointer;
        const BepInputs& in;
        int32_t permille;
        const char* label;
    } cases[] = {
        {"target line 420 px into a 600 px plot", 1, {kPlotLeft0 + 420, 300}, yen, 700,
         "700,000"},
        {"the same in thousands of yen", 1, {kPlotLeft0 + 420, 300}, thousands, 700, "700"},
        {"target line left of the plot", 1, {kPlotLeft0 - 30, 300}, yen, 1, "1,000"},
        {"target line right of the plot", 1, {kPlotLeft0 + 700, 300}, yen, 1000, "1,000,000"},
        {"right edge 150 px beyond the plot", 12, {kPlotLeft0 + 750, 300}, yen, 1250,
         "1,250,000"},
        {"right edge of chart 1 from its own plot", 13, {kPlotLeft1 + 300, 300}, yen, 500,
         "500,000"},
        {"right edge left of the plot", 14, {kPlotLeft0 - 100, 300}, thousands, 1, "1"},
        {"top edge at half height", 0, {300, kPlotBottom - 200}, yen, 500, "500,000"},
        {"top edge above the plot is unlimited", 4, {300, kPlotBottom - 450}, yen, 1125,
         "1,125,000"},
        {"top edge below the plot bottom", 7, {300, kPlotBottom + 20}, yen, 1, "1,000"},
        {"fixed-cost line a third up, truncated", 2, {300, kPlotBottom - 133}, yen, 332,
         "332,000"},
        {"fixed-cost line above the plot", 5, {300, kPlotBottom - 450}, yen, 1000,
         "1,000,000"},
        {"fixed-cost line below the plot", 9, {300, kPlotBottom + 1}, yen, 1, "1,000"},
    };
    for (const Case& c : cases) {
        const PendingValue v = ComputePendingValue(c.element, c.pointer, g, kMargin, c.in, false);
        ASSERT_TRUE(v.permille.has_value()) << c.what;
        EXPECT_EQ(*v.permille, c.permille) << c.what;
        EXPECT_FALSE(v.ratio.has_value()) << c.what;
        EXPECT_EQ(v.label, QString::fromUtf8(c.label)) << c.what;
    }
}

TEST(ComputePendingValue, LineEnds)
{
    const ChartGeometry g = Geometry(1000);
    const BepInputs in = Figures(1000000, 700000, 300000, 4000);
    struct Case {
        const char* what;
        int element;
        int above;  // pixels above the plot bottom
        bool ctrl;
        BepInputs in;
        int32_t ratio;
        const char* label;
    } cases[] = {
        {"total-cost end floors to a whole percent", 3, 875, false, in, 5700, "57.00"},
        {"total-cost end with Ctrl keeps the decimals", 10, 873, true, in, 5730, "57.30"},
        {"total-cost end below the fixed-cost line", 3, 100, false, in, -2000, "-20.00"},
        {"negative share floors downwards", 3, 105, false, in, -2000, "-20.00"},
        {"total-cost end below the plot reads amount 0", 10, -50, false, in, -3000, "-30.00"},
        {"total-cost end above the plot reads the maximum", 3, 1200, false, in, 7000, "70.00"},
        {"ratio rounds to the nearest hundredth", 3, 2, true,
         Figures(1000000, 700000, 1234, 4000), 8, "0.08"},
        {"marginal-profit end at 750,000", 6, 750, false, in, 2500, "75.00"},
        {"marginal-profit end with Ctrl", 11, 753, true, in, 2470, "75.30"},
        {"marginal-profit end floors without Ctrl", 11, 753, false, in, 2500, "75.00"},
        {"marginal-profit end at the top", 6, 1000, false, in, 0, "100.00"},
        {"marginal-profit end below the plot", 11, -5, false, in, 10000, "0.00"},
    };
    for (const Case& c : cases) {
        const PendingValue v = ComputePendingValue(
            c.element, {300, kTallPlotBottom - c.above}, g, kMargin, c.in, c.ctrl);
        ASSERT_TRUE(v.ratio.has_value()) << c.what;
        EXPECT_EQ(*v.ratio, c.ratio) << c.what;
        EXPECT_FALSE(v.permille.has_value()) << c.what;
        EXPECT_EQ(v.label, QString::fromUtf8(c.label)) << c.what;
    }
}

TEST(ComputePendingValue, FlatPlotGivesNothing)
{
    ChartGeometry g = Geometry();
    const BepInputs in = Figures(1000000, 700000, 300000, 4000);
    g.plotWidth = 0;
    for (int k : {1, 8, 12, 13, 14}) {
        const PendingValue v = ComputePendingValue(k, {300, 300}, g, kMargin, in, false);
        EXPECT_FALSE(v.permille.has_value()) << k;
        EXPECT_TRUE(v.label.isEmpty()) << k;
    }
    // The vertical elements still have their height to read.
    EXPECT_TRUE(ComputePendingValue(2, {300, 300}, g, kMargin, in, false).permille);
    g = Geometry();
    g.plotHeight = 0;
    for (int k : {0, 2, 3, 6}) {
        const PendingValue v = ComputePendingValue(k, {300, 300}, g, kMargin, in, false);
        EXPECT_FALSE(v.permille || v.ratio) << k;
        EXPECT_TRUE(v.label.isEmpty()) << k;
    }
}

TEST(LabelBox, AboveOrLeftOfThePointer)
{
    struct Case {
        const char* what;
        int element;
        QSize extent;
        QRect box;
    } cases[] = {
        {"target line: centred above", 1, {60, 14}, QRect(468, 278, 64, 22)},
        {"right edge: halves truncated", 14, {61, 15}, QRect(468, 277, 64, 23)},
        {"fixed-cost line: left, centred vertically", 2, {60, 14}, QRect(432, 291, 68, 18)},
        {"line end: halves truncated", 11, {61, 15}, QRect(431, 291, 69, 18)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LabelBox(c.element, {500, 300}, c.extent), c.box) << c.what;
}

namespace {

QImage Backdrop()
{
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(QColor(200, 30, 30));
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, 90));
    return image;
}

bool HasDarkPixel(const QImage& image, const QRect& r)
{
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (qGray(image.pixel(x, y)) < 100)
                return true;
    return false;
}

} // namespace

TEST(DrawValueLabel, WhiteBoxWithTextAndSaveUnder)
{
    ChartRenderer renderer;
    const QImage original = Backdrop();
    QImage window = original;

    ASSERT_TRUE(DrawValueLabel(renderer, window, 1, {200, 150}, QStringLiteral("700,000"), 96));
    const QRect box = renderer.LabelRect();
    ASSERT_FALSE(box.isEmpty());
    EXPECT_EQ(box.bottom(), 149);  // the box ends at the pointer, exclusive
    EXPECT_EQ(box.left() + box.width() / 2, 200);
    EXPECT_EQ(window.pixel(box.topLeft()), qRgb(255, 255, 255));
    EXPECT_EQ(window.pixel(box.bottomRight()), qRgb(255, 255, 255));
    EXPECT_TRUE(HasDarkPixel(window, box));
    EXPECT_EQ(window.pixel(200, 150), original.pixel(200, 150));

    // A move draws the next label after putting the pixels back under the first one.
    ASSERT_TRUE(DrawValueLabel(renderer, window, 2, {300, 250}, QStringLiteral("57.00"), 96));
    EXPECT_EQ(renderer.LabelRect().right(), 299);
    EXPECT_EQ(window.copy(box), original.copy(box));

    RemoveValueLabel(renderer, window);
    EXPECT_TRUE(renderer.LabelRect().isEmpty());
    EXPECT_EQ(window, original);
    RemoveValueLabel(renderer, window);
    EXPECT_EQ(window, original);
}

TEST(DrawValueLabel, OffTheWindowEdgeAndEmptyText)
{
    ChartRenderer renderer;
    const QImage original = Backdrop();
    QImage window = original;

    // Near the top-left corner most of the box lies off the window.
    ASSERT_TRUE(DrawValueLabel(renderer, window, 2, {3, 2}, QStringLiteral("1,000,000"), 96));
    EXPECT_LT(renderer.LabelRect().left(), 0);
    RemoveValueLabel(renderer, window);
    EXPECT_EQ(window, original);

    EXPECT_FALSE(DrawValueLabel(renderer, window, 1, {200, 150}, QString(), 96));
    EXPECT_TRUE(renderer.LabelRect().isEmpty());
    EXPECT_EQ(window, original);
}

TEST(UpdateDragFeedback, PendingValueFollowsMovesInsideTheChartArea)
{
    const ChartGeometry g = Geometry();
    const BepInputs in = Figures(1000000, 700000, 300000, 4000);
    ChartRenderer renderer;
    QImage window(1400, 700, QImage::Format_RGB32);
    window.fill(Qt::gray);
    const QImage original = window;

    DragState state;
    state.Start(1);
    EXPECT_TRUE(UpdateDragFeedback(state, renderer, window, {kPlotLeft0 + 420, 300}, g, kMargin,
                                   in, false, 96));
    EXPECT_EQ(state.dragPermille, 700);
    EXPECT_FALSE(renderer.LabelRect().isEmpty());

    // Over the controls above the chart area: no label, the last value stays pending.
    EXPECT_TRUE(UpdateDragFeedback(state, renderer, window, {kPlotLeft0 + 60, 50}, g, kMargin,
                                   in, false, 96));
    EXPECT_EQ(state.dragPermille, 700);
    EXPECT_TRUE(renderer.LabelRect().isEmpty());
    EXPECT_EQ(window, original);

    state.Start(3);
    EXPECT_EQ(state.dragPermille, -1);
    UpdateDragFeedback(state, renderer, window, {600, kPlotBottom - 350}, g, kMargin, in, false,
                       96);
    EXPECT_EQ(state.dragRatio, std::optional<int32_t>(5700));
    EXPECT_EQ(state.dragPermille, -1);
}

TEST(ComputeDrop, WhatTheReleaseChanges)
{
    const QRect area = Geometry().chartArea;
    const BepInputs in = Figures(1000000, 700000, 300000, 4000);
    const QPoint inside(300, 300);
    auto state = [](int target, int32_t permille, std::optional<int32_t> ratio) {
        DragState s;
        s.dragTarget = target;
        s.dragPermille = permille;
        s.dragRatio = ratio;
        return s;
    };
    using Kind = DropChange::Kind;
    struct Case {
        const char* what;
        DragState state;
        QPoint pointer;
        Kind kind;
        AmountField field;
        const char* text;
        int32_t ratio;
    } cases[] = {
        {"target line at 700 permille", state(1, 700, {}), inside, Kind::Amount,
         AmountField::TargetSales, "700000", 0},
        {"right edge beyond the plot", state(13, 1250, {}), inside, Kind::Amount,
         AmountField::MaxSales, "1250000", 0},
        {"top edge halved", state(7, 500, {}), inside, Kind::Amount, AmountField::MaxSales,
         "500000", 0},
        {"fixed-cost line", state(5, 1, {}), inside, Kind::Amount, AmountField::FixedCosts,
         "1000", 0},
        {"total-cost end", state(10, -1, 5730), inside, Kind::Ratio, AmountField::MaxSales, "",
         5730},
        {"below the fixed-cost line sets 0", state(3, -1, -2000), inside, Kind::Ratio,
         AmountField::MaxSales, "", 0},
        {"above 100 % sets 10000", state(6, -1, 12000), inside, Kind::Ratio,
         AmountField::MaxSales, "", 10000},
        {"press and release without a move", state(1, -1, {}), inside, Kind::None,
         AmountField::MaxSales, "", 0},
        {"line end without a move", state(11, -1, {}), inside, Kind::None,
         AmountField::MaxSales, "", 0},
        {"released over the controls", state(1, 700, {}), {300, 99}, Kind::None,
         AmountField::MaxSales, "", 0},
        {"released just right of the chart area", state(3, -1, 5000), {1400, 300}, Kind::None,
         AmountField::MaxSales, "", 0},
        {"released on its last column", state(3, -1, 5000), {1399, 300}, Kind::Ratio,
         AmountField::MaxSales, "", 5000},
        {"no drag running", state(-1, 700, 5000), inside, Kind::None, AmountField::MaxSales, "",
         0},
    };
    for (const Case& c : cases) {
        const DropChange d = ComputeDrop(c.state, c.pointer, area, in);
        EXPECT_EQ(d.kind, c.kind) << c.what;
        if (d.kind == Kind::Amount) {
            EXPECT_EQ(d.field, c.field) << c.what;
            EXPECT_EQ(d.text, QString::fromUtf8(c.text)) << c.what;
        }
        if (d.kind == Kind::Ratio) {
            EXPECT_EQ(d.ratio, c.ratio) << c.what;
        }
    }
}
