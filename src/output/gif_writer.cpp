#include "gif_writer.h"

#include <QHash>

#include <gif_lib.h>

#include <array>
#include <memory>
#include <mutex>
#include <vector>

namespace brevant {

namespace {

constexpr int kMaxPalette = 256;
constexpr int kMaxSide = 65535;

struct MapDeleter {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};
using ColorMap = std::unique_ptr<ColorMapObject, MapDeleter>;

int OutputToArray(GifFileType* gif, const GifByteType* data, int length)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

// giflib wants a power-of-two palette of at least two entries.
int PaletteSize(int colours)
{
    int size = 2;
    while (size < colours)
        size *= 2;
    return size;
}

// Indices into an exact palette, or false when the image has more than 256 colours.
bool ExactPalette(const QImage& image, std::vector<GifByteType>& indices,
                  std::array<GifColorType, kMaxPalette>& palette, int& colours)
{
    QHash<QRgb, int> seen;
    const int w = image.width();
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        GifByteType* out = indices.data() + size_t(y) * size_t(w);
        for (int x = 0; x < w; ++x) {
            const QRgb rgb = line[x] & 0xFFFFFF;
            auto it = seen.constFind(rgb);
            if (it == seen.constEnd()) {
                if (seen.size() == kMaxPalette)
                    return false;
                const int index = int(seen.size());
                it = seen.insert(rgb, index);
                palette[size_t(index)] = {GifByteType(qRed(rgb)), GifByteType(qGreen(rgb)),
                                          GifByteType(qBlue(rgb))};
            }
            out[x] = GifByteType(it.value());
        }
    }
    colours = int(seen.size());
    return true;
}

bool Quantise(const QImage& image, std::vector<GifByteType>& indices,
              std::array<GifColorType, kMaxPalette>& palette)
{
    const size_t count = indices.size();
    std::vector<GifByteType> red(count), green(count), blue(count);
    const int w = image.width();
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        const size_t row = size_t(y) * size_t(w);
        for (int x = 0; x < w; ++x) {
            red[row + size_t(x)] = GifByteType(qRed(line[x]));
            green[row + size_t(x)] = GifByteType(qGreen(line[x]));
            blue[row + size_t(x)] = GifByteType(qBlue(line[x]));
        }
    }
    int size = kMaxPalette;
    // giflib's quantiser sorts through a file-level variable: one image at a time, or
    // images encoded side by side get each other's palettes.
    static std::mutex quantiser;
    const std::lock_guard<std::mutex> lock(quantiser);
    return GifQuantizeBuffer(unsigned(image.width()), unsigned(image.height()), &size,
                             red.data(), green.data(), blue.data(), indices.data(),
                             palette.data())
           == GIF_OK;
}

} // namespace

std::optional<QByteArray> EncodeGif(const QImage& source)
{
    if (source.isNull() || source.width() > kMaxSide || source.height() > kMaxSide)
        return std::nullopt;
    const QImage image = source.format() == QImage::Format_RGB32
                             ? source
                             : source.convertToFormat(QImage::Format_RGB32);
    if (image.isNull())
        return std::nullopt;
    const int w = image.width();
    const int h = image.height();

    std::vector<GifByteType> indices(size_t(w) * size_t(h));
    // Unused entries stay black.
    std::array<GifColorType, kMaxPalette> palette{};
    int colours = 0;
    if (!ExactPalette(image, indices, palette, colours)) {
        if (!Quantise(image, indices, palette))
            return std::nullopt;
        colours = kMaxPalette;
    }
    const ColorMap map(GifMakeMapObject(PaletteSize(colours), palette.data()));
    if (!map)
        return std::nullopt;

    QByteArray bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, OutputToArray, &error);
    if (!gif)
        return std::nullopt;
    bool ok = EGifPutScreenDesc(gif, w, h, 8, 0, map.get()) == GIF_OK
              && EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < h; ++y)
        ok = EGifPutLine(gif, indices.data() + size_t(y) * size_t(w), w) == GIF_OK;
    // Closing writes the trailer and frees the handle whatever happened before.
    ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
    if (!ok)
        return std::nullopt;
    return bytes;
}

} // namespace brevant
