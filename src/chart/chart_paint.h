#pragma once
// Everything one paint's drawing routines read: the figures, the style, the geometry of
// this paint, the break-even figure computed at its start, the highlight flag, and the
// movable-element table the drawing writes positions into.

#include "bep_model.h"
#include "chart_style.h"
#include "chart_geometry.h"
#include "draw_surface.h"

namespace brevant {

struct ChartPaint {
    const BepInputs& inputs;
    const ChartStyle& style;
    ChartGeometry& geometry;
    double breakEvenPoint = 0;
    bool highlight = false;
    MovableElementTable& elements;

    // The plot pixel of a key point, and the same pixel on the composition surface for
    // chart k.
    QPoint pixel(QPoint grid) const { return ToPlotPixels(geometry, grid); }
    QPoint onComposition(int chart, QPoint grid) const;
    // The top-left corner of chart k's plot on the composition surface.
    QPoint plotOrigin(int chart) const;
};

} // namespace brevant
