#include "csv_output.h"

#include "analysis.h"

#include "message.h"
#include "text_util.h"
#include "chart_host.h"
#include "chart_renderer.h"
#include "image_export.h"
#include "output_names.h"
#include "summary_csv_file.h"
#include "platform.h"
#include "string_table.h"

#include <QDir>
#include <QFileInfo>
#include <QThreadPool>

#include <array>
#include <future>
#include <memory>

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
        QString candidate = root + u'/' + prefix + CFormat("%03d", n);
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

void ShowChartAlone(ChartStyle& style, int k)
{
    for (int i = 0; i < kChartCount; ++i)
        style.drawGraph[size_t(i)] = i == k - 1 ? 1 : 0;
}

std::optional<EncodedImage> DrawChartAlone(const ChartSetup& setup, int k,
                                           ChartRenderer& renderer)
{
    ChartStyle style = setup.style;
    ShowChartAlone(style, k);
    const QSize size = setup.chartArea.size();
    // With one chart shown the layout needs no earlier rectangles.
    const RenderRequest request{setup.inputs, style, setup.chartArea,
                                ComputeChartRects(size, style.drawGraph, style.outerMargin, {}),
                                setup.highlight};
    MovableElementTable elements;
    if (!renderer.RenderComposition(request, elements))
        return std::nullopt;
    return EncodeImage(renderer.ComposedImage(), size.width(), size.height(),
                       ChartEncodingFormat(QStringLiteral("chart.") + setup.format));
}

namespace {

using ChartImage = std::optional<EncodedImage>;

// Shows chart k alone on the window and starts drawing its file apart from the window, on
// a worker thread when `background`: the file is the same whether or not a help page
// covers the charts, and the same as batch creation writes.
std::future<ChartImage> StartSingleChart(ChartHost& host, int k, const QString& format,
                                         bool background)
{
    ShowChartAlone(host.Style(), k);
    host.LayoutCharts();
    auto task = std::make_shared<std::packaged_task<ChartImage()>>(
        [setup = ChartSetup{host.Inputs(), host.Style(), host.ChartArea(),
                            host.HighlightShown(), format},
         k] {
            ChartRenderer renderer;
            return DrawChartAlone(setup, k, renderer);
        });
    std::future<ChartImage> image = task->get_future();
    if (background)
        QThreadPool::globalInstance()->start([task] { (*task)(); });
    else
        (*task)();
    return image;
}

// Waits for chart k's image and writes it; a name that is not one path component fails
// silently, one too long for the file system with the message of WriteChartFile.
bool FinishSingleChart(std::future<ChartImage>& image, const ChartStyle& style, int k,
                       const QString& folder, const QString& prefix, const QString& format,
                       Platform& platform)
{
    const ChartImage encoded = image.get();
    const QString name = ChartFileName(style, k);
    const QString fileName = prefix + name + u'.' + format;
    if (!encoded || !IsSingleComponent(name) || !IsSingleComponent(fileName))
        return false;
    return WriteChartFile(*encoded, folder + u'/' + fileName, platform);
}

} // namespace

bool WriteSingleChart(ChartHost& host, int k, const QString& folder, const QString& prefix,
                      const QString& format)
{
    std::future<ChartImage> image = StartSingleChart(host, k, format, false);
    return FinishSingleChart(image, host.Style(), k, folder, prefix, format,
                             host.GetPlatform());
}

bool WriteThreeCharts(ChartHost& host, const QString& folder, const QString& prefix,
                      const QString& format, bool stopAtFailure)
{
    std::array<std::future<ChartImage>, kChartCount> images;
    for (int k = 1; k <= kChartCount; ++k)
        images[size_t(k - 1)] = StartSingleChart(host, k, format, true);
    bool ok = true;
    for (int k = 1; k <= kChartCount; ++k) {
        std::future<ChartImage>& image = images[size_t(k - 1)];
        if (!ok && stopAtFailure)
            image.wait();
        else
            ok = FinishSingleChart(image, host.Style(), k, folder, prefix, format,
                                   host.GetPlatform()) && ok;
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
