#include "analysis.h"

#include "text_util.h"

#include <QJsonArray>

#include <cmath>
#include <map>

namespace brevant {

namespace {

Figure Defined(double x)
{
    if (!std::isfinite(x))
        return std::nullopt;
    return x;
}

// Hundredths of a percent that are not variable costs, 10000 − R.
double MarginHundredths(const BepInputs& in) { return 10000.0 - in.variableCostRatio; }

// a × 100 / b as a percentage: the product of whole yen is exact, so an exact share stays
// exact (a fraction times 100 would not).
Figure PercentOf(const Figure& a, double b)
{
    if (!a || b == 0)
        return std::nullopt;
    return Defined(*a * 100.0 / b);
}

Figure Difference(const Figure& a, const Figure& b)
{
    if (!a || !b)
        return std::nullopt;
    return Defined(*a - *b);
}

// Whole yen with thousands separators; the sign is the caller's.
QString GroupedWhole(double magnitude)
{
    const QString digits = CFormat("%.0f", std::round(magnitude));
    QString r;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            r += u',';
        r += digits[i];
    }
    return r;
}

// Cells a character takes on a terminal: two for the wide East Asian ranges.
int CellWidth(const QString& text)
{
    int width = 0;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        const bool wide = (u >= 0x1100 && u <= 0x115F) || (u >= 0x2E80 && u <= 0xA4CF) ||
                          (u >= 0xAC00 && u <= 0xD7A3) || (u >= 0xF900 && u <= 0xFAFF) ||
                          (u >= 0xFE30 && u <= 0xFE4F) || (u >= 0xFF00 && u <= 0xFF60) ||
                          (u >= 0xFFE0 && u <= 0xFFE6);
        width += wide ? 2 : 1;
    }
    return width;
}

QString PadLeft(const QString& text, int width)
{
    return QString(std::max(width - CellWidth(text), 0), u' ') + text;
}

QString PadRight(const QString& text, int width)
{
    return text + QString(std::max(width - CellWidth(text), 0), u' ');
}

// A whole number of yen for a spreadsheet: no separators, no unit.
QString PlainYen(const Figure& yen)
{
    if (!yen)
        return QString(kUndefinedFigure);
    return CFormat("%.0f", std::round(*yen) + 0.0);
}

} // namespace

// Each figure is formed from whole yen and hundredths of a percent with as few roundings
// as its formula allows, so textbook figures come out exact.
Figure BreakEvenSales(const BepInputs& in)
{
    const double margin = MarginHundredths(in);
    if (margin <= 0)
        return std::nullopt;
    return Defined(in.fixedCosts * 10000.0 / margin);
}

Figure MarginalProfit(const BepInputs& in)
{
    return Defined(in.targetSales * MarginHundredths(in) / 10000.0);
}

Figure OperatingProfit(const BepInputs& in)
{
    return Difference(MarginalProfit(in), Figure(in.fixedCosts));
}

Figure MarginOfSafety(const BepInputs& in)
{
    return Difference(Figure(in.targetSales), BreakEvenSales(in));
}

Figure MarginOfSafetyRatio(const BepInputs& in)
{
    const Figure margin = MarginOfSafety(in);
    if (!margin || in.targetSales == 0)
        return std::nullopt;
    return Defined(*margin / in.targetSales);
}

Figure BreakEvenRatio(const BepInputs& in)
{
    const Figure breakEven = BreakEvenSales(in);
    if (!breakEven || in.targetSales == 0)
        return std::nullopt;
    return Defined(*breakEven / in.targetSales);
}

Figure OperatingLeverage(const BepInputs& in)
{
    const Figure marginal = MarginalProfit(in);
    const Figure profit = OperatingProfit(in);
    if (!marginal || !profit || *profit == 0)
        return std::nullopt;
    return Defined(*marginal / *profit);
}

