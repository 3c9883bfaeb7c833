#pragma once
// The three chart kinds: their profit and loss areas with labels, the four figure lines
// with their names and ratio texts, and the order in which one chart is put together.

#include "area_variant.h"
#include "chart_paint.h"

namespace brevant {

// The kinds of chart by index: chart 0 is the break-even chart (total cost line, areas
// and marker in yen), chart 1 the index chart (marginal profit line, areas as indices),
// chart 2 the combined chart, which draws both.
constexpr bool DrawsBreakEvenParts(int chart) { return chart == 0 || chart == 2; }
constexpr bool DrawsIndexParts(int chart) { return chart == 1 || chart == 2; }

// Label colour of an area: black becomes grey, any other colour is 96 darker per channel.
ColorRef DarkenColour(ColorRef colour);
// The colour of an area's label and border (0xFFFFFFFF gives grey as black does).
ColorRef AreaLabelColour(ColorRef areaColour);

// The triangles of the areas, in grid coordinates.
std::array<QPoint, 3> ProfitTriangle(const KeyPoints& k, AreaVariant v);
std::array<QPoint, 3> LossTriangle(const KeyPoints& k, AreaVariant v);

// Draws chart k completely: plot (areas, lines, labels) on `plotImage`, copied onto
// `comp`, then frame, markers, handles, titles and scales on the composition.
void DrawChart(int k, DrawSurface& comp, QImage& plotImage, ChartPaint& p);

// The plot-surface routines, exposed for tests.
void DrawProfitArea(DrawSurface& plot, const ChartPaint& paint, AreaVariant v);
void DrawLossArea(DrawSurface& plot, const ChartPaint& paint, AreaVariant v);
void DrawProfitLabel(DrawSurface& plot, const ChartPaint& paint, AreaVariant v);
void DrawLossLabel(DrawSurface& plot, const ChartPaint& paint, AreaVariant v);
void DrawSalesLine(DrawSurface& plot, const ChartPaint& paint);
void DrawFixedLine(DrawSurface& plot, ChartPaint& paint, int chart);
void DrawTotalLine(DrawSurface& plot, ChartPaint& paint, int chart);
void DrawMarginalLine(DrawSurface& plot, ChartPaint& paint, int chart);

} // namespace brevant
