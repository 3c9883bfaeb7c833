#pragma once
// Output with a CSV summary: a new dated folder in the desktop folder "BEP" holding
// "BEP.csv" and one image per chart. The summary format, the chart file names and the
// desktop folder are shared with batch creation.

#include "bep_model.h"
#include "atomic_file.h"
#include "chart_style.h"
#include "image_export.h"

#include <QDateTime>
#include <QRect>
#include <QString>

#include <optional>

namespace brevant {

class ChartHost;
class ChartRenderer;
class Platform;

// The output root inside the desktop folder.
inline const QString kOutputRootName = QStringLiteral("BEP");
inline const QString kSummaryFileName = QStringLiteral("BEP.csv");
inline const QString kAnalysisFileName = QStringLiteral("analysis.csv");

// True, after message 30013, when two of the three chart titles are equal (two empty
// titles included) or two charts would get the same file name.
bool HasDuplicateTitles(const ChartStyle& style, Platform& platform);

// The desktop folder + "/" + name, created when missing; empty when it is missing and
// cannot be created, or is something other than a folder. No message.
QString GetDesktopSubfolder(Platform& platform, const QString& name);

// The local date of `time` as "yyyymmdd-".
QString DatedFolderPrefix(const QDateTime& time);

// root + "/" + prefix + the first serial 001..999 at which nothing exists; empty when
// all 999 are taken.
QString FreeSerialFolder(const QString& root, const QString& prefix);

// The file name (without extension) of chart k (1, 2 or 3): its title as CP932 can hold
// it (Cp932FileName), or "図表k" when the title is empty. The summary and the disk use
// the same name.
QString ChartFileName(const ChartStyle& style, int k);

// The first line of "BEP.csv", ending with "\n".
QString SummaryHeader();

// One data line of "BEP.csv" for the figures, ending with "\n". The chart file names are
// prefix + ChartFileName(k) + "." + format.
QString SummaryLine(const BepInputs& inputs, const ChartStyle& style, const QString& prefix,
                    const QString& format);

// True when the three chart files folder + "/" + prefix + ChartFileName(k) + "." + format
// are each one path component the file system can hold (not IsNameTooLong).
bool CanWriteChartFiles(const ChartStyle& style, const QString& folder, const QString& prefix,
                        const QString& format);

// Writes "BEP.csv" with the header and one data line (empty prefix) into the folder.
// Shows 30009 and returns false when the file cannot be written. With Sync::No the file
// is whole or absent but not yet on the disk; the caller makes it durable later.
bool WriteSummaryCsv(Platform& platform, const QString& folder, const QString& format,
                     const BepInputs& inputs, const ChartStyle& style,
                     AtomicFile::Sync sync = AtomicFile::Sync::Yes);

// Writes "analysis.csv" with its header and the line of one record into the folder, as
// WriteSummaryCsv writes "BEP.csv".
bool WriteAnalysisCsv(Platform& platform, const QString& folder, const QString& name,
                      const BepInputs& inputs, AtomicFile::Sync sync = AtomicFile::Sync::Yes);

// What the charts of one set are drawn from when each is written alone.
struct ChartSetup {
    BepInputs inputs;
    ChartStyle style;  // the visibility flags are set for each chart
    QRect chartArea;
    bool highlight = false;
    QString format;    // the file type, as FormatExtension gives it
};

// Sets the visibility flags so that only chart k (1, 2 or 3) is shown.
void ShowChartAlone(ChartStyle& style, int k);

// Chart k (1, 2 or 3) drawn alone over the whole chart area and encoded for a file of the
// setup's type at the chart area's size; nothing when it cannot be drawn. Output with CSV
// and batch creation both write their charts from here. Reads only its arguments, touches
// no file and shows nothing, so it runs on any thread that has a renderer of its own.
std::optional<EncodedImage> DrawChartAlone(const ChartSetup& setup, int k,
                                           ChartRenderer& renderer);

// Shows chart k (1, 2 or 3) alone over the whole chart area, renders it and writes it to
// folder + "/" + prefix + ChartFileName(k) + "." + format. A name that is not one path
// component fails without a message, as a name the file system refuses does; one that is
// too long fails as WriteChartImage says.
bool WriteSingleChart(ChartHost& host, int k, const QString& folder, const QString& prefix,
                      const QString& format);

// The three charts, as WriteSingleChart(1), (2), (3) one after the other would write
// them, stopping at the first that fails when `stopAtFailure` (the others are then left
// unwritten). The window shows the charts one after another; their files are drawn and
// encoded on worker threads meanwhile, and written and reported in order. True when all
// three were written.
bool WriteThreeCharts(ChartHost& host, const QString& folder, const QString& prefix,
                      const QString& format, bool stopAtFailure);

// The command "CSV付き出力": a new dated folder "yyyymmdd-nnn" in the desktop folder "BEP"
// with "BEP.csv" and the three charts, each drawn alone. The chart visibility is put back
// afterwards. True when everything was written.
bool OutputWithCsv(ChartHost& host, const QDateTime& now = QDateTime::currentDateTime());

} // namespace brevant
