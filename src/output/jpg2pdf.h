#pragma once
// Wraps one JPEG, unchanged, into a one-page PDF 1.2 file of the image's pixel size.
// Nothing is decoded: the frame header gives the size and colour model, the bytes are
// copied as a DCT-compressed image object.

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

class QIODevice;

namespace brevant {

class Platform;

class CJpg2Pdf {
public:
    enum class ColorModel { Rgb, Cmyk };

    struct JpegSize {
        uint16_t width = 0;
        uint16_t height = 0;
        ColorModel model = ColorModel::Rgb;
    };

    // Byte offsets of objects 1.. in the PDF, index 0 unused.
    using OffsetTable = std::array<int32_t, 10>;

    // Larger JPEGs are refused so every offset and length fits the 32-bit table.
    static constexpr int64_t kMaxJpegBytes = int64_t(INT32_MAX) - (1 << 20);

    // Converts the JPEG into the PDF. The PDF is replaced whole or left as it was; on
    // failure message 30003 with the failing step's prefix has been shown.
    bool Convert(const QString& jpegPath, const QString& pdfPath, Platform& platform) const;
    // The same from a JPEG already open for reading (a file, or bytes held in memory),
    // which is left open.
    bool Convert(QIODevice& jpeg, const QString& pdfPath, Platform& platform) const;

    // Scans for the baseline or progressive frame header; nothing for anything else,
    // including a file that is truncated or whose segment lengths do not add up.
    std::optional<JpegSize> GetJpegSize(QIODevice& jpeg) const;

    // Appends the whole JPEG to the PDF and restores the JPEG's position.
    bool CopyStream(QIODevice& jpeg, QIODevice& pdf) const;

    // The page content stream (object counter + 1) and its length object (counter + 2).
    void WriteContents(QIODevice& pdf, int& objectCount, OffsetTable& offsets, int width,
                       int height) const;

    void WriteXref(int objectCount, QIODevice& pdf, const OffsetTable& offsets) const;
};

} // namespace brevant
