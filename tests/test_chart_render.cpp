// Pixel probes on rendered charts: each fails when an element is missing or misplaced.

#include "chart_markers.h"
#include "chart_renderer.h"
#include "chart_text.h"
#include "draw_surface.h"
#include "headless_chart_host.h"
#include "support/fake_platform.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace brevant;

namespace {

constexpr ColorRef kWhite = 0xFFFFFF;

BepInputs SampleFigures()
{
    BepInputs in;
    in.maxSales = 154321000;
    in.targetSales = 125678900;
    in.fixedCosts = 49605558;
    in.variableCostRatio = 5613;
    return in;
}

class Render : public ::testing::Test {
protected:
    // Renders into a window image of the area's size placed at (0, 0).
    bool RenderNow(QSize size = QSize(1920, 1080))
    {
        area = QRect(QPoint(0, 0), size);
        rects = ComputeChartRects(size, style.drawGraph, style.outerMargin, {});
        window = QImage(size, QImage::Format_RGB32);
        window.fill(Qt::black);
        const RenderRequest request{in, style, area, rects, highlight};
        return renderer.RenderCharts(window, request, elements);
    }

    ColorRef At(QPoint p) const { return FromQRgb(renderer.ComposedImage().pixel(p)); }
    const ChartGeometry& G() const { return renderer.Geometry(); }
    // A key point of chart k on the composition.
    QPoint Key(int k, QPoint grid) const
    {
        const QPoint px = ToPlotPixels(G(), grid);
        return QPoint(rects[k].left() + G().leftBand + px.x(), rects[k].top() + G().topBand + px.y());
    }

    BepInputs in = SampleFigures();
    ChartStyle style = ChartStyle::Defaults();
    bool highlight = false;
    QRect area;
    std::array<QRect, 3> rects{};
    QImage window;
    ChartRenderer renderer;
    MovableElementTable elements;
};

} // namespace

TEST_F(Render, CopiesTheCompositionIntoTheWindow)
{
    ASSERT_TRUE(RenderNow());
    EXPECT_EQ(renderer.ComposedImage().size(), QSize(1920, 1080));
    EXPECT_EQ(renderer.ComposedImage(), window);
}

TEST_F(Render, WhiteMarginsAndInteriorInsideThePlot)
{
    ASSERT_TRUE(RenderNow());
    const QImage& img = renderer.ComposedImage();
    for (QPoint p : {QPoint(0, 0), QPoint(1919, 1079), QPoint(5, 540),
                     QPoint(rects[0].right() + 5, 540), QPoint(960, 1075)})
        EXPECT_EQ(At(p), kWhite) << p.x() << "," << p.y();
    EXPECT_EQ(img.pixel(0, 0), qRgb(255, 255, 255));
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(At(Key(k, QPoint(150, 150))), style.colors[kInterior]) << k;
}

TEST_F(Render, AreasLinesAndMarkersSitWhereTheFiguresPutThem)
{
    ASSERT_TRUE(RenderNow());
    const KeyPoints& kp = G().keys;
    const int d = MarkerSize(G().plotHeight);

    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        // Yellow inside the break-even triangles (on the sales line and on the axis).
        const QPoint bep = Key(k, kp.bepPoint);
        const QPoint foot = Key(k, kp.bepFoot);
        EXPECT_EQ(At(bep + QPoint(0, d / 2)), kMarkerYellow);
        EXPECT_EQ(At(foot + QPoint(0, d / 2)), kMarkerYellow);
        // The break-even line between them.
        EXPECT_EQ(At((bep + foot) / 2), style.colors[kBreakEven]);
        // The fixed-cost line on its row.
        EXPECT_EQ(At(Key(k, QPoint(550, kp.fixedStart.y()))), style.colors[kFixedLine]);
        // The loss area, away from its label.
        EXPECT_EQ(At(Key(k, QPoint(40, 900))), style.colors[kLossArea]);
    }
    // The index variant adds a triangle on the fixed-cost line.
    EXPECT_EQ(At(Key(1, kp.indexBepPoint) + QPoint(0, d / 2)), kMarkerYellow);
    EXPECT_NE(At(Key(0, kp.indexBepPoint) + QPoint(0, d / 2)), kMarkerYellow);

    for (int k : {0, 2}) {
        SCOPED_TRACE(k);
        const QPoint top = Key(k, kp.targetPoint);
        const QPoint bottom = Key(k, kp.targetFoot);
        EXPECT_EQ(At((top + bottom) / 2), style.colors[kTargetSales]);
        EXPECT_EQ(At(top), kMarkerYellow);
        // Profit area between the sales line and the total-cost line near the right edge.
        EXPECT_EQ(At(Key(k, QPoint(990, 60))), style.colors[kProfitArea]);
        // The total-cost line's handle.
        EXPECT_EQ(At(Key(k, kp.totalCostEnd) + QPoint(-3, -3)), style.colors[kTotalCostLine]);
    }
    // No target marker and no total-cost line in the index chart.
    EXPECT_NE(At(Key(1, QPoint(kp.targetPoint.x(), 600))), style.colors[kTargetSales]);
    EXPECT_EQ(At(Key(1, kp.marginalEnd) + QPoint(-3, 2)), style.colors[kMarginalLine]);
}

