#pragma once
// PNG encoding in memory for opaque 32-bit images: 8-bit RGB, every row unfiltered,
// deflated by ISA-L's igzip at level 1. Chart images are mostly flat colour; the
// per-row filter search of a general writer costs more than all the rest and, on such
// images, ends up larger.

#include <QByteArray>
#include <QImage>
#include <optional>

namespace brevant {

// The igzip level. Measured on the three charts at 960 x 400 (deflate alone): level 1
// gives 56 KB in 0.3 ms, level 2 the same, level 3 60 KB in 1.3 ms, level 0 67 KB for no
// time saved; libdeflate took 1.9 ms for 49 KB at its level 3 and 2.4 ms for 44 KB at 6.
// Rows filtered "sub" or "up" came out larger at 300 x 380 and 960 x 400. A batch
// writes thousands of charts, so the time counts more than a fifth more bytes.
constexpr int kPngDeflateLevel = 1;

// The whole PNG file for an image in Format_RGB32, with the image's resolution (pHYs)
// when it has one; nothing when the image is null, of another format, or carries text
// (those go to a general writer).
std::optional<QByteArray> EncodePng(const QImage& image);

} // namespace brevant
