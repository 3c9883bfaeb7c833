#pragma once
// The chart style and the other values a user sets that persist between runs.

#include <QString>
#include <array>
#include <cstdint>

namespace brevant {

// Colours are 0x00BBGGRR: red in the lowest byte.
using ColorRef = uint32_t;

constexpr ColorRef Rgb(int r, int g, int b)
{
    return ColorRef(r & 0xFF) | (ColorRef(g & 0xFF) << 8) | (ColorRef(b & 0xFF) << 16);
}
constexpr int RedOf(ColorRef c) { return int(c & 0xFF); }
constexpr int GreenOf(ColorRef c) { return int((c >> 8) & 0xFF); }
constexpr int BlueOf(ColorRef c) { return int((c >> 16) & 0xFF); }

// Element indices of the colour and width tables.
enum Element {
    kSalesLine = 0,
    kFixedLine = 1,
    kTotalCostLine = 2,
    kMarginalLine = 3,
    kTargetSales = 4,
    kBreakEven = 5,
    kProfitArea = 6,
    kLossArea = 7,
    kFrame = 8,
    kInterior = 9,
};

constexpr int kChartCount = 3;
constexpr int kColorCount = 10;
constexpr int kWidthCount = 9;

constexpr std::array<ColorRef, kColorCount> kDefaultColors = {
    0, 128, 32768, 16744448, 16711680, 255, 13553358, 12632319, 12566463, 15399163};

QString DefaultTitle(int chart);
QString DefaultSubtitle(int chart);

struct ChartStyle {
    std::array<int32_t, kChartCount> drawGraph = {1, 1, 1};
    std::array<QString, kChartCount> titles;
    std::array<QString, kChartCount> subtitles;
    std::array<ColorRef, kColorCount> colors = kDefaultColors;
    std::array<int32_t, kWidthCount> lineWidths = {3, 3, 3, 3, 3, 3, 3, 3, 3};
    int32_t fontSize = 10;
    int32_t outerMargin = 10;
    int32_t scaleMargin = 10;

    // The style of a first start: every chart shown with its default titles.
    static ChartStyle Defaults();

    bool operator==(const ChartStyle&) const = default;
};

// 0 JPEG, 1 BMP, 2 GIF, 3 PNG, 4 TIFF, 5 PDF. Held as read from the profile, so a value
// outside 0..5 survives a run unchanged (it then acts as JPEG).
enum OutputFormat : int32_t { kJpeg = 0, kBmp = 1, kGif = 2, kPng = 3, kTiff = 4, kPdf = 5 };

} // namespace brevant
