// The command line as a user meets it, through the real program: names up to the file
// system's limit in every mode and format and a clear failure beyond it, file names that
// BEP.csv can hold, the input encoding, the terminal (no Qt chatter, the locale's text),
// the progress line on a terminal, exit statuses and calc --json.

#include "support/file_helpers.h"
#include "support/program_sandbox.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringDecoder>
#include <gtest/gtest.h>

#include <cstring>
#include <signal.h>
#include <utility>

using brevant::test::ProgramResult;
using brevant::test::ProgramSandbox;
using brevant::test::ReadAll;

namespace {

const QString kOpenFailed = QStringLiteral("ファイルのオープン失敗しました");
const QString kPdfFailed = QStringLiteral("ＰＤＦの作成に失敗しました");
const QString kTitles[3] = {QStringLiteral("損益分岐点図表"), QStringLiteral("損益分岐点指数図表"),
                            QStringLiteral("損益分岐点・指数図表")};
// UTF-8 bytes of the longest title.
constexpr int kLongestTitle = 30;

QByteArray Record(const QByteArray& name) { return name + ",1000,500,300,25\n"; }

// The file names of BEP.csv's data lines (the last three fields), read as CP932.
QStringList SummaryNames(const QString& csvPath)
{
    QStringList names;
    const QByteArray bytes = ReadAll(csvPath);
    auto decode = QStringDecoder("Shift_JIS");
    const QStringList lines = QString(decode(bytes)).split(u"\r\n"_qs, Qt::SkipEmptyParts);
    for (qsizetype i = 1; i < lines.size(); ++i)
        names += lines[i].split(u',').mid(6);
    return names;
}

// Every name the summary in `folder` lists is a file there.
void ExpectSummaryNamesExist(const QString& folder, qsizetype records)
{
    const QStringList names = SummaryNames(folder + u"/BEP.csv");
    EXPECT_EQ(names.size(), records * 3) << folder.toStdString();
    for (const QString& name : names)
        EXPECT_TRUE(QFileInfo(folder + u'/' + name).isFile()) << name.toStdString();
}

// No temporary file is left anywhere below `folder`.
void ExpectNoTemporaries(const QString& folder)
{
    const auto all = brevant::test::Snapshot(folder);
    for (auto it = all.begin(); it != all.end(); ++it)
        EXPECT_FALSE(it.key().contains(u".brevant-"_qs)) << it.key().toStdString();
}

} // namespace

TEST(LongNames, TogetherWritesNamesUpToTheLimitAndRefusesTheRecordBeyond)
{
    for (const char* format : {"bmp", "jpeg", "pdf"}) {
        const int ext = int(std::strlen(format));
        // The third chart's name is prefix + "_" + title + "." + format: 249..255 bytes for
        // the first seven records, 256 for the last.
        QByteArray csv;
        for (int length = 249; length <= 256; ++length)
            csv += Record(QByteArray(length - 2 - kLongestTitle - ext, 'a'));
        ProgramSandbox box;
        const ProgramResult r =
            box.Batch(box.Input(csv), u"together"_qs, 60000, {u"--format"_qs, QString::fromLatin1(format)});
        ASSERT_TRUE(r.finished) << format;
        EXPECT_EQ(r.exitCode, 1) << format;
        const QString err = QString::fromUtf8(r.err);
        EXPECT_TRUE(err.startsWith(QString::fromLatin1(Record(QByteArray(256 - 2 - kLongestTitle - ext, 'a')))))
            << err.toStdString();
        EXPECT_TRUE(err.contains(kOpenFailed)) << err.toStdString();
        ExpectSummaryNamesExist(box.Out(), 7);
        EXPECT_EQ(box.OutFiles().size(), 1 + 7 * 3) << format;
        ExpectNoTemporaries(box.Work());
    }
}

TEST(Together, NamesTheRecordsThatWereNotWritten)
{
    ProgramSandbox box;
    // The third record's first chart has a folder in its place.
    ASSERT_TRUE(QDir().mkpath(box.Out() + u"/C_" + kTitles[0] + u".bmp"));
    const ProgramResult r =
        box.Batch(box.Input(Record("A") + Record("B") + Record("C") + Record("D") + Record("E")),
                  u"together"_qs);
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 1);
    const QString err = QString::fromUtf8(r.err);
    EXPECT_TRUE(err.startsWith(u"3行目: C,1000,500,300,25\n"_qs)) << r.err.toStdString();
    EXPECT_FALSE(err.contains(u"stopped"_qs)) << r.err.toStdString();
    EXPECT_EQ(err.count(u"行目"_qs), 1) << r.err.toStdString(); // only that record
    ExpectSummaryNamesExist(box.Out(), 4);
    EXPECT_TRUE(QFileInfo::exists(box.Out() + u"/E_" + kTitles[2] + u".bmp"));
}

