#pragma once
// The main of every Google Benchmark program here: an offscreen Qt application of the kind
// the benchmark needs (QGuiApplication for drawing, QApplication for widgets) and the C
// locale for number formatting, as the program itself runs.

#include <QByteArray>
#include <QtGlobal>
#include <benchmark/benchmark.h>

#include <clocale>

namespace brevant::bench {

template <class Application>
int RunBenchmarks(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace brevant::bench
