#include "batch_command.h"

#include "batch.h"
#include "cli_common.h"
#include "cli_platform.h"
#include "headless_chart_host.h"
#include "image_export.h"
#include "progress_line.h"
#include "settings.h"
#include "string_table.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include <array>
#include <csignal>
#include <optional>
#include <signal.h>
#include <unistd.h>

namespace brevant {

namespace {

const char kBatchUsage[] =
    "Usage: brevant batch CSV --mode folders|together [--format NAME] [--out DIR]\n"
    "                     [--size WxH] [--overwrite] [--jobs N]\n"
    "                     [--encoding auto|utf-8|cp932] [--quiet] [--analysis]\n"
    "\n"
    "Draws the three charts and a summary \"BEP.csv\" for every record of CSV (name,\n"
    "maximum sales, target sales, fixed costs, variable-cost ratio in percent; at\n"
    "most 5,000 records, CP932 or UTF-8).\n"
    "\n"
    "  --mode folders     one folder per record, named after its first field\n"
    "  --mode together    all files in one folder, each prefixed with the record's\n"
    "                     name\n"
    "  --format NAME      image format: jpeg, bmp, gif, png, tiff or pdf (default:\n"
    "                     the saved output format)\n"
    "  --out DIR          write into DIR instead of the folder BEP on the desktop\n"
    "  --size WxH         chart area in pixels (default 960x400)\n"
    "  --overwrite        write into record folders that already exist\n"
    "  --jobs N           records drawn at once (default: one per core)\n"
    "  --encoding NAME    how CSV is read: auto (default: UTF-8 when the file starts\n"
    "                     with a byte order mark or is valid UTF-8 throughout, CP932\n"
    "                     otherwise), utf-8 or cp932\n"
    "  --quiet            no progress line (it is shown only when standard error is\n"
    "                     a terminal)\n"
    "  --analysis         also write analysis.csv beside each BEP.csv: name, the\n"
    "                     four inputs, break-even sales, margin of safety and\n"
    "                     break-even ratios in percent, operating leverage (\"―\"\n"
    "                     where none)\n"
    "\n"
    "Record names and chart titles become file names as CP932 can hold them, so\n"
    "BEP.csv names the files that exist: an accented letter loses its accent, any\n"
    "other character CP932 lacks becomes \"_\". A record whose file names would be\n"
    "longer than the file system allows is not written.\n"
    "\n"
    "In --mode together a record whose files would replace charts an earlier\n"
    "record of the same batch wrote (same name, or names that become the same) is\n"
    "not written.\n"
    "\n"
    "On success the output folder is printed. Exit status: 0 done, 1 failed (the\n"
    "reason is on standard error; in --mode together the other records are still\n"
    "written), 2 wrong usage, 130 or 143 stopped by Ctrl+C or SIGTERM (the files\n"
    "written before the stop are complete; nothing half-written is left).\n";

// The signal that asked a running batch to stop, 0 while none has.
volatile std::sig_atomic_t stopSignal = 0;

extern "C" void OnStopSignal(int signal)
{
    stopSignal = signal;
}

// While a batch runs, Ctrl+C and SIGTERM let it stop between two records, so that no file
// is left half-written and no temporary file is left behind. A second signal ends the
// program at once. A signal the caller set to be ignored stays ignored.
class StopSignals {
public:
    StopSignals()
    {
        struct sigaction action {};
        action.sa_handler = OnStopSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART | SA_RESETHAND;
        for (size_t i = 0; i < kSignals.size(); ++i) {
            ::sigaction(kSignals[i], nullptr, &old_[i]);
            if (old_[i].sa_handler != SIG_IGN)
                ::sigaction(kSignals[i], &action, nullptr);
        }
    }
    ~StopSignals()
    {
        for (size_t i = 0; i < kSignals.size(); ++i)
            ::sigaction(kSignals[i], &old_[i], nullptr);
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

private:
    static constexpr std::array<int, 2> kSignals{SIGINT, SIGTERM};
    std::array<struct sigaction, 2> old_{};
};

// "3, 7 and 12" for the line numbers.
QString LineList(const QList<qint64>& lines)
{
    QStringList numbers;
    for (const qint64 line : lines)
        numbers.append(QString::number(line));
    return numbers.join(u", "_qs);
}

// --jobs as given, 0 when it is not; kExitOk or the usage error's status.
int ParseJobs(const QCommandLineParser& parser, const QCommandLineOption& jobs, int& jobCount)
{
    jobCount = 0;
    if (parser.isSet(jobs)) {
        bool number = false;
        jobCount = parser.value(jobs).toInt(&number);
        if (!number || jobCount < 1 || jobCount > 256)
            return UsageError("batch", u"batch --jobs wants a number from 1 to 256"_qs);
    }
    return kExitOk;
}

// --format, or else the saved output format; kExitOk or the status to exit with.
int ResolveFormat(const QCommandLineParser& parser, const QCommandLineOption& format,
                  int32_t& outputFormat)
{
    if (parser.isSet(format)) {
        const auto f = ParseFormatName(parser.value(format));
        if (!f)
            return UsageError("batch", u"batch --format is one of jpeg, bmp, gif, png, tiff, pdf"_qs);
        outputFormat = *f;
    } else if (FormatExtension(outputFormat).isEmpty()) {
        // The window would do nothing at all here; say why.
        PrintError(QStringLiteral("the saved output format %1 is not one of 0..5; "
                                  "give --format").arg(outputFormat));
        return kExitFailure;
    }
    return kExitOk;
}

// The status of a batch a signal stopped, with what was left done.
int ReportStop(const BatchCreation& batch)
{
    const int signal = stopSignal;
    PrintError(QStringLiteral("batch stopped by %1 after line %2; the files written "
                              "before it are complete")
                   .arg(QLatin1String(signal == SIGINT ? "Ctrl+C (SIGINT)" : "SIGTERM"))
                   .arg(batch.LinesRead()));
    return kExitSignal + signal;
}

// Folders and files the file system refuses fail without a message in the window;
// a command line that exits with 1 still says why.
void ExplainFailure(const BatchCreation& batch, bool folders)
{
    if (folders)
        PrintError(QStringLiteral("record %1 stopped the batch: its folder or one of "
                                  "its files could not be written")
                       .arg(batch.DoneCount() + 1));
    else if (!batch.LeftOut().isEmpty())
        PrintError(QStringLiteral("the records on lines %1 could not be written; the "
                                  "others were")
                       .arg(LineList(batch.LeftOut())));
}

} // namespace

int RunBatchCommand(const QStringList& arguments, ProfileStore& store, QString& out)
{
    if (WantsHelp(arguments)) {
        out += QString::fromUtf8(kBatchUsage);
        return kExitOk;
    }
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption mode(u"mode"_qs, u"output mode"_qs, u"folders|together"_qs);
    const QCommandLineOption format(u"format"_qs, u"image format"_qs, u"NAME"_qs);
    const QCommandLineOption outDir(u"out"_qs, u"output folder"_qs, u"DIR"_qs);
    const QCommandLineOption size(u"size"_qs, u"chart area"_qs, u"WxH"_qs, u"960x400"_qs);
    const QCommandLineOption overwrite(u"overwrite"_qs, u"write into existing folders"_qs);
    const QCommandLineOption encoding(u"encoding"_qs, u"input encoding"_qs, u"NAME"_qs,
                                      u"auto"_qs);
    const QCommandLineOption quiet(u"quiet"_qs, u"no progress line"_qs);
    const QCommandLineOption jobs(u"jobs"_qs, u"records drawn at once"_qs, u"N"_qs);
    const QCommandLineOption analysis(u"analysis"_qs, u"write analysis.csv"_qs);
    parser.addOptions({mode, format, outDir, size, overwrite, encoding, quiet, jobs, analysis});
    if (!parser.parse(arguments))
        return UsageError("batch", parser.errorText());
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 2 || positional[0] != u"batch")
        return UsageError("batch", u"batch needs exactly one CSV file"_qs);
    const QString& csvPath = positional[1];

