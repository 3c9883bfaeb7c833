// The renderer reuses what it can between renders (the last composition, and the
// composition itself when nothing changed since the window was drawn). Every change to
// what is drawn must still show, and an image handed out must keep its pixels.

#include "headless_chart_host.h"
#include "support/fake_platform.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

using namespace brevant;
using brevant::test::FakePlatform;

namespace {

BepInputs SampleFigures()
{
    BepInputs in;
    in.maxSales = 154321000;
    in.targetSales = 125678900;
    in.fixedCosts = 0;
    in.variableCostRatio = 5613;
    return in;
}

struct State {
    BepInputs inputs = SampleFigures();
    ChartStyle style = ChartStyle::Defaults();
    bool highlight = false;
};

QImage RenderedFresh(Platform& platform, const State& s)
{
    HeadlessChartHost host(platform, QSize(960, 400), s.inputs, s.style);
    host.SetHighlight(s.highlight);
    host.LayoutCharts();
    return host.ComposedImage().copy();
}

} // namespace

TEST(RenderReuse, CompositionFollowsEveryChangeAfterTheWindowWasDrawn)
{
    QTemporaryDir dir;
    FakePlatform platform(dir.path());
    const struct {
        const char* name;
        std::function<void(State&)> change;
    } cases[] = {
        {"maximum sales", [](State& s) { s.inputs.maxSales = 200000000; }},
        {"target sales", [](State& s) { s.inputs.targetSales = 90000000; }},
        // The smallest change a label shows.
        {"fixed costs 0 to 1", [](State& s) { s.inputs.fixedCosts = 1; }},
        {"ratio", [](State& s) { s.inputs.variableCostRatio = 5614; }},
        {"unit", [](State& s) { s.inputs.amountUnit = 1; }},
        {"title", [](State& s) { s.style.titles[1] = QStringLiteral("指数"); }},
        {"subtitle", [](State& s) { s.style.subtitles[0] = QStringLiteral("計画"); }},
        {"colour", [](State& s) { s.style.colors[kProfitArea] = Rgb(0, 200, 0); }},
        {"line width", [](State& s) { s.style.lineWidths[kSalesLine] = 6; }},
        {"font size", [](State& s) { s.style.fontSize = 12; }},
        {"scale margin", [](State& s) { s.style.scaleMargin = 20; }},
        {"highlight", [](State& s) { s.highlight = true; }},
    };
    const State before;
    const QImage original = RenderedFresh(platform, before);
    for (const auto& c : cases) {
        HeadlessChartHost host(platform, QSize(960, 400), before.inputs, before.style);
        host.LayoutCharts();
        ASSERT_EQ(host.ComposedImage(), original) << c.name;

        State after = before;
        c.change(after);
        host.Inputs() = after.inputs;
        host.Style() = after.style;
        host.SetHighlight(after.highlight);
        ASSERT_TRUE(host.RenderComposition()) << c.name;
        const QImage expected = RenderedFresh(platform, after);
        EXPECT_NE(expected, original) << c.name;
        EXPECT_EQ(host.ComposedImage(), expected) << c.name;
    }
}

TEST(RenderReuse, AnImageHandedOutKeepsItsPixels)
{
    QTemporaryDir dir;
    FakePlatform platform(dir.path());
    HeadlessChartHost host(platform, QSize(960, 400), SampleFigures(), ChartStyle::Defaults());
    host.LayoutCharts();
    const QImage handedOut = host.ComposedImage();
    const QImage pixels = handedOut.copy();
    for (int ratio : {3000, 7000}) {
        host.Inputs().variableCostRatio = ratio;
        host.LayoutCharts();
        ASSERT_NE(host.ComposedImage(), pixels);
    }
    EXPECT_EQ(handedOut, pixels);
    // The window image holds what was drawn last, not a shared composition drawn over later.
    EXPECT_EQ(host.Window(), host.ComposedImage());
}
