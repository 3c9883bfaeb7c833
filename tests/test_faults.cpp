// Faults from the file system under every output and input: a file where a folder
// belongs, folders that cannot be made, a disk that fills during a write, inputs that are
// no files, an unavailable work folder and damaged settings. Each must give its message
// (or its silence), leave no partial file and no changed file, and leave the program
// working.

#include "ini_profile_store.h"
#include "settings.h"
#include "text_util.h"
#include "headless_chart_host.h"
#include "batch.h"
#include "csv_output.h"
#include "image_export.h"
#include "jpg2pdf.h"
#include "string_table.h"
#include "support/fake_platform.h"
#include "support/fault_helpers.h"
#include "support/file_helpers.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

using namespace brevant;
using brevant::test::FakePlatform;
using brevant::test::FifoRescue;
using brevant::test::FileSizeLimit;
using brevant::test::IsFifo;
using brevant::test::MakeFifo;
using brevant::test::MakeZeroDevice;
using brevant::test::ReadAll;
using brevant::test::Snapshot;
using brevant::test::WriteAll;

namespace {

const QSize kArea(240, 100);
const BepInputs kBefore{5000, 4000, 1000, 3000, 0};
const QByteArray kEarlier = "an earlier file that must survive";
const QString kChart1 = u"損益分岐点図表"_qs;
const QString kChart2 = u"損益分岐点指数図表"_qs;

// Far more than 256 colours, so every format encodes to many kilobytes.
QImage Noisy(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    quint32 seed = 12345;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            seed = seed * 1103515245u + 12345u;
            image.setPixel(x, y, seed >> 8);
        }
    return image;
}

// A window over a scripted platform whose desktop lies in a temporary folder.
struct Scene {
    QTemporaryDir dir;
    FakePlatform platform{dir.path()};
    HeadlessChartHost host{platform, kArea, kBefore, ChartStyle::Defaults(), kBmp};

    Scene()
    {
        host.Style().drawGraph = {1, 0, 0};
        host.LayoutCharts();
    }
    QString Path(const QString& name) const { return dir.filePath(name); }
    QString Root() const { return platform.desktop + u"/BEP"; }
    QString Input(const QByteArray& csv)
    {
        const QString path = Path(u"in.csv"_qs);
        WriteAll(path, csv);
        return path;
    }
    // The batch as the command line runs it: mode chosen, no closing question.
    bool Batch(const QString& csv, bool folders, const QString& root = {})
    {
        BatchOptions options;
        options.outputRoot = root;
        options.askToShowResult = false;
        options.folderPerRecord = folders;
        return BatchCreation(host, options).RunBatch(csv);
    }
    QList<int> MessageIds() const
    {
        QList<int> ids;
        for (const auto& m : platform.messages) {
            int id = 0;
            for (int candidate : {IDS_MEMORY, IDS_WORK_FOLDER, IDS_PDF_FAILED, IDS_OPEN_FAILED,
                                  IDS_NO_DATA, IDS_FIELD_COUNT, IDS_FOLDER_EXISTS,
                                  IDS_DESKTOP_FOLDER, IDS_SAVED_SHOW, IDS_RECORDS_LEFT_OUT})
                if (m.text.endsWith(*LoadStringEntry(candidate)))
                    id = candidate;
            ids.append(id);
        }
        return ids;
    }
    void ExpectWindowAsBefore(const char* what)
    {
        EXPECT_EQ(host.Inputs().targetSales, kBefore.targetSales) << what;
        EXPECT_EQ(host.Inputs().variableCostRatio, kBefore.variableCostRatio) << what;
        EXPECT_EQ(host.Style().drawGraph, (std::array<int32_t, 3>{1, 0, 0})) << what;
    }
};

QStringList ChartFiles(const QString& prefix, const QString& ext)
{
    return {prefix + kChart1 + u'.' + ext, prefix + kChart2 + u'.' + ext,
            prefix + u"損益分岐点・指数図表." + ext};
}

} // namespace

