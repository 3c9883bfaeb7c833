#pragma once
// What output, batch creation and presentation need from "the window that shows the
// charts". The main window implements it; HeadlessChartHost implements it over a plain
// image for the command line and tests. Output code never sees a widget.

#include "figures_host.h"
#include "message.h"

#include <QImage>
#include <QRect>
#include <QString>

#include <array>
#include <cstdint>

namespace brevant {

class Platform;

// Output and batch creation change the figures and the style in place, then call
// LayoutCharts. The visibility flags are Style().drawGraph.
class ChartHost : public virtual FiguresHost {
public:
    // The output format as held (a value outside 0..5 acts as JPEG).
    virtual int32_t OutputFormatValue() const = 0;

    virtual QRect ChartArea() const = 0;
    virtual std::array<QRect, kChartCount> ChartRects() const = 0;
    // Lays out the chart rectangles for the current visibility and repaints at once.
    virtual void LayoutCharts() = 0;
    // What the last render drew.
    virtual const QImage& ComposedImage() const = 0;
    // Renders the current figures into ComposedImage now, even while a help page covers
    // the window's chart area; false when the composition could not be made.
    virtual bool RenderComposition() = 0;

    // Whether the movable elements are drawn larger just now (the user is looking for them).
    virtual bool HighlightShown() const { return false; }
    // Whether LayoutCharts puts the charts in front of someone. A batch shows each record
    // there as it is written; a host nobody looks at is spared the extra drawing.
    virtual bool ShowsCharts() const { return true; }

    virtual void SetProgress(int value) = 0;
    virtual void SetProgressRange(int min, int max) = 0;

    // The message-box convention, owned by this host's window.
    int ShowMessage(StringId id, const QString& prefix, unsigned flags)
    {
        return brevant::ShowMessage(GetPlatform(), id, prefix, flags);
    }
};

} // namespace brevant
