#include "pointer_stick.h"

#include "bep_model.h"
#include "device_pixels.h"
#include "text_util.h"
#include "ripple.h"
#include "saved_background.h"

#include <QColor>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace brevant {

namespace {

constexpr QRgb kKeyColour = 0x0000FF;  // pure blue, alpha ignored

} // namespace

ColorRef InkColourFromText(const QString& text)
{
    return static_cast<ColorRef>(ParseInt32(text));
}

QString InkColourText(ColorRef colour)
{
    return CFormat("%ld", long(static_cast<int32_t>(colour)));
}

void DrawInkSegment(QImage& window, QPoint from, QPoint to, ColorRef colour)
{
    if (window.isNull())
        return;
    QPainter p(&window);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(QColor(RedOf(colour), GreenOf(colour), BlueOf(colour)), PointerStick::kInkWidth,
                  Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(from, to);
}

void DrawKeyed(QImage& window, const QImage& sprite, QPoint at, int size)
{
    if (window.isNull() || sprite.isNull())
        return;
    // Each device pixel takes the sprite pixel under its centre: the picture keeps its
    // logical size on a scaled window.
    const qreal ratio = window.devicePixelRatio();
    const QSize shown(std::min(size, sprite.width()), std::min(size, sprite.height()));
    const QRect area = DeviceRect(QRect(at, shown), ratio).intersected(window.rect());
    if (area.isEmpty())
        return;
    const QImage src = sprite.format() == QImage::Format_RGB32
        ? sprite
        : sprite.convertToFormat(QImage::Format_RGB32);
    const bool direct = window.format() == QImage::Format_RGB32
        || window.format() == QImage::Format_ARGB32
        || window.format() == QImage::Format_ARGB32_Premultiplied;
    const auto spriteAt = [ratio](int device, int origin, int limit) {
        const int v = ratio == 1 ? device - origin : int(std::floor((device + 0.5) / ratio)) - origin;
        return std::clamp(v, 0, limit - 1);
    };
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(
            src.constScanLine(spriteAt(y, at.y(), shown.height())));
        auto* out = direct ? reinterpret_cast<QRgb*>(window.scanLine(y)) : nullptr;
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb pixel = in[spriteAt(x, at.x(), shown.width())];
            if ((pixel & 0xFFFFFF) == kKeyColour)
                continue;
            if (out)
                out[x] = 0xFF000000u | pixel;
            else
                window.setPixel(x, y, pixel);
        }
    }
}

void PointerStick::SetImages(const std::array<QImage, 3>& images)
{
    for (size_t i = 0; i < images.size(); ++i)
        images_[i] = images[i].convertToFormat(QImage::Format_RGB32);
}

bool PointerStick::Toggle()
{
    shown_ = !shown_;
    if (shown_)
        strokeActive_ = false;
    return shown_;
}

bool PointerStick::ChangeLevel(int delta)
{
    if (!shown_)
        return false;
    level_ = std::clamp(level_ + delta, kMinLevel, kMaxLevel);
    return true;
}

QRect PointerStick::SaveRect(QPoint point, int size)
{
    return QRect(point.x() - 60, point.y() - 60, size + 100, size + 100);
}

void PointerStick::UpdatePointer(QImage& window, SavedBackground& background, bool buttonDown,
                                 QPoint point)
{
    background.Restore(window);

    if (buttonDown) {
        // The first move with the button held only marks where the line starts.
        if (strokeActive_)
            DrawInkSegment(window, lastInk_, point, ink_);
        strokeActive_ = true;
        lastInk_ = point;
    } else {
        strokeActive_ = false;
    }

    // The ink just drawn is saved with the background, so later restores keep it.
    const QRect save = SaveRect(point, Size());
    const bool saved = background.Create(window, save.width(), save.height());
    if (saved)
        background.Save(window, save);

    if (buttonHeld_ && !strokeActive_)
        DrawRipple(window, RippleCentre(point));

    DrawKeyed(window, images_[level_ - 1], StickOrigin(point), Size());
    background.SetRect(saved ? save : QRect());
}

void PointerStick::Press(QImage& window, SavedBackground& background, QPoint point)
{
    buttonHeld_ = true;
    UpdatePointer(window, background, false, point);
}

void PointerStick::Release(QImage& window, SavedBackground& background, QPoint point)
{
    buttonHeld_ = false;
    UpdatePointer(window, background, false, point);
}

} // namespace brevant
