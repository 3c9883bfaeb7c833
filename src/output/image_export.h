#pragma once
// Writing the composed chart image to a file whose type follows the path's extension, and
// the small helpers around it: the work folder and opening a folder in the file manager.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <cstdint>
#include <optional>

namespace brevant {

class Platform;

// "jpeg", "bmp", "gif", "png", "tiff" or "pdf" for output formats 0..5; empty otherwise.
QString FormatExtension(int32_t format);

// The file type of a path: the text after its last "." lower-cased, mapped to "jpeg",
// "bmp", "gif", "png", "tiff" or "pdf"; empty when there is no "." or the text is unknown.
QString ExtensionFormat(const QString& path);

// An image writer found by its MIME type.
struct ImageEncoder {
    QByteArray qtFormat;  // the Qt writer's format name; empty for the giflib writer
    bool gif = false;
};

// The writer whose MIME type equals `mime` exactly; nothing when none is installed.
std::optional<ImageEncoder> FindEncoderByMime(const QString& mime);

// Encodes the image, made opaque 32-bit and scaled to width x height when its size
// differs, into `path` in `format` ("jpeg", "bmp", "gif", "png" or "tiff"). The file is
// replaced whole or left as it was. An image that cannot be made shows 30001; a format
// without a writer and a failed write fail silently.
bool EncodeImageFile(const QImage& image, int width, int height, const QString& path,
                     const QString& format, Platform& platform);

// EncodeImageFile in two halves. The first touches no file and shows nothing, so it may
// run on any thread; the second writes the file and shows the message, on the caller's.
struct EncodedImage {
    enum class Status { Ok, NoImage, NoWriter, Failed };
    Status status = Status::Failed;
    QByteArray bytes;
};
EncodedImage EncodeImage(const QImage& image, int width, int height, const QString& format);
bool WriteEncodedImage(const EncodedImage& encoded, const QString& path, Platform& platform);

// The folder "Brevant" in the temporary folder (with `subfolder` inside it when not
// empty), created if needed; empty after message 30002 when it is not available.
QString GetWorkFolder(Platform& platform, const QString& subfolder);

// Writes the composed charts, at the chart area's size, to `path`; the type follows the
// extension, a PDF wrapping the JPEG made in memory. An unknown
// extension fails without a message; every other failure has shown its message. A name
// longer than the file system takes (IsNameTooLong) fails before anything is made, with
// 30003 "[File Create]" for a PDF and 30009 for an image.
bool WriteChartImage(const QImage& composed, QSize chartArea, const QString& path,
                     Platform& platform);

// The format a chart written to `path` is encoded in: the path's type, except JPEG for a
// PDF; empty for an unknown extension.
QString ChartEncodingFormat(const QString& path);
// The second half of WriteChartImage: writes a chart encoded in ChartEncodingFormat(path)
// to `path` (a PDF around the JPEG bytes) and shows any message.
bool WriteChartFile(const EncodedImage& encoded, const QString& path, Platform& platform);

// Opens the folder part of `path` (everything before its last "/") in the file manager;
// pass a file's path, or a folder's path followed by "/". Shows 30048 when it fails.
bool ShowInExplorer(Platform& platform, const QString& path);

} // namespace brevant
