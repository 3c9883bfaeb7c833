#pragma once
// The figures a planner asks for after the break-even point: how far above it the target
// lies, how strongly profit answers a change of sales, and what a small change of one
// input does to both. One function per figure; an undefined figure (a division by zero, a
// ratio of 100 % or more) is nothing, shown as "―" and written as null.

#include "bep_model.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace brevant {

using Figure = std::optional<double>;

// Written for an undefined figure wherever one is shown.
inline constexpr QChar kUndefinedFigure{u'―'};

// With S maximum sales, T target sales, F fixed costs and v the variable-cost ratio as a
// fraction:
Figure BreakEvenSales(const BepInputs& in);       // B = F / (1 − v); none when v ≥ 1
Figure MarginalProfit(const BepInputs& in);       // M = T (1 − v)
Figure OperatingProfit(const BepInputs& in);      // P = M − F
Figure MarginOfSafety(const BepInputs& in);       // T − B, in yen
Figure MarginOfSafetyRatio(const BepInputs& in);  // (T − B) / T, as a fraction
Figure BreakEvenRatio(const BepInputs& in);       // B / T, as a fraction
Figure OperatingLeverage(const BepInputs& in);    // M / P

struct AnalysisFigures {
    Figure breakEvenSales;
    Figure marginalProfit;
    Figure operatingProfit;
    Figure marginOfSafety;
    Figure marginOfSafetyRatio;
    Figure breakEvenRatio;
    Figure operatingLeverage;
};

AnalysisFigures ComputeAnalysis(const BepInputs& in);

// One row of the sensitivity table: one input moved by `step` (percent of its value for
// fixed costs and target sales, points for the variable-cost ratio), the others kept.
enum class SensitivityInput { FixedCosts, VariableCostRatio, TargetSales };

struct SensitivityRow {
    SensitivityInput input = SensitivityInput::FixedCosts;
    int step = 0;
    // The moved input: yen, or the ratio in percent. None when the ratio would leave
    // 0–100 %, and then every figure of the row is none too.
    Figure changedValue;
    Figure breakEvenSales;
    Figure operatingProfit;
    Figure breakEvenChange;   // new break-even sales − today's
    Figure profitChange;      // new operating profit − today's
};

// Fixed costs −10, −5, +5, +10 %; ratio −5, −2, +2, +5 points; target sales −10, +10 %.
std::vector<SensitivityRow> SensitivityTable(const BepInputs& in);

// +1 when the change helps (more profit, or a lower break-even point), −1 when it hurts,
// 0 when it changes neither or cannot be told.
int SensitivityEffect(const SensitivityRow& row);

// Texts, Japanese throughout. An undefined figure gives kUndefinedFigure.
QString SensitivityLabel(const SensitivityRow& row);      // "固定費 −10%"
QString FormatYen(const Figure& yen);                     // "1,234,567円"
QString FormatSignedYen(const Figure& yen);               // "+1,234円", "−1,234円", "±0円"
QString FormatPercentFigure(const Figure& fraction);      // 0.2543 → "25.43%"
QString FormatTimes(const Figure& times);                 // "2.35倍"
QString FormatChangedValue(const SensitivityRow& row);    // yen, or "58.13%"

// One line of the figures as the page and the terminal show them: the accounting name,
// the value as text and the formula it comes from.
struct AnalysisLine {
    QString label;
    QString value;
    QString formula;
};
std::vector<AnalysisLine> AnalysisLines(const BepInputs& in);
// The inputs the figures were computed from, in the same form.
std::vector<AnalysisLine> InputLines(const BepInputs& in);

// The columns of the sensitivity table, in the order every form of it shows them: the
// page, the terminal and the spreadsheet text.
enum class SensitivityColumn {
    Change,           // "固定費 -10%"
    ChangedValue,     // the moved input
    BreakEvenSales,
    OperatingProfit,
    BreakEvenChange,
    ProfitChange,
};
inline constexpr SensitivityColumn kSensitivityColumns[] = {
    SensitivityColumn::Change,          SensitivityColumn::ChangedValue,
    SensitivityColumn::BreakEvenSales,  SensitivityColumn::OperatingProfit,
    SensitivityColumn::BreakEvenChange, SensitivityColumn::ProfitChange,
};

QString SensitivityHeading(SensitivityColumn column);
// A cell as the page and the terminal show it.
QString SensitivityCell(const SensitivityRow& row, SensitivityColumn column);
// A cell for a spreadsheet: amounts as plain whole numbers of yen, the ratio without "%".
QString SensitivityPlainCell(const SensitivityRow& row, SensitivityColumn column);
// What a cell's colour tells: the row's effect (see SensitivityEffect) in a change column
// whose change shows as more than ±0円, and 0 for every other cell.
int SensitivityCellEffect(const SensitivityRow& row, SensitivityColumn column);

// The table for a spreadsheet: a header line and one line per row, fields separated by
// tabs, amounts as plain whole numbers of yen, lines ended by CR LF.
QString SensitivityTabText(const std::vector<SensitivityRow>& rows);

// analysis.csv beside a batch's summary: a header and one line per record (name, the four
// inputs, break-even sales, margin of safety ratio, break-even ratio and operating
// leverage), fields separated by commas, amounts in whole yen, ratios in percent, an
// undefined figure as "―"; lines end in "\n" (the writer gives them the summary's ends).
QString AnalysisCsvHeader();
QString AnalysisCsvLine(const QString& name, const BepInputs& in);

// The figures and the sensitivity rows for scripts: amounts in yen and ratios in percent
// as numbers, an undefined figure as null; "texts" holds each figure as the page shows it.
QJsonObject AnalysisJson(const BepInputs& in);

// The figures and the table as text for a terminal, columns aligned for a monospaced font
// in which a Japanese character takes two cells; lines ended by LF.
QString AnalysisText(const BepInputs& in);

} // namespace brevant