TEST_F(Render, FrameIsCrispAndTextIsDrawn)
{
    ASSERT_TRUE(RenderNow());
    const QPoint topLeft = Key(0, QPoint(0, 0));
    // A frame of width 3 around the plot's top edge, not smeared.
    for (int dy = -1; dy <= 1; ++dy)
        EXPECT_EQ(At(QPoint(topLeft.x() + 200, topLeft.y() + dy)), style.colors[kFrame]) << dy;
    EXPECT_EQ(At(QPoint(topLeft.x() + 200, topLeft.y() - 2)), kWhite);

    // Something dark in the title band above the plot (the title), nothing left of it.
    const QImage& img = renderer.ComposedImage();
    auto darkIn = [&](QRect r) {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += qGray(img.pixel(x, y)) < 100;
        return n;
    };
    const QRect band(rects[0].left(), rects[0].top(), rects[0].width(), G().topBand);
    EXPECT_GT(darkIn(band), 50);
    EXPECT_EQ(darkIn(QRect(rects[0].left(), rects[0].top(), G().leftBand, G().topBand)), 0);
    // Scale labels in the left band.
    int scale = 0;
    for (int y = rects[0].top() + G().topBand; y < rects[0].bottom(); ++y)
        for (int x = rects[0].left(); x < rects[0].left() + G().leftBand; ++x)
            scale += FromQRgb(img.pixel(x, y)) == style.colors[kFrame];
    EXPECT_GT(scale, 100);
}

TEST_F(Render, RecordsMovableElementsAtTheirScreenPositions)
{
    ASSERT_TRUE(RenderNow());
    const ChartGeometry& g = G();
    const KeyPoints& kp = g.keys;
    auto screen = [&](int k, QPoint grid) { return ToScreen(g, k, ToPlotPixels(g, grid)); };
    const QPoint corner(g.plotWidth, 0);
    const QPoint far(g.plotWidth, g.plotHeight);

    const struct {
        int index;
        QPoint p0, p1;
    } expected[] = {
        {0, ToScreen(g, 0, {0, 0}), ToScreen(g, 0, corner)},
        {1, screen(0, kp.targetPoint), screen(0, kp.targetFoot)},
        {2, screen(0, kp.fixedStart), screen(0, kp.fixedEnd)},
        {3, screen(0, kp.totalCostEnd), {}},
        {4, ToScreen(g, 1, {0, 0}), ToScreen(g, 1, corner)},
        {5, screen(1, kp.fixedStart), screen(1, kp.fixedEnd)},
        {6, screen(1, kp.marginalEnd), {}},
        {7, ToScreen(g, 2, {0, 0}), ToScreen(g, 2, corner)},
        {8, screen(2, kp.targetPoint), screen(2, kp.targetFoot)},
        {9, screen(2, kp.fixedStart), screen(2, kp.fixedEnd)},
        {10, screen(2, kp.totalCostEnd), {}},
        {11, screen(2, kp.marginalEnd), {}},
        {12, ToScreen(g, 0, corner), ToScreen(g, 0, far)},
        {13, ToScreen(g, 1, corner), ToScreen(g, 1, far)},
        {14, ToScreen(g, 2, corner), ToScreen(g, 2, far)},
    };
    for (const auto& e : expected) {
        EXPECT_EQ(elements[e.index].p0, e.p0) << e.index;
        EXPECT_EQ(elements[e.index].p1, e.p1) << e.index;
    }
    // The sample's fixed-cost line of chart 1, by hand.
    EXPECT_EQ(elements[5].p0.x(), rects[1].left() + g.leftBand);
    EXPECT_EQ(elements[5].p0.y(), rects[1].top() + g.topBand + 678 * g.plotHeight / 999);
}

