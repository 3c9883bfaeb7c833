#include "png_encoder.h"

#include <libdeflate.h>

#include <cstdint>
#include <cstring>
#include <memory>

namespace brevant {

namespace {

struct CompressorFree {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

// A compressor holds about a megabyte of tables; each thread keeps its own, as one
// compressor must not be used by two threads at once.
libdeflate_compressor* Compressor()
{
    thread_local std::unique_ptr<libdeflate_compressor, CompressorFree> compressor(
        libdeflate_alloc_compressor(kPngDeflateLevel));
    return compressor.get();
}

void AppendBigEndian(QByteArray& out, uint32_t v)
{
    const char bytes[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    out.append(bytes, 4);
}

void PutBigEndian(char* out, uint32_t v)
{
    out[0] = char(v >> 24);
    out[1] = char(v >> 16);
    out[2] = char(v >> 8);
    out[3] = char(v);
}

// The CRC of a chunk covers its type and data, which start four bytes after `start`.
void AppendCrc(QByteArray& out, qsizetype start)
{
    const auto* typeAndData = reinterpret_cast<const uint8_t*>(out.constData() + start + 4);
    AppendBigEndian(out, libdeflate_crc32(0, typeAndData, size_t(out.size() - start - 4)));
}

void AppendChunk(QByteArray& out, const char type[4], const char* data, qsizetype size)
{
    const qsizetype start = out.size();
    AppendBigEndian(out, uint32_t(size));
    out.append(type, 4);
    out.append(data, size);
    AppendCrc(out, start);
}

} // namespace

std::optional<QByteArray> EncodePng(const QImage& image)
{
    if (image.isNull() || image.format() != QImage::Format_RGB32 || !image.textKeys().isEmpty())
        return std::nullopt;
    libdeflate_compressor* compressor = Compressor();
    if (!compressor)
        return std::nullopt;
    const int w = image.width();
    const int h = image.height();
    const qsizetype rowBytes = 1 + qsizetype(w) * 3;
    // Rows of 3 bytes a pixel behind a filter byte of 0 ("none"), in a buffer each thread
    // keeps for images of a usual size: a fresh one costs as much in page faults as the
    // packing itself.
    constexpr qsizetype kKeptBytes = 16 << 20;
    thread_local QByteArray kept;
    QByteArray once;
    const qsizetype rawSize = rowBytes * h;
    QByteArray& raw = rawSize < kKeptBytes ? kept : once;
    if (raw.size() != rawSize)
        raw = QByteArray(rawSize, Qt::Uninitialized);
    char* out = raw.data();
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        *out++ = 0;
        for (int x = 0; x < w; ++x) {
            const QRgb p = line[x];
            *out++ = char(qRed(p));
            *out++ = char(qGreen(p));
            *out++ = char(qBlue(p));
        }
    }

    QByteArray png;
    const size_t bound = libdeflate_zlib_compress_bound(compressor, size_t(rawSize));
    png.reserve(qsizetype(bound) + 128);
    png.append("\x89PNG\r\n\x1a\n", 8);
    QByteArray header;
    AppendBigEndian(header, uint32_t(w));
    AppendBigEndian(header, uint32_t(h));
    header.append("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter variant, no interlace
    AppendChunk(png, "IHDR", header.constData(), header.size());
    if (image.dotsPerMeterX() > 0 || image.dotsPerMeterY() > 0) {
        QByteArray phys;
        AppendBigEndian(phys, uint32_t(image.dotsPerMeterX()));
        AppendBigEndian(phys, uint32_t(image.dotsPerMeterY()));
        phys.append(char(1));  // per metre
        AppendChunk(png, "pHYs", phys.constData(), phys.size());
    }
    // The zlib stream is compressed straight into the IDAT chunk.
    const qsizetype idat = png.size();
    png.resize(idat + 8 + qsizetype(bound));
    std::memcpy(png.data() + idat + 4, "IDAT", 4);
    const size_t zipped = libdeflate_zlib_compress(
        compressor, raw.constData(), size_t(rawSize), png.data() + idat + 8, bound);
    if (zipped == 0 || zipped > 0x7FFFFFFF)
        return std::nullopt;
    png.resize(idat + 8 + qsizetype(zipped));
    PutBigEndian(png.data() + idat, uint32_t(zipped));
    AppendCrc(png, idat);
    AppendChunk(png, "IEND", nullptr, 0);
    return png;
}

} // namespace brevant
