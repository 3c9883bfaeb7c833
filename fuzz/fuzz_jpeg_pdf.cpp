// The JPEG-to-PDF writer on any file: the size scan must never read past the file or loop,
// a reported success must be a complete PDF holding the file unchanged, and a failure must
// leave the earlier PDF as it was and nothing else behind.

#include "fuzz_support.h"

#include "jpg2pdf.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstring>

using namespace brevant;

namespace {

QTemporaryDir* folder = nullptr;

const QByteArray kEarlier = "an earlier file that a failed conversion must keep\n";

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    FUZZ_CHECK(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

// The number that follows `key` at `from`, or -1.
qint64 NumberAfter(const QByteArray& pdf, const QByteArray& key, qsizetype from = 0)
{
    const qsizetype at = pdf.indexOf(key, from);
    if (at < 0)
        return -1;
    qsizetype i = at + key.size();
    qint64 v = 0;
    bool any = false;
    while (i < pdf.size() && pdf[i] >= '0' && pdf[i] <= '9') {
        v = v * 10 + (pdf[i++] - '0');
        any = true;
    }
    return any ? v : -1;
}

void CheckPdf(const QByteArray& pdf, const QByteArray& jpeg, const CJpg2Pdf::JpegSize& size)
{
    FUZZ_CHECK(pdf.startsWith("%PDF-1.2\n"));
    FUZZ_CHECK(pdf.endsWith("%%EOF\n"));
    // The image object carries the JPEG byte for byte, with its length.
    const QByteArray imageHead =
        QByteArray("/Length " + QByteArray::number(jpeg.size()) + " >>\nstream\n");
    const qsizetype head = pdf.indexOf(imageHead);
    FUZZ_CHECK(head > 0);
    const qsizetype start = head + imageHead.size();
    FUZZ_CHECK(pdf.mid(start, jpeg.size()) == jpeg);
    FUZZ_CHECK(pdf.mid(start + jpeg.size()).startsWith("endstream\nendobj\n"));
    FUZZ_CHECK(pdf.contains(QByteArray("/Width " + QByteArray::number(size.width) + "\n")));
    FUZZ_CHECK(pdf.contains(QByteArray("/Height " + QByteArray::number(size.height) + "\n")));

    // Every object sits where the cross-reference table says, and so does the table.
    const qsizetype tail = start + jpeg.size();
    const qint64 xref = NumberAfter(pdf, "startxref\n", tail);
    FUZZ_CHECK(xref > 0 && xref < pdf.size());
    FUZZ_CHECK(pdf.mid(xref).startsWith("xref\n0 7\n0000000000 65535 f \n"));
    qsizetype entry = xref + qsizetype(strlen("xref\n0 7\n0000000000 65535 f \n"));
    for (int obj = 1; obj <= 6; ++obj, entry += 20) {
        const QByteArray line = pdf.mid(entry, 20);
        FUZZ_CHECK(line.size() == 20 && line.endsWith(" 00000 n \n"));
        bool ok = false;
        const qint64 offset = line.left(10).toLongLong(&ok);
        FUZZ_CHECK(ok && offset > 0 && offset < pdf.size());
        FUZZ_CHECK(pdf.mid(offset).startsWith(QByteArray(QByteArray::number(obj) + " 0 obj\n")));
    }
    FUZZ_CHECK(pdf.mid(entry).startsWith("trailer\n"));

    // The content stream's length object matches the stream.
    const qsizetype s5 = pdf.indexOf("5 0 obj\n<< /Length 6 0 R >>\nstream\n", tail);
    FUZZ_CHECK(s5 > 0);
    const qsizetype body = s5 + qsizetype(strlen("5 0 obj\n<< /Length 6 0 R >>\nstream\n"));
    const qsizetype bodyEnd = pdf.indexOf("endstream\n", body);
    FUZZ_CHECK(NumberAfter(pdf, "6 0 obj\n", bodyEnd) == bodyEnd - body);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    folder = &fuzz::ScratchFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray jpeg(reinterpret_cast<const char*>(data), qsizetype(size));
    const CJpg2Pdf writer;

    // The scan on memory: it must end inside the data.
    QBuffer buffer;
    buffer.setData(jpeg);
    FUZZ_CHECK(buffer.open(QIODevice::ReadOnly));
    const auto inMemory = writer.GetJpegSize(buffer);
    FUZZ_CHECK(buffer.pos() <= jpeg.size());
    if (inMemory)
        FUZZ_CHECK(jpeg.startsWith("\xFF\xD8"));

    const QDir dir(folder->path());
    const QString jpegPath = dir.filePath(QStringLiteral("chart.jpg"));
    const QString pdfPath = dir.filePath(QStringLiteral("chart.pdf"));
    {
        QFile f(jpegPath);
        FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(f.write(jpeg) == jpeg.size());
        QFile earlier(pdfPath);
        FUZZ_CHECK(earlier.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(earlier.write(kEarlier) == kEarlier.size());
    }

    fuzz::QuietPlatform platform;
    const bool ok = writer.Convert(jpegPath, pdfPath, platform);
    // Only the size scan can fail on a readable file in a writable folder.
    FUZZ_CHECK(ok == inMemory.has_value());
    const QByteArray pdf = ReadAll(pdfPath);
    if (ok) {
        FUZZ_CHECK(platform.messages == 0);
        CheckPdf(pdf, jpeg, *inMemory);
    } else {
        FUZZ_CHECK(platform.messages == 1);
        FUZZ_CHECK(pdf == kEarlier);
    }
    // Nothing else was left in the folder (no half-written temporary file).
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    FUZZ_CHECK(names.size() == 2);
    QFile::remove(pdfPath);
    return 0;
}
