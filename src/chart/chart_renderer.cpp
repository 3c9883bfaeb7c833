#include "chart_renderer.h"

#include "chart_kinds.h"
#include "chart_paint.h"
#include "chart_text.h"
#include "device_pixels.h"
#include "draw_surface.h"

#include <bit>
#include <cstdint>

namespace brevant {

namespace {

// A new off-screen image, or a null one when the size is unusable or memory is short.
QImage NewSurface(int width, int height)
{
    if (width <= 0 || height <= 0)
        return QImage();
    return QImage(width, height, QImage::Format_RGB32);
}

// Bit for bit: a NaN must match itself.
bool SameFigure(double a, double b) { return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b); }

bool SameInputs(const BepInputs& a, const BepInputs& b)
{
    static_assert(sizeof(BepInputs) == 3 * sizeof(double) + 2 * sizeof(int32_t),
                  "every figure a render reads is compared here");
    return SameFigure(a.maxSales, b.maxSales) && SameFigure(a.targetSales, b.targetSales) &&
           SameFigure(a.fixedCosts, b.fixedCosts) &&
           a.variableCostRatio == b.variableCostRatio && a.amountUnit == b.amountUnit;
}

} // namespace

bool ChartRenderer::IsRendered(const RenderRequest& request,
                               const MovableElementTable& elements) const
{
    return rendered_ && rendered_->elements == &elements &&
           rendered_->highlight == request.highlight &&
           rendered_->chartArea == request.chartArea &&
           rendered_->chartRects == request.chartRects &&
           SameInputs(rendered_->inputs, request.inputs) && rendered_->style == request.style;
}

bool ChartRenderer::Compose(QImage& composed, QImage& plot, const RenderRequest& request,
                            MovableElementTable& elements)
{
    const int w = request.chartArea.width();
    const int h = request.chartArea.height();
    const qreal ratio = composed.devicePixelRatio();
    elements.BeginPaint(request.chartArea, request.chartRects);
    DrawSurface comp(composed);
    if (!comp.isValid())
        return false;
    if (textRecord_) {
        textRecord_->clear();
        comp.recordTexts(textRecord_);
    }
    comp.fillRect(Box{0, 0, w, h}, 0xFFFFFF);

    geometry_.chartArea = request.chartArea;
    geometry_.chartRects = request.chartRects;
    ChartPaint paint{request.inputs, request.style, geometry_, BreakEvenPoint(request.inputs),
                     request.highlight, elements};

    geometry_.leftBand = MeasureLeftBand(comp, request.inputs, request.style);
    geometry_.topBand = MeasureTopBand(comp, request.style);
    geometry_.bottomBand = MeasureBottomBand(comp, request.inputs, request.style);
    ComputePlotSize(geometry_, request.style.drawGraph);
    ComputeKeyPoints(geometry_, request.inputs);

    const QSize plotSize(geometry_.plotWidth, geometry_.plotHeight);
    for (int k = 0; k < kChartCount; ++k) {
        // One plot image serves the three charts; it is refilled for each.
        if (plot.size() != DeviceSize(plotSize, ratio) || plot.devicePixelRatio() != ratio)
            plot = ratio == 1 ? NewSurface(plotSize.width(), plotSize.height())
                              : NewDeviceImage(plotSize, ratio);
        if (plot.isNull() || request.style.drawGraph[k] == 0)
            continue;
        plot.fill(ToQColor(request.style.colors[kInterior]));
        DrawChart(k, comp, plot, paint);
    }
    return true;
}

bool ChartRenderer::RenderCharts(QImage& target, const RenderRequest& request,
                                 MovableElementTable& elements)
{
    const qreal ratio = target.isNull() ? 1 : target.devicePixelRatio();
    if (ratio != 1)
        return RenderScaled(target, request, elements);

    const int w = request.chartArea.width();
    const int h = request.chartArea.height();
    // The last composition is drawn over when nobody else holds it (an export still being
    // encoded keeps its own); every pixel of it is filled anew.
    QImage composed;
    const bool reused = composed_.size() == QSize(w, h) && composed_.isDetached();
    if (reused) {
        composed = composed_;
        composed_ = QImage();
    } else {
        composed = NewSurface(w, h);
    }
    if (composed.isNull())
        return false;
    rendered_.reset();
    if (!Compose(composed, plot_, request, elements)) {
        if (reused)
            composed_ = composed;
        return false;
    }

    composed_ = composed;
    display_ = QImage();
    rendered_ = Rendered{request.inputs,     request.style,     request.chartArea,
                         request.chartRects, request.highlight, &elements};
    if (!target.isNull()) {
        DrawSurface window(target);
        window.copyFrom(composed_, request.chartArea.topLeft(), QRect(0, 0, w, h));
    }
    return true;
}

bool ChartRenderer::RenderScaled(QImage& target, const RenderRequest& request,
                                 MovableElementTable& elements)
{
    // The window's own composition at the screen's resolution. The one for the exports
    // stays at 1x and is made again when one asks for it.
    const qreal ratio = target.devicePixelRatio();
    const QSize size = request.chartArea.size();
    if (display_.size() != DeviceSize(size, ratio) || display_.devicePixelRatio() != ratio ||
        !display_.isDetached())
        display_ = NewDeviceImage(size, ratio);
    if (display_.isNull())
        return false;
    rendered_.reset();
    if (!Compose(display_, displayPlot_, request, elements))
        return false;
    CopyDevicePixels(target, DevicePoint(request.chartArea.topLeft(), ratio), display_,
                     display_.rect());
    return true;
}

bool ChartRenderer::RenderComposition(const RenderRequest& request, MovableElementTable& elements)
{
    if (IsRendered(request, elements))
        return true;
    QImage none;
    return RenderCharts(none, request, elements);
}

bool ChartRenderer::CreateLabelSurface(const QImage& window, int width, int height)
{
    label_ = NewSaveUnder(window, QSize(width, height));
    return !label_.isNull();
}

void ChartRenderer::SaveUnderLabel(const QImage& window, const QRect& box)
{
    if (label_.isNull() || window.isNull())
        return;
    SaveUnder(label_, window, box.topLeft());
}

void ChartRenderer::RestoreUnderLabel(QImage& window) const
{
    if (labelRect_.isEmpty() || label_.isNull() || window.isNull())
        return;
    RestoreUnder(window, label_, labelRect_);
}

void ChartRenderer::Release()
{
    rendered_.reset();
    composed_ = QImage();
    plot_ = QImage();
    display_ = QImage();
    displayPlot_ = QImage();
    label_ = QImage();
}

} // namespace brevant
