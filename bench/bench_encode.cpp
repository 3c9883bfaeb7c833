// Time of EncodeImageFile per format for the sample charts at 960 x 400, file written
// included: what every chart of an export or a batch costs after it is drawn.

#include "bench_main.h"
#include "bep_model.h"
#include "headless_chart_host.h"
#include "four_values.h"
#include "image_export.h"
#include "cli_platform.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <clocale>

namespace {

using namespace brevant;

const char* const kFormats[] = {"png", "jpeg", "bmp", "gif", "tiff"};

QImage SampleCharts()
{
    CliPlatform platform;
    BepInputs in;
    ApplyFourValues(in, QStringLiteral("154321000,125678900,49605558,56.13"));
    HeadlessChartHost host(platform, QSize(960, 400), in, ChartStyle::Defaults());
    host.LayoutCharts();
    return host.ComposedImage();
}

void EncodeFile(benchmark::State& state)
{
    static const QImage image = SampleCharts();
    const QString format = QLatin1String(kFormats[state.range(0)]);
    state.SetLabel(format.toStdString());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("charts.") + format);
    CliPlatform platform;
    for (auto _ : state) {
        const bool ok = EncodeImageFile(image, 960, 400, path, format, platform);
        benchmark::DoNotOptimize(ok);
    }
    state.counters["bytes"] = double(QFileInfo(path).size());
}
BENCHMARK(EncodeFile)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    return brevant::bench::RunBenchmarks<QGuiApplication>(argc, argv);
}