AnalysisFigures ComputeAnalysis(const BepInputs& in)
{
    return {BreakEvenSales(in),      MarginalProfit(in),      OperatingProfit(in),
            MarginOfSafety(in),      MarginOfSafetyRatio(in), BreakEvenRatio(in),
            OperatingLeverage(in)};
}

std::vector<SensitivityRow> SensitivityTable(const BepInputs& in)
{
    struct Step {
        SensitivityInput input;
        int step;
    };
    static constexpr Step kSteps[] = {
        {SensitivityInput::FixedCosts, -10},        {SensitivityInput::FixedCosts, -5},
        {SensitivityInput::FixedCosts, 5},          {SensitivityInput::FixedCosts, 10},
        {SensitivityInput::VariableCostRatio, -5},  {SensitivityInput::VariableCostRatio, -2},
        {SensitivityInput::VariableCostRatio, 2},   {SensitivityInput::VariableCostRatio, 5},
        {SensitivityInput::TargetSales, -10},       {SensitivityInput::TargetSales, 10},
    };
    const Figure todayBreakEven = BreakEvenSales(in);
    const Figure todayProfit = OperatingProfit(in);

    std::vector<SensitivityRow> rows;
    for (const Step& s : kSteps) {
        SensitivityRow row;
        row.input = s.input;
        row.step = s.step;
        BepInputs moved = in;
        // (100 + step) / 100 as one division after the product, which is exact.
        const int percent = 100 + s.step;
        switch (s.input) {
        case SensitivityInput::FixedCosts:
            moved.fixedCosts = in.fixedCosts * percent / 100.0;
            row.changedValue = Defined(moved.fixedCosts);
            break;
        case SensitivityInput::TargetSales:
            moved.targetSales = in.targetSales * percent / 100.0;
            row.changedValue = Defined(moved.targetSales);
            break;
        case SensitivityInput::VariableCostRatio: {
            const int64_t ratio = int64_t(in.variableCostRatio) + int64_t(s.step) * 100;
            if (ratio >= 0 && ratio <= 10000) {
                moved.variableCostRatio = int32_t(ratio);
                row.changedValue = ratio / 100.0;
            }
            break;
        }
        }
        if (row.changedValue) {
            row.breakEvenSales = BreakEvenSales(moved);
            row.operatingProfit = OperatingProfit(moved);
            row.breakEvenChange = Difference(row.breakEvenSales, todayBreakEven);
            row.profitChange = Difference(row.operatingProfit, todayProfit);
        }
        rows.push_back(row);
    }
    return rows;
}

int SensitivityEffect(const SensitivityRow& row)
{
    // Profit decides; where it cannot be told, a lower break-even point is the gain.
    if (row.profitChange && *row.profitChange != 0)
        return *row.profitChange > 0 ? 1 : -1;
    if (!row.profitChange && row.breakEvenChange && *row.breakEvenChange != 0)
        return *row.breakEvenChange < 0 ? 1 : -1;
    return 0;
}

QString SensitivityLabel(const SensitivityRow& row)
{
    const QString step = (row.step > 0 ? u"+"_qs : u"-"_qs) + QString::number(std::abs(row.step));
    switch (row.input) {
    case SensitivityInput::FixedCosts:
        return u"固定費 "_qs + step + u'%';
    case SensitivityInput::VariableCostRatio:
        return u"変動費率 "_qs + step + u"ポイント"_qs;
    case SensitivityInput::TargetSales:
        return u"目標売上高 "_qs + step + u'%';
    }
    return QString();
}

QString FormatYen(const Figure& yen)
{
    if (!yen)
        return QString(kUndefinedFigure);
    const double rounded = std::round(*yen);
    return (rounded < 0 ? u"-"_qs : QString()) + GroupedWhole(std::fabs(rounded)) + u'円';
}

