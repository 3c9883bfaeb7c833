#include "jpg2pdf.h"

#include "string_table.h"
#include "support/file_helpers.h"
#include "support/fake_platform.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace brevant;
using brevant::test::ReadAll;
using brevant::test::WriteAll;
using brevant::test::FakePlatform;

namespace {

QByteArray Word(int value)
{
    QByteArray b;
    b.append(char((value >> 8) & 0xFF));
    b.append(char(value & 0xFF));
    return b;
}

QByteArray Segment(int marker, const QByteArray& payload)
{
    return Word(marker) + Word(int(payload.size()) + 2) + payload;
}

QByteArray FrameHeader(int marker, int width, int height, int components)
{
    QByteArray p;
    p.append(char(8));
    p += Word(height) + Word(width);
    p.append(char(components));
    for (int c = 1; c <= components; ++c)
        p += QByteArray(1, char(c)) + QByteArray("\x11\0", 2);
    return Segment(marker, p);
}

// Start of image, an application segment, a frame header, filler standing in for the
// tables and scan, and end of image, `total` bytes in all.
QByteArray MakeJpeg(int width, int height, int components, int total, int marker = 0xFFC0)
{
    QByteArray jpeg = Word(0xFFD8) + Segment(0xFFE0, QByteArray("JFIF\0\1\1\0\0\1\0\1\0\0", 14));
    jpeg += FrameHeader(marker, width, height, components);
    const qsizetype filler = total - jpeg.size() - 2;
    jpeg += QByteArray(filler > 0 ? filler : 0, char(0x5A));
    jpeg += Word(0xFFD9);
    return jpeg;
}

std::optional<CJpg2Pdf::JpegSize> SizeOf(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return CJpg2Pdf().GetJpegSize(buffer);
}

// Every cross-reference entry points at its object's first line and "startxref" at the
// table itself.
void ExpectConsistentXref(const QByteArray& pdf)
{
    const qsizetype start = pdf.lastIndexOf("startxref\n");
    ASSERT_GE(start, 0);
    const qsizetype xref = pdf.mid(start + 10).split('\n').value(0).toLongLong();
    ASSERT_EQ(pdf.mid(xref, 12), QByteArray("xref\n0 7\n000"));
    const QByteArray table = pdf.mid(xref + 9, 7 * 20);
    EXPECT_EQ(table.left(20), QByteArray("0000000000 65535 f \n"));
    for (int i = 1; i <= 6; ++i) {
        const QByteArray entry = table.mid(i * 20, 20);
        EXPECT_TRUE(entry.endsWith(" 00000 n \n")) << entry.constData();
        const qsizetype offset = entry.left(10).toLongLong();
        EXPECT_EQ(pdf.mid(offset, 8), QByteArray::number(i) + " 0 obj\n") << "object " << i;
    }
}

QString PdfFailure(const char* prefix)
{
    return QString::fromLatin1(prefix) + *LoadStringEntry(30003);
}

class Jpg2PdfTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    FakePlatform platform{dir.path()};

    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    // Names in the folder apart from the fake platform's own.
    QStringList Files() const
    {
        QStringList names = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        names.sort();
        return names;
    }
};

} // namespace