TEST_F(Render, ScreenPositionsFollowTheChartAreaInTheWindow)
{
    const QRect placed(7, 150, 960, 400);
    rects = ComputeChartRects(placed.size(), style.drawGraph, style.outerMargin, {});
    window = QImage(1000, 600, QImage::Format_RGB32);
    window.fill(Qt::black);
    ASSERT_TRUE(renderer.RenderCharts(window, {in, style, placed, rects, false}, elements));
    EXPECT_EQ(renderer.ComposedImage().size(), placed.size());
    EXPECT_EQ(window.pixel(3, 3), qRgb(0, 0, 0));
    EXPECT_EQ(window.pixel(999, 599), qRgb(0, 0, 0));
    EXPECT_EQ(window.copy(placed), renderer.ComposedImage());
    EXPECT_EQ(elements[0].p0, QPoint(7 + rects[0].left() + G().leftBand,
                                     150 + rects[0].top() + G().topBand));
}

TEST_F(Render, HiddenChartDrawsNothingAndKeepsItsRecords)
{
    const QPoint old(42, 43);
    for (int i : {4, 5, 6, 13})
        elements.RecordElement(i, old, old);
    ASSERT_TRUE(RenderNow());
    // The same layout with chart 1 switched off.
    style.drawGraph = {1, 0, 1};
    MovableElementTable fresh;
    for (int i : {4, 5, 6, 13})
        fresh.RecordElement(i, old, old);
    ASSERT_TRUE(renderer.RenderCharts(window, {in, style, area, rects, false}, fresh));
    const QImage& img = renderer.ComposedImage();
    for (int y = rects[1].top(); y <= rects[1].bottom(); y += 3)
        for (int x = rects[1].left(); x <= rects[1].right(); x += 3)
            ASSERT_EQ(img.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
    for (int i : {4, 5, 6, 13})
        EXPECT_EQ(fresh[i].p0, old) << i;
    EXPECT_NE(fresh[7].p0, QPoint());
}

TEST_F(Render, NoChartShownGivesAWhiteImage)
{
    style.drawGraph = {0, 0, 0};
    ASSERT_TRUE(RenderNow(QSize(300, 200)));
    QImage white(300, 200, QImage::Format_RGB32);
    white.fill(Qt::white);
    EXPECT_EQ(renderer.ComposedImage(), white);
}

TEST_F(Render, ATooSmallAreaLeavesTheChartsOutOrFails)
{
    // Plot height negative: white, success.
    ASSERT_TRUE(RenderNow(QSize(400, 60)));
    EXPECT_LT(G().plotHeight, 0);
    QImage white(400, 60, QImage::Format_RGB32);
    white.fill(Qt::white);
    EXPECT_EQ(renderer.ComposedImage(), white);

    // No area at all: failure, the last composition stays.
    const QRect empty(0, 0, 0, 0);
    EXPECT_FALSE(renderer.RenderCharts(window, {in, style, empty, rects, false}, elements));
    EXPECT_EQ(renderer.ComposedImage(), white);
}

TEST_F(Render, LineWidthZeroDropsTheLineAndKeepsItsRecords)
{
    style.lineWidths[kFixedLine] = 0;
    ASSERT_TRUE(RenderNow());
    for (int i : {2, 5, 9})
        EXPECT_EQ(elements[i].p0, QPoint()) << i;
    EXPECT_NE(At(Key(0, QPoint(550, G().keys.fixedStart.y()))), style.colors[kFixedLine]);
}

TEST_F(Render, TargetAboveMaximumSalesHasNoMarker)
{
    in.targetSales = in.maxSales + 1;
    ASSERT_TRUE(RenderNow());
    EXPECT_EQ(elements[1].p0, QPoint());
    EXPECT_EQ(elements[8].p0, QPoint());
    EXPECT_NE(elements[2].p0, QPoint());
}

TEST_F(Render, BreakEvenBeyondMaximumSalesDropsAreasAndMarker)
{
    in.maxSales = 400000;
    in.targetSales = 300000;
    in.fixedCosts = 300000;
    in.variableCostRatio = 4000;
    ASSERT_TRUE(RenderNow());
    const int d = MarkerSize(G().plotHeight);
    EXPECT_EQ(G().keys.bepPoint, QPoint(500, 500));
    for (int k = 0; k < 3; ++k) {
        EXPECT_NE(At(Key(k, G().keys.bepFoot) + QPoint(0, d / 2)), kMarkerYellow) << k;
        EXPECT_EQ(At(Key(k, QPoint(40, 900))), style.colors[kInterior]) << k;
    }
}

TEST_F(Render, HighlightWidensHandlesFixedLineAndEdges)
{
    ASSERT_TRUE(RenderNow());
    const QPoint end = Key(0, G().keys.totalCostEnd);
    EXPECT_NE(At(end + QPoint(-8, -8)), style.colors[kTotalCostLine]);
    const QPoint topMid = Key(0, QPoint(300, 0));
    EXPECT_NE(At(topMid + QPoint(0, 3)), style.colors[kFrame]);

    highlight = true;
    ASSERT_TRUE(RenderNow());
    // 18 × 18 handles: from x − 9 up to, not including, x + 9.
    EXPECT_EQ(At(end + QPoint(-9, -9)), style.colors[kTotalCostLine]);
    EXPECT_EQ(At(end + QPoint(8, 8)), style.colors[kTotalCostLine]);
    EXPECT_NE(At(end + QPoint(9, 9)), style.colors[kTotalCostLine]);
    // Top edge three times as wide, fixed-cost line three times as wide.
    EXPECT_EQ(At(topMid + QPoint(0, 3)), style.colors[kFrame]);
    EXPECT_EQ(At(Key(0, QPoint(550, G().keys.fixedStart.y())) + QPoint(0, 3)),
              style.colors[kFixedLine]);
}

TEST_F(Render, AreaLabelsInBoxesAtTheCentroids)
{
    style.colors[kProfitArea] = 0; // black area: grey label on white
    ASSERT_TRUE(RenderNow());
    const KeyPoints& kp = G().keys;
    const QPoint a = ToPlotPixels(G(), kp.salesEnd);
    const QPoint b = ToPlotPixels(G(), kp.bepPoint);
    const QPoint c = ToPlotPixels(G(), kp.totalCostEnd);
    const QPoint centre((a.x() + b.x() + c.x()) / 3 + rects[0].left() + G().leftBand,
                        (a.y() + b.y() + c.y()) / 3 + rects[0].top() + G().topBand);
    const QImage& img = renderer.ComposedImage();
    int grey = 0;
    int white = 0;
    for (int y = centre.y() - 6; y <= centre.y() + 6; ++y) {
        for (int x = centre.x() - 14; x <= centre.x() + 14; ++x) {
            grey += FromQRgb(img.pixel(x, y)) == 0x808080;
            white += FromQRgb(img.pixel(x, y)) == kWhite;
        }
    }
    EXPECT_GT(grey, 10);
    EXPECT_GT(white, 50);
}

TEST_F(Render, ExtremeFiguresRenderWithoutHarm)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    const double nan = std::nan("");
    const struct {
        const char* what;
        double s, t, f;
        int32_t ratio;
    } cases[] = {
        {"largest fixed costs, smallest sales", 1, 1, 2147483647, 0},
        {"huge amounts", 1e308, 1e308, 1e308, 5000},
        {"huge fixed costs", 1, 1, 1e308, 5000},
        {"infinite amounts", inf, inf, inf, 5000},
        {"infinite fixed costs", 1000, 500, inf, 2500},
        {"negative infinity", 1000, -inf, -inf, 2500},
        {"not a number", nan, nan, nan, 2500},
        {"not-a-number fixed costs", 1000, 500, nan, 10000},
        {"negative figures", -1000, -5000, -300, 2500},
        {"full ratio", 1000, 500, 300, 10000},
        {"full ratio, no fixed costs", 1000, 500, 0, 10000},
        {"ratio out of range", 1000, 500, 300, -2147483647 - 1},
        {"ratio far above", 1000, 500, 300, 2147483647},
        {"tiny sales", 1e-300, 1, 1, 2500},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        in.maxSales = c.s;
        in.targetSales = c.t;
        in.fixedCosts = c.f;
        in.variableCostRatio = c.ratio;
        for (bool h : {false, true}) {
            highlight = h;
            ASSERT_TRUE(RenderNow(QSize(640, 300)));
            EXPECT_EQ(At(QPoint(0, 0)), kWhite);
        }
    }
}

