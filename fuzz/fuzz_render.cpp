// The chart renderer on any figures (infinities, not-a-number, ±1e308, negative amounts,
// any ratio and unit, as a batch record or the profile may give them) and any style within
// the ranges the window allows, at chart areas from a few pixels to a large screen. Then a
// few pointer positions go through hit testing, the drag value and its label, and the drop.

#include "fuzz_support.h"

#include "chart_renderer.h"
#include "drag_edit.h"
#include "draw_surface.h"
#include "headless_chart_host.h"

#include <QGuiApplication>

#include <cmath>
#include <limits>

using namespace brevant;

namespace {

// A figure: mostly the awkward values, otherwise any double or a whole number.
double Figure(fuzz::ByteReader& in)
{
    constexpr double kInf = std::numeric_limits<double>::infinity();
    constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
    constexpr double kSpecial[] = {0,     1,     -1,     kInf,  -kInf, kNan,
                                   1e308, -1e308, 1e15,  -1e15, 2147483647.0,
                                   2147483648.0,   -2147483649.0, 0.5,  5e-324,
                                   154321000};
    const uint8_t kind = in.Byte();
    if (kind < 128)
        return kSpecial[kind % std::size(kSpecial)];
    if (kind < 192)
        return double(in.Raw<int32_t>());
    return in.Raw<double>();
}

int32_t AnyInt(fuzz::ByteReader& in)
{
    const uint8_t kind = in.Byte();
    if (kind < 128)
        return int32_t(kind % 4) - 1; // -1, 0, 1, 2
    return in.Raw<int32_t>();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ByteReader in(data, size);

    BepInputs figures;
    figures.maxSales = Figure(in);
    figures.targetSales = Figure(in);
    figures.fixedCosts = Figure(in);
    const uint8_t ratioKind = in.Byte();
    figures.variableCostRatio = ratioKind < 128 ? in.Range(0, 10000)
                                : ratioKind < 160 ? int32_t(ratioKind % 3) * 5000
                                                  : in.Raw<int32_t>();
    figures.amountUnit = AnyInt(in);

    // The profile holds the visibility flags as read and any colour; the window keeps
    // widths, font size and margins within their spin ranges.
    ChartStyle style = ChartStyle::Defaults();
    for (auto& v : style.drawGraph)
        v = AnyInt(in);
    for (auto& c : style.colors)
        c = in.Raw<uint32_t>();
    for (auto& w : style.lineWidths)
        w = in.Range(0, 20);
    style.fontSize = in.Range(5, 50);
    style.outerMargin = in.Range(0, 50);
    style.scaleMargin = in.Range(0, 50);
    // Sizes up to a large screen; most inputs stay small so each run is quick.
    const bool large = in.Byte() >= 240;
    const QSize area(in.Range(1, large ? 2000 : 640), in.Range(1, large ? 1200 : 400));
    const bool highlight = in.Byte() & 1;
    for (int k = 0; k < kChartCount; ++k) {
        if (in.Byte() & 1)
            style.titles[k] = in.Text(40);
        if (in.Byte() & 1)
            style.subtitles[k] = in.Text(40);
    }

    fuzz::QuietPlatform platform;
    HeadlessChartHost host(platform, area, figures, style);
    host.SetHighlight(highlight);
    host.LayoutCharts();
    FUZZ_CHECK(host.Window().size() == area);
    const QImage& composed = host.ComposedImage();
    if (!composed.isNull())
        FUZZ_CHECK(composed.size() == area);
    FUZZ_CHECK(host.RenderComposition());
    FUZZ_CHECK(host.ComposedImage().size() == area);

    // Every chart stays inside the area, and so does every movable element drawn.
    const auto rects = host.ChartRects();
    for (const QRect& r : rects) {
        if (r.isValid())
            FUZZ_CHECK(QRect(QPoint(0, 0), area).contains(r));
    }
    FUZZ_CHECK(platform.messages == 0);

    // Pointer moves over the window: catch an element, drag it, drop it.
    QImage window = host.Window().copy();
    ChartRenderer& renderer = host.Renderer();
    for (int move = 0; move < 4 && in.Left() > 0; ++move) {
        const QPoint pointer(in.Range(-100, area.width() + 100),
                             in.Range(-100, area.height() + 100));
        const bool ctrl = in.Byte() & 1;
        const int hit = HitTestElements(host.Elements(), host.Style().drawGraph, pointer);
        FUZZ_CHECK(hit >= -1 && hit < 15);
        (void)CursorShape(CursorForElement(hit));
        const int element = hit >= 0 ? hit : in.Range(0, 14);
        DragState state;
        state.Start(element);
        UpdateDragFeedback(state, renderer, window, pointer, renderer.Geometry(),
                           style.outerMargin, figures, ctrl, DrawSurface::kOffscreenDpiY);
        FUZZ_CHECK(!(state.dragRatio && state.dragPermille >= 0));
        const DropChange drop = ComputeDrop(state, pointer, host.ChartArea(), figures);
        if (drop.kind == DropChange::Kind::Ratio)
            FUZZ_CHECK(drop.ratio >= 0 && drop.ratio <= 10000);
        if (drop.kind == DropChange::Kind::Amount)
            FUZZ_CHECK(drop.text == FormatWhole(drop.value));
        RemoveValueLabel(renderer, window);
    }
    return 0;
}
