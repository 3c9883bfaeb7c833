#include "csv_output.h"

#include "analysis.h"

#include "message.h"
#include "text_util.h"
#include "chart_host.h"
#include "image_export.h"
#include "output_names.h"
#include "summary_csv_file.h"
#include "platform.h"
#include "string_table.h"

#include <QDir>
#include <QFileInfo>

#include <array>

namespace brevant {

bool HasDuplicateTitles(const ChartStyle& style, Platform& platform)
{
    const auto& t = style.titles;
    // An empty title is named after its chart number, so "図表2" as the first title would
    // still overwrite an untitled second chart.
    const QString n[3] = {ChartFileName(style, 1), ChartFileName(style, 2),
                          ChartFileName(style, 3)};
    if (t[0] == t[1] || t[1] == t[2] || t[0] == t[2] || n[0] == n[1] || n[1] == n[2] ||
        n[0] == n[2]) {
        ShowMessage(platform, IDS_SAME_TITLE, QString(), kMbError);
        return true;
    }
    return false;
}

QString GetDesktopSubfolder(Platform& platform, const QString& name)
{
    const QString desktop = platform.DesktopFolder();
    if (desktop.isEmpty())
        return {};
    // Many Linux desktops have no desktop folder until something is put there.
    if (!QFileInfo(desktop).isDir() && !QDir().mkpath(desktop))
        return {};
    const QString path = desktop + u'/' + name;
    if (!PathExists(path))
        return QDir().mkdir(path) ? path : QString();
    return QFileInfo(path).isDir() ? path : QString();
}

QString DatedFolderPrefix(const QDateTime& time)
{
    return time.toLocalTime().date().toString(QStringLiteral("yyyyMMdd")) + u'-';
}

QString FreeSerialFolder(const QString& root, const QString& prefix)
{
    for (int n = 1; n <= 999; ++n) {
        const QString candidate = root + u'/' + prefix + CFormat("%03d", n);
        if (!PathExists(candidate))
            return candidate;
    }
    return {};
}

QString ChartFileName(const ChartStyle& style, int k)
{
    const QString& title = style.titles[size_t(k - 1)];
    return title.isEmpty() ? u"図表" + QString::number(k) : Cp932FileName(title);
}

QString SummaryHeader()
{
    return QStringLiteral("変動費率,限界利益率,固定費,損益分岐点,目標売上高,目標営業利益,"
                          "図表1ファイル名,図表2ファイル名,図表3ファイル名\n");
}

QString SummaryLine(const BepInputs& inputs, const ChartStyle& style, const QString& prefix,
                    const QString& format)
{
    const double bep = BreakEvenPoint(inputs);
    QString line = CFormat("%.2f,", inputs.variableCostRatio / 100.0);
    line += CFormat("%.2f,", (10000 - double(inputs.variableCostRatio)) / 100.0);
    line += CFormat("%.0f,", inputs.fixedCosts * 1000.0);
    line += CFormat("%.0f,", bep * 1000.0);
    line += CFormat("%.0f,", inputs.targetSales * 1000.0);
    line += CFormat("%.0f,", (inputs.targetSales - bep) * 1000.0);
    for (int k = 1; k <= kChartCount; ++k) {
        line += prefix + ChartFileName(style, k) + u'.' + format;
        line += k < kChartCount ? u',' : u'\n';
    }
    return line;
}

bool CanWriteChartFiles(const ChartStyle& style, const QString& folder, const QString& prefix,
                        const QString& format)
{
    for (int k = 1; k <= kChartCount; ++k) {
        const QString name = prefix + ChartFileName(style, k) + u'.' + format;
        if (!IsSingleComponent(name) || IsNameTooLong(folder + u'/' + name))
            return false;
    }
    return true;
}

bool WriteSummaryCsv(Platform& platform, const QString& folder, const QString& format,
                     const BepInputs& inputs, const ChartStyle& style, AtomicFile::Sync sync)
{
    SummaryCsvFile file(folder + u'/' + kSummaryFileName, sync);
    if (!file.Open(platform))
        return false;
    file.Write(SummaryHeader());
    file.Write(SummaryLine(inputs, style, QString(), format));
    return file.Commit(platform);
}

bool WriteAnalysisCsv(Platform& platform, const QString& folder, const QString& name,
                      const BepInputs& inputs, AtomicFile::Sync sync)
{
    SummaryCsvFile file(folder + u'/' + kAnalysisFileName, sync);
    if (!file.Open(platform))
        return false;
    file.Write(AnalysisCsvHeader());
    file.Write(AnalysisCsvLine(name, inputs));
    return file.Commit(platform);
}

namespace {

ChartImageJob StartSingleChart(ChartHost& host, int k, const QString& folder,
                               const QString& prefix, const QString& format, bool background)
{
    auto& shown = host.Style().drawGraph;
    for (int i = 0; i < kChartCount; ++i)
        shown[size_t(i)] = i == k - 1 ? 1 : 0;
    host.LayoutCharts();
    // The window does not paint while a help page covers it; the file must still show
    // the current figures.
    if (!host.RenderComposition())
        return ChartImageJob::Failed();
    const QString name = ChartFileName(host.Style(), k);
    const QString fileName = prefix + name + u'.' + format;
    // A name too long for the file system goes on to fail with its message there.
    if (!IsSingleComponent(name) || !IsSingleComponent(fileName))
        return ChartImageJob::Failed();
    return StartChartImage(host.ComposedImage(), host.ChartArea().size(),
                           folder + u'/' + fileName, background);
}

} // namespace

bool WriteSingleChart(ChartHost& host, int k, const QString& folder, const QString& prefix,
                      const QString& format)
{
    ChartImageJob job = StartSingleChart(host, k, folder, prefix, format, false);
    return FinishChartImage(job, host.GetPlatform());
}

bool WriteThreeCharts(ChartHost& host, const QString& folder, const QString& prefix,
                      const QString& format, bool stopAtFailure)
{
    std::array<ChartImageJob, kChartCount> jobs;
    for (int k = 1; k <= kChartCount; ++k)
        jobs[size_t(k - 1)] = StartSingleChart(host, k, folder, prefix, format, true);
    bool ok = true;
    for (ChartImageJob& job : jobs) {
        if (!ok && stopAtFailure)
            DropChartImage(job);
        else
            ok = FinishChartImage(job, host.GetPlatform()) && ok;
    }
    return ok;
}

bool OutputWithCsv(ChartHost& host, const QDateTime& now)
{
    Platform& platform = host.GetPlatform();
    if (HasDuplicateTitles(host.Style(), platform))
        return false;
    const QString format = FormatExtension(host.OutputFormatValue());
    if (format.isEmpty())
        return false;
    const auto shown = host.Style().drawGraph;

    const QString root = GetDesktopSubfolder(platform, kOutputRootName);
    if (root.isEmpty()) {
        ShowMessage(platform, IDS_DESKTOP_FOLDER, QString(), kMbError);
        return false;
    }
    const QString folder = FreeSerialFolder(root, DatedFolderPrefix(now));
    if (folder.isEmpty() || !QDir().mkdir(folder))
        return false;

    const bool ok = WriteSummaryCsv(platform, folder, format, host.Inputs(), host.Style()) &&
                    WriteThreeCharts(host, folder, QString(), format, true);

    host.Style().drawGraph = shown;
    host.LayoutCharts();
    host.RenderComposition();

    if (ok && ShowMessage(platform, IDS_SAVED_SHOW, QString(), kMbQuestion) == kIdYes)
        ShowInExplorer(platform, folder + u'/');
    return ok;
}

} // namespace brevant
