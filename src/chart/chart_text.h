#pragma once
// Fonts, amount texts, band measurements, the plot frame, titles and the two scales.

#include "draw_surface.h"

#include <QString>

#include <cstdint>

namespace brevant {

struct BepInputs;
struct ChartPaint;

// Point sizes derived from the style's font size.
int TitlePoints(int fontSize);    // trunc(fontSize × 1.5)
int SmallPoints(int fontSize);    // max(trunc(fontSize × 0.8), 4): scales, ratios, boxes

// The chart fonts of one surface.
ChartFont TitleFont(const ChartStyle& style, int dpiY);
ChartFont SubtitleFont(const ChartStyle& style, int dpiY);
ChartFont LeftScaleFont(const ChartStyle& style, int dpiY);
ChartFont BottomScaleFont(const ChartStyle& style, int dpiY);
ChartFont NameFont(const ChartStyle& style, int dpiY);   // line names, area labels
ChartFont RatioFont(const ChartStyle& style, int dpiY);  // ratio texts beside lines
ChartFont BoxFont(const ChartStyle& style, int dpiY);    // marker boxes

// Thousands separators for a "%.0f" text: one or two commas for 4 to 9 digits, none for
// fewer or more. A leading minus sign is kept in front.
QString FormatAmount(const QString& text);

// An amount as the charts show it: in yen, or in thousands of yen when unit is not 0,
// as "%.0f" with separators. An infinite amount shows as "∞" or "-∞", an amount that is
// not a number as "―".
QString ShownAmount(double amount, int32_t unit);

// Label i (1..10) of both scales: i tenths of the maximum sales as shown.
QString ScaleLabel(const BepInputs& inputs, int i);
// The same label as the bottom scale writes it: spaces in front up to the length of the
// widest label, the maximum sales.
QString PaddedBottomLabel(const BepInputs& inputs, int i);

// The rotation of the bottom scale's labels, in degrees and in radians.
constexpr int kBottomLabelDegrees = 40;
double BottomLabelAngle();
// Vertical and horizontal extent of a text of extent (cx, cy) turned by the label angle,
// rounded to the nearest pixel.
int32_t RotatedHeight(QSize extent);
int32_t RotatedWidth(QSize extent);

int32_t MeasureLeftBand(DrawSurface& surface, const BepInputs& inputs, const ChartStyle& style);
int32_t MeasureTopBand(DrawSurface& surface, const ChartStyle& style);
int32_t MeasureBottomBand(DrawSurface& surface, const BepInputs& inputs, const ChartStyle& style);

// Chart origin (x0, y0): the top-left corner of the chart's rectangle on the composition.
void DrawPlotFrame(DrawSurface& surface, const ChartPaint& paint, int x0, int y0);
void DrawTitles(DrawSurface& surface, const ChartPaint& paint, int x0, int y0,
                const QString& title, const QString& subtitle);
void DrawBottomScale(DrawSurface& surface, const ChartPaint& paint, int x0, int y0);
void DrawLeftScale(DrawSurface& surface, const ChartPaint& paint, int x0, int y0);

} // namespace brevant
