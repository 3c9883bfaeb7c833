#include "analysis.h"

#include <QJsonArray>

#include <gtest/gtest.h>

using namespace brevant;

namespace {

BepInputs Inputs(double target, double fixed, int32_t ratioHundredths)
{
    BepInputs in;
    in.maxSales = target * 2;
    in.targetSales = target;
    in.fixedCosts = fixed;
    in.variableCostRatio = ratioHundredths;
    return in;
}

// Textbook figures come out exact: a script compares them with ==.
void ExpectFigure(const Figure& actual, double expected)
{
    ASSERT_TRUE(actual.has_value());
    EXPECT_EQ(*actual, expected);
}

} // namespace

TEST(Analysis, ProfitableBusiness)
{
    // T = 10,000,000, F = 3,000,000, v = 40 %.
    // B = 3,000,000 / 0.6 = 5,000,000; M = 10,000,000 × 0.6 = 6,000,000;
    // P = 6,000,000 − 3,000,000 = 3,000,000; T − B = 5,000,000;
    // margin of safety 5,000,000 / 10,000,000 = 50 %; B / T = 50 %; M / P = 2.
    const AnalysisFigures f = ComputeAnalysis(Inputs(10'000'000, 3'000'000, 4000));
    ExpectFigure(f.breakEvenSales, 5'000'000);
    ExpectFigure(f.marginalProfit, 6'000'000);
    ExpectFigure(f.operatingProfit, 3'000'000);
    ExpectFigure(f.marginOfSafety, 5'000'000);
    ExpectFigure(f.marginOfSafetyRatio, 0.5);
    ExpectFigure(f.breakEvenRatio, 0.5);
    ExpectFigure(f.operatingLeverage, 2);
}

