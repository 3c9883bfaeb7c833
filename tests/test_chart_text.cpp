#include "chart_kinds.h"
#include "chart_markers.h"
#include "chart_text.h"
#include "draw_surface.h"

#include <QFontInfo>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace brevant;

namespace {

BepInputs Sales(double s, int32_t unit = 0)
{
    BepInputs in;
    in.maxSales = s;
    in.amountUnit = unit;
    return in;
}

} // namespace

TEST(FormatAmount, SeparatorsForFourToNineDigits)
{
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"", ""},
        {"7", "7"},
        {"-5", "-5"},
        {"999", "999"},
        {"1000", "1,000"},
        {"123456", "123,456"},
        {"1234567", "1,234,567"},
        {"999999999", "999,999,999"},
        {"1000000000", "1000000000"},
        {"2147483647", "2147483647"},
        {"-123456", "-123,456"},
        {"-1234567", "-1,234,567"},
        {"-999", "-999"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatAmount(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

TEST(ShownAmount, UnitRoundingAndNonFiniteValues)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    const struct {
        double amount;
        int32_t unit;
        const char* out;
    } cases[] = {
        {154321000, 0, "154,321,000"},
        {123456789, 1, "123,457"},
        {123456789, 7, "123,457"},
        {-1234567, 0, "-1,234,567"},
        {-0.4, 0, "0"},
        {-0.5, 0, "0"},
        {-499, 7, "0"},
        {-0.6, 0, "-1"},
        {1500000000, 0, "1500000000"},
        {12604913.22, 0, "12,604,913"},
        {inf, 0, "∞"},
        {-inf, 0, "-∞"},
        {-inf, 1, "-∞"},
        {std::nan(""), 0, "―"},
        {1e308, 0, ""}, // checked below: digits only, no crash
    };
    for (const auto& c : cases) {
        if (*c.out == 0)
            continue;
        EXPECT_EQ(ShownAmount(c.amount, c.unit), QString::fromUtf8(c.out)) << c.amount;
    }
    const QString huge = ShownAmount(1e308, 0);
    EXPECT_EQ(huge.size(), 309);
    EXPECT_FALSE(huge.contains(u','));
}

TEST(ScaleLabels, TenthsOfTheMaximumSales)
{
    const QStringList yen = {"15,432,100", "30,864,200", "46,296,300", "61,728,400",
                             "77,160,500", "92,592,600", "108,024,700", "123,456,800",
                             "138,888,900", "154,321,000"};
    const QStringList thousands = {"12,346", "24,691", "37,037", "49,383", "61,728",
                                   "74,074", "86,420", "98,765", "111,111", "123,457"};
    for (int i = 1; i <= 10; ++i) {
        EXPECT_EQ(ScaleLabel(Sales(154321000), i), yen[i - 1]);
        EXPECT_EQ(ScaleLabel(Sales(123456789, 1), i), thousands[i - 1]);
        // The bottom scale pads in front to the widest label.
        const QString padded = PaddedBottomLabel(Sales(154321000), i);
        EXPECT_EQ(padded.size(), 11);
        EXPECT_EQ(padded.trimmed(), yen[i - 1]);
    }
    // The top label of a ten-digit maximum has no separators, those below it do.
    EXPECT_EQ(ScaleLabel(Sales(1500000000), 10), "1500000000");
    EXPECT_EQ(ScaleLabel(Sales(1500000000), 9), "1350000000");
    EXPECT_EQ(ScaleLabel(Sales(1500000000), 6), "900,000,000");
    EXPECT_EQ(ScaleLabel(Sales(1500000000), 1), "150,000,000");
}

TEST(ChartFonts, SizesFollowTheFontSize)
{
    const struct {
        int fontSize;
        int title;
        int small;
    } cases[] = {{5, 7, 4}, {10, 15, 8}, {11, 16, 8}, {50, 75, 40}};
    for (const auto& c : cases) {
        EXPECT_EQ(TitlePoints(c.fontSize), c.title) << c.fontSize;
        EXPECT_EQ(SmallPoints(c.fontSize), c.small) << c.fontSize;
    }

    const struct {
        int points;
        int dpi;
        int pixels;
    } heights[] = {{10, 96, 13}, {8, 96, 11}, {15, 96, 20}, {4, 96, 5}, {1, 96, 3},
                   {10, 72, 10}, {75, 96, 100}};
    for (const auto& h : heights)
        EXPECT_EQ(CharHeightPixels(h.points, h.dpi), h.pixels) << h.points << "@" << h.dpi;
}

TEST(ChartFonts, TheChartFaceResolvesToTheJapaneseGothic)
{
    const ChartFont f = MakeChartFont(QString(), 10, true, 40, 96);
    EXPECT_TRUE(f.valid);
    EXPECT_EQ(f.rotation, 40);
    EXPECT_EQ(f.font.pixelSize(), 13);
    EXPECT_EQ(f.font.weight(), QFont::Bold);
    EXPECT_EQ(QFontInfo(f.font).family(), "IPAPGothic");
    EXPECT_EQ(MakeChartFont(QString(), 10, false, 0, 96).font.weight(), QFont::Normal);
}

TEST(Bands, MeasuredWithTheDrawingFonts)
{
    QImage image(200, 100, QImage::Format_RGB32);
    DrawSurface s(image);
    ChartStyle style = ChartStyle::Defaults();
    const BepInputs in = Sales(154321000);

    s.selectFont(LeftScaleFont(style, 96));
    const int labelWidth = s.textExtent("154,321,000").width();
    EXPECT_GT(labelWidth, 40);
    EXPECT_EQ(MeasureLeftBand(s, in, style), style.scaleMargin + labelWidth);

    s.selectFont(BottomScaleFont(style, 96));
    const QSize e = s.textExtent("154,321,000");
    const double t = std::atan(1.0) * 40 * 4 / 180;
    EXPECT_EQ(MeasureBottomBand(s, in, style),
              style.scaleMargin + int(std::abs(std::sin(t) * e.width()) +
                                      std::abs(std::cos(t) * e.height()) + 0.5));

    s.selectFont(TitleFont(style, 96));
    const int titleHeight = s.textExtent(style.titles[0]).height();
    EXPECT_EQ(MeasureTopBand(s, style), style.scaleMargin + titleHeight);

    // No text at all: no band.
    for (int k = 0; k < 3; ++k) {
        style.titles[k].clear();
        style.subtitles[k].clear();
    }
    EXPECT_EQ(MeasureTopBand(s, style), 0);

    // A subtitle of a hidden chart still counts.
    style.drawGraph = {1, 1, 0};
    style.subtitles[2] = "（図表3）";
    s.selectFont(SubtitleFont(style, 96));
    EXPECT_EQ(MeasureTopBand(s, style), style.scaleMargin + s.textExtent("（図表3）").height());
}

TEST(RotatedExtent, FortyDegreeLabels)
{
    EXPECT_EQ(RotatedHeight(QSize(100, 20)), 80); // 64.28 + 15.32
    EXPECT_EQ(RotatedWidth(QSize(100, 20)), 89);  // 76.60 + 12.86
    EXPECT_EQ(RotatedHeight(QSize(0, 0)), 0);
}

TEST(DarkenColour, LowersEachChannelBy96)
{
    const struct {
        ColorRef in;
        ColorRef out;
    } cases[] = {
        {0, 0x808080},
        {Rgb(206, 206, 206), Rgb(110, 110, 110)},
        {Rgb(255, 192, 192), Rgb(159, 96, 96)},
        {Rgb(50, 200, 96), Rgb(0, 104, 0)},
        {Rgb(255, 255, 255), Rgb(159, 159, 159)},
        {Rgb(1, 0, 0), Rgb(0, 0, 0)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DarkenColour(c.in), c.out) << std::hex << c.in;
    EXPECT_EQ(AreaLabelColour(0xFFFFFFFFu), 0x808080u);
    EXPECT_EQ(AreaLabelColour(0), 0x808080u);
    EXPECT_EQ(AreaLabelColour(Rgb(206, 206, 206)), Rgb(110, 110, 110));
}

TEST(MarkerSize, SeventiethOfThePlotHeightAtLeastFive)
{
    const struct {
        int32_t plotHeight;
        int32_t d;
    } cases[] = {{300, 5}, {349, 5}, {420, 6}, {700, 10}, {0, 5}, {-50, 5}, {2147483647, 30678337}};
    for (const auto& c : cases)
        EXPECT_EQ(MarkerSize(c.plotHeight), c.d) << c.plotHeight;
    EXPECT_EQ(HandleHalf(false), 3);
    EXPECT_EQ(HandleHalf(true), 9);
}
