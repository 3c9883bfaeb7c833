#include "png_encoder.h"

#include <array>
#include <cstdint>

namespace brevant {

namespace {

constexpr std::array<uint32_t, 256> MakeCrcTable()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

uint32_t Crc32(const char* data, qsizetype size, uint32_t crc = 0)
{
    crc = ~crc;
    for (qsizetype i = 0; i < size; ++i)
        crc = kCrcTable[(crc ^ uint8_t(data[i])) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void AppendBigEndian(QByteArray& out, uint32_t v)
{
    const char bytes[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    out.append(bytes, 4);
}

void AppendChunk(QByteArray& out, const char type[4], const char* data, qsizetype size)
{
    AppendBigEndian(out, uint32_t(size));
    const qsizetype start = out.size();
    out.append(type, 4);
    out.append(data, size);
    AppendBigEndian(out, Crc32(out.constData() + start, size + 4));
}

} // namespace

std::optional<QByteArray> EncodePng(const QImage& image)
{
    if (image.isNull() || image.format() != QImage::Format_RGB32 || !image.textKeys().isEmpty())
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
    // qCompress gives a zlib stream behind a four-byte length, which PNG does not want.
    const QByteArray zipped =
        qCompress(reinterpret_cast<const uchar*>(raw.constData()), rawSize, kPngDeflateLevel);
    if (zipped.size() <= 4)
        return std::nullopt;

    QByteArray png;
    png.reserve(zipped.size() + 64);
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
    AppendChunk(png, "IDAT", zipped.constData() + 4, zipped.size() - 4);
    AppendChunk(png, "IEND", nullptr, 0);
    return png;
}

} // namespace brevant
