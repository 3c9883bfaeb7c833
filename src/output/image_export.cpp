#include "image_export.h"

#include "message.h"
#include "gif_writer.h"
#include "jpg2pdf.h"
#include "png_encoder.h"
#include "atomic_file.h"
#include "output_names.h"
#include "platform.h"
#include "string_table.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImageWriter>
#include <QPainter>

#include <new>

namespace brevant {

namespace {

const QString kJpegText = QStringLiteral("jpeg");
const QString kBmpText = QStringLiteral("bmp");
const QString kGifText = QStringLiteral("gif");
const QString kPngText = QStringLiteral("png");
const QString kTiffText = QStringLiteral("tiff");
const QString kPdfText = QStringLiteral("pdf");

// The image the writers receive: opaque 32-bit at exactly width x height.
QImage OpaqueImage(const QImage& image, int width, int height)
{
    if (image.isNull() || width <= 0 || height <= 0)
        return {};
    if (image.size() == QSize(width, height) && image.format() == QImage::Format_RGB32)
        return image;
    QImage out(width, height, QImage::Format_RGB32);
    if (out.isNull())
        return {};
    out.fill(Qt::black);
    QPainter painter(&out);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(0, 0, width, height), image, image.rect());
    return out;
}

std::optional<QByteArray> EncodeWithQt(const QImage& image, const ImageEncoder& encoder,
                                       const QString& mime)
{
    if (mime == QStringLiteral("image/png")) {
        if (auto png = EncodePng(image))
            return png;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, encoder.qtFormat);
    if (mime == QStringLiteral("image/jpeg"))
        writer.setQuality(100);
    else if (mime == QStringLiteral("image/tiff"))
        writer.setCompression(1);  // LZW: chart images are mostly flat colour
    if (!writer.write(image))
        return std::nullopt;
    buffer.close();
    return bytes;
}

// Exists already, or made now; a folder made meanwhile by someone else counts too.
bool EnsureFolder(const QString& folder)
{
    return QFileInfo(folder).isDir() || QDir().mkdir(folder) || QFileInfo(folder).isDir();
}

// A name that must stay one path component.
bool IsFolderName(const QString& name)
{
    return !name.contains(QLatin1Char('/')) && !name.contains(QChar(0))
           && name != QStringLiteral(".") && name != QStringLiteral("..");
}

} // namespace

QString FormatExtension(int32_t format)
{
    switch (format) {
    case kJpeg:
        return kJpegText;
    case kBmp:
        return kBmpText;
    case kGif:
        return kGifText;
    case kPng:
        return kPngText;
    case kTiff:
        return kTiffText;
    case kPdf:
        return kPdfText;
    default:
        return {};
    }
}

QString ExtensionFormat(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return {};
    QString ext = path.mid(dot + 1).toLower();
    if (ext == QStringLiteral("jpg") || ext == kJpegText)
        return kJpegText;
    if (ext == QStringLiteral("tif") || ext == kTiffText)
        return kTiffText;
    if (ext == kBmpText || ext == kGifText || ext == kPngText || ext == kPdfText)
        return ext;
    return {};
}

std::optional<ImageEncoder> FindEncoderByMime(const QString& mime)
{
    // Qt reads GIF but cannot write it.
    if (mime == QStringLiteral("image/gif"))
        return ImageEncoder{{}, true};
    // Asking Qt opens every image plugin again: once per chart in a batch of thousands,
    // and under a lock all threads share. The plugins stay as they were at start.
    static const auto writers = [] {
        QHash<QString, QByteArray> byMime;
        const auto mimeTypes = QImageWriter::supportedMimeTypes();
        for (const QByteArray& type : mimeTypes) {
            const auto formats = QImageWriter::imageFormatsForMimeType(type);
            if (!formats.isEmpty())
                byMime.insert(QString::fromLatin1(type), formats.first());
        }
        return byMime;
    }();
    if (const auto found = writers.constFind(mime); found != writers.cend())
        return ImageEncoder{*found, false};
    return std::nullopt;
}

