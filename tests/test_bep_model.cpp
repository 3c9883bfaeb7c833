#include "bep_model.h"
#include "four_values.h"
#include "saturate.h"

#include <gtest/gtest.h>
#include <cmath>
#include <limits>

using namespace brevant;

TEST(Trunc32, TruncatesTowardZeroAndSaturates)
{
    EXPECT_EQ(Trunc32(2.9), 2);
    EXPECT_EQ(Trunc32(-2.9), -2);
    EXPECT_EQ(Trunc32(1e300), kInt32Max);
    EXPECT_EQ(Trunc32(-1e300), kInt32Min);
    EXPECT_EQ(Trunc32(std::numeric_limits<double>::infinity()), kInt32Max);
    EXPECT_EQ(Trunc32(-std::numeric_limits<double>::infinity()), kInt32Min);
    EXPECT_EQ(Trunc32(std::nan("")), 0);
    EXPECT_EQ(Trunc32(2147483646.7), 2147483646);
}

TEST(SaturatingArithmetic, ClampsInsteadOfOverflowing)
{
    EXPECT_EQ(SatMul(2147483647, 999), kInt32Max);
    EXPECT_EQ(SatSub(999, kInt32Min), kInt32Max);
    EXPECT_EQ(SatDiv(int64_t(-1998), 999), -2);
    EXPECT_EQ(SatDiv(int64_t(kInt32Min), -1), kInt32Max);
    EXPECT_EQ(SatDiv(5, 0), 0);
}

