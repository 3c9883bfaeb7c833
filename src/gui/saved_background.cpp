#include "saved_background.h"

#include <QPainter>

namespace brevant {

bool ImageBackground::Create(const QImage& window, int width, int height)
{
    saved_ = QImage();
    if (failCreate || width <= 0 || height <= 0)
        return false;
    saved_ = QImage(width, height, window.isNull() ? QImage::Format_RGB32 : window.format());
    return !saved_.isNull();
}

void ImageBackground::Save(const QImage& window, const QRect& box)
{
    if (saved_.isNull() || window.isNull())
        return;
    // What lies beyond the window's edges is never drawn back, so its value does not matter.
    saved_.fill(Qt::white);
    const QRect inside = box.intersected(window.rect());
    if (inside.isEmpty())
        return;
    QPainter p(&saved_);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(inside.topLeft() - box.topLeft(), window, inside);
}

void ImageBackground::Restore(QImage& window)
{
    if (rect_.isEmpty() || saved_.isNull() || window.isNull())
        return;
    QPainter p(&window);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(rect_.topLeft(), saved_, QRect(QPoint(0, 0), rect_.size()));
}

} // namespace brevant