TEST(Analysis, BusinessBelowBreakEven)
{
    // T = 2,000,000, F = 1,800,000, v = 25 %.
    // B = 1,800,000 / 0.75 = 2,400,000; M = 2,000,000 × 0.75 = 1,500,000;
    // P = 1,500,000 − 1,800,000 = −300,000; T − B = −400,000;
    // margin of safety −400,000 / 2,000,000 = −20 %; B / T = 120 %;
    // M / P = 1,500,000 / −300,000 = −5.
    const AnalysisFigures f = ComputeAnalysis(Inputs(2'000'000, 1'800'000, 2500));
    ExpectFigure(f.breakEvenSales, 2'400'000);
    ExpectFigure(f.operatingProfit, -300'000);
    ExpectFigure(f.marginOfSafety, -400'000);
    ExpectFigure(f.marginOfSafetyRatio, -0.2);
    ExpectFigure(f.breakEvenRatio, 1.2);
    ExpectFigure(f.operatingLeverage, -5);
}

TEST(Analysis, TargetExactlyAtBreakEvenLeavesLeverageUndefined)
{
    // T = 8,000,000, F = 4,000,000, v = 50 %: B = 4,000,000 / 0.5 = 8,000,000 = T;
    // M = 4,000,000; P = 0, so M / P has no value; T − B = 0; B / T = 100 %.
    const AnalysisFigures f = ComputeAnalysis(Inputs(8'000'000, 4'000'000, 5000));
    ExpectFigure(f.operatingProfit, 0);
    ExpectFigure(f.marginOfSafety, 0);
    ExpectFigure(f.marginOfSafetyRatio, 0);
    ExpectFigure(f.breakEvenRatio, 1);
    EXPECT_FALSE(f.operatingLeverage);
    EXPECT_EQ(FormatTimes(f.operatingLeverage), u"―"_qs);
}

TEST(Analysis, UndefinedCases)
{
    // v = 100 %: no sale adds anything, so there is no break-even point and nothing that
    // is measured against it; M = 0 and P = −F remain.
    AnalysisFigures f = ComputeAnalysis(Inputs(10'000'000, 3'000'000, 10000));
    EXPECT_FALSE(f.breakEvenSales);
    EXPECT_FALSE(f.marginOfSafety);
    EXPECT_FALSE(f.marginOfSafetyRatio);
    EXPECT_FALSE(f.breakEvenRatio);
    ExpectFigure(f.marginalProfit, 0);
    ExpectFigure(f.operatingProfit, -3'000'000);
    ExpectFigure(f.operatingLeverage, 0);
    EXPECT_EQ(FormatTimes(f.operatingLeverage), u"0.00倍"_qs);

    // v = 100 % and no fixed costs: P = 0 as well.
    f = ComputeAnalysis(Inputs(10'000'000, 0, 10000));
    EXPECT_FALSE(f.breakEvenSales);
    EXPECT_FALSE(f.operatingLeverage);

    // T = 0: the ratios to target sales have no value.
    f = ComputeAnalysis(Inputs(0, 3'000'000, 4000));
    ExpectFigure(f.breakEvenSales, 5'000'000);
    ExpectFigure(f.marginOfSafety, -5'000'000);
    EXPECT_FALSE(f.marginOfSafetyRatio);
    EXPECT_FALSE(f.breakEvenRatio);

    // No text ever shows "nan" or "inf".
    for (const BepInputs& in : {Inputs(0, 0, 10000), Inputs(1, 2147483647, 9999),
                                Inputs(0, 0, 0)}) {
        QString all = AnalysisText(in) + SensitivityTabText(SensitivityTable(in));
        EXPECT_FALSE(all.contains(u"nan"_qs, Qt::CaseInsensitive)) << qPrintable(all);
        EXPECT_FALSE(all.contains(u"inf"_qs, Qt::CaseInsensitive)) << qPrintable(all);
    }
}

TEST(Analysis, SensitivityRows)
{
    // T = 10,000,000, F = 3,000,000, v = 40 %: today B = 5,000,000, P = 3,000,000.
    const std::vector<SensitivityRow> rows =
        SensitivityTable(Inputs(10'000'000, 3'000'000, 4000));
    ASSERT_EQ(rows.size(), 10u);

    // Fixed costs −10 %: F = 2,700,000, B = 2,700,000 / 0.6 = 4,500,000,
    // P = 6,000,000 − 2,700,000 = 3,300,000.
    const SensitivityRow& fixedDown = rows[0];
    EXPECT_EQ(SensitivityLabel(fixedDown), u"固定費 -10%"_qs);
    ExpectFigure(fixedDown.changedValue, 2'700'000);
    ExpectFigure(fixedDown.breakEvenSales, 4'500'000);
    ExpectFigure(fixedDown.operatingProfit, 3'300'000);
    ExpectFigure(fixedDown.breakEvenChange, -500'000);
    ExpectFigure(fixedDown.profitChange, 300'000);
    EXPECT_EQ(SensitivityEffect(fixedDown), 1);

    // Ratio +5 points: v = 45 %, B = 3,000,000 / 0.55 = 5,454,545.45…,
    // P = 5,500,000 − 3,000,000 = 2,500,000 (−500,000).
    const SensitivityRow& ratioUp = rows[7];
    EXPECT_EQ(SensitivityLabel(ratioUp), u"変動費率 +5ポイント"_qs);
    ExpectFigure(ratioUp.changedValue, 45);
    ASSERT_TRUE(ratioUp.breakEvenSales);
    EXPECT_NEAR(*ratioUp.breakEvenSales, 3'000'000 / 0.55, 1e-6);
    ExpectFigure(ratioUp.profitChange, -500'000);
    EXPECT_EQ(SensitivityEffect(ratioUp), -1);
    EXPECT_EQ(FormatYen(ratioUp.breakEvenSales), u"5,454,545円"_qs);

    // Target sales +10 %: T = 11,000,000, B unchanged, P = 6,600,000 − 3,000,000.
    const SensitivityRow& targetUp = rows[9];
    EXPECT_EQ(SensitivityLabel(targetUp), u"目標売上高 +10%"_qs);
    ExpectFigure(targetUp.breakEvenChange, 0);
    ExpectFigure(targetUp.profitChange, 600'000);
    EXPECT_EQ(FormatSignedYen(targetUp.breakEvenChange), u"±0円"_qs);
    EXPECT_EQ(FormatSignedYen(targetUp.profitChange), u"+600,000円"_qs);

    // A change cell takes its row's effect; a change of ±0円 and every other cell none.
    EXPECT_EQ(SensitivityCellEffect(fixedDown, SensitivityColumn::BreakEvenChange), 1);
    EXPECT_EQ(SensitivityCellEffect(ratioUp, SensitivityColumn::ProfitChange), -1);
    EXPECT_EQ(SensitivityCellEffect(targetUp, SensitivityColumn::BreakEvenChange), 0);
    EXPECT_EQ(SensitivityCellEffect(fixedDown, SensitivityColumn::OperatingProfit), 0);
}

TEST(Analysis, RatioStepsOutsideTheRangeHaveNoFigures)
{
    // 97 % + 5 points and 3 % − 5 points are not ratios a business can have; 98 % + 2
    // reaches 100 %, where the break-even point is undefined but profit is not.
    std::vector<SensitivityRow> rows = SensitivityTable(Inputs(10'000'000, 3'000'000, 9700));
    EXPECT_FALSE(rows[7].changedValue);
    EXPECT_FALSE(rows[7].operatingProfit);
    EXPECT_EQ(FormatChangedValue(rows[7]), u"―"_qs);
    EXPECT_EQ(SensitivityEffect(rows[7]), 0);

    rows = SensitivityTable(Inputs(10'000'000, 3'000'000, 9800));
    ExpectFigure(rows[6].changedValue, 100);
    EXPECT_FALSE(rows[6].breakEvenSales);
    ExpectFigure(rows[6].operatingProfit, -3'000'000);

    rows = SensitivityTable(Inputs(10'000'000, 3'000'000, 300));
    EXPECT_FALSE(rows[4].changedValue);
    ExpectFigure(rows[5].changedValue, 1);
}

TEST(Analysis, Texts)
{
    EXPECT_EQ(FormatYen(1234567.5), u"1,234,568円"_qs);
    EXPECT_EQ(FormatYen(-400000.0), u"-400,000円"_qs);
    EXPECT_EQ(FormatYen(-0.3), u"0円"_qs);
    EXPECT_EQ(FormatYen(999.0), u"999円"_qs);
    EXPECT_EQ(FormatSignedYen(-1234.0), u"-1,234円"_qs);
    EXPECT_EQ(FormatPercentFigure(0.25434), u"25.43%"_qs);
    EXPECT_EQ(FormatPercentFigure(std::nullopt), u"―"_qs);
    EXPECT_EQ(FormatPercentFigure(-0.00004), u"0.00%"_qs);
    EXPECT_EQ(FormatTimes(-0.004), u"0.00倍"_qs);
    EXPECT_EQ(FormatTimes(-0.006), u"-0.01倍"_qs);

    const BepInputs in = Inputs(10'000'000, 3'000'000, 4000);
    const QString tab = SensitivityTabText(SensitivityTable(in));
    const QStringList lines = tab.split(u"\r\n"_qs);
    ASSERT_EQ(lines.size(), 12); // header, ten rows, and the empty rest after the last CR LF
    EXPECT_EQ(lines[0].count(u'\t'), 5);
    EXPECT_EQ(lines[1], u"固定費 -10%\t2700000\t4500000\t3300000\t-500000\t300000"_qs);
    EXPECT_EQ(lines[5], u"変動費率 -5ポイント\t35.00\t4615385\t3500000\t-384615\t500000"_qs);

    const QString text = AnalysisText(in);
    EXPECT_TRUE(text.contains(u"安全余裕率"_qs));
    EXPECT_TRUE(text.contains(u"50.00%"_qs));
    EXPECT_TRUE(text.contains(u"2.00倍"_qs));
    // The table's rows line up: every row of the table ends in the same column.
    const QStringList textLines = text.split(u'\n');
    const qsizetype tableStart = textLines.indexOf(u"感度分析"_qs);
    ASSERT_GT(tableStart, 0);
    EXPECT_TRUE(textLines[tableStart + 2].endsWith(u"+300,000円"_qs));
}

TEST(Analysis, CsvLines)
{
    // T = 10,000,000, F = 3,000,000, v = 40 %: B = 5,000,000, both ratios 50 %, M / P = 2.
    EXPECT_EQ(AnalysisCsvLine(u"本店"_qs, Inputs(10'000'000, 3'000'000, 4000)),
              u"本店,20000000,10000000,3000000,40.00,5000000,50.00,50.00,2.00\n"_qs);
    // v = 100 %: no break-even point, no ratios to it; M / P = 0 / −3,000,000 = 0.
    EXPECT_EQ(AnalysisCsvLine(u"x"_qs, Inputs(10'000'000, 3'000'000, 10000)),
              u"x,20000000,10000000,3000000,100.00,―,―,―,0.00\n"_qs);
    EXPECT_EQ(AnalysisCsvHeader().count(u','), 8);
}

TEST(Analysis, JsonHasNullForUndefinedFigures)
{
    // T = 50,000,000, F = 12,000,000, v = 70 %: B = 40,000,000, margin of safety 20 %,
    // B / T = 80 %, M / P = 15,000,000 / 3,000,000 = 5, every one exact.
    const QJsonObject textbook = AnalysisJson(Inputs(50'000'000, 12'000'000, 7000));
    EXPECT_EQ(textbook[u"breakEvenSales"_qs].toDouble(), 40'000'000);
    EXPECT_EQ(textbook[u"marginOfSafetyPercent"_qs].toDouble(), 20);
    EXPECT_EQ(textbook[u"breakEvenPercent"_qs].toDouble(), 80);
    EXPECT_EQ(textbook[u"operatingLeverage"_qs].toDouble(), 5);
    EXPECT_EQ(textbook[u"sensitivity"_qs][3][u"changedValue"_qs].toDouble(), 13'200'000);

    QJsonObject o = AnalysisJson(Inputs(10'000'000, 3'000'000, 4000));
    EXPECT_EQ(o[u"breakEvenSales"_qs].toDouble(), 5'000'000);
    EXPECT_EQ(o[u"marginOfSafetyPercent"_qs].toDouble(), 50);
    EXPECT_EQ(o[u"operatingLeverage"_qs].toDouble(), 2);
    EXPECT_EQ(o[u"texts"_qs][u"marginalProfit"_qs].toString(), u"6,000,000円"_qs);
    const QJsonArray rows = o[u"sensitivity"_qs].toArray();
    ASSERT_EQ(rows.size(), 10);
    EXPECT_EQ(rows[0][u"operatingProfitChange"_qs].toDouble(), 300'000);
    EXPECT_EQ(rows[4][u"stepUnit"_qs].toString(), u"points"_qs);

    // v = 100 % and no fixed costs: no break-even point and no leverage.
    o = AnalysisJson(Inputs(10'000'000, 0, 10000));
    EXPECT_TRUE(o[u"breakEvenSales"_qs].isNull());
    EXPECT_TRUE(o[u"operatingLeverage"_qs].isNull());
    EXPECT_EQ(o[u"texts"_qs][u"operatingLeverage"_qs].toString(), u"―"_qs);
    EXPECT_TRUE(o[u"sensitivity"_qs][7][u"changedValue"_qs].isNull());
}
