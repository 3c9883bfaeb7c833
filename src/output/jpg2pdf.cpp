#include "jpg2pdf.h"

#include "message.h"
#include "atomic_file.h"
#include "platform.h"
#include "string_table.h"

#include <QFile>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <memory>
#include <new>

namespace brevant {

namespace {

constexpr uint16_t kSoi = 0xFFD8;
constexpr uint16_t kEoi = 0xFFD9;
constexpr uint16_t kSof0 = 0xFFC0;
constexpr uint16_t kSof2 = 0xFFC2;
constexpr uint16_t kFill = 0xFFFF;

// Every PDF line goes through printf so the texts read exactly as their formats.
__attribute__((format(printf, 2, 3))) void Put(QIODevice& out, const char* format, ...)
{
    char line[128];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (n > 0)
        out.write(line, std::min<qint64>(n, qint64(sizeof line) - 1));
}

bool ReadBytes(QIODevice& in, char* data, qint64 count)
{
    return in.read(data, count) == count;
}

bool ReadWord(QIODevice& in, uint16_t& word)
{
    unsigned char b[2];
    if (!ReadBytes(in, reinterpret_cast<char*>(b), 2))
        return false;
    word = uint16_t((b[0] << 8) | b[1]);
    return true;
}

// Forward seek that never leaves the file: a skip past the end is a truncated file.
bool Skip(QIODevice& in, qint64 count)
{
    const qint64 target = in.pos() + count;
    if (count < 0 || target > in.size())
        return false;
    return in.seek(target);
}

int32_t Pos32(const QIODevice& out)
{
    return int32_t(std::min<qint64>(out.pos(), INT32_MAX));
}

// The size and colour model from a start-of-frame segment, read from just past its marker.
std::optional<CJpg2Pdf::JpegSize> ReadFrameSize(QIODevice& jpeg)
{
    // Segment length and sample precision are not needed.
    if (!Skip(jpeg, 2) || !Skip(jpeg, 1))
        return std::nullopt;
    uint16_t height = 0;
    uint16_t width = 0;
    char components = 0;
    if (!ReadWord(jpeg, height) || !ReadWord(jpeg, width) || !ReadBytes(jpeg, &components, 1))
        return std::nullopt;
    if (components == 3)
        return CJpg2Pdf::JpegSize{width, height, CJpg2Pdf::ColorModel::Rgb};
    if (components == 4)
        return CJpg2Pdf::JpegSize{width, height, CJpg2Pdf::ColorModel::Cmyk};
    return std::nullopt;
}

} // namespace

std::optional<CJpg2Pdf::JpegSize> CJpg2Pdf::GetJpegSize(QIODevice& jpeg) const
{
    if (!jpeg.seek(0))
        return std::nullopt;
    uint16_t word = 0;
    if (!ReadWord(jpeg, word) || word != kSoi)
        return std::nullopt;

    // Each round consumes at least four bytes, so the file size bounds the rounds.
    const qint64 rounds = jpeg.size() / 4 + 1;
    for (qint64 round = 0; round < rounds; ++round) {
        uint16_t marker = 0;
        if (!ReadWord(jpeg, marker))
            return std::nullopt;
        if (marker == kSof0 || marker == kSof2)
            return ReadFrameSize(jpeg);
        if (marker == kEoi || marker == kFill)
            return std::nullopt;
        uint16_t length = 0;
        // The length counts its own two bytes; anything shorter would step backwards.
        if (!ReadWord(jpeg, length) || length < 2 || !Skip(jpeg, qint64(length) - 2))
            return std::nullopt;
    }
    return std::nullopt;
}

bool CJpg2Pdf::CopyStream(QIODevice& jpeg, QIODevice& pdf) const
{
    const qint64 position = jpeg.pos();
    const qint64 size = jpeg.size();
    if (size < 0 || size > kMaxJpegBytes)
        return false;
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[size_t(size) + 1]);
    if (!buffer)
        return false;
    const bool copied = jpeg.seek(0) && ReadBytes(jpeg, buffer.get(), size)
                        && pdf.write(buffer.get(), size) == size;
    jpeg.seek(position);
    return copied;
}

void CJpg2Pdf::WriteContents(QIODevice& pdf, int& objectCount, OffsetTable& offsets,
                             int width, int height) const
{
    offsets[size_t(objectCount) + 1] = Pos32(pdf);
    Put(pdf, "%d 0 obj\n", objectCount + 1);
    Put(pdf, "<< /Length %d 0 R >>\n", objectCount + 2);
    Put(pdf, "stream\n");
    const qint64 start = pdf.pos();
    Put(pdf, "q\n");
    Put(pdf, "%d 0 0 %d 0 0 cm\n", width, height);
    Put(pdf, "/Im0 Do\n");
    Put(pdf, "Q\n");
    const qint64 end = pdf.pos();
    Put(pdf, "endstream\n");
    Put(pdf, "endobj\n");
    ++objectCount;

    offsets[size_t(objectCount) + 1] = Pos32(pdf);
    Put(pdf, "%d 0 obj\n", objectCount + 1);
    Put(pdf, "%d\n", int(end - start));
    Put(pdf, "endobj\n");
    ++objectCount;
}