TEST(ComputeFigures, SampleFigures)
{
    BepInputs in{154321000, 125678900, 49605558, 5613, 0};
    const BepFigures f = ComputeFigures(in);
    EXPECT_NEAR(f.breakEvenPoint, 113073986.78, 0.01);
    EXPECT_EQ(f.marginalProfitRatio, 4387);
    EXPECT_NEAR(f.targetOperatingProfit, 12604913.22, 0.01);

    // Textbook cases are exact: a whole-yen break-even point comes out whole.
    struct Case {
        double target, fixed;
        int32_t ratio;
        double breakEven;
    } cases[] = {
        {50'000'000, 12'000'000, 7000, 40'000'000},
        {10'000'000, 3'000'000, 4000, 5'000'000},
        {2'000'000, 1'800'000, 2500, 2'400'000},
        {1'000'000, 90'000, 9100, 1'000'000},
    };
    for (const Case& c : cases) {
        const BepFigures e = ComputeFigures({c.target * 2, c.target, c.fixed, c.ratio, 0});
        EXPECT_EQ(e.breakEvenPoint, c.breakEven) << c.ratio;
        EXPECT_EQ(e.targetOperatingProfit, c.target - c.breakEven) << c.ratio;
    }
}

TEST(ComputeFigures, FullRatioFollowsIeeeRules)
{
    BepInputs in{1000, 500, 300, 10000, 0};
    EXPECT_TRUE(std::isinf(ComputeFigures(in).breakEvenPoint));
    EXPECT_EQ(ComputeFigures(in).marginalProfitRatio, 0);
    in.fixedCosts = 0;
    EXPECT_TRUE(std::isnan(ComputeFigures(in).breakEvenPoint));
}

TEST(ApplyAmountText, ClampsAndKeepsTheWordsSource)
{
    struct Case {
        AmountField field;
        const char* text;
        double value;
        const char* words;
        bool capped;
    } cases[] = {
        {AmountField::TargetSales, "0", 1, "1円", false},
        {AmountField::TargetSales, "", 1, "1円", false},
        {AmountField::TargetSales, "-5", 1, "1円", false},
        {AmountField::TargetSales, "abc", 1, "1円", false},
        {AmountField::FixedCosts, "0", 0, "0円", false},
        {AmountField::FixedCosts, "-1", 0, "0円", false},
        // The words tell the amount held, not what the text says beyond it.
        {AmountField::MaxSales, "3000000000", 2147483647, "21億4748万3647円", true},
        {AmountField::MaxSales, "2147483647", 2147483647, "21億4748万3647円", false},
        {AmountField::TargetSales, "1e9", 1, "1円", false},
        {AmountField::MaxSales, "-3000000000", 1, "1円", false},
        {AmountField::MaxSales, "  +154321000yen", 154321000, "1億5432万1000円", false},
        // Full-width digits and signs read as the characters they stand for.
        {AmountField::MaxSales, "１２５００００００", 125000000, "1億2500万円", false},
        {AmountField::FixedCosts, "－１２", 0, "0円", false},
        {AmountField::TargetSales, "　＋１２", 12, "12円", false},
    };
    for (const auto& c : cases) {
        const AppliedAmount r = ApplyAmountText(c.field, QString::fromUtf8(c.text));
        EXPECT_EQ(r.value, c.value) << c.text;
        EXPECT_EQ(AmountInWords(r.wordsSource), QString::fromUtf8(c.words)) << c.text;
        EXPECT_EQ(r.capped, c.capped) << c.text;
    }
}

TEST(AmountInWords, WritesJapaneseUnits)
{
    const std::pair<const char*, const char*> cases[] = {
        {"154321000", "1億5432万1000円"}, {"125678900", "1億2567万8900円"},
        {"49605558", "4960万5558円"},     {"100050000", "1億5万円"},
        {"1000000000000", "1兆円"},       {"0", "0円"},
        {"", "0円"},                      {"0.5", "円"},
        {"12345678901234", "12兆3456億7890万1234円"}, {"-5", "円"},
        {"1e8", "1億円"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(AmountInWords(QString::fromUtf8(in)), QString::fromUtf8(out)) << in;
    // Absurd inputs saturate rather than misbehave.
    EXPECT_FALSE(AmountInWords(QStringLiteral("1e300")).isEmpty());
    EXPECT_FALSE(AmountInWords(QStringLiteral("-1e300")).isEmpty());
}

TEST(RatioText, FormatsHundredthsOfAPercent)
{
    EXPECT_EQ(RatioText(2500), QStringLiteral("25.00%"));
    EXPECT_EQ(RatioText(5613), QStringLiteral("56.13%"));
    EXPECT_EQ(RatioText(1), QStringLiteral("0.01%"));
    EXPECT_EQ(RatioText(0), QStringLiteral("0.00%"));
    EXPECT_EQ(RatioText(10000), QStringLiteral("100.00%"));
}

TEST(ParseRatioPercent, TruncatesTheProduct)
{
    const std::pair<const char*, int> cases[] = {
        {"56.13", 5613}, {"0.29", 28}, {"1.15", 114}, {"0.57", 56}, {"abc", 0},
        {"150", 15000},  {"25.5\r\n", 2550}, {"-3", -300}, {"1e400", kInt32Max},
        {"５６．１３", 5613}, {"−３", -300},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(ParseRatioPercent(QString::fromUtf8(in)), out) << in;
}

TEST(DefaultMaxSales, LargerPlusDistance)
{
    EXPECT_EQ(DefaultMaxSales(60, 100), 140);
    EXPECT_EQ(DefaultMaxSales(100, 60), 140);
    EXPECT_EQ(DefaultMaxSales(80, 80), 80);
}

TEST(CheckAmountOrder, EqualValuesPass)
{
    EXPECT_EQ(CheckAmountOrder({100, 100, 100, 0, 0}), 0);
    EXPECT_EQ(CheckAmountOrder({100, 101, 50, 0, 0}), 30015);
    EXPECT_EQ(CheckAmountOrder({100, 101, 200, 0, 0}), 30015);
    EXPECT_EQ(CheckAmountOrder({100, 50, 101, 0, 0}), 30016);
}

TEST(FormatWhole, WritesAsTheCLibraryDoes)
{
    EXPECT_EQ(FormatWhole(113073986.78), QStringLiteral("113073987"));
    EXPECT_EQ(FormatWhole(std::numeric_limits<double>::infinity()), QStringLiteral("inf"));
    EXPECT_EQ(FormatWhole(-std::numeric_limits<double>::infinity()), QStringLiteral("-inf"));
}

TEST(ApplyFourValues, TakesFiguresAsPasted)
{
    struct Case {
        const char* text;
        int result;
        double maxSales, targetSales, fixedCosts;
        int32_t ratio;
    } cases[] = {
        {"154321000,125678900,49605558,56.13", 0, 154321000, 125678900, 49605558, 5613},
        {"1000\t500\t300\t25.5\r\n", 0, 1000, 500, 300, 2550},
        {"1000,500", 0, 1000, 500, 0, 2500},          // ratio kept, fixed costs 0
        {"1000,500,300,150", 0, 1000, 500, 300, 10000}, // clamped
        {"1000,500,300,-3", 0, 1000, 500, 300, 0},
        {"1000,500,300,0.29", 0, 1000, 500, 300, 28},
        {"3000000000,0,-1,20,extra", 0, 2147483647, 1, 0, 2000},
        {"1000,,300,20", IDS_ZERO_VALUE, 1000, 7, 7, 2500}, // stops after the first field
        {"", IDS_ZERO_VALUE, 7, 7, 7, 2500},
        // Spreadsheet cells, a row or a column: each cell whole, its formatting dropped.
        {"130,000,000\t110,000,000\t46,000,000\t61%\r\n", 0, 130000000, 110000000, 46000000,
         6100},
        {"¥130,000,000\r\n110,000,000円\r\n 46,000,000 \r\n61 %\r\n", 0, 130000000, 110000000,
         46000000, 6100},
        {"1,000\n\n300\n20\n", IDS_ZERO_VALUE, 1000, 7, 7, 2500},
        {"1000,500,300,20\r\n\r\n", 0, 1000, 500, 300, 2000},
        // Without tabs or line breaks the commas still separate the fields.
        {"130,000,000,61%", 0, 130, 1, 0, 6100},
        {"１２５００００００，１２０，１０，２５．５", 0, 125000000, 120, 10, 2550},
    };
    for (const auto& c : cases) {
        BepInputs in{7, 7, 7, 2500, 0};
        EXPECT_EQ(ApplyFourValues(in, QString::fromUtf8(c.text)), c.result) << c.text;
        EXPECT_EQ(in.maxSales, c.maxSales) << c.text;
        EXPECT_EQ(in.targetSales, c.targetSales) << c.text;
        EXPECT_EQ(in.fixedCosts, c.fixedCosts) << c.text;
        EXPECT_EQ(in.variableCostRatio, c.ratio) << c.text;
    }
}
