#include "text_util.h"
#include "headless_chart_host.h"
#include "csv_output.h"
#include "batch.h"
#include "batch_file.h"
#include "string_table.h"
#include "support/file_helpers.h"
#include "support/fake_platform.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace brevant;
using brevant::test::ReadAll;
using brevant::test::WriteAll;
using brevant::test::FakePlatform;

namespace {

QString WriteFile(const QTemporaryDir& dir, const QByteArray& bytes,
                  const QString& name = QStringLiteral("in.csv"))
{
    const QString path = dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

QStringList ReadLines(const QString& path, qint64* count = nullptr)
{
    BatchFile file(path);
    if (!file.Open())
        return {QStringLiteral("<unopened>")};
    const qint64 n = file.CountLines(kMaxBatchRecords);
    if (count)
        *count = n;
    file.Rewind();
    QStringList lines;
    QString line;
    while (file.ReadLine(line))
        lines.append(line);
    return lines;
}

} // namespace

TEST(BatchFile, CountsLinesAsTheyAreRead)
{
    struct Case {
        QByteArray bytes;
        QStringList lines;
    } cases[] = {
        {"", {}},
        {"\n", {""}},
        {"a,b", {"a,b"}},
        {"a,b\n", {"a,b"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\n\n", {"a", ""}},
        {"a\nb", {"a", "b"}},
        {"a\rb\n", {"a\rb"}}, // a lone CR does not end a line
        {"\xEF\xBB\xBF", {}},   // only a byte order mark
        {"\xEF\xBB\xBFx\n", {"x"}},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        qint64 count = -1;
        const QStringList lines = ReadLines(WriteFile(dir, c.bytes), &count);
        EXPECT_EQ(lines, c.lines) << c.bytes.toHex().toStdString();
        EXPECT_EQ(count, c.lines.size()) << c.bytes.toHex().toStdString();
    }
}

TEST(BatchFile, StopsCountingPastTheLimit)
{
    QTemporaryDir dir;
    const QByteArray line = "a,1,1,1,1\n";
    const struct {
        QByteArray bytes;
        qint64 count;
    } cases[] = {
        {line.repeated(5000), 5000},
        {line.repeated(4999) + "a,1,1,1,1", 5000},
        {line.repeated(5000) + "x", 5001},
        {line.repeated(5001), 5001},
        {line.repeated(9000), 5001},
        {QByteArray(3 << 20, 'x'), 1}, // one long line spread over several reads
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << (&c - cases));
        BatchFile file(WriteFile(dir, c.bytes));
        ASSERT_TRUE(file.Open());
        EXPECT_EQ(file.CountLines(kMaxBatchRecords), c.count) << c.bytes.size();
    }
}

TEST(BatchFile, TellsUtf8FromCp932)
{
    const QString text = QStringLiteral("事業または商品名,90000000,70000000,44000000,25.03");
    QTemporaryDir dir;
    // A character cut by the boundary between two reads must not make the file look
    // like something other than UTF-8.
    const QByteArray filler((1 << 20) - 1, 'x');
    const struct {
        QByteArray bytes;
        bool utf8;
        QString first;
    } cases[] = {
        {text.toUtf8() + "\r\n", true, text},
        {"\xEF\xBB\xBF" + text.toUtf8() + "\r\n", true, text},
        {ToCp932(text) + "\r\n", false, text},
        // (Such a long line is no record: only its start is read back.)
        {filler + QStringLiteral("あ").toUtf8(), true, QString(kMaxLineBytes, u'x')},
        // Pure ASCII reads the same either way.
        {"a,1,2,3,4\n", true, QStringLiteral("a,1,2,3,4")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << (&c - cases));
        BatchFile file(WriteFile(dir, c.bytes));
        ASSERT_TRUE(file.Open());
        EXPECT_EQ(file.CountLines(kMaxBatchRecords), 1);
        EXPECT_EQ(file.IsUtf8(), c.utf8) << c.bytes.left(20).toHex().toStdString();
        ASSERT_TRUE(file.Rewind());
        QString line;
        ASSERT_TRUE(file.ReadLine(line));
        EXPECT_EQ(line, c.first);
        EXPECT_FALSE(file.ReadLine(line));
    }
}

TEST(BatchFile, ChosenEncodingWinsOverTheGuess)
{
    QTemporaryDir dir;
    // "ﾃｽ" in CP932 is C3 BD, valid UTF-8 for "ý".
    const QString both = WriteFile(dir, "\xC3\xBD,1\n", u"both.csv"_qs);
    const QString bom = WriteFile(dir, "\xEF\xBB\xBF\xE3\x81\x82,1\n", u"bom.csv"_qs);
    const struct {
        QString path;
        BatchEncoding encoding;
        QString line;
    } cases[] = {
        {both, BatchEncoding::Auto, u"ý,1"_qs},
        {both, BatchEncoding::Utf8, u"ý,1"_qs},
        {both, BatchEncoding::Cp932, u"ﾃｽ,1"_qs},
        {bom, BatchEncoding::Utf8, u"あ,1"_qs},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << (&c - cases));
        BatchFile file(c.path, c.encoding);
        ASSERT_TRUE(file.Open());
        EXPECT_EQ(file.CountLines(kMaxBatchRecords), 1);
        ASSERT_TRUE(file.Rewind());
        QString line;
        ASSERT_TRUE(file.ReadLine(line));
        EXPECT_EQ(line, c.line) << int(c.encoding);
    }
}

TEST(ParseBatchRecord, StoresAndChecksTheFields)
{
    struct Case {
        const char16_t* line;
        const char16_t* folder; // nullptr: the record is refused
        double maxSales;
        double targetSales;
        double fixedCosts;
        int32_t ratio;
        int message; // 0 for none
    } cases[] = {
        {u"事業または商品名,90000000,70000000,44000000,25.03", u"事業または商品名", 90000000,
         70000000, 44000000, 2503, 0},
        // Full-width digits and full stop, as typed with a Japanese input method.
        {u"全角,９００００００００,７００００００００,４４００００００,２５．０３", u"全角", 900000000,
         700000000, 44000000, 2503, 0},
        // Blank maximum: the default from the break-even point 58,666,666.67.
        {u"a,,70000000,44000000,25", u"a", 81333333.333333343, 70000000, 44000000, 2500, 0},
        {u"a,0,70000000,44000000,25", u"a", 81333333.333333343, 70000000, 44000000, 2500, 0},
        // Break-even exactly 40,000,000: the default maximum is exact too.
        {u"g,,50000000,12000000,70", u"g", 60000000, 50000000, 12000000, 7000, 0},
        // The ratio is truncated and not clamped.
        {u"b,1000,500,300,0.29", u"b", 1000, 500, 300, 28, 0},
        {u"b,1000,500,300,150", u"b", 1000, 500, 300, 15000, 0},
        {u" sp ,1e3, 500yen,-5,abc", u" sp ", 1000, 500, -5, 0, 0},
        {u",1000,1000,1000,10", u"", 1000, 1000, 1000, 1000, 0},
        // A header line: target sales is not a number. Maximum sales is already stored.
        {u"名前,最大売上高,目標売上高,固定費,変動費率", nullptr, 0, 1, 0, 2500,
         IDS_HEADING_LINE},
        // A word among figures is a mistake in a record, not a heading.
        {u"x,1000,abc,300,25", nullptr, 1000, 1, 0, 2500, IDS_ZERO_VALUE},
        {u"c,100,0,10,10", nullptr, 100, 1, 0, 2500, IDS_ZERO_VALUE},
        {u"d,100,200,10,10", nullptr, 100, 200, 10, 1000, IDS_MAX_BELOW_TARGET},
        {u"e,100,50,101,10", nullptr, 100, 50, 101, 1000, IDS_MAX_BELOW_FIXED},
        // Checked after the default maximum: a negative ratio gives the point 300 / 2 = 150
        // and the maximum 10 + 140 * 2 = 290, below the fixed costs.
        {u"f,,10,300,-100", nullptr, 290, 10, 300, -10000, IDS_MAX_BELOW_FIXED},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << (&c - cases));
        const QString line = QString::fromUtf16(c.line);
        QTemporaryDir dir;
        FakePlatform platform(dir.path());
        BepInputs in{1, 1, 0, 2500, 0};
        const auto folder = ParseBatchRecord(in, platform, line);
        EXPECT_EQ(folder.has_value(), c.folder != nullptr) << line.toStdString();
        if (folder && c.folder) {
            EXPECT_EQ(*folder, QString::fromUtf16(c.folder));
        }
        EXPECT_EQ(in.maxSales, c.maxSales) << line.toStdString();
        EXPECT_EQ(in.targetSales, c.targetSales) << line.toStdString();
        EXPECT_EQ(in.fixedCosts, c.fixedCosts) << line.toStdString();
        EXPECT_EQ(in.variableCostRatio, c.ratio) << line.toStdString();
        if (c.message) {
            ASSERT_EQ(platform.messages.size(), 1) << line.toStdString();
            EXPECT_EQ(platform.messages[0].text, line + u'\n' + *LoadStringEntry(c.message));
            EXPECT_EQ(platform.messages[0].flags, unsigned(kMbError));
        } else {
            EXPECT_TRUE(platform.messages.isEmpty()) << line.toStdString();
        }
    }
}


