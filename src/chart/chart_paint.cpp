#include "chart_paint.h"

#include "saturate.h"

namespace brevant {

QPoint ChartPaint::plotOrigin(int chart) const
{
    const QRect& r = geometry.chartRects[chart];
    return QPoint(Sat32(int64_t(r.left()) + geometry.leftBand),
                  Sat32(int64_t(r.top()) + geometry.topBand));
}

QPoint ChartPaint::onComposition(int chart, QPoint grid) const
{
    const QPoint o = plotOrigin(chart);
    const QPoint p = pixel(grid);
    return QPoint(Sat32(int64_t(o.x()) + p.x()), Sat32(int64_t(o.y()) + p.y()));
}

} // namespace brevant