QString FormatSignedYen(const Figure& yen)
{
    if (!yen)
        return QString(kUndefinedFigure);
    const double rounded = std::round(*yen);
    if (rounded == 0)
        return u"±0円"_qs;
    return (rounded < 0 ? u"-"_qs : u"+"_qs) + GroupedWhole(std::fabs(rounded)) + u'円';
}

namespace {

// Two decimals; a value that rounds to zero from below shows as 0.00, not -0.00.
QString TwoDecimals(double value)
{
    QString text = CFormat("%.2f", value);
    if (text == u"-0.00")
        text.remove(0, 1);
    return text;
}

} // namespace

QString FormatPercentFigure(const Figure& fraction)
{
    if (!fraction)
        return QString(kUndefinedFigure);
    return TwoDecimals(*fraction * 100.0) + u'%';
}

QString FormatTimes(const Figure& times)
{
    if (!times)
        return QString(kUndefinedFigure);
    return TwoDecimals(*times) + u'倍';
}

QString FormatChangedValue(const SensitivityRow& row)
{
    if (row.input == SensitivityInput::VariableCostRatio)
        return row.changedValue ? CFormat("%.2f%%", *row.changedValue)
                                : QString(kUndefinedFigure);
    return FormatYen(row.changedValue);
}

std::vector<AnalysisLine> InputLines(const BepInputs& in)
{
    return {
        {u"最大売上高"_qs, FormatYen(in.maxSales), QString()},
        {u"目標売上高"_qs, FormatYen(in.targetSales), QString()},
        {u"固定費"_qs, FormatYen(in.fixedCosts), QString()},
        {u"変動費率"_qs, RatioText(in.variableCostRatio), QString()},
    };
}

namespace {

// Every figure once: its key for scripts, its name, its value, how the page writes it,
// the number a script gets (percent for the ratios) and its formula.
struct FigureEntry {
    const char16_t* key;
    const char16_t* label;
    Figure value;
    QString (*format)(const Figure&);
    Figure script;
    const char16_t* formula;
};

std::vector<FigureEntry> FigureEntries(const BepInputs& in)
{
    const AnalysisFigures f = ComputeAnalysis(in);
    return {
        {u"breakEvenSales", u"損益分岐点売上高", f.breakEvenSales, FormatYen, f.breakEvenSales,
         u"固定費 ÷ (1 − 変動費率)"},
        {u"marginalProfit", u"限界利益", f.marginalProfit, FormatYen, f.marginalProfit,
         u"目標売上高 × (1 − 変動費率)"},
        {u"operatingProfit", u"営業利益", f.operatingProfit, FormatYen, f.operatingProfit,
         u"限界利益 − 固定費"},
        {u"marginOfSafety", u"安全余裕額", f.marginOfSafety, FormatYen, f.marginOfSafety,
         u"目標売上高 − 損益分岐点売上高（図表の「目標営業利益」）"},
        {u"marginOfSafetyPercent", u"安全余裕率", f.marginOfSafetyRatio, FormatPercentFigure,
         PercentOf(f.marginOfSafety, in.targetSales), u"安全余裕額 ÷ 目標売上高"},
        {u"breakEvenPercent", u"損益分岐点比率", f.breakEvenRatio, FormatPercentFigure,
         PercentOf(f.breakEvenSales, in.targetSales), u"損益分岐点売上高 ÷ 目標売上高"},
        {u"operatingLeverage", u"経営レバレッジ係数", f.operatingLeverage, FormatTimes,
         f.operatingLeverage,
         u"限界利益 ÷ 営業利益"},
    };
}

QJsonValue JsonFigure(const Figure& x)
{
    return x ? QJsonValue(*x) : QJsonValue(QJsonValue::Null);
}

} // namespace

std::vector<AnalysisLine> AnalysisLines(const BepInputs& in)
{
    std::vector<AnalysisLine> lines;
    for (const FigureEntry& e : FigureEntries(in))
        lines.push_back({QString::fromUtf16(e.label), e.format(e.value),
                         QString::fromUtf16(e.formula)});
    return lines;
}