// Ctrl+C or SIGTERM in the middle of a batch: it stops between two records, leaves no
// temporary file, every record it wrote is whole, and the status says which signal.
TEST(Signals, StoppedBatchLeavesNothingHalfDone)
{
    QByteArray csv;
    for (int i = 0; i < 5000; ++i)
        csv += Record("r" + QByteArray::number(i));
    for (const auto& [signal, mode] : {std::pair(SIGTERM, "together"), std::pair(SIGINT, "folders")}) {
        ProgramSandbox box;
        QProcess process;
        process.setProcessEnvironment(box.Environment());
        process.setWorkingDirectory(box.Work());
        process.start(QStringLiteral(BREVANT_BINARY),
                      {u"batch"_qs, box.Input(csv), u"--mode"_qs, QString::fromLatin1(mode),
                       u"--out"_qs, box.Out(), u"--format"_qs, u"bmp"_qs, u"--size"_qs,
                       u"480x200"_qs});
        ASSERT_TRUE(process.waitForStarted());
        // Well into the batch: some records written, many to come.
        QElapsedTimer clock;
        clock.start();
        const auto written = [&box] {
            int files = 0;
            for (QDirIterator it(box.Out(), QDir::Files, QDirIterator::Subdirectories);
                 it.hasNext(); it.next())
                ++files;
            return files;
        };
        while (written() < 40 && clock.elapsed() < 60000)
            process.waitForFinished(5);
        ASSERT_EQ(process.state(), QProcess::Running) << mode;
        ::kill(pid_t(process.processId()), signal);
        ASSERT_TRUE(process.waitForFinished(30000)) << mode;
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << mode;
        EXPECT_EQ(process.exitCode(), 128 + signal) << mode;
        const QByteArray err = process.readAllStandardError();
        EXPECT_TRUE(err.contains("batch stopped by")) << err.toStdString();
        EXPECT_TRUE(process.readAllStandardOutput().isEmpty()) << mode;
        ExpectNoTemporaries(box.Base());
        if (std::strcmp(mode, "together") == 0) {
            const qsizetype listed = SummaryNames(box.Out() + u"/BEP.csv").size() / 3;
            EXPECT_GT(listed, 0);
            EXPECT_LT(listed, 5000);
            ExpectSummaryNamesExist(box.Out(), listed);
        } else {
            const QStringList folders = QDir(box.Out()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
            EXPECT_LT(folders.size(), 5000);
            for (const QString& folder : folders)
                ExpectSummaryNamesExist(box.Out() + u'/' + folder, 1);
        }
    }
}

TEST(LongNames, FoldersWritesFolderNamesUpToTheLimitAndStopsBeyond)
{
    for (const char* format : {"png", "pdf"}) {
        QByteArray csv;
        for (int length = 249; length <= 256; ++length)
            csv += Record(QByteArray(length, 'f'));
        ProgramSandbox box;
        const ProgramResult r =
            box.Batch(box.Input(csv), u"folders"_qs, 60000, {u"--format"_qs, QString::fromLatin1(format)});
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(r.exitCode, 1) << format;
        EXPECT_TRUE(QString::fromUtf8(r.err).contains(kOpenFailed)) << r.err.toStdString();
        for (int length = 249; length <= 255; ++length)
            ExpectSummaryNamesExist(box.Out() + u'/' + QString(length, u'f'), 1);
        EXPECT_EQ(QDir(box.Out()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 7);
        ExpectNoTemporaries(box.Work());
    }
}

TEST(LongNames, RenderWritesEveryNameUpToTheLimit)
{
    ProgramSandbox box;
    for (const QString& ext : {u".png"_qs, u".pdf"_qs, u".jpeg"_qs}) {
        for (int length = 249; length <= 256; ++length) {
            const QString name = QString(length - ext.size(), u'r') + ext;
            const ProgramResult r =
                box.Run({u"render"_qs, u"-o"_qs, name, u"--size"_qs, u"48x24"_qs});
            ASSERT_TRUE(r.finished);
            const std::string what = std::to_string(length) + ext.toStdString();
            if (length <= 255) {
                EXPECT_EQ(r.exitCode, 0) << what << r.err.toStdString();
                EXPECT_TRUE(QFileInfo(box.Work() + u'/' + name).isFile()) << what;
                EXPECT_EQ(r.err, QByteArray()) << what;
            } else {
                EXPECT_EQ(r.exitCode, 1) << what;
                const QString err = QString::fromUtf8(r.err);
                EXPECT_TRUE(err.contains(ext == u".pdf" ? kPdfFailed : kOpenFailed)) << what;
                EXPECT_TRUE(err.contains(u"its name is 256 bytes long"_qs)) << err.toStdString();
            }
        }
    }
    ExpectNoTemporaries(box.Work());
    EXPECT_EQ(QDir(box.Work()).entryList(QDir::Files).size(), 3 * 7);
}

TEST(PdfOutput, TwoBatchesAtOnceEachWrapTheirOwnCharts)
{
    // Two runs of one user at different sizes: every PDF holds a JPEG of its own run's size.
    ProgramSandbox box;
    QByteArray csv;
    for (int i = 0; i < 30; ++i)
        csv += Record("r" + QByteArray::number(i));
    const QString input = box.Input(csv);
    const QString sizes[2] = {u"320x200"_qs, u"336x208"_qs};
    QProcess runs[2];
    for (int i = 0; i < 2; ++i) {
        runs[i].setProcessEnvironment(box.Environment());
        runs[i].setWorkingDirectory(box.Work());
        runs[i].start(QStringLiteral(BREVANT_BINARY),
                      {u"batch"_qs, input, u"--mode"_qs, u"together"_qs, u"--format"_qs,
                       u"pdf"_qs, u"--size"_qs, sizes[i], u"--out"_qs,
                       box.Work() + u"/out" + QString::number(i)});
    }
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(runs[i].waitForFinished(120000)) << i;
        EXPECT_EQ(runs[i].exitCode(), 0) << runs[i].readAllStandardError().toStdString();
    }
    for (int i = 0; i < 2; ++i) {
        const QString out = box.Work() + u"/out" + QString::number(i);
        const QStringList size = sizes[i].split(u'x');
        const QByteArray image = "/Width " + size[0].toLatin1() + "\n/Height " + size[1].toLatin1() + '\n';
        const QStringList pdfs = QDir(out).entryList({u"*.pdf"_qs}, QDir::Files);
        EXPECT_EQ(pdfs.size(), 30 * 3);
        int foreign = 0;
        for (const QString& pdf : pdfs)
            foreign += ReadAll(out + u'/' + pdf).contains(image) ? 0 : 1;
        EXPECT_EQ(foreign, 0) << sizes[i].toStdString();
    }
    // No scratch image is left in the user's cache either.
    const auto cache = brevant::test::Snapshot(box.Base() + u"/env/cache");
    for (auto it = cache.begin(); it != cache.end(); ++it)
        EXPECT_EQ(it.value(), QByteArray("<folder>")) << it.key().toStdString();
}

TEST(SummaryNames, CharactersCp932LacksAreReplacedOnDiskAndInTheSummaryAlike)
{
    const QByteArray names[] = {"Café", "한국어", "😀", "\xE2\x80\xA4" /* one-dot leader */,
                                "\xCC\x81" /* a lone accent */, "日本"};
    QByteArray csv;
    for (const QByteArray& name : names)
        csv += Record(name);
    {
        ProgramSandbox box;
        const ProgramResult r = box.Batch(box.Input(csv), u"together"_qs);
        ASSERT_TRUE(r.finished);
        // The leader and the lone accent would replace the emoji's charts: refused.
        EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
        const QString err = QString::fromUtf8(r.err);
        EXPECT_TRUE(err.contains(u"\n4行目: \u2024,"_qs) && err.contains(u"\n5行目: \u0301,"_qs))
            << r.err.toStdString();
        ExpectSummaryNamesExist(box.Out(), 4);
        const QStringList listed = SummaryNames(box.Out() + u"/BEP.csv");
        EXPECT_EQ(listed.value(0), u"Cafe_損益分岐点図表.bmp"_qs);
        EXPECT_EQ(listed.value(3), u"____損益分岐点図表.bmp"_qs);
        EXPECT_EQ(listed.value(6), u"__損益分岐点図表.bmp"_qs);
        EXPECT_EQ(listed.value(9), u"日本_損益分岐点図表.bmp"_qs);
    }
    {
        ProgramSandbox box;
        const ProgramResult r = box.Batch(box.Input(csv), u"folders"_qs);
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        QStringList folders = QDir(box.Out()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        folders.sort();
        // The emoji, the leader and the lone accent all become "_": one folder.
        EXPECT_EQ(folders, (QStringList{u"Cafe"_qs, u"_"_qs, u"___"_qs, u"日本"_qs}));
        for (const QString& folder : folders)
            ExpectSummaryNamesExist(box.Out() + u'/' + folder, 1);
    }
}

TEST(InputEncoding, AutoChoosesUtf8WhenValidAndTheOptionDecides)
{
    // "ﾃｽ" in CP932 is C3 BD, which is also "ý" in UTF-8; "損益" in CP932 is not UTF-8.
    const QByteArray both = Record("\xC3\xBD");
    const QByteArray sjis = Record("\x91\xB9\x89\x76");
    const QByteArray bom = "\xEF\xBB\xBF" + Record("\xE6\x90\x8D\xE7\x9B\x8A");
    const struct {
        QByteArray csv;
        QString encoding;
        QString folder;
    } cases[] = {
        {both, u"auto"_qs, u"y"_qs},     // ý as CP932 can name it
        {both, u"utf-8"_qs, u"y"_qs},
        {both, u"cp932"_qs, u"ﾃｽ"_qs},
        {sjis, u"auto"_qs, u"損益"_qs},
        {sjis, u"cp932"_qs, u"損益"_qs},
        {bom, u"auto"_qs, u"損益"_qs},
        {bom, u"utf-8"_qs, u"損益"_qs},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << (&c - cases));
        ProgramSandbox box;
        const ProgramResult r = box.Batch(box.Input(c.csv), u"folders"_qs, 60000,
                                          {u"--encoding"_qs, c.encoding});
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_EQ(QDir(box.Out()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                  QStringList{c.folder})
            << c.encoding.toStdString() << ' ' << c.csv.toHex().toStdString();
    }
    ProgramSandbox box;
    const ProgramResult r =
        box.Batch(box.Input(both), u"folders"_qs, 60000, {u"--encoding"_qs, u"shift-jis"_qs});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("--encoding is auto, utf-8 or cp932")) << r.err.toStdString();
}

TEST(Terminal, OnlyTheProgramsOwnWordsInTheLocalesText)
{
    ProgramSandbox box;
    // As under cron or in a container: no runtime folder, no display.
    box.Environment().remove(u"XDG_RUNTIME_DIR"_qs);
    box.Environment().remove(u"DISPLAY"_qs);
    box.Environment().remove(u"QT_QPA_PLATFORM"_qs);
    // Target sales 0: refused before anything is written.
    const QString input = box.Input("zero,1000,0,300,25\n");
    for (const char* locale : {"C.UTF-8", "C"}) {
        box.Environment().insert(u"LANG"_qs, QString::fromLatin1(locale));
        box.Environment().insert(u"LC_ALL"_qs, QString::fromLatin1(locale));
        const std::string what = locale;

        ProgramResult r = box.Run({u"calc"_qs, u"1000,500,300,25"_qs});
        EXPECT_EQ(r.exitCode, 0) << what;
        EXPECT_EQ(r.err, QByteArray()) << what;
        EXPECT_TRUE(r.out.startsWith(u"変動費率,"_qs.toUtf8())) << what;

        r = box.Run({u"render"_qs, u"-o"_qs, u"a.png"_qs, u"--size"_qs, u"48x24"_qs});
        EXPECT_EQ(r.exitCode, 0) << what;
        EXPECT_EQ(r.err, QByteArray()) << what;

        // The C locale gets the Japanese messages in UTF-8 too (see EncodeForCodeset).
        r = box.Batch(input, u"folders"_qs);
        EXPECT_EQ(r.exitCode, 1) << what;
        EXPECT_EQ(r.err, u"zero,1000,0,300,25\n値に0を設定することはできません\n"_qs.toUtf8())
            << what << r.err.toStdString();
        EXPECT_EQ(r.out, QByteArray()) << what;
    }
}

TEST(Terminal, ProgressLineOnlyOnATerminalAndNotWhenQuiet)
{
    ProgramSandbox box;
    QByteArray csv;
    for (int i = 0; i < 40; ++i)
        csv += Record("r" + QByteArray::number(i));
    const QString input = box.Input(csv);
    const auto shell = [](const QStringList& words) {
        QStringList quoted;
        for (const QString& w : words)
            quoted += u'\'' + w + u'\'';
        return quoted.join(u' ');
    };
    const QStringList batch{QStringLiteral(BREVANT_BINARY), u"batch"_qs, input, u"--mode"_qs,
                            u"folders"_qs, u"--out"_qs, box.Out(), u"--format"_qs, u"bmp"_qs,
                            u"--size"_qs, u"48x24"_qs, u"--overwrite"_qs};
    for (const bool quiet : {false, true}) {
        const QStringList command = quiet ? batch + QStringList{u"--quiet"_qs} : batch;
        // script gives the program a pseudo-terminal as its standard streams.
        QProcess script;
        script.setProcessEnvironment(box.Environment());
        script.start(u"script"_qs, {u"-qec"_qs, shell(command), u"/dev/null"_qs});
        ASSERT_TRUE(script.waitForFinished(60000));
        EXPECT_EQ(script.exitCode(), 0);
        const QByteArray seen = script.readAllStandardOutput();
        if (quiet) {
            EXPECT_FALSE(seen.contains("records")) << seen.toStdString();
        } else {
            EXPECT_TRUE(seen.contains("\r40/40 records, ")) << seen.toStdString();
            // Cleared before the output folder is printed.
            EXPECT_TRUE(seen.contains(QByteArray(QByteArray("\r") + QFile::encodeName(box.Out())))) << seen.toStdString();
        }
    }
    // Redirected: no progress line.
    QDir(box.Out()).removeRecursively();
    const ProgramResult r = box.Batch(input, u"folders"_qs);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, QByteArray());
}

