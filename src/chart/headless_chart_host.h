#pragma once
// A chart host without a window: the chart area is a plain image of a given size, with its
// own renderer and movable-element table. Used by the command line and by tests.

#include "chart_host.h"
#include "chart_renderer.h"

#include <QSize>

#include <functional>

namespace brevant {

class HeadlessChartHost final : public ChartHost {
public:
    HeadlessChartHost(Platform& platform, QSize size, const BepInputs& inputs,
                      const ChartStyle& style, int32_t outputFormat = kJpeg);

    BepInputs& Inputs() override { return inputs_; }
    ChartStyle& Style() override { return style_; }
    int32_t OutputFormatValue() const override { return outputFormat_; }
    void SetOutputFormatValue(int32_t value) { outputFormat_ = value; }

    QRect ChartArea() const override { return QRect(QPoint(0, 0), size_); }
    std::array<QRect, kChartCount> ChartRects() const override { return chartRects_; }
    void LayoutCharts() override;
    const QImage& ComposedImage() const override { return renderer_.ComposedImage(); }
    bool RenderComposition() override;

    void SetProgress(int value) override
    {
        progress_ = value;
        if (progressListener_)
            progressListener_(progress_, progressMax_);
    }
    void SetProgressRange(int /*min*/, int max) override { progressMax_ = max; }
    // Told every position the progress bar is set to, with its maximum.
    void SetProgressListener(std::function<void(int value, int max)> listener)
    {
        progressListener_ = std::move(listener);
    }
    int Progress() const { return progress_; }
    int ProgressMax() const { return progressMax_; }

    Platform& GetPlatform() override { return platform_; }

    // The image that stands in for the window's chart area, as the last layout left it.
    const QImage& Window() const { return window_; }
    const MovableElementTable& Elements() const { return elements_; }
    ChartRenderer& Renderer() { return renderer_; }
    void SetHighlight(bool on) { highlight_ = on; }
    bool HighlightShown() const override { return highlight_; }
    bool ShowsCharts() const override { return false; }
    // How many times LayoutCharts ran (a test sees each repaint).
    int LayoutCount() const { return layoutCount_; }

private:
    Platform& platform_;
    QSize size_;
    BepInputs inputs_;
    ChartStyle style_;
    int32_t outputFormat_;
    std::array<QRect, kChartCount> chartRects_{};
    ChartRenderer renderer_;
    MovableElementTable elements_;
    QImage window_;
    bool highlight_ = false;
    int progress_ = 0;
    int progressMax_ = 100;
    std::function<void(int, int)> progressListener_;
    int layoutCount_ = 0;
};

} // namespace brevant
