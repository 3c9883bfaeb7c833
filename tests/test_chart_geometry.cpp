#include "chart_geometry.h"

#include "saturate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace brevant;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

BepInputs Figures(double s, double t, double f, int32_t ratio)
{
    BepInputs in;
    in.maxSales = s;
    in.targetSales = t;
    in.fixedCosts = f;
    in.variableCostRatio = ratio;
    return in;
}

} // namespace

TEST(ComputeKeyPoints, RoundFigures)
{
    const KeyPoints k = ComputeKeyPoints(Figures(1000000, 700000, 300000, 4000));
    EXPECT_EQ(k.origin, QPoint(0, 999));
    EXPECT_EQ(k.salesEnd, QPoint(999, 0));
    EXPECT_EQ(k.fixedStart, QPoint(0, 700));
    EXPECT_EQ(k.fixedEnd, QPoint(999, 700));
    EXPECT_EQ(k.totalCostEnd, QPoint(999, 300));
    EXPECT_EQ(k.marginalEnd, QPoint(999, 400));
    EXPECT_EQ(k.bepPoint, QPoint(498, 500));
    EXPECT_EQ(k.indexBepPoint, QPoint(498, 700));
    EXPECT_EQ(k.bepFoot, QPoint(498, 999));
    EXPECT_EQ(k.targetFoot, QPoint(699, 999));
    EXPECT_EQ(k.targetPoint, QPoint(699, 300));

    EXPECT_EQ(ToPlotPixels(k.bepPoint, 600, 400), QPoint(299, 200));
    EXPECT_EQ(ToPlotPixels(k.totalCostEnd, 600, 400), QPoint(600, 120));
}

TEST(ComputeKeyPoints, SampleFigures)
{
    const KeyPoints k = ComputeKeyPoints(Figures(154321000, 125678900, 49605558, 5613));
    EXPECT_EQ(k.fixedStart, QPoint(0, 678));
    EXPECT_EQ(k.totalCostEnd, QPoint(999, 118));
    EXPECT_EQ(k.marginalEnd, QPoint(999, 561));
    EXPECT_EQ(k.bepPoint, QPoint(730, 268));
    EXPECT_EQ(k.indexBepPoint, QPoint(732, 678));
    EXPECT_EQ(k.targetPoint, QPoint(813, 186));
    EXPECT_EQ(k.targetFoot, QPoint(813, 999));
    EXPECT_EQ(k.bepFoot, QPoint(730, 999));
}

