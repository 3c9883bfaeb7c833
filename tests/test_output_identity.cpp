// Every image the program writes must decode to the same pixels, and every CSV and PDF
// must keep its bytes, whatever is done to make rendering and encoding faster. The
// reference digests in tests/data/output_identity.txt were taken from the program before
// any such change. Set BREVANT_WRITE_IDENTITY=FILE to write the digests of this build
// instead of comparing (only to add a case, never to make a failing case pass).

#include "bep_model.h"
#include "headless_chart_host.h"
#include "batch.h"
#include "cli_common.h"
#include "four_values.h"
#include "image_export.h"
#include "support/fake_platform.h"
#include "support/file_helpers.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>

using namespace brevant;
using brevant::test::FakePlatform;
using brevant::test::ReadAll;
using brevant::test::WriteAll;

namespace {

using Digests = std::map<QString, QByteArray>;

QByteArray Sha256(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// The digest of the pixels, in one fixed format, with the size in front.
QByteArray PixelDigest(const QImage& image)
{
    if (image.isNull())
        return "null";
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const QByteArray size =
        QByteArray::number(rgb.width()) + 'x' + QByteArray::number(rgb.height());
    hash.addData(size);
    for (int y = 0; y < rgb.height(); ++y)
        hash.addData(QByteArrayView(rgb.constScanLine(y), qsizetype(rgb.width()) * 4));
    return hash.result().toHex();
}

Digests ReadReference();

// Where a failing comparison leaves the images it got: $TEST_ARTIFACTS or the working
// directory, in "identity-failures".
QString FailureFolder()
{
    const QString root = qEnvironmentVariable("TEST_ARTIFACTS", QDir::currentPath());
    return QDir(root).filePath(QStringLiteral("identity-failures"));
}

QString ArtifactPath(const QString& key, const char* what)
{
    QString name = key;
    name.replace(u'/', u'_');
    return QDir(FailureFolder()).filePath(name + u'.' + QLatin1String(what) + u".png");
}

// Writes the image behind a pixel digest that differs from the stored one; only the
// digests of the expected images are kept, so there is no expected image to write.
void KeepIfDifferent(const QString& key, const QByteArray& digest, const QImage& image)
{
    static const Digests reference = ReadReference();
    const auto it = reference.find(key);
    if (it == reference.end() || it->second == digest || image.isNull())
        return;
    QDir().mkpath(FailureFolder());
    image.save(ArtifactPath(key, "got"));
}

// The pixel digest under `key`, keeping the image when it does not match.
void PutPixels(Digests& out, const QString& key, const QImage& image)
{
    out[key] = PixelDigest(image);
    KeepIfDifferent(key, out[key], image);
}

// Images by their decoded pixels, everything else by its bytes.
QByteArray FileDigest(const QString& path, const QString& key = {})
{
    const QString suffix = QFileInfo(path).suffix();
    if (suffix == u"csv" || suffix == u"pdf")
        return Sha256(ReadAll(path));
    QImageReader reader(path);
    const QByteArray format = reader.format();
    const QImage image = reader.read();
    const QByteArray digest = PixelDigest(image);
    if (!key.isEmpty())
        KeepIfDifferent(key, format + ':' + digest, image);
    return format + ':' + digest;
}

BepInputs Figures(const char* text)
{
    BepInputs in;
    EXPECT_EQ(ApplyFourValues(in, QString::fromLatin1(text)), 0) << text;
    return in;
}

ChartStyle OtherStyle()
{
    ChartStyle s = ChartStyle::Defaults();
    s.colors = {Rgb(200, 0, 100), Rgb(0, 90, 200), Rgb(20, 160, 20),  Rgb(250, 120, 0),
                Rgb(120, 0, 160), Rgb(0, 150, 150), Rgb(180, 230, 180), Rgb(240, 200, 200),
                Rgb(60, 60, 60),  Rgb(255, 255, 255)};
    s.lineWidths = {1, 2, 0, 4, 5, 1, 2, 6, 1};
    s.fontSize = 14;
    s.outerMargin = 24;
    s.scaleMargin = 4;
    s.titles = {QStringLiteral("損益分岐図"), QStringLiteral("利益図表"), QString()};
    s.subtitles = {QString(), QStringLiteral("令和6年度 計画"), QStringLiteral("(試算)")};
    return s;
}

struct RenderCase {
    const char* name;
    QSize size;
    const char* figures;
    ChartStyle style;
    std::array<int32_t, kChartCount> shown;
    int32_t unit;
    bool highlight;
};

std::vector<RenderCase> RenderCases()
{
    const ChartStyle plain = ChartStyle::Defaults();
    const char* sample = "154321000,125678900,49605558,56.13";
    return {
        {"sample-960x400", {960, 400}, sample, plain, {1, 1, 1}, 0, false},
        {"sample-1920x1080", {1920, 1080}, sample, plain, {1, 1, 1}, 0, false},
        {"sample-highlight", {960, 400}, sample, plain, {1, 1, 1}, 0, true},
        {"loss-thousands", {1280, 400}, "100000000,40000000,50000000,30", plain, {1, 1, 1}, 1,
         false},
        {"other-style", {1000, 600}, "80000000,70000000,12000000,42.5", OtherStyle(),
         {1, 0, 1}, 1, false},
        {"one-chart-odd-size", {317, 203}, "9000,5000,2000,75", plain, {0, 1, 0}, 0, false},
        {"empty-area", {640, 480}, sample, plain, {0, 0, 0}, 0, false},
    };
}

// Renders each case and writes it in every format, as "出力" and the command line do.
Digests RenderDigests()
{
    Digests out;
    QTemporaryDir dir;
    FakePlatform platform(dir.path());
    for (const RenderCase& c : RenderCases()) {
        BepInputs in = Figures(c.figures);
        in.amountUnit = c.unit;
        ChartStyle style = c.style;
        style.drawGraph = c.shown;
        HeadlessChartHost host(platform, c.size, in, style, kPng);
        host.SetHighlight(c.highlight);
        host.LayoutCharts();
        const QString name = QString::fromLatin1(c.name);
        PutPixels(out, name + u"/window", host.Window());
        PutPixels(out, name + u"/composed", host.ComposedImage());
        for (const char* format : {"png", "bmp", "gif", "tiff", "jpeg", "pdf"}) {
            const QString path = dir.filePath(name + u'.' + QLatin1String(format));
            EXPECT_TRUE(WriteChartImage(host.ComposedImage(), c.size, path, platform))
                << c.name << ' ' << format;
            const QString key = name + u'/' + QLatin1String(format);
            out[key] = FileDigest(path, key);
        }
    }
    // A composition of another size is scaled to the requested one.
    {
        HeadlessChartHost host(platform, QSize(800, 300), Figures("154321000,125678900,49605558,56.13"),
                               ChartStyle::Defaults(), kPng);
        host.LayoutCharts();
        for (const char* format : {"png", "jpeg"}) {
            const QString path = dir.filePath(u"scaled." + QLatin1String(format));
            EXPECT_TRUE(EncodeImageFile(host.ComposedImage(), 960, 400, path,
                                        QLatin1String(format), platform));
            const QString key = u"scaled-800x300-to-960x400/" + QLatin1String(format);
            out[key] = FileDigest(path, key);
        }
    }
    EXPECT_TRUE(platform.messages.isEmpty());
    return out;
}

// Every file below `root`, by its path relative to it.
void AddTree(Digests& out, const QString& key, const QString& root)
{
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = key + u'/' + QDir(root).relativeFilePath(path);
        out[name] = FileDigest(path, name);
    }
}

// Runs a batch of `records` headless at `size` into dir/out, answering Yes to the first
// question (an empty name writes into the output root, which exists by then).
struct TestBatch {
    bool ok = false;
    int done = 0;
    QString outputRoot;
    QImage window;
};
TestBatch RunTestBatch(const QTemporaryDir& dir, FakePlatform& platform,
                       const QByteArray& records, const char* format, const ChartStyle& style,
                       QSize size, bool folders, int jobs)
{
    platform.answers.push_back(kIdYes);
    const QString csv = dir.filePath(QStringLiteral("records.csv"));
    EXPECT_TRUE(WriteAll(csv, records));
    HeadlessChartHost host(platform, size, BepInputs{}, style,
                           *ParseFormatName(QLatin1String(format)));
    host.LayoutCharts();
    BatchOptions options;
    options.outputRoot = dir.filePath(QStringLiteral("out"));
    options.askToShowResult = false;
    options.folderPerRecord = folders;
    options.jobs = jobs;
    BatchCreation batch(host, options);
    TestBatch result;
    result.ok = batch.RunBatch(csv);
    result.done = batch.DoneCount();
    result.outputRoot = options.outputRoot;
    result.window = host.Window();
    return result;
}

// A small batch in both modes: a failing record in the middle (the together mode skips
// it, the folders mode stops there), an empty name, a loss, the thousands unit.
Digests BatchDigests()
{
    const QByteArray records = "東京店,0,125678900,49605558,56.13\r\n"
                               "大阪店,90000000,40000000,50000000,30\r\n"
                               ",0,3000000,1000000,20\r\n"
                               "名古屋店,0,0,1000,10\r\n"
                               "札幌店,5000,4000,1000,50.5\r\n";
    Digests out;
    // The last run cannot write its second chart: a title that is no file name. The
    // folders mode stops there; the together mode leaves every record out.
    const std::pair<const char*, const char*> runs[] = {
        {"png", ""}, {"jpeg", ""}, {"gif", ""}, {"pdf", ""}, {"png", "売上/費用"}};
    for (const auto& [format, badTitle] : runs) {
        for (const bool folders : {true, false}) {
            QTemporaryDir dir;
            FakePlatform platform(dir.path());
            ChartStyle style = ChartStyle::Defaults();
            style.titles[2] = QStringLiteral("目標");
            if (*badTitle)
                style.titles[1] = QString::fromUtf8(badTitle);
            const TestBatch run = RunTestBatch(dir, platform, records, format, style,
                                               QSize(960, 400), folders, 0);
            const bool ok = run.ok;
            const QString key = QLatin1String(format) + (*badTitle ? u"-unwritable" : u"") +
                                (folders ? u"-folders" : u"-together");
            // A together batch whose charts cannot be named writes no record.
            EXPECT_EQ(ok, !folders && !*badTitle) << qPrintable(key);
            QByteArray messages;
            for (const auto& m : platform.messages)
                messages += QString(m.text).replace(dir.path(), QStringLiteral("<dir>")).toUtf8() +
                            '|' + QByteArray::number(m.flags) + '\n';
            out[key + u"/messages"] = Sha256(messages);
            PutPixels(out, key + u"/window", run.window);
            AddTree(out, key, run.outputRoot);
        }
    }
    return out;
}

// The window after the last batch run with each number of jobs.
std::map<int, QImage>& LastWindows()
{
    static std::map<int, QImage> windows;
    return windows;
}

// When one thread and `jobs` threads differ: the keys that differ, and for the window
// both images and their difference (red where they differ) written beside the log.
std::string ExplainDifference(const Digests& one, const Digests& many, int jobs,
                              const QString& label)
{
    QString text;
    for (const auto& [key, value] : one)
        if (!many.count(key) || many.at(key) != value)
            text += u' ' + key;
    for (const auto& [key, value] : many)
        if (!one.count(key))
            text += u" +" + key;
    const QImage expected = LastWindows()[1].convertToFormat(QImage::Format_RGB32);
    const QImage got = LastWindows()[jobs].convertToFormat(QImage::Format_RGB32);
    if (expected != got && expected.size() == got.size()) {
        QDir().mkpath(FailureFolder());
        QImage diff = expected;
        for (int y = 0; y < diff.height(); ++y)
            for (int x = 0; x < diff.width(); ++x)
                diff.setPixel(x, y, expected.pixel(x, y) == got.pixel(x, y) ? qRgb(255, 255, 255)
                                                                            : qRgb(255, 0, 0));
        expected.save(ArtifactPath(label + u"-window", "expected"));
        got.save(ArtifactPath(label + u"-window", "got"));
        diff.save(ArtifactPath(label + u"-window", "diff"));
        text += u"; window images in " + FailureFolder();
    }
    return QString(u"differs in" + text).toStdString();
}

// One batch of `records` with the given number of jobs: every file below the output root
// by its bytes, the messages in order, the window afterwards and how many records were done.
Digests BatchBytes(const QByteArray& records, const char* format, bool folders, int jobs,
                   const QString& badTitle = {})
{
    Digests out;
    QTemporaryDir dir;
    FakePlatform platform(dir.path());
    ChartStyle style = ChartStyle::Defaults();
    if (!badTitle.isEmpty())
        style.titles[1] = badTitle;
    const TestBatch run =
        RunTestBatch(dir, platform, records, format, style, QSize(480, 200), folders, jobs);
    out[u"result"_qs] = run.ok ? "ok" : "failed";
    out[u"done"_qs] = QByteArray::number(run.done);
    QByteArray messages;
    for (const auto& m : platform.messages)
        messages += QString(m.text).replace(dir.path(), QStringLiteral("<dir>")).toUtf8() + '\n';
    out[u"messages"_qs] = messages;
    out[u"window"_qs] = PixelDigest(run.window);
    LastWindows()[jobs] = run.window;
    QDirIterator it(run.outputRoot, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        out[QDir(run.outputRoot).relativeFilePath(path)] = Sha256(ReadAll(path));
    }
    return out;
}

// Enough records that several are drawn ahead of the one being written, with a record
// the together mode skips and the folders mode stops at, far enough in that records
// after it are already drawn when it is reached.
QByteArray ManyRecords(int count, int failing)
{
    QByteArray csv;
    for (int i = 0; i < count; ++i) {
        if (i == failing) {
            csv += "壊れた行,0,0,1000,10\r\n";
            continue;
        }
        csv += "店" + QByteArray::number(i) + ",0," + QByteArray::number(60000000 + i * 100000) +
               "," + QByteArray::number(30000000 + i * 50000) + "," +
               QByteArray::number(20 + i * 0.5) + "\r\n";
    }
    return csv;
}

QString ReferencePath()
{
    // The tests folder of the source tree, as Qt's test library passes it to every test.
    return QStringLiteral(QT_TESTCASE_SOURCEDIR "/data/output_identity.txt");
}

Digests ReadReference()
{
    Digests ref;
    const QByteArray text = ReadAll(ReferencePath());
    for (const QByteArray& line : text.split('\n')) {
        const qsizetype space = line.lastIndexOf(' ');
        if (space > 0)
            ref[QString::fromUtf8(line.left(space))] = line.mid(space + 1);
    }
    return ref;
}

void Compare(const Digests& actual)
{
    const QString writeTo = qEnvironmentVariable("BREVANT_WRITE_IDENTITY");
    if (!writeTo.isEmpty()) {
        QByteArray text = ReadAll(writeTo);
        for (const auto& [key, digest] : actual)
            text += key.toUtf8() + ' ' + digest + '\n';
        ASSERT_TRUE(WriteAll(writeTo, text));
        return;
    }
    const Digests ref = ReadReference();
    ASSERT_FALSE(ref.empty()) << "no reference digests in " << qPrintable(ReferencePath());
    for (const auto& [key, digest] : actual) {
        const auto it = ref.find(key);
        if (it == ref.end())
            ADD_FAILURE() << "no reference for " << qPrintable(key);
        else if (digest != it->second)
            ADD_FAILURE() << qPrintable(key) << ": digest " << digest.toStdString()
                          << ", expected " << it->second.toStdString()
                          << qPrintable(QFileInfo::exists(ArtifactPath(key, "got"))
                                            ? u"; the image it got is " + ArtifactPath(key, "got") +
                                                  u" (only the expected image's digest is stored)"
                                            : QString());
    }
}

} // namespace

