#include "cli_commands.h"

#include "analysis.h"
#include "batch.h"
#include "chart_text.h"
#include "cli_platform.h"
#include "csv_output.h"
#include "four_values.h"
#include "headless_chart_host.h"
#include "image_export.h"
#include "message.h"
#include "output_names.h"
#include "profile_store.h"
#include "settings.h"
#include "string_table.h"
#include "text_util.h"

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <signal.h>
#include <unistd.h>

namespace brevant {

namespace {

const char kUsage[] =
    "Brevant " BREVANT_VERSION " - break-even-point simulator (損益分岐点シミュレータ)\n"
    "\n"
    "Usage:\n"
    "  brevant render -o FILE [--size WxH] [--figures S,T,F,R] [--charts 012]\n"
    "                 [--unit yen|thousand]\n"
    "                       draw the charts into a file whose type follows its\n"
    "                       extension: .png, .jpg/.jpeg, .bmp, .gif, .tif/.tiff or\n"
    "                       .pdf\n"
    "  brevant batch CSV --mode folders|together [--format NAME] [--out DIR]\n"
    "                [--size WxH] [--overwrite] [--jobs N]\n"
    "                [--encoding auto|utf-8|cp932] [--quiet] [--analysis]\n"
    "                       charts and summaries for every record of a CSV file\n"
    "  brevant calc [--json] [--analysis] S,T,F,R\n"
    "                       print the summary CSV (or JSON) for the figures\n"
    "  brevant --help       show this help\n"
    "  brevant --version    show the version\n"
    "\n"
    "render options:\n"
    "  -o, --output FILE    the image to write (replaced if it exists)\n"
    "  --size WxH           size of the chart area in pixels (default 960x400)\n"
    "  --figures S,T,F,R    maximum sales, target sales and fixed costs in yen, and\n"
    "                       the variable-cost ratio in percent (for example\n"
    "                       154321000,125678900,49605558,56.13)\n"
    "  --charts 012         the charts shown: 0 break-even, 1 index, 2 combined\n"
    "  --unit yen|thousand  amounts in the charts in yen or in thousands of yen\n"
    "Style, figures and unit not given default to the saved settings, which are only\n"
    "read.\n"
    "\n"
    "batch and calc have their own help: brevant batch --help, brevant calc --help.\n"
    "\n"
    "Exit status: 0 done, 1 failed (the reason is on standard error), 2 wrong usage.\n"
    "Messages follow the terminal's locale; files keep their own encodings\n"
    "(BEP.csv is CP932).\n"
    "\n"
    "Without arguments, brevant opens the simulator window.\n";

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

const char kCalcUsage[] =
    "Usage: brevant calc [--json] [--analysis] S,T,F,R\n"
    "\n"
    "Prints the summary CSV (header and data line) for maximum sales S, target\n"
    "sales T and fixed costs F in yen and the variable-cost ratio R in percent, for\n"
    "example 154321000,125678900,49605558,56.13. Missing values come from the saved\n"
    "settings.\n"
    "\n"
    "  --json      print the figures as one JSON object instead: every amount as\n"
    "              {\"yen\": number, \"words\": \"1億5432万1000円\",\n"
    "               \"label\": \"154,321,000\"},\n"
    "              with \"yen\" and \"words\" null and the chart's label (\"∞\", \"-∞\",\n"
    "              \"―\") when the amount is not finite, and the ratios in percent;\n"
    "              \"analysis\" holds the margin of safety, the break-even ratio, the\n"
    "              operating leverage and the sensitivity rows (null where a figure\n"
    "              does not exist)\n"
    "  --analysis  print the analysis instead: the figures with their formulas and\n"
    "              the sensitivity table (fixed costs -10/-5/+5/+10 %, variable-cost\n"
    "              ratio -5/-2/+2/+5 points, target sales -10/+10 %)\n"
    "\n"
    "Exit status: 0 done, 1 the figures were refused (the reason is on standard\n"
    "error), 2 wrong usage.\n";

void PrintError(const QString& text)
{
    WriteTerminalText(stderr, u"brevant: "_qs + text + u'\n');
}

// Qt's own notes (a missing XDG_RUNTIME_DIR, fonts, plugins) are not this program's words
// and stay off the terminal; only a fatal error, which ends the program, is told.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtFatalMsg)
        PrintError(u"internal error: "_qs + text);
}

// The batch's progress on standard error, redrawn at most ten times a second.
class ProgressLine {
public:
    ProgressLine() { clock_.start(); }
    ~ProgressLine() { ShowStatusLine(QString()); }

