// Brevant: a break-even-point simulator. Without arguments it opens the simulator window;
// with a subcommand it runs headless on the same renderer and output code.

#include "app/bep_model.h"
#include "app/message.h"
#include "app/profile_store.h"
#include "app/settings.h"
#include "app/text_util.h"
#include "app/ui/ctarnel_app.h"
#include "chart/headless_chart_host.h"
#include "output/cli_commands.h"
#include "output/image_export.h"
#include "platform/cli_platform.h"
#include "res/string_table.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <optional>

namespace {

using namespace brevant;

const char kUsage[] =
    "Brevant " BREVANT_VERSION " - break-even-point simulator (損益分岐点シミュレータ)\n"
    "\n"
    "Usage:\n"
    "  brevant render -o FILE [--size WxH] [--figures S,T,F,R] [--charts 012]\n"
    "                 [--unit yen|thousand]\n"
    "                       draw the charts into a file whose type follows its\n"
    "                       extension: .png, .jpg/.jpeg, .bmp, .gif, .tif/.tiff, .pdf\n"
    "  brevant batch CSV --mode folders|together [--format jpeg|bmp|gif|png|tiff|pdf]\n"
    "                [--out DIR] [--size WxH] [--overwrite]\n"
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

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

void PrintError(const QString& text)
{
    const QByteArray line = "brevant: " + text.toUtf8() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
}

int UsageError(const QString& text)
{
    PrintError(text);
    PrintError(QStringLiteral("try 'brevant --help'"));
    return kExitUsage;
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

int RunRender(int argc, char* argv[])
{
    UseOffscreenWithoutDisplay();
    QGuiApplication app(argc, argv);
    SetUpCommandLineApplication();

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
    if (app.arguments().contains(QStringLiteral("--help"))) {
        std::fputs(kUsage, stdout);
        return kExitOk;
    }
    if (!parser.parse(app.arguments()))
        return UsageError(parser.errorText());
    if (parser.positionalArguments() != QStringList{QStringLiteral("render")})
        return UsageError(QStringLiteral("unexpected arguments after 'render'"));
    if (!parser.isSet(output) || parser.value(output).isEmpty())
        return UsageError(QStringLiteral("render needs -o FILE"));

    const auto area = ParseChartSize(parser.value(size));
    if (!area)
        return UsageError(QStringLiteral("--size wants WxH, for example 960x400"));

    IniProfileStore store;
    const StoredSettings saved = LoadSettings(store);
    ChartStyle style = saved.style;
    BepInputs in = SavedInputs(saved);

    if (parser.isSet(figures) && (TabsToCommas(parser.value(figures)).count(u',') != 3 ||
                                  ApplyFourValues(in, parser.value(figures)) != 0))
        return UsageError(QStringLiteral("--figures wants four values S,T,F,R"));
    if (parser.isSet(charts) && !ParseCharts(parser.value(charts), style.drawGraph))
        return UsageError(QStringLiteral("--charts lists chart numbers 0, 1 and 2"));
    if (parser.isSet(unit)) {
        const QString u = parser.value(unit);
        if (u == u"yen")
            in.amountUnit = 0;
        else if (u == u"thousand")
            in.amountUnit = 1;
        else
            return UsageError(QStringLiteral("--unit is yen or thousand"));
    }

    const QString path = parser.value(output);
    if (ExtensionFormat(path).isEmpty())
        return UsageError(
            QStringLiteral("unsupported file type: %1 (use .png, .jpg, .bmp, .gif, .tif or .pdf)")
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

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 2)
        return brevant::RunSimulatorWindow(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "render") == 0)
        return RunRender(argc, argv);
    if (argc >= 2 && (std::strcmp(argv[1], "batch") == 0 || std::strcmp(argv[1], "calc") == 0))
        return brevant::RunOutputCommand(argc, argv);

    QCoreApplication app(argc, argv);
    // Numbers are read and written with a full stop whatever the user's locale says.
    std::setlocale(LC_NUMERIC, "C");
    QCoreApplication::setApplicationName(QStringLiteral("Brevant"));
    QCoreApplication::setOrganizationName(QStringLiteral("Velmora"));
    QCoreApplication::setApplicationVersion(QStringLiteral(BREVANT_VERSION));

    const QStringList args = app.arguments();
    if (args.size() == 2 && (args[1] == u"--version" || args[1] == u"-v")) {
        std::printf("brevant %s\n", BREVANT_VERSION);
        return 0;
    }
    if (args.size() == 2 && (args[1] == u"--help" || args[1] == u"-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    std::fputs(kUsage, stderr);
    return 2;
}