TEST(ComputeKeyPoints, SpecialFigures)
{
    struct Case {
        const char* what;
        BepInputs in;
        QPoint fixedStart, totalCostEnd, marginalEnd, bepPoint, indexBepPoint, targetFoot,
            targetPoint;
    } cases[] = {
        {"no fixed costs, no variable costs: break-even at the origin",
         Figures(1000, 500, 0, 0), {0, 999}, {999, 999}, {999, 0}, {0, 999}, {0, 999},
         {499, 999}, {499, 500}},
        {"maximum sales below break-even: the lines do not meet",
         Figures(400000, 300000, 300000, 4000), {0, 250}, {999, -149}, {999, 400}, {500, 500},
         {500, 500}, {749, 999}, {749, 250}},
        {"target above maximum sales: no target point, foot right of the plot",
         Figures(1000, 1500, 300, 4000), {0, 700}, {999, 300}, {999, 400}, {498, 500},
         {498, 700}, {1498, 999}, {500, 500}},
        {"fixed costs above maximum sales: line above the plot",
         Figures(1000, 500, 2000, 0), {0, -999}, {999, -999}, {999, 0}, {500, 500},
         {500, 500}, {499, 999}, {499, 500}},
        {"full ratio: marginal line on the axis, no index intersection",
         Figures(1000, 500, 300, 10000), {0, 700}, {999, -299}, {999, 999}, {500, 500},
         {500, 500}, {499, 999}, {499, 500}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const KeyPoints k = ComputeKeyPoints(c.in);
        EXPECT_EQ(k.fixedStart, c.fixedStart);
        EXPECT_EQ(k.totalCostEnd, c.totalCostEnd);
        EXPECT_EQ(k.marginalEnd, c.marginalEnd);
        EXPECT_EQ(k.bepPoint, c.bepPoint);
        EXPECT_EQ(k.indexBepPoint, c.indexBepPoint);
        EXPECT_EQ(k.bepFoot, QPoint(c.bepPoint.x(), 999));
        EXPECT_EQ(k.targetFoot, c.targetFoot);
        EXPECT_EQ(k.targetPoint, c.targetPoint);
    }
}

TEST(ComputeKeyPoints, ExtremeFiguresSaturateInsteadOfOverflowing)
{
    struct Case {
        const char* what;
        BepInputs in;
        int32_t fixedRow;
    } cases[] = {
        {"largest fixed costs on the smallest sales", Figures(1, 1, 2147483647, 0),
         999 - kInt32Max},
        {"huge fixed costs", Figures(1, 1, 1e308, 5000), 999 - kInt32Max},
        {"infinite fixed costs", Figures(1, 1, kInf, 5000), 999 - kInt32Max},
        {"negative infinite fixed costs", Figures(1, 1, -kInf, 5000), kInt32Max},
        {"not-a-number fixed costs", Figures(1, 1, std::nan(""), 5000), 999},
        {"negative fixed costs", Figures(1000, 1, -1000, 5000), 1998},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const KeyPoints k = ComputeKeyPoints(c.in);
        EXPECT_EQ(k.fixedStart.y(), c.fixedRow);
        EXPECT_EQ(k.fixedEnd.y(), c.fixedRow);
    }
}

TEST(IntersectSegments, Cases)
{
    struct Case {
        const char* what;
        QPoint p1, p2, p3, p4;
        std::optional<QPoint> result;
    } cases[] = {
        {"crossing inside", {0, 999}, {999, 0}, {0, 700}, {999, 300}, QPoint(498, 500)},
        {"meeting at an end point is exact", {0, 0}, {10, 10}, {10, 10}, {20, 0},
         QPoint(10, 10)},
        {"parallel", {0, 0}, {10, 0}, {0, 5}, {10, 5}, std::nullopt},
        {"collinear and overlapping", {0, 0}, {10, 10}, {5, 5}, {15, 15}, std::nullopt},
        {"degenerate point", {3, 3}, {3, 3}, {0, 0}, {10, 10}, std::nullopt},
        {"lines cross beyond the segments", {0, 0}, {10, 0}, {20, -5}, {20, 5}, std::nullopt},
        {"truncated toward zero, never rounded up", {0, 0}, {3, 1}, {1, -5}, {1, 5},
         QPoint(1, 0)},
        {"far-off points do not wrap", {kInt32Min, 0}, {kInt32Max, 0}, {0, kInt32Min},
         {0, kInt32Max}, QPoint(0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(IntersectSegments(c.p1, c.p2, c.p3, c.p4), c.result);
    }
}

TEST(ToPlotPixels, TruncatesTheProductTowardZero)
{
    struct Case {
        QPoint grid;
        int32_t w, h;
        QPoint pixel;
    } cases[] = {
        {{999, 999}, 600, 400, {600, 400}},
        {{0, -5}, 600, 400, {0, -2}},
        {{-2, 0}, 999, 400, {-2, 0}},
        {{-500, 0}, 300, 400, {-150, 0}},
        {{498, 500}, 600, 400, {299, 200}},
        {{kInt32Max, kInt32Min}, kInt32Max, kInt32Max, {kInt32Max, kInt32Min}},
        {{999, 999}, -10, 0, {-10, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToPlotPixels(c.grid, c.w, c.h), c.pixel) << c.grid.x() << "," << c.grid.y();
}

TEST(ComputePlotSize, TakesTheFirstShownChart)
{
    ChartGeometry g;
    g.chartRects = {QRect(), QRect(306, 10, 286, 380), QRect(602, 10, 100, 50)};
    g.leftBand = 80;
    g.topBand = 30;
    g.bottomBand = 60;
    ComputePlotSize(g, {0, 1, 1});
    EXPECT_EQ(g.chartWidth, 286);
    EXPECT_EQ(g.chartHeight, 380);
    EXPECT_EQ(g.plotWidth, 206);
    EXPECT_EQ(g.plotHeight, 290);

    // Nothing shown: chart 2's rectangle, whatever it holds.
    ComputePlotSize(g, {0, 0, 0});
    EXPECT_EQ(g.chartWidth, 100);
    EXPECT_EQ(g.plotHeight, -40);
}

TEST(ToScreen, AddsAreaChartAndBands)
{
    ChartGeometry g;
    g.chartArea = QRect(5, 200, 900, 400);
    g.chartRects = {QRect(10, 10, 286, 380), QRect(306, 10, 286, 380), QRect()};
    g.leftBand = 70;
    g.topBand = 25;
    EXPECT_EQ(ToScreen(g, 1, QPoint(3, 4)), QPoint(5 + 306 + 70 + 3, 200 + 10 + 25 + 4));
    EXPECT_EQ(ToScreen(g, 0, QPoint(kInt32Max, kInt32Min)), QPoint(kInt32Max, kInt32Min + 235));
}

TEST(ComputeChartRects, SideBySideWithMargins)
{
    const std::array<QRect, 3> none{};
    struct Case {
        const char* what;
        QSize area;
        std::array<int32_t, 3> shown;
        int32_t margin;
        std::array<QRect, 3> rects;
    } cases[] = {
        {"all three", {900, 400}, {1, 1, 1}, 10,
         {QRect(QPoint(10, 10), QPoint(295, 389)), QRect(QPoint(306, 10), QPoint(591, 389)),
          QRect(QPoint(602, 10), QPoint(887, 389))}},
        {"charts 0 and 2", {900, 400}, {1, 0, 1}, 10,
         {QRect(10, 10, 435, 380), QRect(), QRect(455, 10, 435, 380)}},
        {"only chart 1, no margin", {960, 400}, {0, 5, 0}, 0,
         {QRect(), QRect(0, 0, 960, 400), QRect()}},
        {"margins wider than the area", {30, 40}, {1, 1, 0}, 50,
         {QRect(50, 50, -60, -60), QRect(40, 50, -60, -60), QRect()}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ComputeChartRects(c.area, c.shown, c.margin, none), c.rects);
    }

    const std::array<QRect, 3> previous = {QRect(1, 2, 3, 4), QRect(), QRect(5, 6, 7, 8)};
    EXPECT_EQ(ComputeChartRects({900, 400}, {0, 0, 0}, 10, previous), previous);
}

TEST(MovableElementTable, ConstantRecordsAndRecording)
{
    MovableElementTable t;
    const int charts[15] = {0, 0, 0, 0, 1, 1, 1, 2, 2, 2, 2, 2, 0, 1, 2};
    const int points[] = {3, 6, 10, 11};
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(t[i].chart, charts[i]) << i;
        const bool isPoint = std::find(std::begin(points), std::end(points), i) != std::end(points);
        EXPECT_EQ(t[i].kind, isPoint ? MovableElement::kPoint : MovableElement::kSegment) << i;
        EXPECT_EQ(t[i].p0, QPoint());
    }

    t.RecordElement(8, {1, 2}, {3, 4});
    t.RecordElement(15, {9, 9}, {9, 9});
    t.RecordElement(-1, {9, 9}, {9, 9});
    EXPECT_EQ(t[8].p0, QPoint(1, 2));
    EXPECT_EQ(t[8].p1, QPoint(3, 4));
    EXPECT_EQ(t[8].chart, 2);
    for (int i = 0; i < 15; ++i) {
        if (i != 8) {
            EXPECT_EQ(t[i].p0, QPoint()) << i;
        }
    }

    t.Reset();
    EXPECT_EQ(t[8].p0, QPoint());
}