    const QString modeName = parser.value(mode);
    if (modeName != u"folders" && modeName != u"together")
        return UsageError("batch", u"batch needs --mode folders or --mode together"_qs);
    const auto area = ParseChartSize(parser.value(size));
    if (!area)
        return UsageError("batch", u"batch --size wants WxH, for example 960x400"_qs);
    const auto inputEncoding = ParseEncodingName(parser.value(encoding));
    if (!inputEncoding)
        return UsageError("batch", u"batch --encoding is auto, utf-8 or cp932"_qs);
    int jobCount = 0;
    if (const int status = ParseJobs(parser, jobs, jobCount); status != kExitOk)
        return status;

    const StoredSettings saved = LoadSettings(store);
    int32_t outputFormat = saved.outputFormat;
    if (const int status = ResolveFormat(parser, format, outputFormat); status != kExitOk)
        return status;

    CliPlatform platform;
    const bool folders = modeName == u"folders";
    if (parser.isSet(overwrite))
        platform.SetAnswer(IDS_FOLDER_EXISTS, kIdYes);

    BatchOptions options;
    if (parser.isSet(outDir))
        options.outputRoot = QFileInfo(parser.value(outDir)).absoluteFilePath();
    options.askToShowResult = false;
    options.folderPerRecord = folders;
    options.encoding = *inputEncoding;
    options.jobs = jobCount;
    options.analysis = parser.isSet(analysis);
    // A terminal or a log can take every record that could not be written.
    options.listedRecords = 0;
    options.stopRequested = [] { return stopSignal != 0; };
    HeadlessChartHost host(platform, *area, SavedInputs(saved), saved.style, outputFormat);
    std::optional<ProgressLine> progress;
    if (!parser.isSet(quiet) && ::isatty(STDERR_FILENO)) {
        progress.emplace();
        host.SetProgressListener([&progress](int done, int total) {
            if (progress)
                progress->Update(done, total);
        });
    }
    host.LayoutCharts();
    BatchCreation batch(host, options);
    const int messagesBefore = platform.MessageCount();
    bool done = false;
    {
        const StopSignals signals;
        done = batch.RunBatch(csvPath);
    }
    if (batch.Stopped()) {
        progress.reset();
        return ReportStop(batch);
    }
    if (!done) {
        progress.reset();
        if (platform.MessageCount() == messagesBefore)
            ExplainFailure(batch, folders);
        return kExitFailure;
    }
    out += QDir::toNativeSeparators(QFileInfo(batch.OutputRoot()).absoluteFilePath()) + u'\n';
    return kExitOk;
}

} // namespace brevant
