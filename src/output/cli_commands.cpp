#include "output/cli_commands.h"

#include "app/message.h"
#include "app/profile_store.h"
#include "app/settings.h"
#include "app/text_util.h"
#include "chart/headless_chart_host.h"
#include "output/batch.h"
#include "output/csv_output.h"
#include "output/image_export.h"
#include "platform/cli_platform.h"
#include "res/string_table.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstring>

namespace brevant {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

const char kBatchUsage[] =
    "Usage: brevant batch CSV --mode folders|together [--format jpeg|bmp|gif|png|tiff|pdf]\n"
    "                     [--out DIR] [--size WxH] [--overwrite]\n"
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
    "\n"
    "On success the output folder is printed.\n";

const char kCalcUsage[] =
    "Usage: brevant calc S,T,F,R\n"
    "\n"
    "Prints the summary CSV (header and data line) for maximum sales S, target sales T\n"
    "and fixed costs F in yen and the variable-cost ratio R in percent, for example\n"
    "154321000,125678900,49605558,56.13. Missing values come from the saved settings.\n";

void PrintError(const QString& text)
{
    const QByteArray line = "brevant: " + text.toUtf8() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
}

int UsageError(const char* command, const QString& text)
{
    PrintError(text);
    PrintError(QStringLiteral("try 'brevant %1 --help'").arg(QLatin1String(command)));
    return kExitUsage;
}

bool WantsHelp(const QStringList& arguments)
{
    return arguments.contains(u"--help"_qs) || arguments.contains(u"-h"_qs);
}

} // namespace

void UseOffscreenWithoutDisplay()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

void SetUpCommandLineApplication()
{
    std::setlocale(LC_NUMERIC, "C");
    QCoreApplication::setApplicationName(QStringLiteral("Brevant"));
    QCoreApplication::setOrganizationName(QStringLiteral("Velmora"));
}

int ApplyFourValues(BepInputs& inputs, const QString& text)
{
    const QString fields = TabsToCommas(text);
    double* amounts[3] = {&inputs.maxSales, &inputs.targetSales, &inputs.fixedCosts};
    const AmountField kinds[3] = {AmountField::MaxSales, AmountField::TargetSales,
                                  AmountField::FixedCosts};
    for (int k = 0; k < 3; ++k) {
        const QString f = FieldAt(fields, k + 1, u',');
        if (k < 2 && f.isEmpty())
            return IDS_ZERO_VALUE;
        *amounts[k] = ApplyAmountText(kinds[k], f).value;
    }
    const QString ratio = FieldAt(fields, 4, u',');
    if (!ratio.isEmpty())
        inputs.variableCostRatio = std::clamp(ParseRatioPercent(ratio), 0, 10000);
    return 0;
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
    parser.addOptions({mode, format, outDir, size, overwrite});
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
    if (const int id = ApplyFourValues(in, text)) {
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

int RunOutputCommand(int argc, char* argv[])
{
    UseOffscreenWithoutDisplay();
    QGuiApplication app(argc, argv);
    SetUpCommandLineApplication();

    IniProfileStore store;
    QString out;
    const QStringList arguments = app.arguments();
    const int status = arguments.value(1) == u"calc" ? RunCalcCommand(arguments, store, out)
                                                      : RunBatchCommand(arguments, store, out);
    const QByteArray bytes = out.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
    return status;
}

} // namespace brevant
