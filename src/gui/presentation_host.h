#pragma once
// What the presentation window needs from the main window: the figures and style it draws
// and changes, the renderer and drag state it shares, and a word when it changes a setting
// whose control the main window shows.

#include "figures_host.h"

#include <cstdint>

namespace brevant {

class ChartRenderer;
class MovableElementTable;
struct DropChange;
struct DragState;

class PresentationHost : public virtual FiguresHost {
public:
    // The renderer and movable-element table the charts are drawn with, and the drag
    // state, shared so that a drag or highlight looks the same in both windows.
    virtual ChartRenderer& Renderer() = 0;
    virtual MovableElementTable& Elements() = 0;
    virtual DragState& Drag() = 0;

    // Sets the figure a drop changes, as a drop in the main window does; false when the
    // drop changes nothing.
    virtual bool ApplyDropChange(const DropChange& change) = 0;
    // A setting changed from the presentation: stored, and shown in the main window's
    // control without that control acting on it.
    virtual void SetChartShown(int chart, bool shown) = 0;
    virtual void SetFontSize(int32_t size) = 0;
    virtual void SetAmountUnit(int32_t unit) = 0;
    // Ctrl+Z, Ctrl+Y in the presentation: undoes or redoes the last change of the figures
    // or the style.
    virtual void UndoOrRedo(bool redo) = 0;
};

} // namespace brevant
