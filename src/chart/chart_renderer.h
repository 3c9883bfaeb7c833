#pragma once
// The one entry that draws the charts. Every render composes the whole chart area in an
// off-screen image (each plot first in its own plot-sized image), then copies it to the
// target in one block. The composition stays behind for the exports.

#include "bep_model.h"
#include "chart_style.h"
#include "chart_geometry.h"
#include "draw_surface.h"

#include <QImage>
#include <QRect>

#include <array>
#include <optional>

namespace brevant {

struct RenderRequest {
    const BepInputs& inputs;
    const ChartStyle& style;
    // The chart area in the target's coordinates.
    QRect chartArea;
    // Chart rectangles relative to chartArea's top-left corner (QRect() when hidden).
    std::array<QRect, kChartCount> chartRects;
    // The movable elements drawn larger while the user looks for them.
    bool highlight = false;
};

class ChartRenderer {
public:
    ChartRenderer() = default;

    // Composes the chart area and copies it into `target` at chartArea.topLeft(); the
    // target may be larger (a window's back buffer). A null target is left alone: the
    // charts are then only composed (for exports). Records the movable elements' screen
    // positions. Returns false, drawing nothing and keeping the last composition, when the
    // composition image cannot be made. A target with a device pixel ratio other than 1
    // gets the charts at its resolution, composed apart from the exports' composition.
    bool RenderCharts(QImage& target, const RenderRequest& request, MovableElementTable& elements);
    // Renders into the composition only; nothing to do when the last render drew the
    // same request (the window's repaint usually just did).
    bool RenderComposition(const RenderRequest& request, MovableElementTable& elements);

    // What the last successful render drew, margins included, at 1x (for the exports).
    const QImage& ComposedImage() const { return composed_; }
    // What the last successful render put on its target, at the target's resolution.
    const QImage& DisplayImage() const { return display_.isNull() ? composed_ : display_; }
    // The geometry of the last render.
    const ChartGeometry& Geometry() const { return geometry_; }

    // The background under the drag value label (or the pointer stick): a new surface of
    // the given size, compatible with the window image; false when it cannot be made.
    bool CreateLabelSurface(const QImage& window, int width, int height);
    // Copies the window's pixels inside `box` into the label surface (which must have been
    // created with the box's size).
    void SaveUnderLabel(const QImage& window, const QRect& box);
    // Puts the saved pixels back on the window at the label rectangle, if there is one.
    // The rectangle is left as it is; the caller clears it.
    void RestoreUnderLabel(QImage& window) const;
    QImage& LabelSurface() { return label_; }
    const QRect& LabelRect() const { return labelRect_; }
    void SetLabelRect(const QRect& rect) { labelRect_ = rect; }
    void ClearLabelRect() { labelRect_ = QRect(); }

    // Every render from now on lists the texts it draws in `record`, emptied first, boxes
    // in the composition's coordinates; nullptr (the default) records nothing.
    void RecordTexts(TextRecord* record) { textRecord_ = record; }

    // Releases the images (the window calls this when it is destroyed).
    void Release();

private:
    // Everything a render reads, as the last successful render saw it.
    struct Rendered {
        BepInputs inputs;
        ChartStyle style;
        QRect chartArea;
        std::array<QRect, kChartCount> chartRects;
        bool highlight = false;
        const MovableElementTable* elements = nullptr;
    };
    bool IsRendered(const RenderRequest& request, const MovableElementTable& elements) const;
    // Draws the whole chart area into `composed` (at its ratio), the plots through `plot`.
    bool Compose(QImage& composed, QImage& plot, const RenderRequest& request,
                 MovableElementTable& elements);
    bool RenderScaled(QImage& target, const RenderRequest& request, MovableElementTable& elements);

    std::optional<Rendered> rendered_;
    QImage composed_;
    QImage plot_;
    // The composition and plot image at a window's ratio, when it is not 1.
    QImage display_;
    QImage displayPlot_;
    QImage label_;
    QRect labelRect_;
    ChartGeometry geometry_;
    TextRecord* textRecord_ = nullptr;
};

} // namespace brevant