TEST(ExitStatus, DoneFailedUsageAndTheHelpSaysSo)
{
    ProgramSandbox box;
    EXPECT_EQ(box.Run({u"calc"_qs, u"1000,500,300,25"_qs}).exitCode, 0);
    EXPECT_EQ(box.Run({u"calc"_qs, u",1,2,3"_qs}).exitCode, 1);
    EXPECT_EQ(box.Run({u"calc"_qs}).exitCode, 2);
    EXPECT_EQ(box.Run({u"batch"_qs}).exitCode, 2);
    EXPECT_EQ(box.Run({u"render"_qs}).exitCode, 2);
    const ProgramResult help = box.Run({u"--help"_qs});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("Exit status: 0 done, 1 failed")) << help.out.toStdString();
    const ProgramResult batchHelp = box.Run({u"batch"_qs, u"--help"_qs});
    for (const char* option : {"--encoding", "--quiet", "Exit status"})
        EXPECT_TRUE(batchHelp.out.contains(option)) << option;
    EXPECT_TRUE(box.Run({u"calc"_qs, u"--help"_qs}).out.contains("--json"));
    // Every help fits a terminal of 80 columns without touching its last one (a Japanese
    // character takes two).
    const QStringList helps[] = {{u"--help"_qs},
                                 {u"batch"_qs, u"--help"_qs},
                                 {u"calc"_qs, u"--help"_qs},
                                 {u"render"_qs, u"--help"_qs}};
    for (const QStringList& args : helps) {
        for (const QString& line : QString::fromUtf8(box.Run(args).out).split(u'\n')) {
            int columns = 0;
            for (QChar c : line)
                columns += c.unicode() >= 0x2E80 && c.unicode() <= 0xFFEF ? 2 : 1;
            EXPECT_LE(columns, 79) << args.join(u' ').toStdString() << ": " << line.toStdString();
        }
    }

    const ProgramResult json = box.Run({u"calc"_qs, u"--json"_qs, u"1000,500,300,100"_qs});
    EXPECT_EQ(json.exitCode, 0);
    const QJsonObject figures = QJsonDocument::fromJson(json.out).object();
    EXPECT_TRUE(figures[u"breakEvenPoint"].toObject()[u"yen"].isNull()) << json.out.toStdString();
    EXPECT_EQ(figures[u"breakEvenPoint"].toObject()[u"label"].toString(), u"∞"_qs);
    EXPECT_EQ(figures[u"maxSales"].toObject()[u"yen"].toDouble(), 1000.0);
}

TEST(ScenarioArgument, TheProgramGivenAScenarioFileOpensTheWindowOnIt)
{
    ProgramSandbox box;
    ASSERT_EQ(box.Run({u"calc"_qs, u"--scenario-out"_qs, u"plan.brevant"_qs,
                       u"154321000,125678900,49605558,56.13"_qs})
                  .exitCode,
              0);
    // The window paints its first picture and leaves at once, writing no settings.
    box.Environment().insert(u"BREVANT_EXIT_AT_FIRST_PAINT"_qs, u"1"_qs);
    const ProgramResult opened = box.Run({box.Work() + u"/plan.brevant"_qs});
    EXPECT_EQ(opened.exitCode, 0) << opened.err.toStdString();
    EXPECT_EQ(opened.out, "painted\n");
    // Any other single word is still a usage error.
    EXPECT_EQ(box.Run({u"plan.csv"_qs}).exitCode, 2);
}
