#include "scenario.h"

#include "saturate.h"
#include "settings.h"

#include <QJsonDocument>

namespace brevant {

namespace {

// Keys name the elements and charts, so a person reading the file knows what each value is.
constexpr std::array<const char*, kColorCount> kElementKeys = {
    "salesLine",   "fixedCostLine",  "totalCostLine", "marginalProfitLine", "targetSales",
    "breakEvenPoint", "profitArea", "lossArea",      "frameAndScale",      "chartInterior"};
constexpr std::array<const char*, kChartCount> kChartKeys = {"breakEven", "index", "combined"};
constexpr std::array<const char*, 3> kAmountKeys = {"maxSales", "targetSales", "fixedCosts"};

QString Key(const char* name) { return QLatin1String(name); }

// Colours are "#RRGGBB", as colour choosers and style sheets write them.
QString ColorText(ColorRef c)
{
    return QStringLiteral("#%1%2%3")
        .arg(RedOf(c), 2, 16, QLatin1Char('0'))
        .arg(GreenOf(c), 2, 16, QLatin1Char('0'))
        .arg(BlueOf(c), 2, 16, QLatin1Char('0'))
        .toUpper();
}

std::optional<ColorRef> ParseColor(const QJsonValue& v)
{
    const QString text = v.toString();
    if (text.size() != 7 || text[0] != u'#')
        return std::nullopt;
    bool ok = false;
    const uint rgb = text.mid(1).toUInt(&ok, 16);
    if (!ok)
        return std::nullopt;
    return Rgb(int(rgb >> 16), int(rgb >> 8), int(rgb));
}

// A number as the profile holds one: truncated toward zero, saturated to 32 bits.
std::optional<int32_t> Int32Of(const QJsonValue& v)
{
    if (!v.isDouble())
        return std::nullopt;
    return Trunc32(v.toDouble());
}

// Replaces `value` with the key's number when it has one; anything else leaves the default,
// as a missing profile key does.
void TakeInt(const QJsonObject& o, const char* key, int32_t& value)
{
    if (const auto n = Int32Of(o.value(Key(key))))
        value = *n;
}

QJsonObject ScenarioJson(const Scenario& s)
{
    QJsonObject figures;
    figures.insert(Key(kAmountKeys[0]), qint64(s.inputs.maxSales));
    figures.insert(Key(kAmountKeys[1]), qint64(s.inputs.targetSales));
    figures.insert(Key(kAmountKeys[2]), qint64(s.inputs.fixedCosts));
    figures.insert(u"variableCostRatio"_qs, qint64(s.inputs.variableCostRatio));
    figures.insert(u"unit"_qs, s.inputs.amountUnit == 0 ? u"yen"_qs : u"thousand"_qs);

    const ChartStyle& st = s.style;
    QJsonObject charts;
    for (int k = 0; k < kChartCount; ++k) {
        QJsonObject chart;
        chart.insert(u"shown"_qs, st.drawGraph[k] != 0);
        chart.insert(u"title"_qs, st.titles[k]);
        chart.insert(u"subtitle"_qs, st.subtitles[k]);
        charts.insert(Key(kChartKeys[k]), chart);
    }
    QJsonObject colors, widths;
    for (int k = 0; k < kColorCount; ++k)
        colors.insert(Key(kElementKeys[k]), ColorText(st.colors[k]));
    for (int k = 0; k < kWidthCount; ++k)
        widths.insert(Key(kElementKeys[k]), qint64(st.lineWidths[k]));

    QJsonObject json;
    json.insert(u"format"_qs, kScenarioFormat);
    json.insert(u"version"_qs, kScenarioVersion);
    json.insert(u"figures"_qs, figures);
    json.insert(u"charts"_qs, charts);
    json.insert(u"colors"_qs, colors);
    json.insert(u"lineWidths"_qs, widths);
    json.insert(u"fontSize"_qs, qint64(st.fontSize));
    json.insert(u"outerMargin"_qs, qint64(st.outerMargin));
    json.insert(u"scaleMargin"_qs, qint64(st.scaleMargin));
    return json;
}

// What `read` holds beyond the keys of `known`, at every depth.
QJsonObject KeysNotIn(const QJsonObject& read, const QJsonObject& known)
{
    QJsonObject rest;
    for (auto it = read.begin(); it != read.end(); ++it) {
        const auto match = known.constFind(it.key());
        if (match == known.constEnd()) {
            rest.insert(it.key(), it.value());
        } else if (it.value().isObject() && match.value().isObject()) {
            const QJsonObject inner = KeysNotIn(it.value().toObject(), match.value().toObject());
            if (!inner.isEmpty())
                rest.insert(it.key(), inner);
        }
    }
    return rest;
}

// `kept` with every value of `known` put over it, objects merged key by key.
QJsonObject Merged(QJsonObject kept, const QJsonObject& known)
{
    for (auto it = known.begin(); it != known.end(); ++it) {
        const QJsonValue old = kept.value(it.key());
        if (old.isObject() && it.value().isObject())
            kept.insert(it.key(), Merged(old.toObject(), it.value().toObject()));
        else
            kept.insert(it.key(), it.value());
    }
    return kept;
}

// IDS_NONE when the document names this format in a version this program reads.
StringId FormatProblem(const QJsonDocument& doc)
{
    const QJsonObject json = doc.object();
    if (!doc.isObject() || json.value(u"format"_qs) != kScenarioFormat)
        return IDS_SCENARIO_OTHER_FORMAT;
    const QJsonValue version = json.value(u"version"_qs);
    if (!version.isDouble() || version.toDouble() < 1 ||
        version.toDouble() != std::trunc(version.toDouble()))
        return IDS_SCENARIO_OTHER_FORMAT;
    if (version.toDouble() > kScenarioVersion)
        return IDS_SCENARIO_NEWER;
    return IDS_NONE;
}

// The four figures and the unit; nothing when one of the figures is missing.
std::optional<BepInputs> ReadFigures(const QJsonObject& figures)
{
    std::array<int32_t, 3> amounts{};
    for (int k = 0; k < 3; ++k) {
        const auto n = Int32Of(figures.value(Key(kAmountKeys[k])));
        if (!n)
            return std::nullopt;
        amounts[k] = *n;
    }
    const auto ratio = Int32Of(figures.value(u"variableCostRatio"_qs));
    if (!ratio)
        return std::nullopt;

    // The figures take the profile's path: raised, then through the entries' rule.
    StoredSettings held;
    held.amountTexts = RaisedAmountTexts(amounts);
    held.ratio = ClampRatio(*ratio);
    held.amountUnit = figures.value(u"unit"_qs) == u"thousand"_qs ? 1 : 0;
    return SavedInputs(held);
}

void ReadCharts(const QJsonObject& charts, ChartStyle& st)
{
    for (int k = 0; k < kChartCount; ++k) {
        const QJsonObject chart = charts.value(Key(kChartKeys[k])).toObject();
        // true or false as written; a number as the profile reads one, any but 0 shown.
        const QJsonValue shown = chart.value(u"shown"_qs);
        if (shown.isBool())
            st.drawGraph[k] = shown.toBool() ? 1 : 0;
        else if (const auto n = Int32Of(shown))
            st.drawGraph[k] = *n != 0 ? 1 : 0;
        if (chart.value(u"title"_qs).isString())
            st.titles[k] = chart.value(u"title"_qs).toString();
        if (chart.value(u"subtitle"_qs).isString())
            st.subtitles[k] = chart.value(u"subtitle"_qs).toString();
    }
}

// Puts what the file holds over the defaults in `st`, then holds it to the profile's ranges.
void ReadStyle(const QJsonObject& json, ChartStyle& st)
{
    ReadCharts(json.value(u"charts"_qs).toObject(), st);
    const QJsonObject colors = json.value(u"colors"_qs).toObject();
    const QJsonObject widths = json.value(u"lineWidths"_qs).toObject();
    for (int k = 0; k < kColorCount; ++k) {
        if (const auto c = ParseColor(colors.value(Key(kElementKeys[k]))))
            st.colors[k] = *c;
    }
    for (int k = 0; k < kWidthCount; ++k)
        TakeInt(widths, kElementKeys[k], st.lineWidths[k]);
    TakeInt(json, "fontSize", st.fontSize);
    TakeInt(json, "outerMargin", st.outerMargin);
    TakeInt(json, "scaleMargin", st.scaleMargin);
    ClampStyle(st);
}

} // namespace

ScenarioRead ReadScenario(const QByteArray& bytes)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        return IDS_SCENARIO_NOT_JSON;
    if (const StringId problem = FormatProblem(doc))
        return problem;
    const QJsonObject json = doc.object();

    Scenario s;
    const auto inputs = ReadFigures(json.value(u"figures"_qs).toObject());
    if (!inputs)
        return IDS_SCENARIO_MISSING_FIGURE;
    s.inputs = *inputs;
    ReadStyle(json, s.style);

    s.unknownKeys = KeysNotIn(json, ScenarioJson(s));
    return s;
}

void ApplyScenario(StoredSettings& settings, const Scenario& scenario)
{
    settings.style = scenario.style;
    settings.amountTexts = {FormatWhole(scenario.inputs.maxSales),
                            FormatWhole(scenario.inputs.targetSales),
                            FormatWhole(scenario.inputs.fixedCosts)};
    settings.ratio = scenario.inputs.variableCostRatio;
    settings.amountUnit = scenario.inputs.amountUnit;
}

QByteArray ScenarioBytes(const Scenario& scenario)
{
    return QJsonDocument(Merged(scenario.unknownKeys, ScenarioJson(scenario)))
        .toJson(QJsonDocument::Indented);
}

} // namespace brevant
