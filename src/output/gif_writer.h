#pragma once
// GIF encoding through giflib, in memory: an exact palette when the image has at most 256
// colours, otherwise one that keeps the image's frequent colours exact and quantises the
// rest.

#include <QByteArray>
#include <QImage>
#include <optional>

namespace brevant {

// The whole GIF file for an opaque image of 1..65535 pixels each way; nothing when the
// image cannot be encoded.
std::optional<QByteArray> EncodeGif(const QImage& source);

} // namespace brevant
