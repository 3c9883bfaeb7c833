// Wall time and peak memory of a full batch: three charts a record, headless at 960 x 400,
// in both modes, as PNG and as JPEG. Every case runs in a child process of its own so that
// its peak resident size is its alone.
//
//   batch_timing [RECORDS...]         the four cases for each count (default 5000)
//   batch_timing --case MODE FORMAT RECORDS [JOBS]   one case (used by the parent); JOBS
//                                                    as brevant batch --jobs (0: one a core)
//   batch_timing --write-records RECORDS FILE        writes the records of a case to FILE
//
// One line per case: "batch MODE FORMAT RECORDS ok|FAILED wall_s=… cpu_s=… peak_mb=…".

#include "chart_style.h"
#include "headless_chart_host.h"
#include "batch.h"
#include "cli_common.h"
#include "cli_platform.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <clocale>
#include <cstdio>

namespace {

using namespace brevant;

rusage Usage()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage;
}

double CpuSeconds(const rusage& u)
{
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

QByteArray Records(int count)
{
    QByteArray csv;
    for (int i = 0; i < count; ++i) {
        // Figures vary from record to record, as a real list of businesses would.
        const int target = 60000000 + (i % 97) * 100000;
        csv += "事業" + QByteArray::number(i) + ",0," + QByteArray::number(target) + "," +
               QByteArray::number(30000000 + (i % 89) * 50000) + "," +
               QByteArray::number(20 + (i % 50) * 0.5) + "\r\n";
    }
    return csv;
}

int RunCase(const QString& mode, const QString& format, int records, int jobs)
{
    QTemporaryDir dir;
    const QString csvPath = dir.filePath(QStringLiteral("records.csv"));
    QFile csv(csvPath);
    if (!csv.open(QIODevice::WriteOnly) || csv.write(Records(records)) < 0)
        return 1;
    csv.close();

    CliPlatform platform;
    HeadlessChartHost host(platform, QSize(960, 400), BepInputs{}, ChartStyle::Defaults(),
                           *ParseFormatName(format));
    host.LayoutCharts();
    BatchOptions options;
    options.outputRoot = dir.filePath(QStringLiteral("out"));
    options.askToShowResult = false;
    options.folderPerRecord = mode == u"folders";
    options.jobs = jobs;
    BatchCreation batch(host, options);

    const double cpuBefore = CpuSeconds(Usage());
    QElapsedTimer timer;
    timer.start();
    const bool ok = batch.RunBatch(csvPath);
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    const rusage after = Usage();
    // CPU time as well: on a busy machine the wall time says more about the neighbours.
    std::printf("batch %-8s %-4s %5d %-6s wall_s=%.2f cpu_s=%.2f ms_per_record=%.2f "
                "peak_mb=%.1f jobs=%d\n",
                qPrintable(mode), qPrintable(format), records, ok ? "ok" : "FAILED", seconds,
                CpuSeconds(after) - cpuBefore, seconds * 1000.0 / records,
                double(after.ru_maxrss) / 1024.0, BatchJobs(jobs));
    std::fflush(stdout);
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == u"--write-records") {
        QFile file(args[3]);
        return file.open(QIODevice::WriteOnly) && file.write(Records(args[2].toInt())) >= 0 ? 0 : 1;
    }
    if ((args.size() == 5 || args.size() == 6) && args[1] == u"--case")
        return RunCase(args[2], args[3], args[4].toInt(), args.size() == 6 ? args[5].toInt() : 0);

    QList<int> counts;
    for (qsizetype i = 1; i < args.size(); ++i)
        counts.append(args[i].toInt());
    if (counts.isEmpty())
        counts.append(5000);
    int failures = 0;
    for (const int records : counts) {
        for (const char* format : {"png", "jpeg"}) {
            for (const char* mode : {"folders", "together"}) {
                QProcess child;
                child.setProcessChannelMode(QProcess::ForwardedChannels);
                child.start(QCoreApplication::applicationFilePath(),
                            {QStringLiteral("--case"), QString::fromLatin1(mode),
                             QString::fromLatin1(format), QString::number(records)});
                child.waitForFinished(-1);
                failures += child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0;
            }
        }
    }
    return failures == 0 ? 0 : 1;
}