TEST_F(Jpg2PdfTest, WorkedExampleMatchesByteForByte)
{
    const QByteArray jpeg = MakeJpeg(640, 480, 3, 10000);
    ASSERT_EQ(jpeg.size(), 10000);
    ASSERT_TRUE(WriteAll(Path("in.jpeg"), jpeg));

    ASSERT_TRUE(CJpg2Pdf().Convert(Path("in.jpeg"), Path("out.pdf"), platform));
    EXPECT_TRUE(platform.messages.isEmpty());

    const QByteArray expected =
        QByteArray("%PDF-1.2\n"
                   "1 0 obj\n<<\n/Type /Catalog\n/Pages 2 0 R\n>>\nendobj\n"
                   "2 0 obj\n<<\n/Type /Pages\n/Kids [ 3 0 R ]\n/Count 1\n>>\nendobj\n"
                   "3 0 obj\n<<\n/Type /Page\n/Parent 2 0 R\n/Resources\n<<\n"
                   "/XObject << /Im0 4 0 R >>\n/ProcSet [ /PDF /ImageC ]\n>>\n"
                   "/MediaBox [ 0 0 640 480 ]\n/Contents 5 0 R\n>>\nendobj\n"
                   "4 0 obj\n<<\n/Type /XObject\n/Subtype /Image\n/Name /Im0\n/Width 640\n"
                   "/Height 480\n/BitsPerComponent 8\n/Filter [/DCTDecode]\n"
                   "/ColorSpace /DeviceRGB\n/Length 10000 >>\nstream\n")
        + jpeg
        + QByteArray("endstream\nendobj\n"
                     "5 0 obj\n<< /Length 6 0 R >>\nstream\n"
                     "q\n640 0 0 480 0 0 cm\n/Im0 Do\nQ\nendstream\nendobj\n"
                     "6 0 obj\n31\nendobj\n"
                     "xref\n0 7\n"
                     "0000000000 65535 f \n"
                     "0000000009 00000 n \n"
                     "0000000058 00000 n \n"
                     "0000000117 00000 n \n"
                     "0000000275 00000 n \n"
                     "0000010456 00000 n \n"
                     "0000010539 00000 n \n"
                     "trailer\n<<\n/Size 7\n/Root 1 0 R\n>>\nstartxref\n10557\n%%EOF\n");
    const QByteArray pdf = ReadAll(Path("out.pdf"));
    EXPECT_EQ(pdf.size(), 10762);
    EXPECT_EQ(pdf, expected);
    ExpectConsistentXref(pdf);
    // The JPEG is read, never changed; nothing else is left in the folder.
    EXPECT_EQ(ReadAll(Path("in.jpeg")), jpeg);
    EXPECT_EQ(Files(), (QStringList{"in.jpeg", "out.pdf"}));
}

TEST_F(Jpg2PdfTest, CmykAddsTheInvertingDecodeArray)
{
    ASSERT_TRUE(WriteAll(Path("rgb.jpeg"), MakeJpeg(640, 480, 3, 10000)));
    ASSERT_TRUE(WriteAll(Path("cmyk.jpeg"), MakeJpeg(640, 480, 4, 10000)));
    ASSERT_TRUE(CJpg2Pdf().Convert(Path("rgb.jpeg"), Path("rgb.pdf"), platform));
    ASSERT_TRUE(CJpg2Pdf().Convert(Path("cmyk.jpeg"), Path("cmyk.pdf"), platform));

    const QByteArray pdf = ReadAll(Path("cmyk.pdf"));
    EXPECT_TRUE(pdf.contains("/Filter [/DCTDecode]\n/ColorSpace /DeviceCMYK\n"
                             "/Decode[1 0 1 0 1 0 1 0]\n/Length 10000 >>\nstream\n"));
    EXPECT_FALSE(pdf.contains("DeviceRGB"));
    EXPECT_EQ(pdf.size(), ReadAll(Path("rgb.pdf")).size() + 26);
    ExpectConsistentXref(pdf);
}

TEST_F(Jpg2PdfTest, LargestSizePrintsUnsigned)
{
    ASSERT_TRUE(WriteAll(Path("big.jpeg"), MakeJpeg(65535, 65535, 3, 500)));
    ASSERT_TRUE(CJpg2Pdf().Convert(Path("big.jpeg"), Path("big.pdf"), platform));
    const QByteArray pdf = ReadAll(Path("big.pdf"));
    EXPECT_TRUE(pdf.contains("/MediaBox [ 0 0 65535 65535 ]\n"));
    EXPECT_TRUE(pdf.contains("/Width 65535\n/Height 65535\n"));
    EXPECT_TRUE(pdf.contains("q\n65535 0 0 65535 0 0 cm\n"));
    EXPECT_TRUE(pdf.contains("6 0 obj\n35\nendobj\n"));
    ExpectConsistentXref(pdf);
}

