#include "saved_background.h"

#include "device_pixels.h"

namespace brevant {

bool ImageBackground::Create(const QImage& window, int width, int height)
{
    saved_ = QImage();
    if (failCreate || width <= 0 || height <= 0)
        return false;
    // In the window's device pixels.
    const qreal ratio = window.isNull() ? 1 : window.devicePixelRatio();
    const QSize size = DeviceSize(QSize(width, height), ratio);
    if (size.isEmpty())
        return false;
    saved_ = QImage(size, window.isNull() ? QImage::Format_RGB32 : window.format());
    return !saved_.isNull();
}

void ImageBackground::Save(const QImage& window, const QRect& box)
{
    if (saved_.isNull() || window.isNull())
        return;
    // What lies beyond the window's edges is never drawn back, so its value does not matter.
    saved_.fill(Qt::white);
    const QPoint from = DevicePoint(box.topLeft(), window.devicePixelRatio());
    CopyDevicePixels(saved_, QPoint(0, 0), window, QRect(from, saved_.size()));
}

void ImageBackground::Restore(QImage& window)
{
    if (rect_.isEmpty() || saved_.isNull() || window.isNull())
        return;
    const qreal ratio = window.devicePixelRatio();
    CopyDevicePixels(window, DevicePoint(rect_.topLeft(), ratio), saved_,
                     QRect(QPoint(0, 0), DeviceSize(rect_.size(), ratio)));
}

} // namespace brevant