TEST(OutputRootFault, NoFolderWhereTheOutputRootBelongs)
{
    struct Case {
        const char* what;
        bool batch;          // else output with CSV
        const char* block;   // a regular file made at this path below the test folder
        const char* outRoot; // the batch's own output root, below the test folder
    } cases[] = {
        {"desktop BEP is a file, output with CSV", false, "Desktop/BEP", nullptr},
        {"desktop BEP is a file, batch", true, "Desktop/BEP", nullptr},
        {"output root is a file", true, "out", "out"},
        {"output root lies below a file", true, "out", "out/deeper"},
        {"output root name too long", true, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Scene s;
        const QString input = s.Input("A,1000,500,300,25\n");
        if (c.block) {
            ASSERT_TRUE(WriteAll(s.Path(QString::fromUtf8(c.block)), kEarlier)) << c.what;
        }
        const QString root = c.outRoot ? s.Path(QString::fromUtf8(c.outRoot))
                             : c.block ? QString()
                                       : s.Path(QString(300, u'r'));
        const auto before = Snapshot(s.dir.path());
        const bool ok = c.batch ? s.Batch(input, true, root) : OutputWithCsv(s.host);
        EXPECT_FALSE(ok) << c.what;
        EXPECT_EQ(s.MessageIds(), QList<int>{IDS_DESKTOP_FOLDER}) << c.what;
        EXPECT_EQ(s.platform.messages.value(0).flags, unsigned(kMbError)) << c.what;
        EXPECT_EQ(Snapshot(s.dir.path()), before) << c.what;
        s.ExpectWindowAsBefore(c.what);

        // With the obstacle gone the same command works.
        if (c.block) {
            ASSERT_TRUE(QFile::remove(s.Path(QString::fromUtf8(c.block))));
        }
        const QString usable = c.block ? root : s.Path(u"r"_qs);
        EXPECT_TRUE(c.batch ? s.Batch(input, true, usable) : OutputWithCsv(s.host)) << c.what;
    }
}

TEST(RecordFolderFault, RecordThatCannotBeWrittenStopsTheBatch)
{
    // Record A always works; record B meets the obstacle.
    struct Case {
        const char* what;
        QString name;
        std::function<void(const QString& root)> obstacle;
        QList<int> messages;
        QStringList bFiles; // the files B's folder holds afterwards
    } cases[] = {
        // Said, unlike other names the file system refuses: it can never be made.
        {"name too long for a folder", QString(300, u'n'), [](const QString&) {},
         {IDS_OPEN_FAILED}, {}},
        {"a file holds the name", u"B"_qs,
         [](const QString& root) { WriteAll(root + u"/B", kEarlier); },
         {IDS_FOLDER_EXISTS, IDS_OPEN_FAILED}, {}},
        {"the summary's name is a folder", u"B"_qs,
         [](const QString& root) { QDir().mkpath(root + u"/B/BEP.csv"); },
         {IDS_FOLDER_EXISTS, IDS_OPEN_FAILED}, {}},
        {"the second chart's name is a folder", u"B"_qs,
         [](const QString& root) { QDir().mkpath(root + u"/B/" + kChart2 + u".bmp"); },
         {IDS_FOLDER_EXISTS}, {}},
    };
    cases[3].bFiles = QStringList{u"BEP.csv"_qs, kChart1 + u".bmp"};
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        Scene s;
        ASSERT_TRUE(QDir().mkpath(s.Root()));
        c.obstacle(s.Root());
        const auto obstacle = Snapshot(s.Root());
        s.platform.answers = {kIdYes};
        const QString input = s.Input(("A,1000,500,300,25\n" + c.name + ",1000,600,300,25\n"
                                       "C,1000,700,300,25\n").toUtf8());
        EXPECT_FALSE(s.Batch(input, true)) << c.what;
        EXPECT_EQ(s.MessageIds(), c.messages) << c.what;

        auto after = Snapshot(s.Root());
        // Record A is complete, C was never started.
        for (const QString& f : QStringList{u"BEP.csv"_qs} + ChartFiles({}, u"bmp"_qs))
            EXPECT_TRUE(QFileInfo(s.Root() + u"/A/" + f).size() > 0) << c.what;
        EXPECT_FALSE(QFileInfo::exists(s.Root() + u"/C")) << c.what;
        // What stood in the way is as it was, and B holds only complete files.
        for (auto it = obstacle.begin(); it != obstacle.end(); ++it)
            EXPECT_EQ(after.value(it.key()), it.value()) << c.what << " " << it.key().toStdString();
        const QString b = s.Root() + u'/' + c.name;
        QStringList bFiles;
        for (const QString& f : QDir(b).entryList(QDir::Files | QDir::Hidden))
            bFiles.append(f);
        bFiles.sort();
        QStringList expected = c.bFiles;
        expected.sort();
        EXPECT_EQ(bFiles, expected) << c.what;
        s.ExpectWindowAsBefore(c.what);

        // A batch of usable records goes on working.
        s.platform.messages.clear();
        s.platform.answers = {kIdYes};
        EXPECT_TRUE(s.Batch(s.Input("D,1000,500,300,25\n"), true)) << c.what;
        EXPECT_TRUE(QFileInfo::exists(s.Root() + u"/D/" + kChart2 + u".bmp")) << c.what;
    }
}

