#pragma once
// PNG encoding in memory for opaque 32-bit images: 8-bit RGB, every row unfiltered,
// deflated by libdeflate at a low level. Chart images are mostly flat colour; the per-row
// filter search of a general writer costs more than all the rest and, on such images,
// ends up larger.

#include <QByteArray>
#include <QImage>
#include <optional>

namespace brevant {

// The libdeflate level. Measured on a 960 x 400 chart (CPU time of the deflate alone):
// levels 2 to 4 take the same time and give 50-51 KB (zlib at level 3: the same time,
// 52.5 KB); level 6 gives 45 KB for a quarter more time, level 7 and up take twice as
// long and more. A batch writes thousands of charts, so the time counts more.
constexpr int kPngDeflateLevel = 3;

// The whole PNG file for an image in Format_RGB32, with the image's resolution (pHYs)
// when it has one; nothing when the image is null, of another format, or carries text
// (those go to a general writer).
std::optional<QByteArray> EncodePng(const QImage& image);

} // namespace brevant
