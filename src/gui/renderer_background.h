#pragma once
// The main window's label surface and rectangle as the pointer stick's saved background:
// the stick and the drag value label share them, since the two never show together.

#include "chart_renderer.h"
#include "saved_background.h"

namespace brevant {

class RendererBackground final : public SavedBackground {
public:
    explicit RendererBackground(ChartRenderer& renderer) : renderer_(renderer) {}

    bool Create(const QImage& window, int width, int height) override
    {
        return renderer_.CreateLabelSurface(window, width, height);
    }
    void Save(const QImage& window, const QRect& box) override
    {
        renderer_.SaveUnderLabel(window, box);
    }
    void Restore(QImage& window) override { renderer_.RestoreUnderLabel(window); }
    QRect Rect() const override { return renderer_.LabelRect(); }
    void SetRect(const QRect& rect) override { renderer_.SetLabelRect(rect); }

private:
    ChartRenderer& renderer_;
};

} // namespace brevant
