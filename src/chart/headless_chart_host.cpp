#include "headless_chart_host.h"

namespace brevant {

HeadlessChartHost::HeadlessChartHost(Platform& platform, QSize size, const BepInputs& inputs,
                                     const ChartStyle& style, int32_t outputFormat)
    : platform_(platform), size_(size), inputs_(inputs), style_(style),
      outputFormat_(outputFormat)
{
}

void HeadlessChartHost::LayoutCharts()
{
    ++layoutCount_;
    chartRects_ = ComputeChartRects(size_, style_.drawGraph, style_.outerMargin, chartRects_);
    if (window_.size() != size_) {
        window_ = size_.isEmpty() ? QImage() : QImage(size_, QImage::Format_RGB32);
        if (!window_.isNull())
            window_.fill(Qt::white);
    }
    const RenderRequest request{inputs_, style_, ChartArea(), chartRects_, highlight_};
    renderer_.RenderCharts(window_, request, elements_);
}

bool HeadlessChartHost::RenderComposition()
{
    const RenderRequest request{inputs_, style_, ChartArea(), chartRects_, highlight_};
    return renderer_.RenderComposition(request, elements_);
}

} // namespace brevant