TEST(DiskFull, ImageWriteThatFailsPartWayKeepsTheEarlierFile)
{
    QTemporaryDir dir;
    FakePlatform platform(dir.path());
    const QImage image = Noisy(300, 200);
    for (const char* format : {"jpeg", "bmp", "gif", "png", "tiff"}) {
        const QString ext = QLatin1String(format);
        const QString probe = dir.filePath(u"probe."_qs + ext);
        ASSERT_TRUE(EncodeImageFile(image, 300, 200, probe, ext, platform)) << format;
        const qint64 size = QFileInfo(probe).size();
        ASSERT_TRUE(QFile::remove(probe));
        const QString path = dir.filePath(u"chart."_qs + ext);
        ASSERT_TRUE(WriteAll(path, kEarlier));
        // The disk fills early, or just before the last buffered bytes go out.
        for (const qint64 room : {qint64(4096), size - 16}) {
            const auto before = Snapshot(dir.path());
            {
                FileSizeLimit full{rlim_t(room)};
                ASSERT_TRUE(full.Active());
                EXPECT_FALSE(EncodeImageFile(image, 300, 200, path, ext, platform))
                    << format << " " << room;
            }
            EXPECT_TRUE(platform.messages.isEmpty()) << format; // a failed write is silent
            EXPECT_EQ(Snapshot(dir.path()), before) << format << " " << room;
        }

        // Room again: the same write replaces the file whole.
        ASSERT_TRUE(EncodeImageFile(image, 300, 200, path, ext, platform)) << format;
        EXPECT_EQ(QFileInfo(path).size(), size) << format;
        EXPECT_EQ(QImage(path).size(), QSize(300, 200)) << format;
    }
}

