// One step of the variable-cost ratio's spin in the real main window, offscreen, with the
// chart area at 1280 x 400: from the step (what a click on the spin arrow does) until
// the window's back buffer holds the new charts and the window has been repainted. The
// handler renders and repaints synchronously, so the step's return is that moment.

#include "bench_main.h"
#include "profile_store.h"
#include "settings.h"
#include "ctarnel_dlg.h"
#include "cli_platform.h"
#include "dialog_templates.h"

#include <QApplication>
#include <QSpinBox>
#include <QTest>
#include <benchmark/benchmark.h>

#include <clocale>
#include <cstdio>

namespace {

using namespace brevant;

void SpinStep(benchmark::State& state)
{
    CliPlatform platform;
    MemoryProfileStore store;
    store.WriteString(kSection, QStringLiteral("Kingaku0"), QStringLiteral("154321000"));
    store.WriteString(kSection, QStringLiteral("Kingaku1"), QStringLiteral("125678900"));
    store.WriteString(kSection, QStringLiteral("Kingaku2"), QStringLiteral("49605558"));
    store.WriteInt(kSection, QStringLiteral("Ritsu"), 5613);
    CTarnelDlg window(platform, store);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        state.SkipWithError("window not shown");
        return;
    }
    const QSize area(int(state.range(0)), int(state.range(1)));
    const int top = window.controlById(IDC_CHART_TOP)->geometry().top();
    window.resize(area.width(), top + area.height());
    QApplication::processEvents();
    if (window.ChartArea().size() != area) {
        state.SkipWithError("chart area not at the asked size");
        return;
    }
    auto* spin = window.control<QSpinBox>(IDC_RATIO);
    int direction = 1;
    for (auto _ : state) {
        spin->stepBy(direction);
        direction = -direction;
    }
    state.counters["ratio"] = spin->value();
}
BENCHMARK(SpinStep)->Args({1280, 400})->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    return brevant::bench::RunBenchmarks<QApplication>(argc, argv);
}
