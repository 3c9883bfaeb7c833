#include "image_export.h"

#include "four_values.h"
#include "headless_chart_host.h"
#include "string_table.h"
#include "support/file_helpers.h"
#include "support/fake_platform.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QImageReader>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

using namespace brevant;
using brevant::test::ReadAll;
using brevant::test::WriteAll;
using brevant::test::FakePlatform;

namespace {

// A chart-like picture: flat background, a few filled areas and lines, 6 colours.
QImage ChartLike(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(251, 247, 234));
    QPainter p(&image);
    p.fillRect(QRect(width / 10, height / 10, width / 2, height / 3), QColor(206, 206, 206));
    p.fillRect(QRect(width / 2, height / 2, width / 3, height / 3), QColor(255, 192, 192));
    p.setPen(QPen(QColor(255, 0, 0), 3));
    p.drawLine(0, height - 1, width - 1, 0);
    p.setPen(QPen(QColor(0, 128, 0), 1));
    p.drawLine(0, height / 2, width - 1, height / 2);
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(0, 0, width - 1, height - 1);
    return image;
}

// Far more than 256 colours.
QImage Gradient(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, (x + y) % 256));
    return image;
}

QImage Decode(const QString& path, QByteArray* format = nullptr)
{
    QImageReader reader(path);
    if (format)
        *format = reader.format();
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

double MeanError(const QImage& a, const QImage& b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q))
                   + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

// Every quantisation table of the JPEG, one entry per table.
QList<QByteArray> QuantisationTables(const QByteArray& jpeg)
{
    QList<QByteArray> tables;
    qsizetype at = 2;
    while (at + 4 <= jpeg.size() && uchar(jpeg[at]) == 0xFF) {
        const int marker = uchar(jpeg[at + 1]);
        const int length = (uchar(jpeg[at + 2]) << 8) | uchar(jpeg[at + 3]);
        if (marker == 0xDA)
            break;
        if (marker == 0xDB) {
            for (qsizetype t = at + 4; t + 65 <= at + 2 + length; t += 65)
                tables.append(jpeg.mid(t + 1, 64));
        }
        at += 2 + length;
    }
    return tables;
}

class ImageExportTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    FakePlatform platform{dir.path()};

    QString Path(const QString& name) const { return dir.filePath(name); }
    QStringList Entries(const QString& folder) const
    {
        QStringList names =
            QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        names.sort();
        return names;
    }
};

} // namespace

TEST(FormatExtension, MapsTheSixFormatsAndNothingElse)
{
    const struct {
        int32_t format;
        const char* text;
    } cases[] = {{0, "jpeg"}, {1, "bmp"}, {2, "gif"}, {3, "png"}, {4, "tiff"},
                 {5, "pdf"},  {6, ""},    {-1, ""},   {INT32_MAX, ""}};
    for (const auto& c : cases)
        EXPECT_EQ(FormatExtension(c.format), QString::fromLatin1(c.text)) << c.format;
}

