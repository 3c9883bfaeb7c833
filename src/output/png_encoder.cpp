#include "png_encoder.h"

#include <isa-l/crc.h>
#include <isa-l/igzip_lib.h>

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace brevant {

namespace {

// Buffers a thread keeps for images of a usual size: fresh ones cost as much in page
// faults as the packing itself.
constexpr qsizetype kKeptBytes = 16 << 20;

QByteArray& Buffer(QByteArray& kept, QByteArray& once, qsizetype size)
{
    QByteArray& buffer = size < kKeptBytes ? kept : once;
    if (buffer.size() < size)
        buffer = QByteArray(size, Qt::Uninitialized);
    return buffer;
}

// The zlib stream of `size` bytes into `out`, which holds at least DeflateBound(size);
// its length, or 0 on failure.
size_t Deflate(const char* in, qsizetype size, char* out, qsizetype room)
{
    // The hash tables of the level; one stream a thread at a time.
    thread_local QByteArray levelBuffer(ISAL_DEF_LVL1_DEFAULT, Qt::Uninitialized);
    isal_zstream stream;
    isal_deflate_stateless_init(&stream);
    stream.next_in = reinterpret_cast<uint8_t*>(const_cast<char*>(in));
    stream.avail_in = uint32_t(size);
    stream.next_out = reinterpret_cast<uint8_t*>(out);
    stream.avail_out = uint32_t(room);
    stream.level = kPngDeflateLevel;
    stream.level_buf = reinterpret_cast<uint8_t*>(levelBuffer.data());
    stream.level_buf_size = uint32_t(levelBuffer.size());
    stream.gzip_flag = IGZIP_ZLIB;
    if (isal_deflate_stateless(&stream) != COMP_OK)
        return 0;
    return stream.total_out;
}

// Room enough for the stream of data that does not compress: stored blocks of at most
// 64 KiB with 5 bytes of header each, the zlib header and trailer, and some spare.
qsizetype DeflateBound(qsizetype size)
{
    return size + (size / 16384 + 1) * 5 + 64;
}

void AppendBigEndian(QByteArray& out, uint32_t v)
{
    const char bytes[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    out.append(bytes, 4);
}

// The CRC of a chunk covers its type and data, which start four bytes after `start`.
void AppendCrc(QByteArray& out, qsizetype start)
{
    const auto* typeAndData = reinterpret_cast<const uint8_t*>(out.constData() + start + 4);
    AppendBigEndian(out, crc32_gzip_refl(0, typeAndData, size_t(out.size() - start - 4)));
}

void AppendChunk(QByteArray& out, const char type[4], const char* data, qsizetype size)
{
    const qsizetype start = out.size();
    AppendBigEndian(out, uint32_t(size));
    out.append(type, 4);
    out.append(data, size);
    AppendCrc(out, start);
}

// One row of pixels as R, G, B bytes at `out`, and the byte after them. Writes up to 16
// bytes past the end. Packing costs as much as the deflate when done byte by byte.
char* PackRowPlain(const QRgb* in, int w, char* out)
{
    if constexpr (std::endian::native == std::endian::little) {
        // 0xAARRGGBB turned round and shifted is R, G, B, 0 in memory.
        for (int x = 0; x < w; ++x, out += 3) {
            const uint32_t rgb = __builtin_bswap32(in[x]) >> 8;
            std::memcpy(out, &rgb, 4);
        }
    } else {
        for (int x = 0; x < w; ++x) {
            *out++ = char(qRed(in[x]));
            *out++ = char(qGreen(in[x]));
            *out++ = char(qBlue(in[x]));
        }
    }
    return out;
}

#if defined(__x86_64__)
__attribute__((target("ssse3"))) char* PackRowSsse3(const QRgb* in, int w, char* out)
{
    // Four pixels at a time: B, G, R, A in memory becomes R, G, B.
    const __m128i order = _mm_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1);
    int x = 0;
    for (; x + 4 <= w; x += 4, out += 12) {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + x));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(pixels, order));
    }
    return PackRowPlain(in + x, w - x, out);
}
#endif

char* PackRow(const QRgb* in, int w, char* out)
{
#if defined(__x86_64__)
    static const bool ssse3 = __builtin_cpu_supports("ssse3");
    if (ssse3)
        return PackRowSsse3(in, w, out);
#endif
    return PackRowPlain(in, w, out);
}

} // namespace

std::optional<QByteArray> EncodePng(const QImage& image)
{
    if (image.isNull() || image.format() != QImage::Format_RGB32 || !image.textKeys().isEmpty())
        return std::nullopt;
    const int w = image.width();
    const int h = image.height();
    const qsizetype rowBytes = 1 + qsizetype(w) * 3;
    // Rows of 3 bytes a pixel behind a filter byte of 0 ("none").
    const qsizetype rawSize = rowBytes * h;
    if (DeflateBound(rawSize) > 0x7FFFFFFF)
        return std::nullopt;
    thread_local QByteArray keptRaw;
    QByteArray onceRaw;
    // Spare bytes at the end: pixels are stored a few bytes wider than they are, the
    // excess overwritten by the next.
    QByteArray& raw = Buffer(keptRaw, onceRaw, rawSize + 16);
    char* out = raw.data();
    for (int y = 0; y < h; ++y) {
        *out++ = 0;
        out = PackRow(reinterpret_cast<const QRgb*>(image.constScanLine(y)), w, out);
    }

    // Compressed aside first, so the file holds no room it does not use.
    const qsizetype bound = DeflateBound(rawSize);
    thread_local QByteArray keptZipped;
    QByteArray onceZipped;
    QByteArray& zipped = Buffer(keptZipped, onceZipped, bound);
    const size_t zippedSize = Deflate(raw.constData(), rawSize, zipped.data(), bound);
    if (zippedSize == 0 || zippedSize > 0x7FFFFFFF)
        return std::nullopt;

    QByteArray png;
    png.reserve(qsizetype(zippedSize) + 128);
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
    AppendChunk(png, "IDAT", zipped.constData(), qsizetype(zippedSize));
    AppendChunk(png, "IEND", nullptr, 0);
    return png;
}

} // namespace brevant