TEST(DiskFull, PdfAndSummaryThatFailPartWayKeepTheEarlierFile)
{
    QTemporaryDir dir;
    FakePlatform platform(dir.path());
    const QString jpeg = dir.filePath(u"chart.jpeg"_qs);
    ASSERT_TRUE(EncodeImageFile(Noisy(200, 150), 200, 150, jpeg, u"jpeg"_qs, platform));
    const qint64 jpegSize = QFileInfo(jpeg).size();
    ASSERT_GT(jpegSize, 20000);
    const QString pdf = dir.filePath(u"chart.pdf"_qs);
    const QString csv = dir.filePath(u"BEP.csv"_qs);
    ASSERT_TRUE(WriteAll(pdf, kEarlier));
    ASSERT_TRUE(WriteAll(csv, kEarlier));

    struct Case {
        const char* what;
        rlim_t limit;
        std::function<bool()> write;
        QString message;
    } cases[] = {
        // The limit falls inside the copied image.
        {"PDF, the image copy", rlim_t(jpegSize / 2),
         [&] { return CJpg2Pdf().Convert(jpeg, pdf, platform); },
         u"[Copy Stream]\n"_qs + *LoadStringEntry(IDS_PDF_FAILED)},
        // The limit falls after the image, in the buffered tail of the file.
        {"PDF, the last lines", rlim_t(jpegSize + 600),
         [&] { return CJpg2Pdf().Convert(jpeg, pdf, platform); },
         u"[File Create]\n"_qs + *LoadStringEntry(IDS_PDF_FAILED)},
        {"summary", 100,
         [&] {
             return WriteSummaryCsv(platform, dir.path(), u"png"_qs, kBefore,
                                    ChartStyle::Defaults());
         },
         *LoadStringEntry(IDS_OPEN_FAILED)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        platform.messages.clear();
        const auto before = Snapshot(dir.path());
        {
            FileSizeLimit full(c.limit);
            ASSERT_TRUE(full.Active());
            EXPECT_FALSE(c.write()) << c.what;
        }
        ASSERT_EQ(platform.messages.size(), 1) << c.what;
        EXPECT_EQ(platform.messages[0].text, c.message) << c.what;
        EXPECT_EQ(platform.messages[0].flags, unsigned(kMbError)) << c.what;
        EXPECT_EQ(Snapshot(dir.path()), before) << c.what;
        EXPECT_TRUE(c.write()) << c.what;
    }
    EXPECT_TRUE(ReadAll(pdf).endsWith("%%EOF\n"));
    EXPECT_TRUE(ReadAll(csv).endsWith(".png\r\n"));
}

TEST(DiskFull, OutputWithCsvStopsAtTheChartThatDoesNotFit)
{
    Scene s;
    const QDateTime now(QDate(2014, 12, 31), QTime(12, 0));
    {
        // Room for the summary, not for a 240 x 100 bitmap.
        FileSizeLimit full(4096);
        ASSERT_TRUE(full.Active());
        EXPECT_FALSE(OutputWithCsv(s.host, now));
    }
    EXPECT_TRUE(s.platform.messages.isEmpty());
    const QString folder = s.Root() + u"/20141231-001";
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{u"BEP.csv"_qs});
    EXPECT_TRUE(FromCp932(ReadAll(folder + u"/BEP.csv")).endsWith(u".bmp\r\n"_qs));
    s.ExpectWindowAsBefore("disk full");

    EXPECT_TRUE(OutputWithCsv(s.host, now));
    EXPECT_EQ(QDir(s.Root() + u"/20141231-002").entryList(QDir::Files).size(), 4);
}