TEST(ExtensionFormat, TakesTheTextAfterTheLastDotLowerCased)
{
    const struct {
        const char* path;
        const char* format;
    } cases[] = {
        {"/home/u/chart.jpg", "jpeg"},   {"/home/u/chart.JPG", "jpeg"},
        {"chart.Jpeg", "jpeg"},          {"chart.bmp", "bmp"},
        {"chart.GIF", "gif"},            {"chart.png", "png"},
        {"chart.tif", "tiff"},           {"chart.TIFF", "tiff"},
        {"chart.pdf", "pdf"},            {"/a.b/c.tar.png", "png"},
        {"a.txt", ""},                   {"chart", ""},
        {"chart.", ""},                  {"/home/u/v1.2/chart", ""},
        {"/home/u/png.d/chart", ""},     {"chart.jpeg2", ""},
        {"chart.pn g", ""},              {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExtensionFormat(QString::fromUtf8(c.path)), QString::fromLatin1(c.format))
            << c.path;
}

TEST(FindEncoderByMime, FindsEveryOutputFormatByExactMimeType)
{
    for (const char* format : {"jpeg", "bmp", "png", "tiff"}) {
        const auto encoder = FindEncoderByMime(QStringLiteral("image/") + QLatin1String(format));
        ASSERT_TRUE(encoder.has_value()) << format;
        EXPECT_FALSE(encoder->gif);
        EXPECT_FALSE(encoder->qtFormat.isEmpty());
    }
    const auto gif = FindEncoderByMime(QStringLiteral("image/gif"));
    ASSERT_TRUE(gif.has_value());
    EXPECT_TRUE(gif->gif);
    for (const char* mime : {"image/JPEG", "image/xyz", "image/", "jpeg", ""})
        EXPECT_FALSE(FindEncoderByMime(QString::fromLatin1(mime)).has_value()) << mime;
}

TEST_F(ImageExportTest, EveryFormatDecodesBackAtTheRequestedSize)
{
    const QImage image = ChartLike(240, 160);
    const struct {
        const char* format;
        const char* file;
        double maxError;  // mean per channel; 0 for lossless
    } cases[] = {
        {"jpeg", "c.jpeg", 2.0}, {"bmp", "c.bmp", 0}, {"png", "c.png", 0},
        {"tiff", "c.tiff", 0},   {"gif", "c.gif", 0}, {"PNG", "upper.png", 0},
    };
    for (const auto& c : cases) {
        const QString path = Path(QString::fromLatin1(c.file));
        ASSERT_TRUE(EncodeImageFile(image, 240, 160, path, QString::fromLatin1(c.format),
                                    platform))
            << c.format;
        QByteArray read;
        const QImage back = Decode(path, &read);
        ASSERT_EQ(back.size(), QSize(240, 160)) << c.format;
        EXPECT_EQ(read, QByteArray(c.format).toLower()) << c.format;
        if (c.maxError == 0)
            EXPECT_EQ(back, image) << c.format;
        else
            EXPECT_LT(MeanError(back, image), c.maxError) << c.format;
    }
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(ImageExportTest, ImageOfAnotherSizeIsScaled)
{
    const QImage image = ChartLike(100, 50);
    for (const char* format : {"jpeg", "bmp", "gif", "png", "tiff"}) {
        const QString path = Path(QStringLiteral("scaled.") + QLatin1String(format));
        ASSERT_TRUE(EncodeImageFile(image, 300, 120, path, QString::fromLatin1(format),
                                    platform));
        EXPECT_EQ(Decode(path).size(), QSize(300, 120)) << format;
    }
}

TEST_F(ImageExportTest, TransparentSourceIsWrittenOpaque)
{
    QImage image(20, 10, QImage::Format_ARGB32);
    image.fill(QColor(10, 200, 30, 0));
    ASSERT_TRUE(EncodeImageFile(image, 20, 10, Path("t.png"), "png", platform));
    QImageReader reader(Path("t.png"));
    const QImage back = reader.read();
    EXPECT_FALSE(back.hasAlphaChannel());
}

TEST_F(ImageExportTest, GifWithManyColoursIsQuantised)
{
    const QImage image = Gradient(256, 200);
    ASSERT_TRUE(EncodeImageFile(image, 256, 200, Path("g.gif"), "gif", platform));
    const QImage back = Decode(Path("g.gif"));
    ASSERT_EQ(back.size(), QSize(256, 200));
    EXPECT_LT(MeanError(back, image), 10.0);
}

TEST_F(ImageExportTest, GifKeepsTheChartsColours)
{
    // Real charts: flat areas and lines in the style's colours, anti-aliased edges and text.
    ChartStyle other = ChartStyle::Defaults();
    other.colors = {Rgb(200, 0, 100), Rgb(0, 90, 200),   Rgb(20, 160, 20),   Rgb(250, 120, 0),
                    Rgb(120, 0, 160), Rgb(0, 150, 150),  Rgb(180, 230, 180), Rgb(240, 200, 200),
                    Rgb(60, 60, 60),  Rgb(253, 253, 250)};
    const struct {
        const char* figures;
        QSize size;
        ChartStyle style;
    } cases[] = {
        {"154321000,125678900,49605558,56.13", {960, 400}, ChartStyle::Defaults()},
        {"100000000,40000000,50000000,30", {1280, 400}, ChartStyle::Defaults()},
        {"80000000,70000000,12000000,42.5", {1000, 600}, other},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.figures);
        BepInputs in;
        ASSERT_EQ(ApplyFourValues(in, QString::fromLatin1(c.figures)), 0);
        HeadlessChartHost host(platform, c.size, in, c.style, kGif);
        host.LayoutCharts();
        const QImage chart = host.ComposedImage().convertToFormat(QImage::Format_RGB32);
        const EncodedImage gif = EncodeImage(chart, c.size.width(), c.size.height(), u"gif"_qs);
        ASSERT_EQ(gif.status, EncodedImage::Status::Ok);
        const QImage back = QImage::fromData(gif.bytes, "GIF").convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(back.size(), c.size);

        QHash<QRgb, qsizetype> count;
        for (int y = 0; y < chart.height(); ++y)
            for (int x = 0; x < chart.width(); ++x)
                ++count[chart.pixel(x, y)];
        QList<QRgb> exact = {qRgb(255, 255, 255)};
        for (ColorRef colour : c.style.colors)
            exact.append(qRgb(RedOf(colour), GreenOf(colour), BlueOf(colour)));
        QHash<QRgb, int> worst;  // largest channel difference per source colour
        for (int y = 0; y < chart.height(); ++y)
            for (int x = 0; x < chart.width(); ++x) {
                const QRgb p = chart.pixel(x, y);
                const QRgb q = back.pixel(x, y);
                const int d = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                        std::abs(qBlue(p) - qBlue(q))});
                worst[p] = std::max(worst.value(p), d);
            }
        const qsizetype pixels = qsizetype(chart.width()) * chart.height();
        int frequent = 0;
        for (auto it = count.cbegin(); it != count.cend(); ++it) {
            const QColor colour(it.key());
            if (exact.contains(it.key())) {
                EXPECT_EQ(worst[it.key()], 0) << c.figures << ' ' << colour.name().toStdString();
            }
            if (it.value() * 100 > pixels) {
                ++frequent;
                EXPECT_LE(worst[it.key()], 2) << c.figures << ' ' << colour.name().toStdString();
            }
        }
        EXPECT_GE(frequent, 4) << c.figures;
        EXPECT_GT(count.size(), 256) << c.figures;  // the palette had to be chosen
    }
}

