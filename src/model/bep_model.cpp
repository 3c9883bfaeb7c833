#include "bep_model.h"

#include "saturate.h"
#include "text_util.h"

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <locale.h>

namespace brevant {

double BreakEvenPoint(const BepInputs& in)
{
    // F / (1 − R / 10000) taken as F × 10000 / (10000 − R): one rounding instead of three,
    // so a break-even point that is a whole number comes out as that number.
    return in.fixedCosts * 10000.0 / (10000.0 - in.variableCostRatio);
}

BepFigures ComputeFigures(const BepInputs& in)
{
    BepFigures f;
    f.breakEvenPoint = BreakEvenPoint(in);
    f.marginalProfitRatio = SatSub(10000, in.variableCostRatio);
    f.targetOperatingProfit = in.targetSales - f.breakEvenPoint;
    return f;
}

namespace {

bool IsCSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }

} // namespace

int32_t ParseInt32(const QString& typed, bool* capped)
{
    const QString text = NarrowNumberText(typed);
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && IsCSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    int64_t value = 0;
    for (; i < n && IsDigit(text[i]); ++i) {
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > int64_t(kInt32Max) + 1)
            value = int64_t(kInt32Max) + 1; // keep accumulating without overflow
    }
    if (capped)
        *capped = !negative && value > kInt32Max;
    return Sat32(negative ? -value : value);
}

namespace {

// The end of the run of digits from `i`; adds how many there are to `digits`.
qsizetype SkipDigits(const QString& text, qsizetype i, qsizetype& digits)
{
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
        ++digits;
    }
    return i;
}

// The end of an exponent ("e", a sign, digits) at `i`, or `i` when none is there.
qsizetype ExponentEnd(const QString& text, qsizetype i)
{
    const qsizetype n = text.size();
    if (i >= n || (text[i] != u'e' && text[i] != u'E'))
        return i;
    qsizetype j = i + 1;
    if (j < n && (text[j] == u'+' || text[j] == u'-'))
        ++j;
    qsizetype digits = 0;
    j = SkipDigits(text, j, digits);
    return digits > 0 ? j : i;
}

} // namespace

double ParseDouble(const QString& typed)
{
    const QString text = NarrowNumberText(typed);
    // Take the longest prefix that forms a decimal number, then let the C library convert
    // it under the C locale, so the result is correctly rounded and locale-independent.
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && IsCSpace(text[i]))
        ++i;
    const qsizetype start = i;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    qsizetype digits = 0;
    i = SkipDigits(text, i, digits);
    if (i < n && text[i] == u'.')
        i = SkipDigits(text, i + 1, digits);
    if (digits == 0)
        return 0.0;
    i = ExponentEnd(text, i);
    const QByteArray number = text.mid(start, i - start).toLatin1();
    static const locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", locale_t(nullptr));
    return strtod_l(number.constData(), nullptr, cLocale);
}

AppliedAmount ApplyAmountText(AmountField field, const QString& text)
{
    bool capped = false;
    const int32_t v = ParseInt32(text, &capped);
    const int32_t lowest = field == AmountField::FixedCosts ? 0 : 1;
    AppliedAmount r;
    r.value = std::max(v, lowest);
    // The words show the amount held, so they agree with the charts and every output
    // even where the text says more (beyond the cap, "1e9", "12.5").
    r.wordsSource = QString::number(std::max(v, lowest));
    r.capped = capped;
    return r;
}

QString AmountInWords(const QString& text)
{
    double x = ParseDouble(text);
    if (x == 0)
        return QStringLiteral("0円");
    const int32_t t = Trunc32(x / 1e12);
    x = x - t * 1e12;
    int32_t o = 0, m = 0, y = 0;
    if (x > 0) {
        o = Trunc32(x / 1e8);
        x = x - o * 1e8;
        if (x > 0) {
            m = Trunc32(x / 1e4);
            x = x - m * 1e4;
            if (x > 0)
                y = Trunc32(x);
        }
    }
    QString r;
    if (t > 0)
        r += QString::number(t) + u'兆';
    if (o > 0)
        r += QString::number(o) + u'億';
    if (m > 0)
        r += QString::number(m) + u'万';
    if (y > 0)
        r += QString::number(y);
    return r + u'円';
}

QString RatioText(int32_t ratio)
{
    return CFormat("%.2f%%", ratio / 100.0);
}

int32_t ParseRatioPercent(const QString& text)
{
    return Trunc32(ParseDouble(text) * 100.0);
}

double DefaultMaxSales(double breakEvenPoint, double targetSales)
{
    if (breakEvenPoint < targetSales)
        return breakEvenPoint + (targetSales - breakEvenPoint) * 2;
    return targetSales + (breakEvenPoint - targetSales) * 2;
}

StringId CheckAmountOrder(const BepInputs& in)
{
    if (in.targetSales > in.maxSales)
        return IDS_MAX_BELOW_TARGET;
    if (in.fixedCosts > in.maxSales)
        return IDS_MAX_BELOW_FIXED;
    return IDS_NONE;
}

QString FormatWhole(double v)
{
    return CFormat("%.0f", v);
}

} // namespace brevant