TEST(BatchInputFault, InputThatIsNoReadableFileShows30009)
{
    struct Case {
        const char* what;
        std::function<QString(Scene&)> make; // the input path
    } cases[] = {
        {"missing", [](Scene& s) { return s.Path(u"missing.csv"_qs); }},
        {"a folder",
         [](Scene& s) {
             QDir().mkpath(s.Path(u"folder.csv"_qs));
             return s.Path(u"folder.csv"_qs);
         }},
        {"a FIFO",
         [](Scene& s) {
             MakeFifo(s.Path(u"fifo.csv"_qs));
             return s.Path(u"fifo.csv"_qs);
         }},
        // Read only, so the system's own node will do where no node can be made.
        {"a device that never ends",
         [](Scene& s) {
             return MakeZeroDevice(s.Path(u"zero.csv"_qs)) ? s.Path(u"zero.csv"_qs)
                                                           : u"/dev/zero"_qs;
         }},
        {"below a file",
         [](Scene& s) {
             WriteAll(s.Path(u"plain"_qs), kEarlier);
             return s.Path(u"plain/in.csv"_qs);
         }},
        {"name too long", [](Scene& s) { return s.Path(QString(300, u'c')); }},
        {"a dangling link",
         [](Scene& s) {
             QFile::link(s.Path(u"gone.csv"_qs), s.Path(u"link.csv"_qs));
             return s.Path(u"link.csv"_qs);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const bool folders : {true, false}) {
            Scene s;
            const QString input = c.make(s);
            ASSERT_TRUE(QDir().mkpath(s.Root()));
            const auto before = Snapshot(s.dir.path());
            FifoRescue rescue(input);
            // An output root that does not exist yet is not made for such an input.
            EXPECT_FALSE(s.Batch(input, folders, s.Path(u"out/deeper"_qs))) << c.what;
            EXPECT_FALSE(rescue.Rescued()) << c.what << ": blocked on the input";
            EXPECT_EQ(s.MessageIds(), QList<int>{IDS_OPEN_FAILED}) << c.what;
            EXPECT_EQ(s.platform.messages.value(0).flags, unsigned(kMbError)) << c.what;
            EXPECT_EQ(Snapshot(s.dir.path()), before) << c.what;
            s.ExpectWindowAsBefore(c.what);

            s.platform.messages.clear();
            EXPECT_TRUE(s.Batch(s.Input("A,1000,500,300,25\n"), folders)) << c.what;
        }
    }
}

TEST(WorkFolderFault, PdfRecordsNeedNoWorkFolder)
{
    // The PDFs are made from the JPEG in memory, so a temporary folder that is unusable, or
    // a folder where the scratch image once went, stops nothing.
    struct Case {
        const char* what;
        bool folders;
        bool scratchIsFolder; // else the temporary folder is a file
    } cases[] = {
        {"one folder, no work folder", true, false},
        {"one folder, old scratch name taken", true, true},
        {"together, no work folder", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Scene s;
        s.host.SetOutputFormatValue(kPdf);
        const QString blocked = c.scratchIsFolder ? s.platform.temp + u"/Brevant/temp.jpeg"
                                                  : s.Path(u"Temp-file"_qs);
        if (c.scratchIsFolder) {
            ASSERT_TRUE(QDir().mkpath(blocked));
        } else {
            ASSERT_TRUE(WriteAll(blocked, kEarlier));
            s.platform.temp = blocked;
        }
        s.platform.answers = {kIdYes};
        const QString input = s.Input("A,1000,500,300,25\nB,1000,600,300,25\n");
        EXPECT_TRUE(s.Batch(input, c.folders)) << c.what;
        EXPECT_EQ(s.MessageIds(), QList<int>()) << c.what;
        QStringList expected;
        for (const QString& record : {u"A"_qs, u"B"_qs})
            expected += ChartFiles(c.folders ? record + u'/' : record + u'_', u"pdf"_qs);
        for (const QString& name : expected)
            EXPECT_TRUE(ReadAll(s.Root() + u'/' + name).startsWith("%PDF-1.2")) << c.what;
        EXPECT_EQ(c.scratchIsFolder ? QFileInfo(blocked).isDir() : ReadAll(blocked) == kEarlier,
                  true)
            << c.what;
    }
}

TEST(ProfileFault, DamagedFileIsReadAsFarAsItGoesAndNeverChangedByReading)
{
    struct Case {
        const char* what;
        QByteArray bytes;
        int32_t ratio;    // Ritsu as loaded
        int32_t fontSize; // FontSize as loaded
    } cases[] = {
        {"cut inside a value", "[Last]\nRitsu=1234\nFontSize=1", 1234, 5},
        {"cut inside a key", "[Last]\nRitsu=1234\nFontSi", 1234, 10},
        {"cut inside the section", "[La", 2500, 10},
        {"a section header without ]", "[Last]\nRitsu=1234\n[Extra\nFontSize=20\n", 1234, 10},
        {"that header first", "[Extra\nFontSize=20\n[Last]\nRitsu=1234\n", 1234, 10},
        {"empty", "", 2500, 10},
        {"NUL bytes", QByteArray("[Last]\nRitsu=12\0" "34\nFontSize=20\n", 31), 12, 20},
        {"not UTF-8", "[Last]\nTitle0=\xff\xfe\x80\nRitsu=4321\n", 4321, 10},
        {"binary", QByteArray(4096, '\xA5'), 2500, 10},
        {"one very long value",
         "[Last]\nTitle0=" + QByteArray(1 << 20, 'x') + "\nRitsu=777\n", 777, 10},
        {"numbers out of range", "[Last]\nRitsu=99999999999999999999\nFontSize=-4\n", 2500, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Brevant.ini"_qs);
        ASSERT_TRUE(WriteAll(path, c.bytes));
        {
            IniProfileStore store(path);
            const StoredSettings s = LoadSettings(store);
            EXPECT_EQ(s.ratio, c.ratio) << c.what;
            EXPECT_EQ(s.style.fontSize, c.fontSize) << c.what;
        }
        // Reading alone, as every subcommand does, leaves the file as it was.
        EXPECT_EQ(ReadAll(path), c.bytes) << c.what;
    }
}

TEST(ProfileFault, NoFileAtThePathGivesDefaultsAndIsLeftAlone)
{
    struct Case {
        const char* what;
        std::function<QString(const QString& dir)> make; // the settings path
    } cases[] = {
        {"a FIFO",
         [](const QString& dir) {
             MakeFifo(dir + u"/Brevant.ini");
             return dir + u"/Brevant.ini";
         }},
        {"a folder",
         [](const QString& dir) {
             QDir().mkpath(dir + u"/Brevant.ini/x");
             return dir + u"/Brevant.ini";
         }},
        {"its folder is a file",
         [](const QString& dir) {
             WriteAll(dir + u"/Velmora", kEarlier);
             return dir + u"/Velmora/Brevant.ini";
         }},
        // The usual way to keep a program from saving its settings.
        {"a link to /dev/null",
         [](const QString& dir) {
             QFile::link(u"/dev/null"_qs, dir + u"/Brevant.ini");
             return dir + u"/Brevant.ini";
         }},
        {"a device",
         [](const QString& dir) {
             return MakeZeroDevice(dir + u"/Brevant.ini") ? dir + u"/Brevant.ini" : QString();
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const QString path = c.make(dir.path());
        if (path.isEmpty())
            continue; // no device node can be made here
        const auto before = Snapshot(dir.path());
        StoredSettings changed;
        changed.ratio = 4444;
        {
            FifoRescue rescue(path);
            IniProfileStore store(path);
            const StoredSettings s = LoadSettings(store);
            EXPECT_FALSE(rescue.Rescued()) << c.what << ": blocked on the settings";
            EXPECT_EQ(s.ratio, 2500) << c.what;
            EXPECT_EQ(s.style.titles, ChartStyle::Defaults().titles) << c.what;
            // The window saves on close; nothing there may be replaced.
            SaveSettings(store, changed);
            store.Sync();
        }
        EXPECT_EQ(Snapshot(dir.path()), before) << c.what;
        if (QString(c.what) == u"a FIFO") {
            EXPECT_TRUE(IsFifo(path));
        }

        // Settings kept where a file can live work as ever.
        const QString usable = dir.filePath(u"usable.ini"_qs);
        {
            IniProfileStore store(usable);
            SaveSettings(store, changed);
        }
        IniProfileStore again(usable);
        EXPECT_EQ(LoadSettings(again).ratio, 4444) << c.what;
    }
}

TEST(ProfileFault, SaveThatFailsPartWayKeepsTheEarlierFile)
{
    // Every case has a file of its own, and the results are read as bytes.
    QTemporaryDir dir;
    StoredSettings earlier;
    earlier.ratio = 1111;
    StoredSettings later = earlier;
    later.ratio = 2222; // the same length, so the new file needs as much room
    const auto saved = [&](const QString& name, const StoredSettings& values) {
        QDir().mkpath(dir.filePath(name));
        const QString path = dir.filePath(name + u"/Brevant.ini");
        IniProfileStore store(path);
        SaveSettings(store, values);
        return path;
    };
    const qint64 size = QFileInfo(saved(u"probe"_qs, earlier)).size();
    // The disk fills at once, or just before the last bytes; it is still full when the
    // store goes, as when the window closes.
    for (const qint64 room : {qint64(64), size - 16}) {
        const QString name = QString::number(room);
        const QString path = saved(name, earlier);
        const QByteArray before = ReadAll(path);
        {
            FileSizeLimit full{rlim_t(room)};
            ASSERT_TRUE(full.Active());
            IniProfileStore store(path);
            SaveSettings(store, later);
        }
        EXPECT_EQ(ReadAll(path), before) << room;
        EXPECT_EQ(QDir(dir.filePath(name)).entryList(QDir::Files | QDir::Hidden),
                  QStringList{u"Brevant.ini"_qs})
            << room;
    }

    // With room the settings are saved as ever.
    EXPECT_TRUE(ReadAll(saved(u"room"_qs, later)).contains("\nRitsu=2222\n"));
}
