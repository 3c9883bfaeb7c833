#include "ripple.h"

#include "device_pixels.h"


#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace brevant {

namespace {

// The sine's argument uses this value, not full-precision pi; it decides offset(6) = 8.
constexpr double kPi10 = 3.1415926535;

// The distance in logical pixels, truncated, of a pixel `scale` device pixels apart each.
int RingDistance(int dx, int dy, qreal scale)
{
    const double d = std::sqrt(double(dx) * dx + double(dy) * dy);
    return static_cast<int>(scale == 1 ? d : d / scale);
}

bool IsRippleFormat32(QImage::Format f)
{
    return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32
        || f == QImage::Format_ARGB32_Premultiplied;
}

} // namespace

int RippleOffset(int r)
{
    if (r <= 0)
        return 0;
    return static_cast<int>(18.0 * std::sin(kPi10 / r));
}

int RippleDarkening(int r)
{
    return static_cast<int>(std::floor(std::abs(r - 9) * 5.666666666666667));
}

int RippleDarkening5(int r)
{
    return static_cast<int>(std::floor(std::abs(r - 9) * 0.6888888888888889));
}

int RippleDarkening6(int r)
{
    return static_cast<int>(std::floor(std::abs(r - 9) * 1.4));
}

RippleSource RippleSourceOf(QPoint pixel, QPoint centre, QSize size, qreal scale)
{
    const int dx = pixel.x() - centre.x();
    const int dy = pixel.y() - centre.y();
    const int d = RingDistance(dx, dy, scale);
    if (d >= kRippleRadius)
        return {};
    const int r = d % kRingWidth;
    // At 1x only the centre pixel itself is at distance 0; scaled, every device pixel of
    // the centre's logical pixel is.
    const bool isCentre = d == 0;
    if (r == 0 && !isCentre)
        return {};

    RippleSource out;
    out.ring = r;
    out.changed = true;
    if (isCentre) {
        out.source = pixel;
        return out;
    }
    const int s = d + RippleOffset(r);  // d >= 1 here, so s >= 1
    // The ratio is held in single precision, the products in double.
    const float f = float(s) / float(d);
    out.source = QPoint(centre.x() + static_cast<int>(dx * double(f)),
                        centre.y() + static_cast<int>(dy * double(f)));
    if (out.source.x() < 0 || out.source.y() < 0 || out.source.x() >= size.width()
        || out.source.y() >= size.height())
        return {};
    return out;
}

uint32_t DarkenPixel32(uint32_t source, uint32_t own, int ring)
{
    const int b = RippleDarkening(ring);
    uint32_t out = own & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const int c = std::max(0, int((source >> shift) & 0xFF) - b);
        out |= uint32_t(c) << shift;
    }
    return out;
}

uint16_t DarkenPixel565(uint16_t source, int ring)
{
    const int b5 = RippleDarkening5(ring);
    const int b6 = RippleDarkening6(ring);
    const int red = std::max(0, ((source >> 11) & 31) - b5);
    const int green = std::max(0, ((source >> 5) & 63) - b6);
    const int blue = std::max(0, (source & 31) - b5);
    return uint16_t((red << 11) | (green << 5) | blue);
}

bool RippleTransform(QImage& image, QPoint centre, qreal scale)
{
    const QImage::Format format = image.format();
    const bool wide = IsRippleFormat32(format);
    if (!wide && format != QImage::Format_RGB16)
        return true;
    const QImage input = image.copy();
    if (input.isNull())
        return false;

    const QSize size = image.size();
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const RippleSource src = RippleSourceOf(QPoint(x, y), centre, size, scale);
            if (!src.changed)
                continue;
            if (wide) {
                auto* out = reinterpret_cast<uint32_t*>(image.scanLine(y));
                const auto* in = reinterpret_cast<const uint32_t*>(input.constScanLine(src.source.y()));
                const auto* own = reinterpret_cast<const uint32_t*>(input.constScanLine(y));
                out[x] = DarkenPixel32(in[src.source.x()], own[x], src.ring);
            } else {
                auto* out = reinterpret_cast<uint16_t*>(image.scanLine(y));
                const auto* in = reinterpret_cast<const uint16_t*>(input.constScanLine(src.source.y()));
                out[x] = DarkenPixel565(in[src.source.x()], src.ring);
            }
        }
    }
    return true;
}

bool DrawRipple(QImage& window, QPoint centre)
{
    if (window.isNull())
        return false;
    // Worked in the window's device pixels, with the rings at their logical sizes.
    const qreal ratio = window.devicePixelRatio();
    const QRect logical(centre.x() - kRippleSize / 2, centre.y() - kRippleSize / 2, kRippleSize,
                        kRippleSize);
    const QRect square = DeviceRect(logical, ratio);
    const QRect inside = square.intersected(window.rect());
    if (inside.isEmpty())
        return true;

    QImage work(square.size(), window.format());
    if (work.isNull())
        return false;
    work.fill(Qt::white);
    CopyDevicePixels(work, QPoint(0, 0), window, square);
    if (!RippleTransform(work, DevicePoint(centre, ratio) - square.topLeft(), ratio))
        return false;
    CopyDevicePixels(window, inside.topLeft(), work, inside.translated(-square.topLeft()));
    return true;
}

} // namespace brevant