void CJpg2Pdf::WriteXref(int objectCount, QIODevice& pdf, const OffsetTable& offsets) const
{
    Put(pdf, "xref\n");
    Put(pdf, "0 %d\n", objectCount + 1);
    Put(pdf, "0000000000 65535 f \n");
    for (int i = 1; i <= objectCount && i < int(offsets.size()); ++i)
        Put(pdf, "%010d 00000 n \n", offsets[size_t(i)]);
}

bool CJpg2Pdf::Convert(const QString& jpegPath, const QString& pdfPath,
                       Platform& platform) const
{
    QFile jpeg(jpegPath);
    if (!jpeg.open(QIODevice::ReadOnly)) {
        ShowMessage(platform, IDS_PDF_FAILED, QStringLiteral("[Stream Open]\n"), kMbError);
        return false;
    }
    return Convert(jpeg, pdfPath, platform);
}

bool CJpg2Pdf::Convert(QIODevice& jpeg, const QString& pdfPath, Platform& platform) const
{
    const auto fail = [&platform](const char* prefix) {
        ShowMessage(platform, IDS_PDF_FAILED, QString::fromLatin1(prefix), kMbError);
        return false;
    };

    const auto size = GetJpegSize(jpeg);
    if (!size)
        return fail("[Get Size]\n");
    // Written beside the target and renamed over it at the end, so a failure leaves any
    // earlier file as it was and no partial PDF behind.
    AtomicFile pdf(pdfPath);
    if (!pdf.open(QIODevice::WriteOnly))
        return fail("[File Create]\n");

    const int width = size->width;
    const int height = size->height;
    OffsetTable offsets{};
    Put(pdf, "%%PDF-1.2\n");

    offsets[1] = Pos32(pdf);
    Put(pdf, "%d 0 obj\n", 1);
    Put(pdf, "<<\n");
    Put(pdf, "/Type /Catalog\n");
    Put(pdf, "/Pages 2 0 R\n");
    Put(pdf, ">>\n");
    Put(pdf, "endobj\n");

    offsets[2] = Pos32(pdf);
    Put(pdf, "%d 0 obj\n", 2);
    Put(pdf, "<<\n");
    Put(pdf, "/Type /Pages\n");
    Put(pdf, "/Kids [ 3 0 R ]\n");
    Put(pdf, "/Count 1\n");
    Put(pdf, ">>\n");
    Put(pdf, "endobj\n");

    offsets[3] = Pos32(pdf);
    Put(pdf, "%d 0 obj\n", 3);
    Put(pdf, "<<\n");
    Put(pdf, "/Type /Page\n");
    Put(pdf, "/Parent 2 0 R\n");
    Put(pdf, "/Resources\n");
    Put(pdf, "<<\n");
    Put(pdf, "/XObject << /Im0 4 0 R >>\n");
    Put(pdf, "/ProcSet [ /PDF /ImageC ]\n");
    Put(pdf, ">>\n");
    Put(pdf, "/MediaBox [ 0 0 %d %d ]\n", width, height);
    Put(pdf, "/Contents 5 0 R\n");
    Put(pdf, ">>\n");
    Put(pdf, "endobj\n");

    offsets[4] = Pos32(pdf);
    Put(pdf, "%d 0 obj\n", 4);
    Put(pdf, "<<\n");
    Put(pdf, "/Type /XObject\n");
    Put(pdf, "/Subtype /Image\n");
    Put(pdf, "/Name /Im0\n");
    Put(pdf, "/Width %d\n", width);
    Put(pdf, "/Height %d\n", height);
    Put(pdf, "/BitsPerComponent 8\n");
    Put(pdf, "/Filter [/DCTDecode]\n");
    if (size->model == ColorModel::Rgb) {
        Put(pdf, "/ColorSpace /DeviceRGB\n");
    } else {
        Put(pdf, "/ColorSpace /DeviceCMYK\n");
        // Adobe writes CMYK JPEGs inverted.
        Put(pdf, "/Decode[1 0 1 0 1 0 1 0]\n");
    }
    Put(pdf, "/Length %d >>\n", int(std::min<qint64>(jpeg.size(), INT32_MAX)));
    Put(pdf, "stream\n");

    // An uncommitted file is discarded when it goes out of scope.
    if (!CopyStream(jpeg, pdf))
        return fail("[Copy Stream]\n");
    Put(pdf, "endstream\n");
    Put(pdf, "endobj\n");

    int objectCount = 4;
    WriteContents(pdf, objectCount, offsets, width, height);

    const int32_t xref = Pos32(pdf);
    WriteXref(objectCount, pdf, offsets);
    Put(pdf, "trailer\n");
    Put(pdf, "<<\n");
    Put(pdf, "/Size %d\n", objectCount + 1);
    Put(pdf, "/Root 1 0 R\n");
    Put(pdf, ">>\n");
    Put(pdf, "startxref\n");
    Put(pdf, "%d\n", xref);
    Put(pdf, "%%%%EOF\n");

    // A write that failed on the way (a full disk) surfaces here; the target is untouched.
    if (!pdf.commit())
        return fail("[File Create]\n");
    return true;
}

} // namespace brevant