TEST_F(Render, ExtremeStyleRendersWithoutHarm)
{
    style.fontSize = 50;
    style.outerMargin = 50;
    style.scaleMargin = 50;
    style.lineWidths.fill(20);
    style.colors.fill(0xFFFFFFFFu);
    style.titles[1] = QString(500, u'長');
    ASSERT_TRUE(RenderNow(QSize(500, 300)));
    style.fontSize = 5;
    style.outerMargin = 0;
    style.scaleMargin = 0;
    style.lineWidths.fill(0);
    ASSERT_TRUE(RenderNow(QSize(120, 90)));
}

TEST_F(Render, UnitLabelAndFullRatioTexts)
{
    // Full ratio: no areas, no break-even marker, but the target marker stays.
    in.variableCostRatio = 10000;
    ASSERT_TRUE(RenderNow());
    EXPECT_TRUE(std::isinf(BreakEvenPoint(in)));
    EXPECT_NE(elements[1].p0, QPoint());
    EXPECT_EQ(At(Key(0, G().keys.targetPoint)), kMarkerYellow);
    EXPECT_EQ(At(Key(0, QPoint(40, 900))), style.colors[kInterior]);
}

TEST_F(Render, TextsSayTheFiguresWhereTheyBelong)
{
    struct Case {
        const char* what;
        double s, t, f;
        int32_t ratio, unit;
        std::vector<const char*> drawn;   // each text drawn somewhere
        std::vector<const char*> absent;  // no text starts with these
    } cases[] = {
        {"sample figures", 154321000, 125678900, 49605558, 5613, 0,
         {"目標売上高 125,678,900", "目標営業利益 12,604,913", "損益分岐点 113,073,987",
          " 変動費率 56.13%", " 限界利益率 43.87%", "売上高線", "固定費線", "総費用線",
          "限界利益線", "利益", "損失", "49,605,558", "単位:円", "0", "15,432,100",
          "154,321,000"},
         {"単位:千円"}},
        {"thousands of yen", 154321000, 125678900, 49605558, 5613, 1,
         {"目標売上高 125,679", "目標営業利益 12,605", "損益分岐点 113,074", "49,606",
          "単位:千円", "15,432", "154,321"},
         {"単位:円", "目標売上高 125,678,900"}},
        {"target below break-even", 1000000, 400000, 300000, 4000, 0,
         {"目標営業利益 -100,000", "損益分岐点 500,000", " 変動費率 40.00%"}, {}},
        {"ratio 100 %", 1000000, 400000, 300000, 10000, 0,
         {"目標売上高 400,000", "目標営業利益 -∞", " 変動費率 100.00%"},
         {"損益分岐点 "}},
        {"ratio 100 % without fixed costs", 1000000, 400000, 0, 10000, 0,
         {"目標営業利益 ―", "0"}, {"損益分岐点 "}},
        // Break-even at 3,333,333.33: a loss of a third of a yen.
        {"loss below half a yen", 5000000, 3333333, 1000000, 7000, 0,
         {"目標営業利益 0", "損益分岐点 3,333,333"}, {"目標営業利益 -"}},
    };
    TextRecord texts;
    renderer.RecordTexts(&texts);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        in = BepInputs{c.s, c.t, c.f, c.ratio, c.unit};
        ASSERT_TRUE(RenderNow()) << c.what;
        const auto boxesOf = [&](const QString& prefix) {
            std::vector<Box> boxes;
            for (const DrawnText& d : texts)
                if (d.text.startsWith(prefix))
                    boxes.push_back(d.box);
            return boxes;
        };
        for (const char* text : c.drawn)
            EXPECT_TRUE(std::any_of(texts.begin(), texts.end(),
                                    [&](const DrawnText& d) { return d.text == text; }))
                << c.what << ": " << text;
        for (const char* prefix : c.absent)
            EXPECT_TRUE(boxesOf(QString::fromUtf8(prefix)).empty()) << c.what << ": " << prefix;

        // Where: marker boxes up and left of their points, the fixed costs beside their
        // line at the plot's right edge, the unit under the left scale.
        const int d = MarkerSize(G().plotHeight);
        const auto upLeftOf = [&](QPoint p) { return std::make_pair(p.x() - d, p.y() - d); };
        const auto corners = [](const std::vector<Box>& boxes) {
            std::vector<std::pair<int, int>> r;
            for (const Box& b : boxes)
                r.emplace_back(b.right, b.bottom);
            return r;
        };
        if (c.t <= c.s) {
            const std::vector<std::pair<int, int>> at = {upLeftOf(Key(0, G().keys.targetPoint)),
                                                         upLeftOf(Key(2, G().keys.targetPoint))};
            EXPECT_EQ(corners(boxesOf(u"目標売上高 "_qs)), at) << c.what;
            EXPECT_EQ(corners(boxesOf(u"目標営業利益 "_qs)), at) << c.what;
        }
        if (BreakEvenPoint(in) <= c.s) {
            const QPoint bep = G().keys.bepPoint;
            EXPECT_EQ(corners(boxesOf(u"損益分岐点 "_qs)),
                      (std::vector<std::pair<int, int>>{
                          upLeftOf(Key(0, bep)), upLeftOf(Key(1, bep)), upLeftOf(Key(2, bep))}))
                << c.what;
        }
        const std::vector<Box> fixed = boxesOf(ShownAmount(c.f, c.unit));
        const std::vector<Box> units = boxesOf(u"単位:"_qs);
        ASSERT_EQ(units.size(), 3u) << c.what;
        for (int k = 0; k < kChartCount; ++k) {
            const QPoint line = Key(k, G().keys.fixedStart);
            EXPECT_TRUE(std::any_of(fixed.begin(), fixed.end(), [&](const Box& b) {
                return b.right == Key(k, QPoint(kGridMax, 0)).x() - 4 && b.top < line.y() &&
                       line.y() < b.bottom;
            })) << c.what << " chart " << k;
            const int plotTop = Key(k, QPoint(0, 0)).y();
            EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [&](const DrawnText& t) {
                return t.text == ScaleLabel(in, 10) && t.h == HAlign::Right &&
                       t.box.right == rects[k].left() + G().leftBand - style.scaleMargin &&
                       t.box.top < plotTop && plotTop < t.box.bottom;
            })) << c.what << " chart " << k;
            EXPECT_EQ(units[size_t(k)].left, rects[k].left()) << c.what;
            EXPECT_GT(units[size_t(k)].top, Key(k, G().keys.origin).y()) << c.what;
        }
    }
}

