#include "device_pixels.h"

#include <QPainter>

#include <cmath>
#include <cstring>

namespace brevant {

namespace {

int Scaled(int v, qreal ratio) { return int(std::lround(v * ratio)); }

} // namespace

QRect DeviceRect(const QRect& logical, qreal ratio)
{
    const int left = Scaled(logical.x(), ratio);
    const int top = Scaled(logical.y(), ratio);
    const int right = Scaled(logical.x() + logical.width(), ratio);
    const int bottom = Scaled(logical.y() + logical.height(), ratio);
    return QRect(left, top, right - left, bottom - top);
}

QPoint DevicePoint(QPoint logical, qreal ratio)
{
    return QPoint(Scaled(logical.x(), ratio), Scaled(logical.y(), ratio));
}

QSize DeviceSize(QSize logical, qreal ratio)
{
    return DeviceRect(QRect(QPoint(0, 0), logical), ratio).size();
}

QImage NewDeviceImage(QSize logical, qreal ratio)
{
    const QSize device = DeviceSize(logical, ratio);
    if (device.isEmpty())
        return QImage();
    QImage image(device, QImage::Format_RGB32);
    if (!image.isNull())
        image.setDevicePixelRatio(ratio);
    return image;
}

QImage NewSaveUnder(const QImage& window, QSize logical)
{
    const qreal ratio = window.isNull() ? 1 : window.devicePixelRatio();
    const QSize device = DeviceSize(logical, ratio);
    if (logical.isEmpty() || device.isEmpty())
        return QImage();
    QImage image(device, window.isNull() ? QImage::Format_RGB32 : window.format());
    if (!image.isNull())
        image.setDevicePixelRatio(ratio);
    return image;
}

void SaveUnder(QImage& saved, const QImage& window, QPoint logicalTopLeft)
{
    // What lies beyond the window's edges is never drawn back, so its value does not matter.
    saved.fill(Qt::white);
    const QPoint from = DevicePoint(logicalTopLeft, window.devicePixelRatio());
    CopyDevicePixels(saved, QPoint(0, 0), window, QRect(from, saved.size()));
}

void RestoreUnder(QImage& window, const QImage& saved, const QRect& box)
{
    const qreal ratio = window.devicePixelRatio();
    CopyDevicePixels(window, DevicePoint(box.topLeft(), ratio), saved,
                     QRect(QPoint(0, 0), DeviceSize(box.size(), ratio)));
}

void CopyDevicePixels(QImage& target, QPoint dest, const QImage& source, const QRect& sourceRect)
{
    if (target.isNull() || source.isNull())
        return;
    // Cut the source rectangle to the source, then its destination to the target.
    QRect from = sourceRect & source.rect();
    QPoint to = dest + (from.topLeft() - sourceRect.topLeft());
    const QRect into = QRect(to, from.size()) & target.rect();
    if (into.isEmpty())
        return;
    from = QRect(from.topLeft() + (into.topLeft() - to), into.size());
    to = into.topLeft();

    if (source.format() == target.format() && source.depth() == 32) {
        const qsizetype bytes = qsizetype(from.width()) * 4;
        for (int y = 0; y < from.height(); ++y) {
            const uchar* in = source.constScanLine(from.y() + y) + qsizetype(from.x()) * 4;
            uchar* out = target.scanLine(to.y() + y) + qsizetype(to.x()) * 4;
            std::memmove(out, in, size_t(bytes));
        }
        return;
    }
    // Other formats: a painter in device pixels (the ratio undone), still no scaling.
    QPainter p(&target);
    p.setWorldTransform(QTransform::fromScale(1.0 / target.devicePixelRatio(),
                                              1.0 / target.devicePixelRatio()));
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(QRectF(to, from.size()), source, QRectF(from));
}

} // namespace brevant