EncodedImage EncodeImage(const QImage& image, int width, int height, const QString& format)
{
    using Status = EncodedImage::Status;
    QImage opaque;
    try {
        opaque = OpaqueImage(image, width, height);
    } catch (const std::bad_alloc&) {
        opaque = QImage();
    }
    if (opaque.isNull())
        return {Status::NoImage, {}};
    const QString mime = QStringLiteral("image/") + format.toLower();
    const auto encoder = FindEncoderByMime(mime);
    if (!encoder)
        return {Status::NoWriter, {}};
    try {
        auto bytes = encoder->gif ? EncodeGif(opaque) : EncodeWithQt(opaque, *encoder, mime);
        if (!bytes)
            return {Status::Failed, {}};
        return {Status::Ok, std::move(*bytes)};
    } catch (const std::bad_alloc&) {
        return {Status::Failed, {}};
    }
}

bool WriteEncodedImage(const EncodedImage& encoded, const QString& path, Platform& platform)
{
    switch (encoded.status) {
    case EncodedImage::Status::Ok:
        try {
            // Images are many and cheap to make again: no wait for the disk.
            return WriteWholeFile(path, encoded.bytes, AtomicFile::Sync::No);
        } catch (const std::bad_alloc&) {
            return false;
        }
    case EncodedImage::Status::NoImage:
        ShowMessage(platform, IDS_MEMORY, {}, kMbError);
        return false;
    case EncodedImage::Status::NoWriter:
    case EncodedImage::Status::Failed:
        break;
    }
    return false;
}

bool EncodeImageFile(const QImage& image, int width, int height, const QString& path,
                     const QString& format, Platform& platform)
{
    return WriteEncodedImage(EncodeImage(image, width, height, format), path, platform);
}

QString GetWorkFolder(Platform& platform, const QString& subfolder)
{
    const auto fail = [&platform] {
        ShowMessage(platform, IDS_WORK_FOLDER, {}, kMbError);
        return QString();
    };
    const QString temp = platform.TempFolder();
    if (temp.isEmpty())
        return fail();
    QString folder = temp;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    folder += AppName();
    if (!EnsureFolder(folder))
        return fail();
    if (!subfolder.isEmpty()) {
        if (!IsFolderName(subfolder))
            return fail();
        folder += QLatin1Char('/') + subfolder;
        if (!EnsureFolder(folder))
            return fail();
    }
    return folder;
}

QString ChartEncodingFormat(const QString& path)
{
    const QString format = ExtensionFormat(path);
    // PDF pages are made from a JPEG.
    return format == kPdfText ? kJpegText : format;
}

namespace {

// Nothing is made for a name the file system cannot hold; the failure is the one a file
// that cannot be created gets. True when the name was refused.
bool RefuseLongName(const QString& path, Platform& platform)
{
    if (!IsNameTooLong(path))
        return false;
    if (ExtensionFormat(path) == kPdfText)
        ShowMessage(platform, IDS_PDF_FAILED, QStringLiteral("[File Create]\n"), kMbError);
    else
        ShowMessage(platform, IDS_OPEN_FAILED, {}, kMbError);
    return true;
}

} // namespace

bool WriteChartFile(const EncodedImage& encoded, const QString& path, Platform& platform)
{
    if (RefuseLongName(path, platform))
        return false;
    if (ExtensionFormat(path) != kPdfText || encoded.status != EncodedImage::Status::Ok)
        return WriteEncodedImage(encoded, path, platform);

    // The PDF is made from the JPEG bytes in memory: no scratch file that another run of
    // the program, or another export of this one, could write over meanwhile.
    QBuffer jpeg;
    jpeg.setData(encoded.bytes);
    if (!jpeg.open(QIODevice::ReadOnly)) {
        ShowMessage(platform, IDS_PDF_FAILED, QStringLiteral("[Stream Open]\n"), kMbError);
        return false;
    }
    return CJpg2Pdf().Convert(jpeg, path, platform);
}

bool WriteChartImage(const QImage& composed, QSize chartArea, const QString& path,
                     Platform& platform)
{
    // Nothing is encoded for a name the file system cannot hold.
    if (ExtensionFormat(path).isEmpty() || RefuseLongName(path, platform))
        return false;
    return WriteChartFile(
        EncodeImage(composed, chartArea.width(), chartArea.height(), ChartEncodingFormat(path)),
        path, platform);
}

bool ShowInExplorer(Platform& platform, const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    // A file at the top of the tree lives in "/", not in "".
    const QString folder = slash < 0    ? QString()
                           : slash == 0 ? QStringLiteral("/")
                                        : path.left(slash);
    if (platform.OpenFolder(folder))
        return true;
    ShowMessage(platform, IDS_EXPLORER, {}, kMbError);
    return false;
}

} // namespace brevant
