#include "cli_commands.h"

#include "batch.h"
#include "cli_platform.h"
#include "csv_output.h"
#include "four_values.h"
#include "headless_chart_host.h"
#include "image_export.h"
#include "message.h"
#include "profile_store.h"
#include "settings.h"
#include "string_table.h"
#include "text_util.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

namespace brevant {

namespace {

const char kUsage[] =
    "Brevant " BREVANT_VERSION " - break-even-point simulator (損益分岐点シミュレータ)\n"
    "\n"
    "Usage:\n"
    "  brevant render -o FILE [--size WxH] [--figures S,T,F,R] [--charts 012]\n"
    "                 [--unit yen|thousand]\n"
    "                       draw the charts into a file whose type follows its\n"
    "                       extension: .png, .jpg/.jpeg, .bmp, .gif, .tif/.tiff, .pdf\n"
    "  brevant batch CSV --mode folders|together [--format jpeg|bmp|gif|png|tiff|pdf]\n"
    "                [--out DIR] [--size WxH] [--overwrite] [--jobs N]\n"
    "                       charts and summaries for every record of a CSV file\n"
    "  brevant calc S,T,F,R print the summary CSV for the figures\n"
    "  brevant --help       show this help\n"
    "  brevant --version    show the version\n"
    "\n"
    "render options:\n"
    "  -o, --output FILE    the image to write (replaced if it exists)\n"
    "  --size WxH           size of the chart area in pixels (default 960x400)\n"
    "  --figures S,T,F,R    maximum sales, target sales and fixed costs in yen, and the\n"
    "                       variable-cost ratio in percent (for example\n"
    "                       154321000,125678900,49605558,56.13)\n"
    "  --charts 012         the charts shown: 0 break-even, 1 index, 2 combined\n"
    "  --unit yen|thousand  amounts in the charts in yen or in thousands of yen\n"
    "Style, figures and unit not given default to the saved settings, which are only\n"
    "read.\n"
    "\n"
    "Without arguments, brevant opens the simulator window.\n";

const char kBatchUsage[] =
    "Usage: brevant batch CSV --mode folders|together [--format jpeg|bmp|gif|png|tiff|pdf]\n"
    "                     [--out DIR] [--size WxH] [--overwrite] [--jobs N]\n"
    "\n"
    "Draws the three charts and a summary \"BEP.csv\" for every record of CSV (name,\n"
    "maximum sales, target sales, fixed costs, variable-cost ratio in percent; at most\n"
    "5,000 records, CP932 or UTF-8).\n"
    "\n"
    "  --mode folders     one folder per record, named after its first field\n"
    "  --mode together    all files in one folder, each prefixed with the record's name\n"
    "  --format NAME      image format (default: the saved output format)\n"
    "  --out DIR          write into DIR instead of the folder BEP on the desktop\n"
    "  --size WxH         chart area in pixels (default 960x400)\n"
    "  --overwrite        write into record folders that already exist\n"
    "  --jobs N           records drawn at once (default: one per core)\n"
    "\n"
    "On success the output folder is printed.\n";

const char kCalcUsage[] =
    "Usage: brevant calc S,T,F,R\n"
    "\n"
    "Prints the summary CSV (header and data line) for maximum sales S, target sales T\n"
    "and fixed costs F in yen and the variable-cost ratio R in percent, for example\n"
    "154321000,125678900,49605558,56.13. Missing values come from the saved settings.\n";

void WriteTo(FILE* stream, const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

void PrintError(const QString& text)
{
    WriteTo(stderr, "brevant: " + text.toUtf8() + '\n');
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
        PrintError(QStringLiteral("could not write %1").arg(path));
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
    const QCommandLineOption jobs(u"jobs"_qs, u"records drawn at once"_qs, u"N"_qs);
    parser.addOptions({mode, format, outDir, size, overwrite, jobs});
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
    const bool overwriteFolders = parser.isSet(overwrite);
    const QString folderExists = *LoadStringEntry(IDS_FOLDER_EXISTS);
    platform.SetAnswer([=](const QString& text, unsigned) {
        if (text.endsWith(folderExists))
            return int(overwriteFolders ? kIdYes : kIdNo);
        return int(kIdNo);
    });

    BatchOptions options;
    if (parser.isSet(outDir))
        options.outputRoot = QFileInfo(parser.value(outDir)).absoluteFilePath();
    options.askToShowResult = false;
    options.folderPerRecord = folders;
    options.jobs = jobCount;
    HeadlessChartHost host(platform, *area, SavedInputs(saved), saved.style, outputFormat);
    host.LayoutCharts();
    BatchCreation batch(host, options);
    const int messagesBefore = platform.MessageCount();
    if (!batch.RunBatch(csvPath)) {
        // Folders and files the file system refuses fail without a message in the window;
        // a command line that exits with 1 still says why.
        if (platform.MessageCount() == messagesBefore)
            PrintError(QStringLiteral("record %1 stopped the batch: its folder or one of its "
                                      "files could not be written")
                           .arg(batch.DoneCount() + 1));
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
    // Figures may start with a minus sign, so no option parsing here.
    if (arguments.size() != 3)
        return UsageError("calc", u"calc needs the figures S,T,F,R"_qs);
    const StoredSettings saved = LoadSettings(store);
    BepInputs in = SavedInputs(saved);
    CliPlatform platform;
    const QString text = arguments[2];
    if (const StringId id = ApplyFourValues(in, text)) {
        ShowMessage(platform, id, text + u'\n', kMbError);
        return kExitFailure;
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

    if (!command) {
        if (argc == 2 && (std::strcmp(name, "--version") == 0 || std::strcmp(name, "-v") == 0)) {
            WriteTo(stdout, QByteArray("brevant " BREVANT_VERSION "\n"));
            return kExitOk;
        }
        if (argc == 2 && (std::strcmp(name, "--help") == 0 || std::strcmp(name, "-h") == 0)) {
            WriteTo(stdout, kUsage);
            return kExitOk;
        }
        WriteTo(stderr, kUsage);
        return kExitUsage;
    }

    UseOffscreenWithoutDisplay();
    QGuiApplication app(argc, argv);
    SetUpApplication();

    IniProfileStore store;
    QString out;
    const int status = command(app.arguments(), store, out);
    WriteTo(stdout, out.toUtf8());
    return status;
}

} // namespace brevant