TEST(OutputIdentity, RenderedAndExportedImages)
{
    const Digests actual = RenderDigests();
    EXPECT_EQ(actual.size(), RenderCases().size() * 8 + 2);
    Compare(actual);
}

TEST(OutputIdentity, BatchFilesAndMessages)
{
    const Digests actual = BatchDigests();
    Compare(actual);
    // The folders mode stops at the fourth record; the together mode skips it.
    EXPECT_EQ(actual.count(QStringLiteral("png-folders/札幌店/BEP.csv")), 0u);
    EXPECT_EQ(actual.count(QStringLiteral("png-folders/BEP.csv")), 1u);
    EXPECT_EQ(actual.count(QStringLiteral("png-together/札幌店_損益分岐点図表.png")), 1u);
    // Stopped at the second chart of the first record, which is all that is left.
    EXPECT_EQ(actual.count(QStringLiteral("png-unwritable-folders/東京店/BEP.csv")), 1u);
    EXPECT_EQ(actual.count(QStringLiteral("png-unwritable-folders/東京店/損益分岐点図表.png")), 1u);
    EXPECT_EQ(actual.count(QStringLiteral("png-unwritable-folders/東京店/目標.png")), 0u);
    EXPECT_EQ(actual.count(QStringLiteral("png-unwritable-folders/大阪店/BEP.csv")), 0u);
    EXPECT_EQ(actual.count(QStringLiteral("png-unwritable-together/札幌店_目標.png")), 0u);
    EXPECT_EQ(actual.count(QStringLiteral("png-unwritable-together/BEP.csv")), 1u);
}

