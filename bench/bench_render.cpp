// Time of one full render of all three charts, as every spin click and drag drop costs.

#include "bench_main.h"
#include "chart_renderer.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <clocale>

namespace {

using namespace brevant;

void RenderAllCharts(benchmark::State& state)
{
    const QSize size(int(state.range(0)), int(state.range(1)));
    BepInputs in;
    in.maxSales = 154321000;
    in.targetSales = 125678900;
    in.fixedCosts = 49605558;
    in.variableCostRatio = 5613;
    const ChartStyle style = ChartStyle::Defaults();
    const QRect area(QPoint(0, 0), size);
    const auto rects = ComputeChartRects(size, style.drawGraph, style.outerMargin, {});
    QImage window(size, QImage::Format_RGB32);
    ChartRenderer renderer;
    MovableElementTable elements;
    const RenderRequest request{in, style, area, rects, false};
    int step = 0;
    for (auto _ : state) {
        const bool ok = renderer.RenderCharts(window, request, elements);
        benchmark::DoNotOptimize(ok);
        // A new ratio every frame, as spin steps give: the texts that follow the ratio
        // (the ratios, the break-even amounts) are new each time, the scales stay.
        in.variableCostRatio = 5613 + (++step % 3000);
    }
}
BENCHMARK(RenderAllCharts)->Args({960, 400})->Args({1920, 1080})->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return brevant::bench::RunBenchmarks<QGuiApplication>(argc, argv);
}
