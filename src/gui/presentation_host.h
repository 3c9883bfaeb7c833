#pragma once
// What the presentation window needs from the main window: the figures and style it draws
// and changes, the renderer and drag state it shares, and a word when it changes a setting
// whose control the main window shows.

#include "bep_model.h"
#include "chart_geometry.h"
#include "chart_renderer.h"
#include "chart_style.h"
#include "drag_edit.h"

#include <cstdint>

namespace brevant {

class Platform;

class PresentationHost {
public:
    virtual ~PresentationHost() = default;

    virtual BepInputs& Inputs() = 0;
    virtual ChartStyle& Style() = 0;
    virtual Platform& GetPlatform() = 0;
    // The renderer and movable-element table the charts are drawn with, and the drag
    // state, shared so that a drag or highlight looks the same in both windows.
    virtual ChartRenderer& renderer() = 0;
    virtual MovableElementTable& elements() = 0;
    virtual DragState& dragState() = 0;

    // Sets the figure a drop changes, as a drop in the main window does; false when the
    // drop changes nothing.
    virtual bool ApplyDropChange(const DropChange& change) = 0;
    // A setting changed from the presentation: stored, and shown in the main window's
    // control without that control acting on it.
    virtual void SetChartShown(int chart, bool shown) = 0;
    virtual void SetFontSize(int32_t size) = 0;
    virtual void SetAmountUnit(int32_t unit) = 0;
};

} // namespace brevant