QString SensitivityHeading(SensitivityColumn column)
{
    switch (column) {
    case SensitivityColumn::Change: return u"変更した項目"_qs;
    case SensitivityColumn::ChangedValue: return u"変更後の値"_qs;
    case SensitivityColumn::BreakEvenSales: return u"損益分岐点売上高"_qs;
    case SensitivityColumn::OperatingProfit: return u"営業利益"_qs;
    case SensitivityColumn::BreakEvenChange: return u"損益分岐点売上高の増減"_qs;
    case SensitivityColumn::ProfitChange: return u"営業利益の増減"_qs;
    }
    return QString();
}

namespace {

// The amount a column holds in yen; none for the label and the moved input.
Figure SensitivityAmount(const SensitivityRow& row, SensitivityColumn column)
{
    switch (column) {
    case SensitivityColumn::BreakEvenSales: return row.breakEvenSales;
    case SensitivityColumn::OperatingProfit: return row.operatingProfit;
    case SensitivityColumn::BreakEvenChange: return row.breakEvenChange;
    case SensitivityColumn::ProfitChange: return row.profitChange;
    case SensitivityColumn::Change:
    case SensitivityColumn::ChangedValue: break;
    }
    return std::nullopt;
}

bool IsChangeColumn(SensitivityColumn column)
{
    return column == SensitivityColumn::BreakEvenChange ||
           column == SensitivityColumn::ProfitChange;
}

} // namespace

QString SensitivityCell(const SensitivityRow& row, SensitivityColumn column)
{
    if (column == SensitivityColumn::Change)
        return SensitivityLabel(row);
    if (column == SensitivityColumn::ChangedValue)
        return FormatChangedValue(row);
    const Figure amount = SensitivityAmount(row, column);
    return IsChangeColumn(column) ? FormatSignedYen(amount) : FormatYen(amount);
}

QString SensitivityPlainCell(const SensitivityRow& row, SensitivityColumn column)
{
    if (column == SensitivityColumn::Change)
        return SensitivityLabel(row);
    if (column != SensitivityColumn::ChangedValue)
        return PlainYen(SensitivityAmount(row, column));
    if (row.input != SensitivityInput::VariableCostRatio)
        return PlainYen(row.changedValue);
    return row.changedValue ? CFormat("%.2f", *row.changedValue) : QString(kUndefinedFigure);
}

int SensitivityCellEffect(const SensitivityRow& row, SensitivityColumn column)
{
    const Figure change = IsChangeColumn(column) ? SensitivityAmount(row, column) : Figure();
    if (!change || std::round(*change) == 0)
        return 0;
    return SensitivityEffect(row);
}

QString SensitivityTabText(const std::vector<SensitivityRow>& rows)
{
    QStringList header;
    for (SensitivityColumn column : kSensitivityColumns)
        header << SensitivityHeading(column);
    QString text = header.join(u'\t') + u"\r\n"_qs;
    for (const SensitivityRow& row : rows) {
        QStringList fields;
        for (SensitivityColumn column : kSensitivityColumns)
            fields << SensitivityPlainCell(row, column);
        text += fields.join(u'\t') + u"\r\n"_qs;
    }
    return text;
}

QString AnalysisCsvHeader()
{
    return u"名称,最大売上高,目標売上高,固定費,変動費率,損益分岐点売上高,安全余裕率,"
           u"損益分岐点比率,経営レバレッジ係数\n"_qs;
}

QString AnalysisCsvLine(const QString& name, const BepInputs& in)
{
    const AnalysisFigures f = ComputeAnalysis(in);
    const auto number = [](const Figure& x) {
        return x ? CFormat("%.2f", *x + 0.0) : QString(kUndefinedFigure);
    };
    const QStringList fields = {name,
                                PlainYen(in.maxSales),
                                PlainYen(in.targetSales),
                                PlainYen(in.fixedCosts),
                                CFormat("%.2f", in.variableCostRatio / 100.0),
                                PlainYen(f.breakEvenSales),
                                number(PercentOf(f.marginOfSafety, in.targetSales)),
                                number(PercentOf(f.breakEvenSales, in.targetSales)),
                                number(f.operatingLeverage)};
    return fields.join(u',') + u'\n';
}

