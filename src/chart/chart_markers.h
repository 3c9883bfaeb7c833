#pragma once
// The target-sales and break-even markers with their boxes, and the handles at the ends
// of the total-cost and marginal-profit lines. Drawn on the composition surface, over the
// framed plot, so the boxes may reach into the title and scale bands.

#include "area_variant.h"
#include "chart_style.h"

#include <cstdint>

namespace brevant {

class DrawSurface;
struct ChartPaint;

// Half the size of the marker squares and triangles: max(plotHeight / 70, 5).
int32_t MarkerSize(int32_t plotHeight);
// Half the size of a handle: 3, or 9 while the movable elements are highlighted.
constexpr int HandleHalf(bool highlight) { return highlight ? 9 : 3; }

constexpr ColorRef kMarkerYellow = 0x00FFFF;

// Each draws on the composition `s` for chart `chart` of the paint `p`.
void DrawTargetMarker(DrawSurface& s, ChartPaint& p, int chart);
void DrawBreakEvenMarker(DrawSurface& s, const ChartPaint& p, int chart, AreaVariant variant);
void DrawTotalCostHandle(DrawSurface& s, const ChartPaint& p, int chart);
void DrawMarginalHandle(DrawSurface& s, const ChartPaint& p, int chart);

} // namespace brevant