TEST_F(Render, LabelBackgroundRoundTrip)
{
    QImage win(200, 100, QImage::Format_RGB32);
    win.fill(Qt::blue);
    win.setPixel(50, 40, qRgb(1, 2, 3));
    const QImage before = win;
    const QRect box(45, 35, 30, 12);
    ASSERT_TRUE(renderer.CreateLabelSurface(win, box.width(), box.height()));
    renderer.SaveUnderLabel(win, box);
    renderer.SetLabelRect(box);
    {
        DrawSurface s(win);
        s.fillRect(Box::fromQRect(box), kWhite);
    }
    EXPECT_NE(win, before);
    renderer.RestoreUnderLabel(win);
    EXPECT_EQ(win, before);
    EXPECT_EQ(renderer.LabelRect(), box);

    renderer.ClearLabelRect();
    win.fill(Qt::red);
    const QImage red = win;
    renderer.RestoreUnderLabel(win);
    EXPECT_EQ(win, red);
    EXPECT_FALSE(renderer.CreateLabelSurface(win, 0, 5));
}

TEST(HeadlessChartHost, LaysOutRendersAndReports)
{
    QTemporaryDir dir;
    test::FakePlatform platform(dir.path());
    HeadlessChartHost host(platform, QSize(900, 400), SampleFigures(), ChartStyle::Defaults());
    host.LayoutCharts();
    EXPECT_EQ(host.ChartRects()[0], QRect(QPoint(10, 10), QPoint(295, 389)));
    EXPECT_EQ(host.ComposedImage().size(), QSize(900, 400));
    EXPECT_EQ(host.Window(), host.ComposedImage());
    EXPECT_NE(host.Elements()[0].p0, QPoint());

    // Hiding a chart and laying out again moves the others.
    host.Style().drawGraph = {0, 1, 0};
    host.LayoutCharts();
    EXPECT_EQ(host.ChartRects()[1], QRect(10, 10, 880, 380));
    EXPECT_EQ(host.ChartRects()[0], QRect());
    EXPECT_EQ(host.LayoutCount(), 2);

    host.Inputs().fixedCosts = 1;
    EXPECT_TRUE(host.RenderComposition());

    EXPECT_EQ(host.ShowMessage(IDS_CLIPBOARD_SAVED, "x\n", 0x40), 1);
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages[0].text, "x\nクリップボードに保存しました");
    EXPECT_EQ(platform.messages[0].caption, "Brevant");
}