QJsonObject AnalysisJson(const BepInputs& in)
{
    QJsonObject o;
    QJsonObject texts;
    for (const FigureEntry& e : FigureEntries(in)) {
        const QString key = QString::fromUtf16(e.key);
        o[key] = JsonFigure(e.script);
        texts[key] = e.format(e.value);
    }
    o[u"texts"_qs] = texts;

    static const char16_t* const kInputNames[] = {u"fixedCosts", u"variableCostRatio",
                                                  u"targetSales"};
    QJsonArray rows;
    for (const SensitivityRow& r : SensitivityTable(in)) {
        const bool ratio = r.input == SensitivityInput::VariableCostRatio;
        rows.append(QJsonObject{
            {u"input"_qs, QString::fromUtf16(kInputNames[int(r.input)])},
            {u"step"_qs, r.step},
            {u"stepUnit"_qs, ratio ? u"points"_qs : u"percent"_qs},
            {u"label"_qs, SensitivityLabel(r)},
            {u"changedValue"_qs, JsonFigure(r.changedValue)},
            {u"breakEvenSales"_qs, JsonFigure(r.breakEvenSales)},
            {u"operatingProfit"_qs, JsonFigure(r.operatingProfit)},
            {u"breakEvenChange"_qs, JsonFigure(r.breakEvenChange)},
            {u"operatingProfitChange"_qs, JsonFigure(r.profitChange)},
        });
    }
    o[u"sensitivity"_qs] = rows;
    return o;
}

QString AnalysisText(const BepInputs& in)
{
    QString text = u"損益分岐点分析\n"_qs;
    const auto addLines = [&text](const std::vector<AnalysisLine>& lines) {
        int labelWidth = 0, valueWidth = 0;
        for (const AnalysisLine& line : lines) {
            labelWidth = std::max(labelWidth, CellWidth(line.label));
            valueWidth = std::max(valueWidth, CellWidth(line.value));
        }
        for (const AnalysisLine& line : lines) {
            QString l = u"  "_qs + PadRight(line.label, labelWidth) + u"  "_qs +
                        PadLeft(line.value, valueWidth);
            if (!line.formula.isEmpty())
                l += u"  = "_qs + line.formula;
            text += l + u'\n';
        }
    };
    addLines(InputLines(in));
    text += u'\n';
    addLines(AnalysisLines(in));

    text += u"\n感度分析\n"_qs;
    const std::vector<SensitivityRow> rows = SensitivityTable(in);
    std::map<SensitivityColumn, int> widths;
    for (SensitivityColumn column : kSensitivityColumns) {
        int& width = widths[column];
        width = CellWidth(SensitivityHeading(column));
        for (const SensitivityRow& row : rows)
            width = std::max(width, CellWidth(SensitivityCell(row, column)));
    }
    // Each column as wide as its widest cell, the label left-aligned, the figures right.
    const auto cell = [&widths](SensitivityColumn column, const QString& cellText) -> QString {
        const int width = widths[column];
        return u"  "_qs + (column == SensitivityColumn::Change ? PadRight(cellText, width)
                                                               : PadLeft(cellText, width));
    };
    QString header;
    for (SensitivityColumn column : kSensitivityColumns)
        header += cell(column, SensitivityHeading(column));
    text += header + u'\n';
    for (const SensitivityRow& row : rows) {
        QString line;
        for (SensitivityColumn column : kSensitivityColumns)
            line += cell(column, SensitivityCell(row, column));
        text += line + u'\n';
    }
    return text;
}

} // namespace brevant
