#pragma once
// The simulator's figures: the four inputs a user sets, the figures derived from them, and
// the rules by which a text becomes a figure.

#include "string_table.h"

#include <QString>
#include <cstdint>

namespace brevant {

struct BepInputs {
    double maxSales = 1;      // whole yen
    double targetSales = 1;   // whole yen
    double fixedCosts = 0;    // whole yen
    int32_t variableCostRatio = 2500; // hundredths of a percent, 0..10000
    int32_t amountUnit = 0;   // 0 yen, otherwise thousands of yen (chart labels only)
};

struct BepFigures {
    double breakEvenPoint = 0;
    int32_t marginalProfitRatio = 0;
    double targetOperatingProfit = 0;
};

enum class AmountField { MaxSales, TargetSales, FixedCosts };

struct AppliedAmount {
    double value = 0;       // what the field holds
    QString wordsSource;    // the text the amount-in-words line is made from
    bool capped = false;    // the text's amount was beyond 2,147,483,647 and was cut to it
};

double BreakEvenPoint(const BepInputs& in);
BepFigures ComputeFigures(const BepInputs& in);

// The C library's strtol rule as a 32-bit parse: leading blanks, optional sign, digits up
// to the first non-digit, saturating at the 32-bit limits; no digits gives 0. `capped`
// tells whether a positive amount was cut to the upper limit.
// Both parses read full-width digits, signs and full stop as their ASCII forms.
int32_t ParseInt32(const QString& typed, bool* capped = nullptr);
// strtod's rule: the longest decimal number at the start (after blanks); none gives 0.
double ParseDouble(const QString& typed);

AppliedAmount ApplyAmountText(AmountField field, const QString& text);
QString AmountInWords(const QString& text);
QString RatioText(int32_t ratio);
int32_t ParseRatioPercent(const QString& text);
double DefaultMaxSales(double breakEvenPoint, double targetSales);
// 30015, 30016 or IDS_NONE.
StringId CheckAmountOrder(const BepInputs& in);

// printf's "%.0f" of a double, as the host C library writes it (inf, -inf, nan, -nan).
QString FormatWhole(double v);

} // namespace brevant
