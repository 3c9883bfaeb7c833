#pragma once
// The pointing ripple: concentric shaded rings around the stick's tip, each ring showing
// what lies a little further out on the same ray. Pure pixel arithmetic on images, so the
// rule can be checked without a window.

#include <QImage>
#include <QPoint>

#include <cstdint>

namespace brevant {

// Side of the square the ripple is computed on; the rings fill a disc of radius 74.
constexpr int kRippleSize = 160;
constexpr int kRippleRadius = 75;  // truncated distances from here on stay untouched
constexpr int kRingWidth = 18;

// How far out, in pixels, a pixel at ring position r (1..17) looks for its colour:
// 18 × sin(3.1415926535 / r), truncated.
int RippleOffset(int r);
// How much a 8-bit channel at ring position r (0..17) is darkened: 51 at a ring's edge,
// 0 in its middle.
int RippleDarkening(int r);
// The darkening of 5-bit and 6-bit channels of a 5-6-5 pixel.
int RippleDarkening5(int r);
int RippleDarkening6(int r);

// Where pixel (x, y) takes its colour from, relative to the ripple's centre: nothing when
// the pixel keeps its own colour (outside the disc, on a ring's edge circle, or looking
// beyond `size`). `ring` receives the ring position r for the darkening.
struct RippleSource {
    bool changed = false;
    QPoint source;
    int ring = 0;
};
// With `scale` other than 1 the pixels are device pixels, `scale` to a logical pixel, and
// the rings keep their logical sizes.
RippleSource RippleSourceOf(QPoint pixel, QPoint centre, QSize size, qreal scale = 1);

// Darkens one pixel of each format by the ring's darkening, clamped at 0.
uint32_t DarkenPixel32(uint32_t source, uint32_t own, int ring);
uint16_t DarkenPixel565(uint16_t source, int ring);

// Applies the ripple to the whole image around `centre`, reading from an unchanged copy.
// 32-bit images (RGB32, ARGB32) keep each pixel's own fourth byte; RGB16 images use the
// 5-6-5 rule; any other format is left unchanged. Returns false when the copy cannot be
// made (the image is then unchanged).
bool RippleTransform(QImage& image, QPoint centre, qreal scale = 1);

// The ripple on a window's back buffer at (cx, cy): the 160 × 160 square around it is
// copied out, transformed and copied back; on a buffer with a device pixel ratio, in its
// device pixels, the centre and square in logical pixels. Parts of the square beyond the buffer are taken
// as white (the charts' background) and never written. Returns false when the work image
// cannot be made.
bool DrawRipple(QImage& window, QPoint centre);

} // namespace brevant
