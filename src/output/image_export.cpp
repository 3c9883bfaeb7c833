#include "output/image_export.h"

#include "app/message.h"
#include "output/checked_save_file.h"
#include "output/gif_writer.h"
#include "output/jpg2pdf.h"
#include "platform/platform.h"
#include "res/string_table.h"

#include <QDir>
#include <QFileInfo>
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

bool WriteWithQt(const QImage& image, const ImageEncoder& encoder, const QString& mime,
                 const QString& path)
{
    CheckedSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, encoder.qtFormat);
    if (mime == QStringLiteral("image/jpeg"))
        writer.setQuality(100);
    else if (mime == QStringLiteral("image/tiff"))
        writer.setCompression(1);  // LZW: chart images are mostly flat colour
    if (!writer.write(image)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool WriteGif(const QImage& image, const QString& path)
{
    const auto bytes = EncodeGif(image);
    if (!bytes)
        return false;
    CheckedSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(*bytes) != bytes->size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
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
    const QString ext = path.mid(dot + 1).toLower();
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
    const auto mimeTypes = QImageWriter::supportedMimeTypes();
    for (const QByteArray& type : mimeTypes) {
        if (QString::fromLatin1(type) != mime)
            continue;
        const auto formats = QImageWriter::imageFormatsForMimeType(type);
        if (!formats.isEmpty())
            return ImageEncoder{formats.first(), false};
    }
    return std::nullopt;
}

bool EncodeImageFile(const QImage& image, int width, int height, const QString& path,
                     const QString& format, Platform& platform)
{
    QImage opaque;
    try {
        opaque = OpaqueImage(image, width, height);
    } catch (const std::bad_alloc&) {
        opaque = QImage();
    }
    if (opaque.isNull()) {
        ShowMessage(platform, IDS_MEMORY, {}, kMbError);
        return false;
    }
    const QString mime = QStringLiteral("image/") + format.toLower();
    const auto encoder = FindEncoderByMime(mime);
    if (!encoder)
        return false;
    try {
        return encoder->gif ? WriteGif(opaque, path) : WriteWithQt(opaque, *encoder, mime, path);
    } catch (const std::bad_alloc&) {
        return false;
    }
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

bool WriteChartImage(const QImage& composed, QSize chartArea, const QString& path,
                     Platform& platform)
{
    const QString format = ExtensionFormat(path);
    if (format.isEmpty())
        return false;
    if (format != kPdfText)
        return EncodeImageFile(composed, chartArea.width(), chartArea.height(), path, format,
                               platform);

    const QString folder = GetWorkFolder(platform, {});
    if (folder.isEmpty())
        return false;
    const QString scratch = folder + QStringLiteral("/temp.jpeg");
    if (!EncodeImageFile(composed, chartArea.width(), chartArea.height(), scratch, kJpegText,
                         platform))
        return false;
    return CJpg2Pdf().Convert(scratch, path, platform);
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
