// The amount and ratio rules on any text, and the amount in words on any figure: the text
// rules must agree with the C library they imitate, and nothing may trap on a huge,
// negative or non-finite value.

#include "fuzz_support.h"

#include "bep_model.h"
#include "saturate.h"
#include "text_util.h"
#include "cli_common.h"
#include "four_values.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <locale.h>

using namespace brevant;

namespace {

locale_t CLocale()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return c;
}

// strtol's result clamped to 32 bits, on the Latin-1 form of the text with full-width
// digits and signs narrowed (other characters become '?', which ends a number as the
// original character would).
int32_t ReferenceInt(const QString& text)
{
    const QByteArray s = NarrowNumberText(text).toLatin1();
    const long long v = strtoll_l(s.constData(), nullptr, 10, CLocale());
    return Sat32(v);
}

// strtod's result, or nothing where strtod reads more than decimals (hexadecimal, inf,
// nan), which the amount rule does not.
std::optional<double> ReferenceDouble(const QString& text)
{
    const QByteArray s = NarrowNumberText(text).toLatin1();
    const char* p = s.constData();
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        ++p;
    if (*p == '+' || *p == '-')
        ++p;
    if (*p == 'i' || *p == 'I' || *p == 'n' || *p == 'N')
        return std::nullopt;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X'))
        return std::nullopt;
    return strtod_l(s.constData(), nullptr, CLocale());
}

// Reads "1兆2億3万4円" back into a number.
double WordsValue(const QString& words)
{
    double total = 0;
    double part = 0;
    for (const QChar c : words) {
        if (c >= u'0' && c <= u'9') {
            part = part * 10 + (c.unicode() - u'0');
        } else {
            const double scale = c == u'兆' ? 1e12 : c == u'億' ? 1e8 : c == u'万' ? 1e4 : 1;
            total += part * scale;
            part = 0;
        }
    }
    return total + part;
}

void CheckWords(const QString& text)
{
    const QString words = AmountInWords(text);
    FUZZ_CHECK(words.endsWith(u'円'));
    const double v = ParseDouble(text);
    if (v == 0)
        FUZZ_CHECK(words == u"0円");
    // Whole yen below 2^53 are exact, so the words must give the amount back.
    if (v >= 1 && v < 9007199254740992.0 && v == std::floor(v)) {
        const double back = WordsValue(words);
        if (back != v) {
            std::fprintf(stderr, "%.17g reads %s\n", v, words.toUtf8().constData());
            FUZZ_CHECK(back == v);
        }
    }
}

void CheckText(const QString& text)
{
    const int32_t i = ParseInt32(text);
    FUZZ_CHECK(i == ReferenceInt(text));

    const double d = ParseDouble(text);
    FUZZ_CHECK(!std::isnan(d));
    if (const auto ref = ReferenceDouble(text))
        FUZZ_CHECK(d == *ref);

    const AmountField fields[] = {AmountField::MaxSales, AmountField::TargetSales,
                                  AmountField::FixedCosts};
    for (const AmountField f : fields) {
        const AppliedAmount a = ApplyAmountText(f, text);
        const double floor = f == AmountField::FixedCosts ? 0 : 1;
        FUZZ_CHECK(a.value >= floor && a.value <= kInt32Max);
        FUZZ_CHECK(a.value == (i >= floor ? double(i) : floor));
        FUZZ_CHECK(ParseInt32(a.wordsSource) == int32_t(a.value));
        CheckWords(a.wordsSource);
    }
    CheckWords(text);

    const int32_t ratio = ParseRatioPercent(text);
    FUZZ_CHECK(ratio == Trunc32(d * 100.0));
    const QString shown = RatioText(ratio);
    FUZZ_CHECK(shown.endsWith(u'%'));

    // The paste rule: amounts through the entries' rule, the ratio within 0..10000.
    BepInputs in;
    const int rc = ApplyFourValues(in, text);
    FUZZ_CHECK(rc == 0 || rc == 30014);
    if (rc == 0) {
        FUZZ_CHECK(in.maxSales >= 1 && in.targetSales >= 1 && in.fixedCosts >= 0);
        FUZZ_CHECK(in.variableCostRatio >= 0 && in.variableCostRatio <= 10000);
    }

    if (const auto size = ParseChartSize(text)) {
        FUZZ_CHECK(size->width() >= 1 && size->width() <= 32767);
        FUZZ_CHECK(size->height() >= 1 && size->height() <= 32767);
    }
    if (const auto format = ParseFormatName(text))
        FUZZ_CHECK(*format >= 0 && *format <= 5);
}

// Figures as a batch record may set them: any double, any ratio.
void CheckFigures(fuzz::ByteReader& in)
{
    BepInputs b;
    b.maxSales = in.Raw<double>();
    b.targetSales = in.Raw<double>();
    b.fixedCosts = in.Raw<double>();
    b.variableCostRatio = in.Raw<int32_t>();
    const BepFigures f = ComputeFigures(b);
    FUZZ_CHECK(f.marginalProfitRatio == SatSub(10000, b.variableCostRatio));
    (void)DefaultMaxSales(f.breakEvenPoint, b.targetSales);
    (void)CheckAmountOrder(b);
    for (const double v : {b.maxSales, b.targetSales, b.fixedCosts, f.breakEvenPoint,
                           f.targetOperatingProfit}) {
        const QString whole = FormatWhole(v);
        FUZZ_CHECK(!whole.isEmpty());
        CheckWords(whole);
        (void)Trunc32(v);
    }
    FUZZ_CHECK(RatioText(b.variableCostRatio).endsWith(u'%'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    CheckText(QString::fromUtf8(bytes));
    CheckText(QString::fromLatin1(bytes));
    fuzz::ByteReader reader(data, size);
    CheckFigures(reader);
    return 0;
}
