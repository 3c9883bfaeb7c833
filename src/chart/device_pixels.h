#pragma once
// Window images kept at the screen's resolution. A window's back buffer holds device
// pixels and carries the screen's device pixel ratio (1.25, 1.5, 2, ...); everything that
// draws on it or hit-tests against it speaks in logical pixels. These helpers turn
// logical rectangles into the device pixels they cover, and copy device pixels between
// such images with no scaling.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace brevant {

// The device pixels a logical rectangle covers: each edge is scaled and rounded, so
// rectangles that meet in logical pixels meet in device pixels.
QRect DeviceRect(const QRect& logical, qreal ratio);
// The device position of a logical point.
QPoint DevicePoint(QPoint logical, qreal ratio);
// The device size of a logical size (as DeviceRect of a rectangle at the origin).
QSize DeviceSize(QSize logical, qreal ratio);

// A new RGB32 image of the given logical size at `ratio`; null when the size is empty or
// memory is short.
QImage NewDeviceImage(QSize logical, qreal ratio);

// Copies the device pixels `sourceRect` of `source` to `target` with their top-left at
// `dest` (device pixels), replacing what is there. Both images are taken as plain pixel
// arrays whatever their ratios; the parts outside either image are left out. No painter
// may be active on `target`.
void CopyDevicePixels(QImage& target, QPoint dest, const QImage& source, const QRect& sourceRect);

// Save-under images: the device pixels of a window image under a logical box, kept so that
// they can be put back once something drawn over them goes away.
// A save-under image of a logical size for `window` (its format and ratio; RGB32 at 1x for
// a null window); null when the size is empty or memory is short.
QImage NewSaveUnder(const QImage& window, QSize logical);
// Fills `saved` with the window's pixels from the logical point on; what lies beyond the
// window's edges is left white.
void SaveUnder(QImage& saved, const QImage& window, QPoint logicalTopLeft);
// Puts the logical box `box` of the window back from `saved`.
void RestoreUnder(QImage& window, const QImage& saved, const QRect& box);

} // namespace brevant