TEST_F(ImageExportTest, JpegUsesFullQualityAndPngStaysCompressed)
{
    const QImage image = ChartLike(400, 300);
    ASSERT_TRUE(EncodeImageFile(image, 400, 300, Path("q.jpeg"), "jpeg", platform));
    const auto tables = QuantisationTables(ReadAll(Path("q.jpeg")));
    ASSERT_FALSE(tables.isEmpty());
    for (const QByteArray& table : tables)
        EXPECT_EQ(table, QByteArray(64, char(1)));

    // A flat chart compresses to a small fraction of its 480,000 pixel bytes.
    ASSERT_TRUE(EncodeImageFile(image, 400, 300, Path("q.png"), "png", platform));
    EXPECT_LT(QFileInfo(Path("q.png")).size(), 20000);
}

// PNG files are put together here around a deflate stream from a library; every one must
// be a valid file that gives back the exact pixels, in Qt's reader and in pngcheck (which
// checks every chunk's CRC and inflates the data) where it is installed.
TEST_F(ImageExportTest, PngFilesAreValidAndGiveBackTheirPixels)
{
    QImage withResolution = Gradient(333, 17);
    withResolution.setDotsPerMeterX(5000);
    withResolution.setDotsPerMeterY(2835);
    const std::pair<const char*, QImage> images[] = {
        {"chart.png", ChartLike(960, 400)},
        {"large.png", ChartLike(1920, 1080)},
        {"gradient.png", Gradient(257, 129)},
        {"phys.png", withResolution},
        {"pixel.png", ChartLike(1, 1)},
        {"thin.png", Gradient(3000, 2)},
    };
    const QString pngcheck = QStandardPaths::findExecutable(QStringLiteral("pngcheck"));
    for (const auto& [name, image] : images) {
        const QString path = Path(QString::fromLatin1(name));
        ASSERT_TRUE(EncodeImageFile(image, image.width(), image.height(), path, "png", platform))
            << name;
        QByteArray format;
        const QImage back = Decode(path, &format);
        EXPECT_EQ(format, "png") << name;
        EXPECT_EQ(back, image.convertToFormat(QImage::Format_RGB32)) << name;
        if (image.dotsPerMeterX() == 5000) {
            const QImage read(path);
            EXPECT_EQ(read.dotsPerMeterX(), 5000);
            EXPECT_EQ(read.dotsPerMeterY(), 2835);
        }
        if (pngcheck.isEmpty())
            continue;
        QProcess check;
        check.start(pngcheck, {QStringLiteral("-q"), path});
        ASSERT_TRUE(check.waitForFinished(30000)) << name;
        EXPECT_EQ(check.exitCode(), 0) << name << ": " << check.readAllStandardOutput().constData();
    }
    // A corrupted byte in the data is caught, so the check above is worth something.
    if (!pngcheck.isEmpty()) {
        QByteArray bytes = ReadAll(Path("chart.png"));
        bytes[bytes.size() / 2] = char(bytes[bytes.size() / 2] ^ 0x55);
        ASSERT_TRUE(WriteAll(Path("broken.png"), bytes));
        QProcess check;
        check.start(pngcheck, {QStringLiteral("-q"), Path("broken.png")});
        ASSERT_TRUE(check.waitForFinished(30000));
        EXPECT_NE(check.exitCode(), 0);
    }
}