    void Update(int done, int total)
    {
        if (done <= shown_ || total <= 0)
            return;
        const qint64 now = clock_.elapsed();
        if (done < total && drawnAt_ >= 0 && now - drawnAt_ < 100)
            return;
        shown_ = done;
        drawnAt_ = now;
        ShowStatusLine(ProgressText(done, total, double(now) / 1000.0));
    }

private:
    QElapsedTimer clock_;
    qint64 drawnAt_ = -1;
    int shown_ = 0;
};

// The figures a summary line is made of, as text for a person: "1億5432万1000円" for an
// amount, with a sign when it is negative.
QString Words(double yen)
{
    return yen < 0 ? u'-' + AmountInWords(FormatWhole(-yen)) : AmountInWords(FormatWhole(yen));
}

QJsonObject AmountJson(double yen)
{
    QJsonObject amount;
    const bool finite = std::isfinite(yen);
    amount.insert(u"yen"_qs, finite ? QJsonValue(yen) : QJsonValue());
    amount.insert(u"words"_qs, finite ? QJsonValue(Words(yen)) : QJsonValue());
    amount.insert(u"label"_qs, ShownAmount(yen, 0));
    return amount;
}

// `command` names the subcommand whose help to point at; null for the whole program's.
int UsageError(const char* command, const QString& text)
{
    PrintError(text);
    PrintError(command ? QStringLiteral("try 'brevant %1 --help'").arg(QLatin1String(command))
                       : QStringLiteral("try 'brevant --help'"));
    return kExitUsage;
}

bool WantsHelp(const QStringList& arguments)
{
    return arguments.contains(u"--help"_qs) || arguments.contains(u"-h"_qs);
}

// The subcommands need no display: without one they draw on the offscreen platform.
void UseOffscreenWithoutDisplay()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// ": its name is N bytes long ..." when the path's last part is longer than its file system
// takes, otherwise nothing.
QString NameTooLongReason(const QString& path)
{
    if (!IsNameTooLong(path))
        return {};
    const qsizetype slash = path.lastIndexOf(u'/');
    return QStringLiteral(": its name is %1 bytes long, more than the %2 the file system takes")
        .arg(NameBytes(path.mid(slash + 1)))
        .arg(NameLimit(slash < 0 ? QString() : path.left(std::max<qsizetype>(slash, 1))));
}

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

bool ParseCharts(const QString& text, std::array<int32_t, kChartCount>& drawGraph)
{
    std::array<int32_t, kChartCount> shown{};
    for (QChar c : text) {
        const int k = c.unicode() - u'0';
        if (k < 0 || k >= kChartCount)
            return false;
        shown[k] = 1;
    }
    drawGraph = shown;
    return true;
}

} // namespace

int RunRenderCommand(const QStringList& arguments, ProfileStore& store, QString& out)
{
    if (arguments.contains(u"--help"_qs)) {
        out += QString::fromUtf8(kUsage);
        return kExitOk;
    }
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("image file"), QStringLiteral("FILE"));
    const QCommandLineOption size(QStringLiteral("size"), QStringLiteral("chart area"),
                                  QStringLiteral("WxH"), QStringLiteral("960x400"));
    const QCommandLineOption figures(QStringLiteral("figures"), QStringLiteral("figures"),
                                     QStringLiteral("S,T,F,R"));
    const QCommandLineOption charts(QStringLiteral("charts"), QStringLiteral("charts shown"),
                                    QStringLiteral("012"));
    const QCommandLineOption unit(QStringLiteral("unit"), QStringLiteral("amount unit"),
                                  QStringLiteral("yen|thousand"));
    parser.addOptions({output, size, figures, charts, unit});
    parser.addPositionalArgument(QStringLiteral("render"), QStringLiteral("subcommand"));
    if (!parser.parse(arguments))
        return UsageError(nullptr, parser.errorText());
    if (parser.positionalArguments() != QStringList{QStringLiteral("render")})
        return UsageError(nullptr, QStringLiteral("unexpected arguments after 'render'"));
    if (!parser.isSet(output) || parser.value(output).isEmpty())
        return UsageError(nullptr, QStringLiteral("render needs -o FILE"));

    const auto area = ParseChartSize(parser.value(size));
    if (!area)
        return UsageError(nullptr, QStringLiteral("--size wants WxH, for example 960x400"));

    const StoredSettings saved = LoadSettings(store);
    ChartStyle style = saved.style;
    BepInputs in = SavedInputs(saved);

    if (parser.isSet(figures) && (TabsToCommas(parser.value(figures)).count(u',') != 3 ||
                                  ApplyFourValues(in, parser.value(figures)) != IDS_NONE))
        return UsageError(nullptr, QStringLiteral("--figures wants four values S,T,F,R"));
    if (parser.isSet(charts) && !ParseCharts(parser.value(charts), style.drawGraph))
        return UsageError(nullptr, QStringLiteral("--charts lists chart numbers 0, 1 and 2"));
    if (parser.isSet(unit)) {
        const QString u = parser.value(unit);
        if (u == u"yen")
            in.amountUnit = 0;
        else if (u == u"thousand")
            in.amountUnit = 1;
        else
            return UsageError(nullptr, QStringLiteral("--unit is yen or thousand"));
    }

    const QString path = parser.value(output);
    if (ExtensionFormat(path).isEmpty())
        return UsageError(nullptr, QStringLiteral("unsupported file type: %1 (use .png, .jpg, "
                                                  ".bmp, .gif, .tif or .pdf)")
                                       .arg(path));

    CliPlatform platform;
    HeadlessChartHost host(platform, *area, in, style, saved.outputFormat);
    host.LayoutCharts();
    if (host.ComposedImage().isNull()) {
        host.ShowMessage(IDS_MEMORY, QString(), kMbError);
        return kExitFailure;
    }
    // Any failure has been reported on standard error by the export itself.
    if (!WriteChartImage(host.ComposedImage(), *area, path, platform)) {
        PrintError(QStringLiteral("could not write %1").arg(path) + NameTooLongReason(path));
        return kExitFailure;
    }
    return kExitOk;
}


