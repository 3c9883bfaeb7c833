#pragma once
// PNG encoding in memory for opaque 32-bit images: 8-bit RGB, every row unfiltered,
// deflate at a low level. Chart images are mostly flat colour; the per-row filter search
// of a general writer costs more than all the rest and, on such images, ends up larger.

#include <QByteArray>
#include <QImage>
#include <optional>

namespace brevant {

// The zlib level: as fast as any; at the default chart size the files come out smaller
// than a general writer's at its default level, at 1920 x 1080 about a fifth larger.
constexpr int kPngDeflateLevel = 3;

// The whole PNG file for an image in Format_RGB32, with the image's resolution (pHYs)
// when it has one; nothing when the image is null, of another format, or carries text
// (those go to a general writer).
std::optional<QByteArray> EncodePng(const QImage& image);

} // namespace brevant
