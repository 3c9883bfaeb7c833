#include "render_command.h"

#include "cli_common.h"
#include "cli_platform.h"
#include "four_values.h"
#include "headless_chart_host.h"
#include "image_export.h"
#include "output_names.h"
#include "scenario_file.h"
#include "settings.h"
#include "text_util.h"

#include <QCommandLineParser>

#include <algorithm>
#include <array>

namespace brevant {

namespace {

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
    const QCommandLineOption scenario(QStringLiteral("scenario"), QStringLiteral("scenario file"),
                                      QStringLiteral("FILE"));
    parser.addOptions({output, size, figures, charts, unit, scenario});
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

    CliPlatform platform;
    const StoredSettings saved = LoadSettings(store);
    ChartStyle style = saved.style;
    BepInputs in = SavedInputs(saved);
    // A scenario stands in for the saved figures and style; the options still override it.
    if (parser.isSet(scenario)) {
        const auto read = LoadScenarioFile(parser.value(scenario), platform);
        if (!read)
            return kExitFailure;
        style = read->style;
        in = read->inputs;
    }

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

} // namespace brevant