std::optional<QSize> ParseChartSize(const QString& text)
{
    static const QRegularExpression re(QStringLiteral("^(\\d{1,5})[xX](\\d{1,5})$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QSize size(m.captured(1).toInt(), m.captured(2).toInt());
    if (size.width() < 1 || size.height() < 1 || size.width() > 32767 || size.height() > 32767)
        return std::nullopt;
    return size;
}

std::optional<int32_t> ParseFormatName(const QString& name)
{
    for (int32_t f = kJpeg; f <= kPdf; ++f) {
        if (name == FormatExtension(f))
            return f;
    }
    return std::nullopt;
}

std::optional<BatchEncoding> ParseEncodingName(const QString& name)
{
    if (name == u"auto")
        return BatchEncoding::Auto;
    if (name == u"utf-8")
        return BatchEncoding::Utf8;
    if (name == u"cp932")
        return BatchEncoding::Cp932;
    return std::nullopt;
}

QString ProgressText(int done, int total, double seconds)
{
    QString text = QStringLiteral("%1/%2 records").arg(done).arg(total);
    if (done <= 0 || seconds <= 0)
        return text;
    const double rate = done / seconds;
    const auto left = qint64(std::ceil((total - done) / rate));
    const QString time = left >= 3600 ? CFormat("%lld:%02lld:%02lld", left / 3600,
                                                (left / 60) % 60, left % 60)
                                      : CFormat("%lld:%02lld", left / 60, left % 60);
    return text + CFormat(", %.1f/s, ", rate) + time + u" left";
}

QJsonObject FiguresJson(const BepInputs& inputs)
{
    const BepFigures figures = ComputeFigures(inputs);
    QJsonObject json;
    json.insert(u"maxSales"_qs, AmountJson(inputs.maxSales));
    json.insert(u"targetSales"_qs, AmountJson(inputs.targetSales));
    json.insert(u"fixedCosts"_qs, AmountJson(inputs.fixedCosts));
    json.insert(u"breakEvenPoint"_qs, AmountJson(figures.breakEvenPoint));
    json.insert(u"targetOperatingProfit"_qs, AmountJson(figures.targetOperatingProfit));
    json.insert(u"variableCostRatioPercent"_qs, inputs.variableCostRatio / 100.0);
    json.insert(u"marginalProfitRatioPercent"_qs, figures.marginalProfitRatio / 100.0);
    return json;
}

QString JsonText(const QJsonObject& json)
{
    QString text = QString::fromUtf8(QJsonDocument(json).toJson(QJsonDocument::Indented));
    if (EncodeForCodeset(text, TerminalCodeset()) == text.toUtf8())
        return text;
    QString ascii;
    for (const QChar c : text)
        ascii += c.unicode() < 0x80 ? QString(c) : CFormat("\\u%04x", unsigned(c.unicode()));
    return ascii;
}

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
    const QString csvPath = positional[1];

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
    if (parser.isSet(jobs)) {
        bool number = false;
        jobCount = parser.value(jobs).toInt(&number);
        if (!number || jobCount < 1 || jobCount > 256)
            return UsageError("batch", u"batch --jobs wants a number from 1 to 256"_qs);
    }

    const StoredSettings saved = LoadSettings(store);
    int32_t outputFormat = saved.outputFormat;
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
        const int signal = stopSignal;
        PrintError(QStringLiteral("batch stopped by %1 after line %2; the files written "
                                  "before it are complete")
                       .arg(QLatin1String(signal == SIGINT ? "Ctrl+C (SIGINT)" : "SIGTERM"))
                       .arg(batch.LinesRead()));
        return kExitSignal + signal;
    }
    if (!done) {
        // Folders and files the file system refuses fail without a message in the window;
        // a command line that exits with 1 still says why.
        progress.reset();
        if (platform.MessageCount() == messagesBefore) {
            if (folders)
                PrintError(QStringLiteral("record %1 stopped the batch: its folder or one of "
                                          "its files could not be written")
                               .arg(batch.DoneCount() + 1));
            else if (!batch.LeftOut().isEmpty())
                PrintError(QStringLiteral("the records on lines %1 could not be written; the "
                                          "others were")
                               .arg(LineList(batch.LeftOut())));
        }
        return kExitFailure;
    }
    out += QDir::toNativeSeparators(QFileInfo(batch.OutputRoot()).absoluteFilePath()) + u'\n';
    return kExitOk;
}