namespace {

const QSize kArea(480, 200);
const BepInputs kBefore{5000, 4000, 1000, 3000, 0};

// A batch over a scripted platform; the desktop lies in a temporary folder.
struct BatchRun {
    QTemporaryDir dir;
    FakePlatform platform{dir.path()};
    HeadlessChartHost host{platform, kArea, kBefore, ChartStyle::Defaults(), kPng};

    BatchRun() { host.Style().drawGraph = {1, 0, 0}; }
    QString Root() const { return platform.desktop + u"/BEP"; }
    bool Run(const QByteArray& csv, std::initializer_list<int> answers)
    {
        platform.answers.assign(answers);
        return RunBatch(host, WriteFile(dir, csv));
    }
    // Files below the output root, relative to it.
    QStringList Written() const
    {
        QStringList files;
        QDirIterator it(Root(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            files.append(QDir(Root()).relativeFilePath(it.next()));
        files.sort();
        return files;
    }
    // Every file anywhere in the test folder apart from the input and the work folder.
    QStringList Everywhere() const
    {
        QStringList files;
        QDirIterator it(dir.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString f = QDir(dir.path()).relativeFilePath(it.next());
            if (f != u"in.csv" && !f.startsWith(u"Temp/"))
                files.append(f);
        }
        return files;
    }
    void ExpectUntouched(const char* what)
    {
        EXPECT_EQ(host.Inputs().maxSales, kBefore.maxSales) << what;
        EXPECT_EQ(host.Inputs().targetSales, kBefore.targetSales) << what;
        EXPECT_EQ(host.Inputs().fixedCosts, kBefore.fixedCosts) << what;
        EXPECT_EQ(host.Inputs().variableCostRatio, kBefore.variableCostRatio) << what;
        EXPECT_EQ(host.Style().drawGraph, (std::array<int32_t, 3>{1, 0, 0})) << what;
    }
};

const QString kTitles[3] = {u"損益分岐点図表"_qs, u"損益分岐点指数図表"_qs,
                            u"損益分岐点・指数図表"_qs};

QStringList ChartFiles(const QString& prefix)
{
    QStringList files;
    for (const QString& t : kTitles)
        files.append(prefix + t + u".png");
    return files;
}

QString Crlf(QString text)
{
    return text.replace(u"\n"_qs, u"\r\n"_qs);
}

} // namespace

TEST(RunBatch, OneFolderPerRecord)
{
    BatchRun run;
    const QByteArray csv = ToCp932(u"店舗A,90000000,70000000,44000000,25.03\r\n"
                                   u"店舗B,,70000000,44000000,25\r\n"_qs);
    EXPECT_TRUE(run.Run(csv, {kIdYes, kIdYes}));

    QStringList expected;
    for (const QString& folder : {u"店舗A"_qs, u"店舗B"_qs}) {
        expected.append(folder + u"/BEP.csv");
        expected.append(ChartFiles(folder + u'/'));
    }
    expected.sort();
    EXPECT_EQ(run.Written(), expected);
    for (const QString& file : ChartFiles(run.Root() + u"/店舗B/"))
        EXPECT_EQ(QImage(file).size(), kArea);
    // Each record's summary holds its own figures; the second record has the default
    // maximum sales, which the summary does not show.
    const BepInputs a{90000000, 70000000, 44000000, 2503, 0};
    EXPECT_EQ(FromCp932(ReadAll(run.Root() + u"/店舗A/BEP.csv")),
              Crlf(SummaryHeader() + SummaryLine(a, ChartStyle::Defaults(), {}, u"png"_qs)));

    // The last record stays in the model; every chart is shown again.
    EXPECT_NEAR(run.host.Inputs().maxSales, 81333333, 1);
    EXPECT_EQ(run.host.Inputs().variableCostRatio, 2500);
    EXPECT_EQ(run.host.Style().drawGraph, (std::array<int32_t, 3>{1, 1, 1}));
    EXPECT_EQ(run.host.ProgressMax(), 2);
    EXPECT_EQ(run.host.Progress(), 0);
    // Mode question, then "saved; show where?" answered Yes.
    ASSERT_EQ(run.platform.messages.size(), 2);
    EXPECT_EQ(run.platform.messages[0].flags, unsigned(kMbQuestionCancel));
    EXPECT_TRUE(run.platform.Showed(IDS_SAVED_SHOW));
    EXPECT_EQ(run.platform.openedFolders, QStringList{run.Root()});
}

TEST(RunBatch, AllTogetherInTheOutputRoot)
{
    BatchRun run;
    const QByteArray csv = "A,1000,500,300,25\n"
                           "bad line\n"
                           "B,1000,0,300,25\n"
                           "C,1000,800,300,40";
    EXPECT_TRUE(run.Run(csv, {kIdNo}));

    QStringList expected = ChartFiles(u"A_"_qs) + ChartFiles(u"C_"_qs);
    expected.append(u"BEP.csv"_qs);
    expected.sort();
    EXPECT_EQ(run.Written(), expected);
    const ChartStyle style = ChartStyle::Defaults();
    EXPECT_EQ(FromCp932(ReadAll(run.Root() + u"/BEP.csv")),
              Crlf(SummaryHeader() +
                   SummaryLine({1000, 500, 300, 2500, 0}, style, u"A_"_qs, u"png"_qs) +
                   SummaryLine({1000, 800, 300, 4000, 0}, style, u"C_"_qs, u"png"_qs)));
    // The two bad records are reported with their lines and skipped.
    EXPECT_EQ(run.platform.CountOf(IDS_FIELD_COUNT), 1);
    EXPECT_EQ(run.platform.messages[1].text,
              u"bad line\n"_qs + *LoadStringEntry(IDS_FIELD_COUNT));
    EXPECT_EQ(run.platform.CountOf(IDS_ZERO_VALUE), 1);
    EXPECT_TRUE(run.platform.Showed(IDS_SAVED_SHOW));
    EXPECT_EQ(run.host.Progress(), 0);
    EXPECT_TRUE(run.platform.openedFolders.isEmpty());
}

TEST(RunBatch, RefusedBeforeAnythingIsWritten)
{
    const QByteArray line = "x,1000,500,300,25\n";
    struct Case {
        const char* what;
        QByteArray csv;
        int message;
    } cases[] = {
        {"empty file", "", IDS_NO_DATA},
        {"5,001 lines", line.repeated(5001), IDS_TOO_MANY},
        {"5,000 lines and a last line without line end", line.repeated(5000) + "x",
         IDS_TOO_MANY},
    };
    for (const auto& c : cases) {
        BatchRun run;
        EXPECT_FALSE(run.Run(c.csv, {kIdYes})) << c.what;
        ASSERT_EQ(run.platform.messages.size(), 1) << c.what;
        EXPECT_TRUE(run.platform.Showed(c.message)) << c.what;
        EXPECT_EQ(run.platform.messages[0].flags, unsigned(kMbError)) << c.what;
        EXPECT_TRUE(run.Written().isEmpty()) << c.what;
        run.ExpectUntouched(c.what);
    }
}

TEST(RunBatch, FiveThousandLinesAreAcceptedAndCountedFirst)
{
    BatchRun run;
    // The mode question comes only after the count; Cancel then writes nothing.
    EXPECT_FALSE(run.Run(QByteArray("x,1000,500,300,25\r\n").repeated(5000), {kIdCancel}));
    ASSERT_EQ(run.platform.messages.size(), 1);
    EXPECT_TRUE(run.platform.Showed(IDS_BATCH_MODE));
    EXPECT_EQ(run.host.ProgressMax(), 5000);
    EXPECT_TRUE(run.Written().isEmpty());
    run.ExpectUntouched("cancelled");
}

TEST(RunBatch, OneEmptyLine)
{
    // One folder per record: the batch stops.
    BatchRun folders;
    EXPECT_FALSE(folders.Run("\r\n", {kIdYes}));
    EXPECT_EQ(folders.platform.messages.back().text,
              u"\n"_qs + *LoadStringEntry(IDS_FIELD_COUNT));
    EXPECT_FALSE(folders.platform.Showed(IDS_SAVED_SHOW));
    EXPECT_TRUE(folders.Written().isEmpty());

    // All together: the record is skipped and an empty summary is left.
    BatchRun together;
    EXPECT_TRUE(together.Run("\r\n", {kIdNo}));
    EXPECT_TRUE(together.platform.Showed(IDS_FIELD_COUNT));
    EXPECT_TRUE(together.platform.Showed(IDS_SAVED_SHOW));
    EXPECT_EQ(together.Written(), QStringList{u"BEP.csv"_qs});
    EXPECT_TRUE(ReadAll(together.Root() + u"/BEP.csv").isEmpty());
}

TEST(RunBatch, FailedRecordStopsAndRestoresTheWindow)
{
    struct Case {
        const char* what;
        QByteArray csv;
        int message;
        QStringList written;
    } cases[] = {
        {"header line", "名前,最大売上高,目標売上高,固定費,変動費率\nA,1000,500,300,25\n",
         IDS_HEADING_LINE, {}},
        {"second record below target", "A,1000,500,300,25\nB,100,500,30,25\nC,1000,500,300,25\n",
         IDS_MAX_BELOW_TARGET, {}},
        {"six fields", "A,1000,500,300,25\nB,1,2,3,4,5\n", IDS_FIELD_COUNT, {}},
    };
    cases[1].written = QStringList{u"A/BEP.csv"_qs} + ChartFiles(u"A/"_qs);
    cases[1].written.sort();
    cases[2].written = cases[1].written;
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        BatchRun run;
        const QByteArray csv = ToCp932(QString::fromUtf8(c.csv));
        EXPECT_FALSE(run.Run(csv, {kIdYes})) << c.what;
        EXPECT_TRUE(run.platform.Showed(c.message)) << c.what;
        if (c.message == IDS_HEADING_LINE) {
            EXPECT_EQ(run.platform.messages.back().text,
                      u"1行目: 名前,最大売上高,目標売上高,固定費,変動費率\n"_qs +
                          *LoadStringEntry(IDS_HEADING_LINE));
        }
        EXPECT_FALSE(run.platform.Showed(IDS_SAVED_SHOW)) << c.what;
        EXPECT_EQ(run.Written(), c.written) << c.what;
        // The figures and charts from before the batch are back.
        run.ExpectUntouched(c.what);
        EXPECT_EQ(run.host.Progress(), 0) << c.what;
    }
}

TEST(RunBatch, AllTogetherLeavesOutWhatItCannotWriteAndSaysWhich)
{
    BatchRun run;
    // B's second chart has a folder in its place. Names that are one on disk (the two
    // emoji both become "_"), a repeated name and a name whose file is a link to one of
    // A's charts are refused; a name that differs only in case is another file.
    ASSERT_TRUE(QDir().mkpath(run.Root() + u"/B_" + kTitles[1] + u".png"));
    ASSERT_TRUE(QFile::link(u"A_"_qs + kTitles[1] + u".png",
                            run.Root() + u"/L_" + kTitles[1] + u".png"));
    const QString lines[] = {u"A,1000,500,300,25"_qs,    u"B,1000,600,300,25"_qs,
                             u"x😀y,1000,700,300,25"_qs, u"x🙂y,1000,800,300,25"_qs,
                             u"C,1000,900,300,25"_qs,    u"A,1000,510,300,25"_qs,
                             u"a,1000,520,300,25"_qs,    u"L,1000,530,300,25"_qs};
    EXPECT_FALSE(run.Run((QStringList(std::begin(lines), std::end(lines)).join(u'\n')).toUtf8(),
                         {kIdNo}));

    const QString same = *LoadStringEntry(IDS_SAME_FILE_NAMES);
    ASSERT_EQ(run.platform.messages.size(), 5);
    EXPECT_EQ(run.platform.messages[1].text, u"4行目: "_qs + lines[3] + u'\n' + same);
    EXPECT_EQ(run.platform.messages[2].text, u"6行目: "_qs + lines[5] + u'\n' + same);
    EXPECT_EQ(run.platform.messages[3].text, u"8行目: "_qs + lines[7] + u'\n' + same);
    // The end of the batch, with every record that is missing from the summary.
    EXPECT_EQ(run.platform.messages[4].text,
              u"2行目: "_qs + lines[1] + u"\n4行目: " + lines[3] + u"\n6行目: " + lines[5] +
                  u"\n8行目: " + lines[7] + u'\n' + *LoadStringEntry(IDS_RECORDS_LEFT_OUT));
    EXPECT_EQ(run.platform.messages[4].flags, unsigned(kMbError));
    EXPECT_FALSE(run.platform.Showed(IDS_SAVED_SHOW));

    const ChartStyle style = ChartStyle::Defaults();
    EXPECT_EQ(FromCp932(ReadAll(run.Root() + u"/BEP.csv")),
              Crlf(SummaryHeader() +
                   SummaryLine({1000, 500, 300, 2500, 0}, style, u"A_"_qs, u"png"_qs) +
                   SummaryLine({1000, 700, 300, 2500, 0}, style, u"x_y_"_qs, u"png"_qs) +
                   SummaryLine({1000, 900, 300, 2500, 0}, style, u"C_"_qs, u"png"_qs) +
                   SummaryLine({1000, 520, 300, 2500, 0}, style, u"a_"_qs, u"png"_qs)));
    QStringList expected = ChartFiles(u"A_"_qs) + ChartFiles(u"x_y_"_qs) +
                           ChartFiles(u"C_"_qs) + ChartFiles(u"a_"_qs);
    expected += {u"B_"_qs + kTitles[0] + u".png", u"B_"_qs + kTitles[2] + u".png",
                 u"L_"_qs + kTitles[1] + u".png", u"BEP.csv"_qs};
    expected.sort();
    EXPECT_EQ(run.Written(), expected);
    run.ExpectUntouched("records left out");

    // Again, over the files of the first run, with a shorter list.
    BatchOptions options;
    options.askToShowResult = false;
    options.folderPerRecord = false;
    options.listedRecords = 1;
    run.platform.messages.clear();
    EXPECT_FALSE(BatchCreation(run.host, options).RunBatch(run.dir.filePath(u"in.csv"_qs)));
    EXPECT_EQ(run.platform.messages.back().text,
              u"2行目: "_qs + lines[1] + u"\nほか3件\n" + *LoadStringEntry(IDS_RECORDS_LEFT_OUT));
}

TEST(RunBatch, ExistingFolderIsAskedOncePerBatch)
{
    const QByteArray csv = "X,1000,500,300,25\nY,1000,600,300,25\nY,1000,700,300,25\n";
    // X exists already: asked once, and the later repeat of Y is not asked again.
    BatchRun agreed;
    ASSERT_TRUE(QDir().mkpath(agreed.Root() + u"/X"));
    EXPECT_TRUE(agreed.Run(csv, {kIdYes, kIdYes}));
    EXPECT_EQ(agreed.platform.CountOf(IDS_FOLDER_EXISTS), 1);
    EXPECT_EQ(agreed.platform.messages[1].text,
              agreed.Root() + u"/X\n" + *LoadStringEntry(IDS_FOLDER_EXISTS));
    EXPECT_EQ(agreed.platform.messages[1].flags, unsigned(kMbQuestion));
    // The second Y overwrote the first.
    EXPECT_TRUE(FromCp932(ReadAll(agreed.Root() + u"/Y/BEP.csv")).contains(u",700000,"_qs));

    // Nothing existed: the second Y finds the first one's folder and asks; No stops.
    BatchRun declined;
    EXPECT_FALSE(declined.Run(csv, {kIdYes, kIdNo}));
    EXPECT_EQ(declined.platform.CountOf(IDS_FOLDER_EXISTS), 1);
    EXPECT_TRUE(FromCp932(ReadAll(declined.Root() + u"/Y/BEP.csv")).contains(u",600000,"_qs));
    EXPECT_EQ(declined.host.ProgressMax(), 3);
    declined.ExpectUntouched("declined");
}

TEST(RunBatch, EmptyFolderNameWritesIntoTheOutputRoot)
{
    BatchRun run;
    EXPECT_TRUE(run.Run(",1000,500,300,25\n", {kIdYes, kIdYes}));
    EXPECT_EQ(run.platform.messages[1].text,
              run.Root() + u"/\n" + *LoadStringEntry(IDS_FOLDER_EXISTS));
    QStringList expected = ChartFiles(QString());
    expected.append(u"BEP.csv"_qs);
    expected.sort();
    EXPECT_EQ(run.Written(), expected);
}

TEST(RunBatch, NamesThatAreNoSingleFolderNeverLeaveTheRoot)
{
    const char* names[] = {"../x", "/abs", "a/b", ".", "..", "../../../tmp"};
    for (const char* name : names) {
        const QByteArray csv = QByteArray(name) + ",1000,500,300,25\n";
        // One folder per record: fails as a refused folder name does, silently.
        BatchRun folders;
        EXPECT_FALSE(folders.Run(csv, {kIdYes, kIdYes})) << name;
        EXPECT_EQ(folders.platform.messages.size(), 1) << name; // only the mode question
        EXPECT_TRUE(folders.Everywhere().isEmpty()) << name;
        EXPECT_TRUE(QDir(folders.Root()).isEmpty()) << name;

        // All together: a prefix that makes one file name is written; any other record is
        // refused with its line and left out of the summary, and the batch fails.
        BatchRun together;
        const QString prefix = QString::fromUtf8(name) + u'_';
        const bool oneName = !prefix.contains(u'/');
        EXPECT_EQ(together.Run(csv, {kIdNo}), oneName) << name;
        if (!oneName) {
            const auto& shown = together.platform.messages;
            ASSERT_EQ(shown.size(), 3) << name;
            EXPECT_EQ(shown[1].text, QString::fromUtf8(csv) + *LoadStringEntry(IDS_OPEN_FAILED))
                << name;
            EXPECT_EQ(shown[2].text, u"1行目: "_qs + QString::fromUtf8(csv) +
                                         *LoadStringEntry(IDS_RECORDS_LEFT_OUT))
                << name;
        }
        QStringList expected{u"BEP.csv"_qs};
        if (oneName)
            expected += ChartFiles(prefix);
        expected.sort();
        EXPECT_EQ(together.Written(), expected) << name;
        for (const QString& f : together.Everywhere())
            EXPECT_TRUE(f.startsWith(u"Desktop/BEP/"_qs)) << name << " " << f.toStdString();
        EXPECT_EQ(FromCp932(ReadAll(together.Root() + u"/BEP.csv"))
                      .contains(u',' + prefix + kTitles[1] + u".png,"),
                  oneName)
            << name;
    }
}

TEST(RunBatch, Cp932AndUtf8FilesGiveTheSameOutput)
{
    const QString records = u"事業または商品名,90000000,70000000,44000000,25.03\r\n"
                            u"商品・サービス,,70000000,44000000,25\r\n"_qs;
    const QByteArray inputs[] = {ToCp932(records), records.toUtf8(),
                                 "\xEF\xBB\xBF" + records.toUtf8()};
    QList<QStringList> written;
    QList<QByteArray> summaries;
    for (const QByteArray& csv : inputs) {
        BatchRun run;
        EXPECT_TRUE(run.Run(csv, {kIdNo}));
        written.append(run.Written());
        summaries.append(ReadAll(run.Root() + u"/BEP.csv"));
    }
    EXPECT_TRUE(written[0].contains(u"事業または商品名_損益分岐点図表.png"_qs));
    EXPECT_EQ(written[1], written[0]);
    EXPECT_EQ(written[2], written[0]);
    EXPECT_EQ(summaries[1], summaries[0]);
    EXPECT_EQ(summaries[2], summaries[0]);
}

TEST(RunBatch, UnreadableInputShows30009)
{
    BatchRun run;
    EXPECT_FALSE(RunBatch(run.host, run.dir.filePath(u"missing.csv"_qs)));
    ASSERT_EQ(run.platform.messages.size(), 1);
    EXPECT_TRUE(run.platform.Showed(IDS_OPEN_FAILED));
}

TEST(RunBatch, OutputRootGivenByTheCaller)
{
    BatchRun run;
    const QString out = run.dir.filePath(u"out/deeper"_qs);
    BatchOptions options;
    options.outputRoot = out;
    options.askToShowResult = false;
    BatchCreation batch(run.host, options);
    run.platform.answers = {kIdNo};
    EXPECT_TRUE(batch.RunBatch(WriteFile(run.dir, "A,1000,500,300,25\n")));
    EXPECT_EQ(batch.OutputRoot(), out);
    EXPECT_TRUE(QFileInfo::exists(out + u"/A_損益分岐点図表.png"));
    EXPECT_FALSE(QFileInfo::exists(run.Root()));
    EXPECT_FALSE(run.platform.Showed(IDS_SAVED_SHOW));
}

TEST(RunBatch, LargeAmountsAreSaturatedOnlyWhenShownAfterwards)
{
    BatchRun run;
    EXPECT_TRUE(run.Run("big,5000000000,3000000000,100,150\n", {kIdNo}));
    // The summary used the record as it was ...
    EXPECT_TRUE(FromCp932(ReadAll(run.Root() + u"/BEP.csv"))
                    .contains(u"150.00,-50.00,100000,-200000,3000000000000,"_qs));
    // ... while the entries' rule caps what the window holds afterwards; the ratio is
    // left as read.
    EXPECT_EQ(run.host.Inputs().maxSales, 2147483647);
    EXPECT_EQ(run.host.Inputs().targetSales, 2147483647);
    EXPECT_EQ(run.host.Inputs().variableCostRatio, 15000);
}