TEST(GetJpegSize, ReadsOrRefusesTheFrameHeader)
{
    using Model = CJpg2Pdf::ColorModel;
    const QByteArray soi = Word(0xFFD8);
    const QByteArray app = Segment(0xFFE1, QByteArray(40, 'x'));
    const QByteArray sof = FrameHeader(0xFFC0, 320, 200, 3);
    const QByteArray eoi = Word(0xFFD9);
    struct Case {
        const char* name;
        QByteArray bytes;
        bool found;
        int width = 0;
        int height = 0;
        Model model = Model::Rgb;
    } cases[] = {
        {"frame right after start", soi + sof + eoi, true, 320, 200},
        {"application segment first", soi + app + app + sof + eoi, true, 320, 200},
        {"progressive frame", soi + FrameHeader(0xFFC2, 17, 9, 3) + eoi, true, 17, 9},
        {"four components", soi + FrameHeader(0xFFC0, 8, 8, 4), true, 8, 8, Model::Cmyk},
        {"width above 32767", soi + FrameHeader(0xFFC0, 40000, 1, 3), true, 40000, 1},
        {"empty segment", soi + Segment(0xFFFE, {}) + sof, true, 320, 200},
        {"other frame types are skipped", soi + FrameHeader(0xFFC1, 1, 1, 3) + sof, true, 320,
         200},
        {"greyscale", soi + FrameHeader(0xFFC0, 8, 8, 1) + eoi, false},
        {"two components", soi + FrameHeader(0xFFC0, 8, 8, 2) + eoi, false},
        {"not a JPEG", QByteArray("\x89PNG\r\n\x1a\n0000000000000000"), false},
        {"empty file", {}, false},
        {"one byte", QByteArray(1, char(0xFF)), false},
        {"start of image only", soi, false},
        {"end of image before any frame", soi + app + eoi + sof, false},
        {"fill byte before a marker", soi + QByteArray(1, char(0xFF)) + sof, false},
        {"frame header cut short", soi + sof.left(8), false},
        {"frame header without component count", soi + sof.left(9), false},
        {"segment length cut short", soi + Word(0xFFE0) + QByteArray(1, 0), false},
        {"segment length zero would loop", soi + Word(0xFFE0) + Word(0) + sof, false},
        {"segment length one would step back", soi + Word(0xFFE0) + Word(1) + sof, false},
        {"segment runs past the end", soi + Word(0xFFE0) + Word(60000) + sof, false},
        {"segment ends exactly at the end", soi + Word(0xFFE0) + Word(6) + "abcd", false},
    };
    for (const auto& c : cases) {
        const auto size = SizeOf(c.bytes);
        ASSERT_EQ(size.has_value(), c.found) << c.name;
        if (!size)
            continue;
        EXPECT_EQ(size->width, c.width) << c.name;
        EXPECT_EQ(size->height, c.height) << c.name;
        EXPECT_EQ(size->model, c.model) << c.name;
    }
}

TEST(GetJpegSize, SurvivesDamagedHeaders)
{
    // Random damage to the header bytes and random truncation: every scan must end, and
    // under the sanitizers without reading outside the data.
    const QByteArray good =
        Word(0xFFD8) + Segment(0xFFE0, QByteArray(12, 'j')) + Segment(0xFFDB, QByteArray(20, 1))
        + FrameHeader(0xFFC0, 64, 48, 3) + QByteArray(30, char(0xFF)) + Word(0xFFD9);
    ASSERT_TRUE(SizeOf(good).has_value());
    QRandomGenerator random(20240611);
    int found = 0;
    for (int i = 0; i < 5000; ++i) {
        QByteArray bytes = good.left(random.bounded(int(good.size()) + 1));
        const int flips = random.bounded(1, 6);
        for (int f = 0; f < flips && !bytes.isEmpty(); ++f)
            bytes[random.bounded(int(bytes.size()))] = char(random.bounded(256));
        found += SizeOf(bytes).has_value() ? 1 : 0;
    }
    // Mostly refused, but damage outside the scanned bytes still leaves a usable header.
    EXPECT_GT(found, 0);
    EXPECT_LT(found, 5000);
}