int RunCalcCommand(const QStringList& arguments, ProfileStore& store, QString& out)
{
    if (WantsHelp(arguments)) {
        out += QString::fromUtf8(kCalcUsage);
        return kExitOk;
    }
    // Figures may start with a minus sign, so the options are only the exact words before
    // the last argument.
    bool json = false, analysis = false;
    for (qsizetype k = 2; k + 1 < arguments.size(); ++k) {
        if (arguments[k] == u"--json")
            json = true;
        else if (arguments[k] == u"--analysis")
            analysis = true;
        else
            return UsageError("calc", u"unknown option '%1'"_qs.arg(arguments[k]));
    }
    if (arguments.size() < 3 || arguments.last() == u"--json" || arguments.last() == u"--analysis")
        return UsageError("calc", u"calc needs the figures S,T,F,R"_qs);
    const StoredSettings saved = LoadSettings(store);
    BepInputs in = SavedInputs(saved);
    CliPlatform platform;
    const QString text = arguments.last();
    if (const StringId id = ApplyFourValues(in, text)) {
        ShowMessage(platform, id, text + u'\n', kMbError);
        return kExitFailure;
    }
    if (json) {
        QJsonObject figures = FiguresJson(in);
        figures.insert(u"analysis"_qs, AnalysisJson(in));
        out += JsonText(figures);
        return kExitOk;
    }
    if (analysis) {
        out += AnalysisText(in);
        return kExitOk;
    }
    // The chart file names follow the saved format; a stored value outside 0..5 shows as
    // JPEG in the window.
    QString format = FormatExtension(saved.outputFormat);
    if (format.isEmpty())
        format = FormatExtension(kJpeg);
    out += SummaryHeader() + SummaryLine(in, saved.style, QString(), format);
    return kExitOk;
}


int RunCommandLine(int argc, char* argv[])
{
    using Command = int (*)(const QStringList&, ProfileStore&, QString&);
    const char* name = argv[1];
    Command command = nullptr;
    if (std::strcmp(name, "render") == 0)
        command = RunRenderCommand;
    else if (std::strcmp(name, "batch") == 0)
        command = RunBatchCommand;
    else if (std::strcmp(name, "calc") == 0)
        command = RunCalcCommand;

    ReadTerminalCodeset();
    if (!command) {
        if (argc == 2 && (std::strcmp(name, "--version") == 0 || std::strcmp(name, "-v") == 0)) {
            WriteTerminalText(stdout, u"brevant " BREVANT_VERSION "\n"_qs);
            return kExitOk;
        }
        if (argc == 2 && (std::strcmp(name, "--help") == 0 || std::strcmp(name, "-h") == 0)) {
            WriteTerminalText(stdout, QString::fromUtf8(kUsage));
            return kExitOk;
        }
        // Name what was not understood before the usage: whatever follows --help or
        // --version, else the word in the place of the subcommand. Through the platform,
        // so control characters in it cannot act on the terminal.
        const bool known = std::strcmp(name, "--version") == 0 || std::strcmp(name, "-v") == 0 ||
                           std::strcmp(name, "--help") == 0 || std::strcmp(name, "-h") == 0;
        const char* what = known ? "unexpected argument"
                           : name[0] == '-' ? "unknown option"
                                            : "unknown command";
        CliPlatform().MessageBox({.id = IDS_NONE,
                                  .text = QStringLiteral("brevant: %1 '%2'")
                                              .arg(QLatin1String(what),
                                                   QString::fromLocal8Bit(known ? argv[2] : name)),
                                  .caption = QString(),
                                  .flags = kMbError});
        WriteTerminalText(stderr, QString::fromUtf8(kUsage));
        return kExitUsage;
    }

    qInstallMessageHandler(QuietQtMessages);
    UseOffscreenWithoutDisplay();
    QGuiApplication app(argc, argv);
    SetUpApplication();

    IniProfileStore store;
    QString out;
    const int status = command(app.arguments(), store, out);
    WriteTerminalText(stdout, out);
    return status;
}

} // namespace brevant
