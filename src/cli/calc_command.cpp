#include "calc_command.h"

#include "analysis.h"
#include "chart_text.h"
#include "cli_common.h"
#include "cli_platform.h"
#include "csv_output.h"
#include "four_values.h"
#include "image_export.h"
#include "message.h"
#include "scenario_file.h"
#include "settings.h"

#include <cmath>

namespace brevant {

namespace {

const char kCalcUsage[] =
    "Usage: brevant calc [--json] [--analysis] [--scenario FILE]\n"
    "                    [--scenario-out FILE] [S,T,F,R]\n"
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
    "  --scenario FILE\n"
    "              take the figures and the style from a scenario file (.brevant)\n"
    "              instead of the saved settings; S,T,F,R may then be left out,\n"
    "              and values given there override the scenario's\n"
    "  --scenario-out FILE\n"
    "              also write the figures as a scenario file, with the saved style\n"
    "              (or the --scenario file's); an existing file is replaced\n"
    "\n"
    "Exit status: 0 done, 1 the figures or the scenario file were refused, or the\n"
    "scenario could not be written (the reason is on standard error), 2 wrong usage.\n";

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

} // namespace

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

namespace {

struct CalcArguments {
    bool json = false;
    bool analysis = false;
    std::optional<QString> scenarioIn, scenarioOut, text;
};

// Figures may start with a minus sign, so options are exact words only, and a last
// argument that is none holds the figures. kExitOk, or the usage error's status.
int ParseCalcArguments(const QStringList& arguments, CalcArguments& args)
{
    for (qsizetype k = 2; k < arguments.size(); ++k) {
        const QString& word = arguments[k];
        const bool last = k + 1 == arguments.size();
        if (word == u"--json") {
            args.json = true;
        } else if (word == u"--analysis") {
            args.analysis = true;
        } else if (word == u"--scenario" || word == u"--scenario-out") {
            if (last)
                return UsageError("calc", u"%1 needs a FILE"_qs.arg(word));
            (word == u"--scenario" ? args.scenarioIn : args.scenarioOut) = arguments[++k];
        } else if (last) {
            args.text = word;
        } else {
            return UsageError("calc", u"unknown option '%1'"_qs.arg(word));
        }
    }
    return kExitOk;
}

// Puts the --scenario file and then the figures given over `scenario`; false, with the
// reason shown, when either is refused.
bool TakeFigures(const CalcArguments& args, Platform& platform, Scenario& scenario)
{
    if (args.scenarioIn) {
        auto read = LoadScenarioFile(*args.scenarioIn, platform);
        if (!read)
            return false;
        scenario = std::move(*read);
    }
    if (args.text) {
        if (const StringId id = ApplyFourValues(scenario.inputs, *args.text)) {
            ShowMessage(platform, id, *args.text + u'\n', kMbError);
            return false;
        }
    }
    return true;
}

QString CalcOutput(const CalcArguments& args, const Scenario& scenario, int32_t outputFormat)
{
    const BepInputs& in = scenario.inputs;
    if (args.json) {
        QJsonObject figures = FiguresJson(in);
        figures.insert(u"analysis"_qs, AnalysisJson(in));
        return JsonText(figures);
    }
    if (args.analysis)
        return AnalysisText(in);
    // The chart file names follow the saved format; a stored value outside 0..5 shows as
    // JPEG in the window.
    QString format = FormatExtension(outputFormat);
    if (format.isEmpty())
        format = FormatExtension(kJpeg);
    return SummaryHeader() + SummaryLine(in, scenario.style, QString(), format);
}

} // namespace

int RunCalcCommand(const QStringList& arguments, ProfileStore& store, QString& out)
{
    if (WantsHelp(arguments)) {
        out += QString::fromUtf8(kCalcUsage);
        return kExitOk;
    }
    CalcArguments args;
    if (const int status = ParseCalcArguments(arguments, args); status != kExitOk)
        return status;
    if (!args.text && !args.scenarioIn)
        return UsageError("calc", u"calc needs the figures S,T,F,R"_qs);
    const StoredSettings saved = LoadSettings(store);
    CliPlatform platform;
    Scenario scenario;
    scenario.inputs = SavedInputs(saved);
    scenario.style = saved.style;
    if (!TakeFigures(args, platform, scenario))
        return kExitFailure;
    if (args.scenarioOut && !SaveScenarioFile(*args.scenarioOut, scenario, platform))
        return kExitFailure;
    out += CalcOutput(args, scenario, saved.outputFormat);
    return kExitOk;
}

} // namespace brevant