TEST(CopyStream, AppendsTheWholeFileAndKeepsThePosition)
{
    QByteArray source = MakeJpeg(10, 10, 3, 300);
    QBuffer jpeg(&source);
    jpeg.open(QIODevice::ReadOnly);
    jpeg.seek(123);
    QByteArray target("head\n");
    QBuffer pdf(&target);
    pdf.open(QIODevice::WriteOnly | QIODevice::Append);

    ASSERT_TRUE(CJpg2Pdf().CopyStream(jpeg, pdf));
    EXPECT_EQ(target, QByteArray("head\n") + source);
    EXPECT_EQ(jpeg.pos(), 123);
}

TEST_F(Jpg2PdfTest, FailuresNameTheirStepAndLeaveTheTargetAlone)
{
    ASSERT_TRUE(WriteAll(Path("grey.jpeg"), MakeJpeg(64, 64, 1, 400)));
    ASSERT_TRUE(WriteAll(Path("text.jpeg"), "not a picture at all"));
    ASSERT_TRUE(WriteAll(Path("good.jpeg"), MakeJpeg(64, 64, 3, 400)));
    ASSERT_TRUE(WriteAll(Path("old.pdf"), "earlier file"));
    struct Case {
        const char* jpeg;
        QString pdf;
        const char* prefix;
    } cases[] = {
        {"missing.jpeg", Path("old.pdf"), "[Stream Open]\n"},
        {"grey.jpeg", Path("old.pdf"), "[Get Size]\n"},
        {"text.jpeg", Path("old.pdf"), "[Get Size]\n"},
        {"good.jpeg", Path("no such folder/new.pdf"), "[File Create]\n"},
    };
    const QStringList before = Files();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.jpeg);
        platform.messages.clear();
        EXPECT_FALSE(CJpg2Pdf().Convert(Path(c.jpeg), c.pdf, platform)) << c.jpeg;
        ASSERT_EQ(platform.messages.size(), 1) << c.jpeg;
        EXPECT_EQ(platform.messages[0].text, PdfFailure(c.prefix)) << c.jpeg;
        EXPECT_EQ(platform.messages[0].caption, AppName());
        EXPECT_EQ(platform.messages[0].flags, 0x10u);
    }
    EXPECT_EQ(ReadAll(Path("old.pdf")), QByteArray("earlier file"));
    EXPECT_EQ(Files(), before);
    EXPECT_FALSE(QFileInfo::exists(Path("no such folder")));
}

TEST_F(Jpg2PdfTest, ImageTooLargeToCopyLeavesNoPartialFile)
{
    // A sparse file: a valid header followed by more bytes than a 32-bit offset can reach.
    {
        QFile huge(Path("huge.jpeg"));
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
        huge.write(MakeJpeg(64, 64, 3, 100));
        ASSERT_TRUE(huge.resize(CJpg2Pdf::kMaxJpegBytes + 1));
    }
    ASSERT_TRUE(WriteAll(Path("old.pdf"), "earlier file"));

    EXPECT_FALSE(CJpg2Pdf().Convert(Path("huge.jpeg"), Path("old.pdf"), platform));
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages[0].text, PdfFailure("[Copy Stream]\n"));
    EXPECT_EQ(ReadAll(Path("old.pdf")), QByteArray("earlier file"));
    EXPECT_EQ(Files(), (QStringList{"huge.jpeg", "old.pdf"}));
}

TEST_F(Jpg2PdfTest, ExistingPdfIsReplacedWithoutQuestion)
{
    ASSERT_TRUE(WriteAll(Path("in.jpeg"), MakeJpeg(30, 20, 3, 200)));
    ASSERT_TRUE(WriteAll(Path("out.pdf"), QByteArray(50000, 'z')));
    ASSERT_TRUE(CJpg2Pdf().Convert(Path("in.jpeg"), Path("out.pdf"), platform));
    EXPECT_TRUE(platform.messages.isEmpty());
    const QByteArray pdf = ReadAll(Path("out.pdf"));
    EXPECT_TRUE(pdf.startsWith("%PDF-1.2\n"));
    EXPECT_TRUE(pdf.endsWith("%%EOF\n"));
    EXPECT_FALSE(pdf.contains("zzzz"));
    EXPECT_LT(pdf.size(), 1000);
    ExpectConsistentXref(pdf);
}
