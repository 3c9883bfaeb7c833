#include "text_util.h"
#include "headless_chart_host.h"
#include "csv_output.h"
#include "output_names.h"
#include "string_table.h"
#include "support/file_helpers.h"
#include "support/fake_platform.h"

#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace brevant;
using brevant::test::ReadAll;
using brevant::test::WriteAll;
using brevant::test::FakePlatform;

namespace {

// The sample figures of the window's sample button.
BepInputs SampleInputs()
{
    return BepInputs{154321000, 125678900, 49605558, 5613, 0};
}

} // namespace

TEST(SummaryCsv, SampleFiguresGiveTheExactCp932Bytes)
{
    QTemporaryDir dir;
    FakePlatform platform(dir.path());
    ASSERT_TRUE(WriteSummaryCsv(platform, dir.path(), QStringLiteral("png"), SampleInputs(),
                                ChartStyle::Defaults()));
    // 変動費率,限界利益率,固定費,損益分岐点,目標売上高,目標営業利益,図表1ファイル名,... in CP932.
    const QByteArray header = QByteArray::fromHex(
        "95cf93ae94ef97a62c8cc08a459798897697a62c8cc592e894ef2c91b9897695aa8af2935f2c96da9557"
        "94848fe38d822c96da955789638bc6979889762c907d955c31837483408343838b96bc2c907d955c3283"
        "7483408343838b96bc2c907d955c33837483408343838b96bc");
    // 損益分岐点図表 / 損益分岐点指数図表 / 損益分岐点・指数図表 in CP932.
    const QByteArray data = QByteArray(
        "56.13,43.87,49605558000,113073986779,125678900000,12604913221,"
        "\x91\xb9\x89\x76\x95\xaa\x8a\xf2\x93\x5f\x90\x7d\x95\x5c.png,"
        "\x91\xb9\x89\x76\x95\xaa\x8a\xf2\x93\x5f\x8e\x77\x90\x94\x90\x7d\x95\x5c.png,"
        "\x91\xb9\x89\x76\x95\xaa\x8a\xf2\x93\x5f\x81\x45\x8e\x77\x90\x94\x90\x7d\x95\x5c.png");
    EXPECT_EQ(ReadAll(dir.filePath(QStringLiteral("BEP.csv"))),
              header + "\r\n" + data + "\r\n");
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST(SummaryCsv, ReplacesAnEarlierFileWhole)
{
    QTemporaryDir dir;
    FakePlatform platform(dir.path());
    const QString path = dir.filePath(QStringLiteral("BEP.csv"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(10000, 'x'));
    }
    ASSERT_TRUE(WriteSummaryCsv(platform, dir.path(), QStringLiteral("jpeg"), SampleInputs(),
                                ChartStyle::Defaults()));
    const QByteArray bytes = ReadAll(path);
    EXPECT_FALSE(bytes.contains('x'));
    EXPECT_EQ(bytes.count("\r\n"), 2);
}

TEST(SummaryCsv, FolderThatCannotHoldTheFileShows30009)
{
    QTemporaryDir dir;
    FakePlatform platform(dir.path());
    EXPECT_FALSE(WriteSummaryCsv(platform, dir.filePath(QStringLiteral("missing")),
                                 QStringLiteral("png"), SampleInputs(), ChartStyle::Defaults()));
    EXPECT_EQ(platform.messages.size(), 1);
    EXPECT_TRUE(platform.Showed(IDS_OPEN_FAILED));
    EXPECT_EQ(platform.messages[0].flags, unsigned(kMbError));
}

TEST(SummaryLine, ColumnsForUnusualFigures)
{
    struct Case {
        BepInputs in;
        const char* prefix;
        const char* numbers; // the six number columns, each with its comma
    } cases[] = {
        // Amounts are written as 1000 times the figure; the ratio with two decimals.
        {{1000, 500, 300, 2500, 0}, "", "25.00,75.00,300000,400000,500000,100000,"},
        // A ratio beyond 100 % (batch records are not clamped) gives a negative point.
        {{1000, 500, 300, 15000, 0}, "", "150.00,-50.00,300000,-600000,500000,1100000,"},
        // An infinite break-even point is written as the C library writes it.
        {{1000, 500, 300, 10000, 0}, "x_", "100.00,0.00,300000,inf,500000,-inf,"},
        {{1000, 500, 0, 0, 0}, "a b_", "0.00,100.00,0,0,500000,500000,"},
    };
    for (const auto& c : cases) {
        const QString line = SummaryLine(c.in, ChartStyle::Defaults(),
                                         QString::fromUtf8(c.prefix), QStringLiteral("gif"));
        const QString p = QString::fromUtf8(c.prefix);
        EXPECT_EQ(line, QString::fromUtf8(c.numbers) + p + u"損益分岐点図表.gif," + p +
                            u"損益分岐点指数図表.gif," + p + u"損益分岐点・指数図表.gif\n")
            << c.numbers;
    }
}

TEST(SummaryLine, NotANumberBreakEvenPoint)
{
    // Ratio 10000 with no fixed costs: 0 / 0.
    const QString line = SummaryLine(BepInputs{1000, 500, 0, 10000, 0}, ChartStyle::Defaults(),
                                     QString(), QStringLiteral("png"));
    const QStringList fields = line.split(u',');
    ASSERT_EQ(fields.size(), 9);
    const QRegularExpression nan(QStringLiteral("^-?nan$"));
    EXPECT_TRUE(nan.match(fields[3]).hasMatch()) << fields[3].toStdString();
    EXPECT_TRUE(nan.match(fields[5]).hasMatch()) << fields[5].toStdString();
}

TEST(ChartFileName, EmptyTitleBecomesChartAndNumber)
{
    ChartStyle style = ChartStyle::Defaults();
    style.titles = {QStringLiteral("売上"), QString(), QStringLiteral(" 利益 ")};
    EXPECT_EQ(ChartFileName(style, 1), QStringLiteral("売上"));
    EXPECT_EQ(ChartFileName(style, 2), QStringLiteral("図表2"));
    EXPECT_EQ(ChartFileName(style, 3), QStringLiteral(" 利益 "));
    EXPECT_EQ(SummaryLine(BepInputs{}, style, QString(), QStringLiteral("pdf")).section(u',', 6),
              QStringLiteral("売上.pdf,図表2.pdf, 利益 .pdf\n"));
}

TEST(HasDuplicateTitles, ComparesEveryPairExactly)
{
    struct Case {
        const char16_t* t1;
        const char16_t* t2;
        const char16_t* t3;
        bool duplicate;
    } cases[] = {
        {u"X", u"Y", u"X", true},
        {u"X", u"Y", u"Y", true},
        {u"X", u"X", u"Z", true},
        {u"", u"", u"", true},
        {u"", u"a", u"", true},
        {u"", u"a", u"b", false},
        {u"a", u"A", u"ａ", false}, // case and width count
        {u"a ", u"a", u"b", false}, // no trimming
        // An untitled chart is named 図表k; a title equal to that would overwrite it.
        {u"図表2", u"", u"b", true},
        {u"", u"a", u"図表1", true},
        {u"図表1", u"図表2", u"図表3", false},
        {u"図表3", u"", u"", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << (&c - cases));
        QTemporaryDir dir;
        FakePlatform platform(dir.path());
        ChartStyle style;
        style.titles = {QString::fromUtf16(c.t1), QString::fromUtf16(c.t2),
                        QString::fromUtf16(c.t3)};
        EXPECT_EQ(HasDuplicateTitles(style, platform), c.duplicate)
            << QString::fromUtf16(c.t1).toStdString() << "|"
            << QString::fromUtf16(c.t2).toStdString();
        EXPECT_EQ(platform.CountOf(IDS_SAME_TITLE), c.duplicate ? 1 : 0);
    }
}

TEST(FreeSerialFolder, TakesTheFirstGap)
{
    QTemporaryDir dir;
    const QString prefix = QStringLiteral("20141231-");
    ASSERT_TRUE(QDir(dir.path()).mkdir(prefix + u"001"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(prefix + u"003"));
    EXPECT_EQ(FreeSerialFolder(dir.path(), prefix), dir.path() + u"/20141231-002");
    // A plain file takes its serial as well.
    QFile file(dir.filePath(prefix + u"002"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_EQ(FreeSerialFolder(dir.path(), prefix), dir.path() + u"/20141231-004");
    // Another day's folders do not count.
    EXPECT_EQ(FreeSerialFolder(dir.path(), QStringLiteral("20150101-")),
              dir.path() + u"/20150101-001");
}

TEST(FreeSerialFolder, NothingWhenAllSerialsAreTaken)
{
    QTemporaryDir dir;
    for (int n = 1; n <= 999; ++n)
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("20141231-%1").arg(n, 3, 10, QChar(u'0'))));
    EXPECT_TRUE(FreeSerialFolder(dir.path(), QStringLiteral("20141231-")).isEmpty());
}

TEST(DatedFolderPrefix, LocalDateWithDash)
{
    EXPECT_EQ(DatedFolderPrefix(QDateTime(QDate(2014, 12, 31), QTime(23, 59, 59, 900))),
              QStringLiteral("20141231-"));
    EXPECT_EQ(DatedFolderPrefix(QDateTime(QDate(2015, 1, 1), QTime(0, 0, 0, 100))),
              QStringLiteral("20150101-"));
}

TEST(GetDesktopSubfolder, CreatesWhatIsMissing)
{
    QTemporaryDir dir;
    FakePlatform platform(dir.path());
    // No desktop folder at all: it is made with its parents.
    platform.desktop = dir.filePath(QStringLiteral("home/user/Desktop"));
    const QString root = GetDesktopSubfolder(platform, QStringLiteral("BEP"));
    EXPECT_EQ(root, platform.desktop + u"/BEP");
    EXPECT_TRUE(QFileInfo(root).isDir());
    // An existing folder is simply used.
    EXPECT_EQ(GetDesktopSubfolder(platform, QStringLiteral("BEP")), root);
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST(GetDesktopSubfolder, EmptyWhenTheNameIsTakenByAFile)
{
    QTemporaryDir dir;
    FakePlatform platform(dir.path());
    QFile file(platform.desktop + u"/BEP");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_TRUE(GetDesktopSubfolder(platform, QStringLiteral("BEP")).isEmpty());
    platform.desktop.clear();
    EXPECT_TRUE(GetDesktopSubfolder(platform, QStringLiteral("BEP")).isEmpty());
}

TEST(IsUsableName, OnlySinglePathComponents)
{
    const std::pair<QString, bool> cases[] = {
        {QStringLiteral("損益分岐点図表"), true},
        {QStringLiteral("a:b"), true},
        {QStringLiteral(" .x"), true},
        {QStringLiteral("..."), true},
        {QString(), false},
        {QStringLiteral("."), false},
        {QStringLiteral(".."), false},
        {QStringLiteral("../x"), false},
        {QStringLiteral("/abs"), false},
        {QStringLiteral("a/b"), false},
        {QStringLiteral("a") + QChar(u'\0') + QStringLiteral("b"), false},
        {QString(255, u'a'), true},
        {QString(256, u'a'), false},
        {QString(85, u'あ'), true},  // 255 bytes in UTF-8
        {QString(86, u'あ'), false}, // 258 bytes
    };
    for (const auto& [name, usable] : cases)
        EXPECT_EQ(IsUsableName(name), usable) << name.toStdString();
}

TEST(IsNameTooLong, ComparesTheLastPartWithItsFileSystemsLimit)
{
    QTemporaryDir dir;
    EXPECT_EQ(NameLimit(dir.path()), 255);
    EXPECT_EQ(NameLimit(dir.filePath(u"missing"_qs)), kMaxNameBytes);
    EXPECT_FALSE(IsNameTooLong(dir.filePath(QString(255, u'a'))));
    EXPECT_TRUE(IsNameTooLong(dir.filePath(QString(256, u'a'))));
    EXPECT_FALSE(IsNameTooLong(dir.filePath(QString(85, u'あ')))); // 255 bytes
    EXPECT_TRUE(IsNameTooLong(dir.filePath(QString(85, u'あ') + u"a"))); // 256 bytes
    // Only the last part counts; a long path of short names is no concern here.
    EXPECT_FALSE(IsNameTooLong(QString(300, u'a') + u"/short"));
    EXPECT_TRUE(IsNameTooLong(QString(256, u'a')));
}

TEST(ChartFileName, TitlesBecomeNamesTheSummaryCanHold)
{
    ChartStyle style = ChartStyle::Defaults();
    style.titles = {u"Café"_qs, QString(), u"한국어"_qs};
    EXPECT_EQ(ChartFileName(style, 1), u"Cafe"_qs);
    EXPECT_EQ(ChartFileName(style, 2), u"図表2"_qs);
    EXPECT_EQ(ChartFileName(style, 3), u"___"_qs);
    BepInputs in;
    EXPECT_TRUE(SummaryLine(in, style, u"p_"_qs, u"png"_qs)
                    .endsWith(u",p_Cafe.png,p_図表2.png,p____.png\n"_qs));
    // Two titles that differ only where CP932 cannot tell them apart name one file.
    QTemporaryDir dir;
    style.titles = {u"Café"_qs, u"Cafè"_qs, u"x"_qs};
    FakePlatform platform(dir.path());
    EXPECT_TRUE(HasDuplicateTitles(style, platform));

    style.titles = {u"a"_qs, u"b"_qs, u"c"_qs};
    EXPECT_TRUE(CanWriteChartFiles(style, dir.path(), QString(250, u'p'), u"png"_qs));
    EXPECT_FALSE(CanWriteChartFiles(style, dir.path(), QString(251, u'p'), u"png"_qs));
    EXPECT_FALSE(CanWriteChartFiles(style, dir.path(), u"a/"_qs, u"png"_qs));
}

namespace {

const QSize kArea(480, 200);
const QDateTime kNow(QDate(2014, 12, 31), QTime(23, 59, 59));

struct CsvRun {
    QTemporaryDir dir;
    FakePlatform platform{dir.path()};
    HeadlessChartHost host{platform, kArea, SampleInputs(), ChartStyle::Defaults(), kPng};

    CsvRun() { host.LayoutCharts(); }
    QString Root() const { return platform.desktop + u"/BEP"; }
    QString Folder(const char* serial) const
    {
        return Root() + u"/20141231-" + QLatin1String(serial);
    }
    // Every file below the test folder, relative to it.
    QStringList AllFiles() const
    {
        QStringList files;
        QDirIterator it(dir.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            files.append(QDir(dir.path()).relativeFilePath(it.next()));
        files.sort();
        return files;
    }
};

} // namespace

TEST(OutputWithCsv, WritesTheSummaryAndEachChartAlone)
{
    CsvRun run;
    run.host.Style().drawGraph = {1, 0, 1};
    run.platform.answers = {kIdYes};
    EXPECT_TRUE(OutputWithCsv(run.host, kNow));

    const QString folder = run.Folder("001");
    const QStringList names = {u"損益分岐点図表.png"_qs, u"損益分岐点指数図表.png"_qs,
                               u"損益分岐点・指数図表.png"_qs};
    QList<QImage> images;
    for (const QString& name : names) {
        images.append(QImage(folder + u'/' + name));
        EXPECT_EQ(images.back().size(), kArea) << name.toStdString();
        EXPECT_FALSE(images.back().isNull()) << name.toStdString();
    }
    // Each image holds one chart, so no two are alike.
    EXPECT_NE(images[0], images[1]);
    EXPECT_NE(images[1], images[2]);
    const QString csv = FromCp932(ReadAll(folder + u"/BEP.csv"));
    EXPECT_EQ(csv, SummaryHeader().replace(u"\n"_qs, u"\r\n"_qs) +
                       SummaryLine(SampleInputs(), ChartStyle::Defaults(), {}, u"png"_qs)
                           .replace(u"\n"_qs, u"\r\n"_qs));

    // The user's choice of charts is back, and the composition shows it again.
    EXPECT_EQ(run.host.Style().drawGraph, (std::array<int32_t, 3>{1, 0, 1}));
    EXPECT_EQ(run.host.ChartRects()[1], QRect());
    ASSERT_EQ(run.platform.messages.size(), 1);
    EXPECT_TRUE(run.platform.Showed(IDS_SAVED_SHOW));
    EXPECT_EQ(run.platform.messages[0].flags, unsigned(kMbQuestion));
    EXPECT_EQ(run.platform.openedFolders, QStringList{folder});
}

TEST(OutputWithCsv, StopsBeforeWritingAnything)
{
    struct Case {
        const char* what;
        std::array<QString, 3> titles;
        int32_t format;
        bool blockDesktop;
        int message; // 0: silent
    } cases[] = {
        {"same titles", {u"X"_qs, u"Y"_qs, u"X"_qs}, kPng, false, IDS_SAME_TITLE},
        {"all titles empty", {}, kPng, false, IDS_SAME_TITLE},
        {"no format", {u"a"_qs, u"b"_qs, u"c"_qs}, 9, false, 0},
        {"desktop unusable", {u"a"_qs, u"b"_qs, u"c"_qs}, kPdf, true, IDS_DESKTOP_FOLDER},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CsvRun run;
        run.host.Style().titles = c.titles;
        run.host.SetOutputFormatValue(c.format);
        if (c.blockDesktop) {
            // A plain file where the desktop folder should be.
            QDir(run.platform.desktop).removeRecursively();
            QFile f(run.platform.desktop);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
        EXPECT_FALSE(OutputWithCsv(run.host, kNow)) << c.what;
        EXPECT_FALSE(QFileInfo::exists(run.Root())) << c.what;
        EXPECT_EQ(run.platform.messages.size(), c.message ? 1 : 0) << c.what;
        if (c.message) {
            EXPECT_TRUE(run.platform.Showed(c.message)) << c.what;
        }
    }
}

TEST(OutputWithCsv, TitleThatIsNoFileNameStopsAtItsChart)
{
    struct Case {
        QString title2;
        bool written;
    } cases[] = {
        {u"a:b"_qs, true}, // a valid name here
        {u"a/b"_qs, false},
        {u".."_qs, false},
        {u"."_qs, false},
        {u"../../escape"_qs, false},
        {QString(252, u'x'), true}, // 252 + ".png" = 256 bytes: too long
    };
    cases[5].written = false;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << (&c - cases));
        CsvRun run;
        run.host.Style().titles[1] = c.title2;
        run.host.Style().drawGraph = {0, 1, 0};
        run.platform.answers = {kIdYes};
        EXPECT_EQ(OutputWithCsv(run.host, kNow), c.written) << c.title2.toStdString();
        const QString folder = run.Folder("001");
        // The summary is written first and names every file.
        const QString csv = FromCp932(ReadAll(folder + u"/BEP.csv"));
        EXPECT_TRUE(csv.contains(u',' + c.title2 + u".png,")) << c.title2.toStdString();
        EXPECT_TRUE(QFileInfo::exists(folder + u"/損益分岐点図表.png"));
        EXPECT_EQ(QFileInfo::exists(folder + u"/損益分岐点・指数図表.png"), c.written);
        // Nothing lands anywhere but in the dated folder.
        for (const QString& file : run.AllFiles())
            EXPECT_TRUE(file.startsWith(u"Desktop/BEP/20141231-001/"_qs)) << file.toStdString();
        EXPECT_EQ(run.platform.Showed(IDS_SAVED_SHOW), c.written);
        // A name that could be one file, but too long for it, says so.
        EXPECT_EQ(run.platform.Showed(IDS_OPEN_FAILED), (c.title2 + u".png").size() > 255);
        EXPECT_EQ(run.host.Style().drawGraph, (std::array<int32_t, 3>{0, 1, 0}));
    }
}

TEST(OutputWithCsv, PdfFormatWritesPdfFiles)
{
    CsvRun run;
    run.host.SetOutputFormatValue(kPdf);
    ASSERT_TRUE(OutputWithCsv(run.host, kNow));
    const QString folder = run.Folder("001");
    EXPECT_TRUE(ReadAll(folder + u"/損益分岐点指数図表.pdf").startsWith("%PDF-1.2"));
    EXPECT_TRUE(FromCp932(ReadAll(folder + u"/BEP.csv")).endsWith(u"損益分岐点・指数図表.pdf\r\n"));
}