TEST_F(ImageExportTest, ImageThatCannotBeMadeShowsTheMemoryMessage)
{
    const struct {
        const char* name;
        QImage image;
        int width;
        int height;
    } cases[] = {
        {"no image", QImage(), 100, 100},
        {"zero width", ChartLike(10, 10), 0, 10},
        {"negative height", ChartLike(10, 10), 10, -5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        platform.messages.clear();
        EXPECT_FALSE(EncodeImageFile(c.image, c.width, c.height, Path("m.png"), "png", platform))
            << c.name;
        ASSERT_EQ(platform.messages.size(), 1) << c.name;
        EXPECT_EQ(platform.messages[0].text, *LoadStringEntry(30001));
        EXPECT_EQ(platform.messages[0].flags, 0x10u);
    }
    EXPECT_FALSE(QFileInfo::exists(Path("m.png")));
}

TEST_F(ImageExportTest, FailedWritesLeaveTheTargetAloneSilently)
{
    ASSERT_TRUE(WriteAll(Path("old.jpeg"), "earlier file"));
    ASSERT_TRUE(WriteAll(Path("old.gif"), "earlier file"));
    const struct {
        const char* name;
        QImage image;
        QString path;
        const char* format;
    } cases[] = {
        {"no writer for the format", ChartLike(10, 10), Path("old.jpeg"), "xyz"},
        // Beyond the JPEG codec's largest side: the writer fails after the file is open.
        {"writer refuses the image", QImage(65501, 1, QImage::Format_RGB32), Path("old.jpeg"),
         "jpeg"},
        {"wider than GIF allows", QImage(70000, 1, QImage::Format_RGB32), Path("old.gif"),
         "gif"},
        {"folder missing", ChartLike(10, 10), Path("missing/new.png"), "png"},
        {"folder missing, giflib", ChartLike(10, 10), Path("missing/new.gif"), "gif"},
    };
    const QStringList before = Entries(dir.path());
    for (const auto& c : cases) {
        QImage image = c.image;
        if (image.width() > 1000)
            image.fill(Qt::white);
        EXPECT_FALSE(EncodeImageFile(image, image.width(), image.height(), c.path,
                                     QString::fromLatin1(c.format), platform))
            << c.name;
    }
    EXPECT_TRUE(platform.messages.isEmpty());
    EXPECT_EQ(ReadAll(Path("old.jpeg")), QByteArray("earlier file"));
    EXPECT_EQ(ReadAll(Path("old.gif")), QByteArray("earlier file"));
    EXPECT_EQ(Entries(dir.path()), before);
}

TEST_F(ImageExportTest, WorkFolderIsMadeOnceAndReused)
{
    const QString expected = platform.temp + QStringLiteral("/Brevant");
    EXPECT_EQ(GetWorkFolder(platform, {}), expected);
    EXPECT_TRUE(QFileInfo(expected).isDir());
    EXPECT_EQ(GetWorkFolder(platform, {}), expected);
    EXPECT_EQ(GetWorkFolder(platform, QStringLiteral("ロット")), expected + QStringLiteral("/ロット"));
    EXPECT_TRUE(QFileInfo(expected + QStringLiteral("/ロット")).isDir());
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(ImageExportTest, WorkFolderFailuresShowTheirMessage)
{
    ASSERT_TRUE(QDir().mkpath(Path("blocked")));
    ASSERT_TRUE(WriteAll(Path("blocked/Brevant"), "a file, not a folder"));
    ASSERT_TRUE(WriteAll(Path("plain file"), "x"));
    const struct {
        const char* name;
        QString temp;
        const char* subfolder;
    } cases[] = {
        {"no temporary folder", QString(), ""},
        {"temporary folder missing", Path("gone/deeper"), ""},
        {"temporary folder is a file", Path("plain file"), ""},
        {"a file named Brevant", Path("blocked"), ""},
        {"subfolder with a slash", platform.temp, "a/b"},
        {"subfolder up", platform.temp, ".."},
        {"subfolder here", platform.temp, "."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        platform.messages.clear();
        platform.temp = c.temp;
        EXPECT_EQ(GetWorkFolder(platform, QString::fromLatin1(c.subfolder)), QString()) << c.name;
        ASSERT_EQ(platform.messages.size(), 1) << c.name;
        EXPECT_EQ(platform.messages[0].text, *LoadStringEntry(30002));
        EXPECT_EQ(platform.messages[0].flags, 0x10u);
    }
    EXPECT_FALSE(QFileInfo::exists(Path("gone")));
}

TEST_F(ImageExportTest, ChartImageTypeFollowsTheExtension)
{
    const QImage composed = ChartLike(320, 200);
    const struct {
        const char* file;
        const char* format;
    } cases[] = {
        {"chart.png", "png"},  {"chart.JPG", "jpeg"}, {"chart.jpeg", "jpeg"},
        {"chart.bmp", "bmp"},  {"chart.gif", "gif"},  {"chart.tif", "tiff"},
        {"CHART.TIFF", "tiff"},
    };
    for (const auto& c : cases) {
        const QString path = Path(QString::fromLatin1(c.file));
        ASSERT_TRUE(WriteChartImage(composed, QSize(320, 200), path, platform)) << c.file;
        QByteArray read;
        EXPECT_EQ(Decode(path, &read).size(), QSize(320, 200)) << c.file;
        EXPECT_EQ(read, QByteArray(c.format)) << c.file;
    }
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(ImageExportTest, UnknownExtensionWritesNothingAndSaysNothing)
{
    ASSERT_TRUE(QDir().mkpath(Path("v1.2")));
    const QStringList before = Entries(dir.path());
    for (const char* file : {"a.txt", "chart", "v1.2/chart", "chart."}) {
        EXPECT_FALSE(WriteChartImage(ChartLike(50, 40), QSize(50, 40),
                                     Path(QString::fromLatin1(file)), platform))
            << file;
    }
    EXPECT_TRUE(platform.messages.isEmpty());
    EXPECT_EQ(Entries(dir.path()), before);
    EXPECT_TRUE(Entries(Path("v1.2")).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(platform.temp + QStringLiteral("/Brevant")));
}

TEST_F(ImageExportTest, PdfWrapsTheChartsJpegAndLeavesNoScratchFile)
{
    // A grey picture still makes a three-component JPEG, which the PDF writer needs.
    QImage grey(320, 200, QImage::Format_RGB32);
    grey.fill(QColor(128, 128, 128));
    const struct {
        const char* name;
        QImage composed;
    } cases[] = {
        {"chart", ChartLike(320, 200)},
        {"grey", grey},
        {"painted at screen size", ChartLike(1280, 800)},
    };
    for (const auto& c : cases) {
        const QString path = Path(QString::fromLatin1(c.name) + QStringLiteral(".pdf"));
        ASSERT_TRUE(WriteChartImage(c.composed, QSize(320, 200), path, platform)) << c.name;
        const QByteArray jpeg = EncodeImage(c.composed, 320, 200, u"jpeg"_qs).bytes;
        EXPECT_EQ(QImage::fromData(jpeg).size(), QSize(320, 200)) << c.name;
        const QByteArray pdf = ReadAll(path);
        EXPECT_TRUE(pdf.startsWith("%PDF-1.2\n")) << c.name;
        EXPECT_TRUE(pdf.contains("/MediaBox [ 0 0 320 200 ]\n")) << c.name;
        const QByteArray stream = "/Length " + QByteArray::number(jpeg.size())
                                  + " >>\nstream\n" + jpeg + "endstream\n";
        EXPECT_TRUE(pdf.contains(stream)) << c.name;
    }
    EXPECT_TRUE(platform.messages.isEmpty());
    // The JPEG never went to disk, so nothing is left beside the PDFs nor in the work folder.
    EXPECT_EQ(Entries(dir.path()).filter(u".jpeg"_qs), QStringList());
    EXPECT_EQ(Entries(platform.temp), QStringList());
}

TEST_F(ImageExportTest, PdfNeedsNoWorkFolder)
{
    ASSERT_TRUE(WriteAll(Path("old.pdf"), "earlier file"));
    platform.temp = Path("gone");
    EXPECT_TRUE(WriteChartImage(ChartLike(50, 40), QSize(50, 40), Path("old.pdf"), platform));
    EXPECT_TRUE(platform.messages.isEmpty());
    EXPECT_TRUE(ReadAll(Path("old.pdf")).startsWith("%PDF-1.2\n"));
    EXPECT_FALSE(QFileInfo::exists(Path("gone")));
}

TEST_F(ImageExportTest, ExplorerOpensTheFolderPart)
{
    const struct {
        const char* path;
        const char* folder;
    } cases[] = {
        {"/home/u/Desktop/chart.png", "/home/u/Desktop"},
        {"/home/u/Desktop/BEP/20240611-001/", "/home/u/Desktop/BEP/20240611-001"},
        {"/chart.png", "/"},
        {"chart.png", ""},
    };
    for (const auto& c : cases) {
        platform.openedFolders.clear();
        EXPECT_TRUE(ShowInExplorer(platform, QString::fromLatin1(c.path))) << c.path;
        EXPECT_EQ(platform.openedFolders, QStringList{QString::fromLatin1(c.folder)}) << c.path;
    }
    EXPECT_TRUE(platform.messages.isEmpty());

    platform.openFolderWorks = false;
    EXPECT_FALSE(ShowInExplorer(platform, QStringLiteral("/home/u/chart.png")));
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages[0].text, *LoadStringEntry(30048));
    EXPECT_EQ(platform.messages[0].flags, 0x10u);
}

TEST_F(ImageExportTest, NameLongerThanTheFileSystemTakesFailsWithItsMessage)
{
    const QImage composed = ChartLike(32, 20);
    // Up to the limit every name is written; one byte more can never be.
    for (const char* ext : {".png", ".pdf"}) {
        for (int length = 249; length <= 255; ++length) {
            const QString path = Path(QString(length - 4, u'n') + QLatin1String(ext));
            EXPECT_TRUE(WriteChartImage(composed, QSize(32, 20), path, platform)) << length;
        }
    }
    EXPECT_TRUE(platform.messages.isEmpty());
    const QStringList before = Entries(dir.path());
    EXPECT_FALSE(WriteChartImage(composed, QSize(32, 20), Path(QString(252, u'n') + u".png"),
                                 platform));
    EXPECT_FALSE(WriteChartImage(composed, QSize(32, 20), Path(QString(252, u'n') + u".pdf"),
                                 platform));
    ASSERT_EQ(platform.messages.size(), 2);
    EXPECT_EQ(platform.messages[0].text, *LoadStringEntry(IDS_OPEN_FAILED));
    EXPECT_EQ(platform.messages[1].text, u"[File Create]\n"_qs + *LoadStringEntry(IDS_PDF_FAILED));
    // Nothing was made.
    EXPECT_EQ(Entries(dir.path()), before);
}