// Records drawn on several threads give the same files, byte for byte, the same messages
// in the same order and the same window as records drawn one after another, in every
// format and both modes; a failing record stops the folders mode with nothing after it
// on disk.
TEST(OutputIdentity, BatchOnManyThreadsEqualsOneThread)
{
    const QByteArray records = ManyRecords(14, 9);
    for (const char* format : {"png", "jpeg", "bmp", "gif", "tiff", "pdf"}) {
        for (const bool folders : {true, false}) {
            const Digests one = BatchBytes(records, format, folders, 1);
            const Digests many = BatchBytes(records, format, folders, 3);
            const QString label = QLatin1String(format) + (folders ? u"-folders" : u"-together");
            EXPECT_TRUE(one == many) << qPrintable(label) << ' '
                                     << (one == many ? "" : ExplainDifference(one, many, 3, label));
            EXPECT_EQ(one.at(u"result"_qs), folders ? "failed" : "ok") << format;
            if (folders) {
                EXPECT_EQ(one.at(u"done"_qs), "9") << format;
                EXPECT_EQ(one.count(u"店8/BEP.csv"_qs), 1u) << format;
                EXPECT_EQ(one.count(u"店10/BEP.csv"_qs), 0u) << format;
                EXPECT_EQ(one.count(u"店13/BEP.csv"_qs), 0u) << format;
            } else {
                EXPECT_EQ(one.count(u"店13_損益分岐点図表."_qs + QLatin1String(format)), 1u)
                    << format;
            }
        }
    }
    // A chart that cannot be written stops the folders mode half-way through a record.
    const Digests one = BatchBytes(records, "png", true, 1, u"売上/費用"_qs);
    const Digests many = BatchBytes(records, "png", true, 4, u"売上/費用"_qs);
    EXPECT_TRUE(one == many) << (one == many ? "" : ExplainDifference(one, many, 4, u"unwritable"_qs));
    EXPECT_EQ(one.at(u"done"_qs), "0");
    EXPECT_EQ(one.count(u"店0/BEP.csv"_qs), 1u);
    EXPECT_EQ(one.count(u"店1/BEP.csv"_qs), 0u);
}
