// Hostile batch files through the real program: names that try to leave the output
// folder, a file that is one enormous line, thousands of records with absurd amounts, and
// inputs that are no files. Nothing may land outside the output folder, nothing may hang,
// and memory must stay small.

#include "support/fault_helpers.h"
#include "support/file_helpers.h"
#include "support/program_sandbox.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QUuid>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>

using brevant::test::FifoRescue;
using brevant::test::MakeFifo;
using brevant::test::MakeZeroDevice;
using brevant::test::ReadAll;
using brevant::test::Snapshot;
using brevant::test::WriteAll;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

const QString kFieldCount = QStringLiteral("フィールド数が5個ありません");
const QString kOpenFailed = QStringLiteral("ファイルのオープン失敗しました");
const QString kStopped = QStringLiteral("stopped the batch");
const QString kTitles[3] = {QStringLiteral("損益分岐点図表"), QStringLiteral("損益分岐点指数図表"),
                            QStringLiteral("損益分岐点・指数図表")};

using Result = brevant::test::ProgramResult;
using Sandbox = brevant::test::ProgramSandbox;

QStringList ChartFiles(const QString& prefix)
{
    QStringList files;
    for (const QString& t : kTitles)
        files.append(prefix + t + u".bmp");
    return files;
}

bool HasControlBytes(const QByteArray& text)
{
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if ((u < 0x20 && u != '\n' && u != '\t') || u == 0x7F)
            return true;
    }
    return false;
}

} // namespace

TEST(HostileBatch, NamesNeverLeaveTheOutputRoot)
{
    const QByteArray id = QUuid::createUuid().toByteArray(QUuid::Id128).left(12);
    const QByteArray escape = "brevant-escape-" + id;
    const QString absolute = QDir::tempPath() + u"/brevant-abs-" + QString::fromLatin1(id);
    struct Case {
        QByteArray name;
        bool usableFolder; // a folder of this name can be made inside the output root
    } cases[] = {
        {"../" + escape, false},
        {"../../" + escape, false},
        {"../../../" + escape, false},
        {"sub/../../" + escape, false},
        {QFile::encodeName(absolute), false},
        {"/", false},
        {".", false},
        {"..", false},
        {QByteArray("nul\0byte", 8), false},
        {QByteArray(10000, 'n'), false},
        {"ctl\x01\x02\x07\x08\x0b\x0c\x0e\x1b[31m\x1f\x7f\rend", true},
        {" ~ ", true},
    };
    QByteArray all;
    for (const auto& c : cases) {
        const QByteArray record = c.name + ",1000,500,300,25\n";
        all += record;
        Sandbox box;
        const Result r = box.Batch(box.Input(record), u"folders"_qs);
        const std::string what = c.name.left(40).toStdString();
        ASSERT_TRUE(r.finished) << what;
        EXPECT_EQ(box.Escaped(), QStringList()) << what;
        EXPECT_FALSE(HasControlBytes(r.err)) << what;
        if (c.usableFolder) {
            EXPECT_EQ(r.exitCode, 0) << what << r.err.toStdString();
            const QString folder = box.Out() + u'/' + QString::fromUtf8(c.name);
            EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 4) << what;
        } else {
            // Refused as a name the file system refuses, and the command line says so; a
            // name too long for it gets the message for a file that cannot be opened.
            EXPECT_EQ(r.exitCode, 1) << what;
            const QString err = QString::fromUtf8(r.err);
            EXPECT_TRUE(err.contains(c.name.size() > 255 ? kOpenFailed : kStopped))
                << what << r.err.toStdString();
            EXPECT_EQ(Snapshot(box.Out()), (QMap<QString, QByteArray>())) << what;
        }
    }

    // All together: every name becomes a file-name prefix. A record whose prefix does not
    // make one file name is refused with its line and left out of the summary, which
    // names only files that exist; the others are written and the batch fails.
    Sandbox box;
    const Result r = box.Batch(box.Input(all), u"together"_qs);
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(r.err).count(kOpenFailed), 8) << r.err.toStdString();
    EXPECT_EQ(box.Escaped(), QStringList());
    QStringList expected{u"BEP.csv"_qs};
    for (const QByteArray& name : {QByteArray("."), QByteArray(".."),
                                   QByteArray(cases[10].name), QByteArray(" ~ ")})
        expected += ChartFiles(QString::fromUtf8(name) + u'_');
    expected.sort();
    EXPECT_EQ(box.OutFiles(), expected);
    EXPECT_EQ(ReadAll(box.Out() + u"/BEP.csv").count("\r\n"), 5);

    for (const QString& outside : QStringList{box.Outside() + u'/' + QString::fromLatin1(escape), absolute})
        EXPECT_FALSE(QFileInfo::exists(outside)) << outside.toStdString();
}

TEST(HostileBatch, ControlCharactersInMessagesReachNoTerminal)
{
    Sandbox box;
    // Target sales 0: the line is shown before the message.
    const Result r =
        box.Batch(box.Input("\x1b]0;owned\x07\x1b[2J,1000,0,300,25\n"), u"folders"_qs);
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(HasControlBytes(r.err));
    EXPECT_TRUE(r.err.startsWith("?]0;owned??[2J,1000,0,300,25\n")) << r.err.toStdString();
}

TEST(HostileBatch, OneEnormousLineCostsLittleMemory)
{
    // 50 MB without a line end; its start looks like a record.
    const QByteArray line = "n,1000,500,300," + QByteArray(50 << 20, '9');
    for (const QString& mode : {u"folders"_qs, u"together"_qs}) {
        Sandbox box;
        const Result r = box.Batch(box.Input(line), mode);
        ASSERT_TRUE(r.finished) << mode.toStdString();
        EXPECT_EQ(box.Escaped(), QStringList());
        // Refused as no record, with its start shown, not all of it.
        EXPECT_TRUE(QString::fromUtf8(r.err).contains(kFieldCount)) << mode.toStdString();
        EXPECT_LT(r.err.size(), 100000) << mode.toStdString();
        // Holding the line whole took several hundred megabytes; a normal run takes a few
        // dozen (the sanitizer's shadow memory and quarantine add their share).
        EXPECT_GT(r.peakKb, 0) << mode.toStdString();
        EXPECT_LT(r.peakKb, kSanitized ? 400 * 1024 : 120 * 1024) << mode.toStdString();
        if (mode == u"folders") {
            EXPECT_EQ(r.exitCode, 1);
            EXPECT_TRUE(box.OutFiles().isEmpty());
        } else {
            EXPECT_EQ(r.exitCode, 0);
            EXPECT_EQ(box.OutFiles(), QStringList{u"BEP.csv"_qs});
            EXPECT_TRUE(ReadAll(box.Out() + u"/BEP.csv").isEmpty());
        }
    }
}

TEST(HostileBatch, ThousandsOfRecordsWithAbsurdAmounts)
{
    // Each record costs a few milliseconds, mostly in flushing its files to disk; the
    // sanitizer build makes do with a tenth.
    const int records = kSanitized ? 500 : 5000;
    QByteArray csv = "inf,1e309,1e309,1e309,50\n"
                     "neg,-1e300,-1e300,-1e300,50\n"
                     "tiny,1e-300,1e-300,0,99.99\n"
                     "ratio,1e300,1e300,1e300,1e300\n"
                     "negratio,1e300,1e300,1e300,-1e300\n"
                     "zero,0,1e300,0,100\n";
    for (int n = 6; n < records; ++n)
        csv += "r" + QByteArray::number(n) + ",1e300,1e300,1e300,50\n";
    Sandbox box;
    const Result r = box.Batch(box.Input(csv), u"together"_qs, 280000);
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 0) << r.err.left(2000).toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.left(2000).toStdString();
    EXPECT_EQ(box.Escaped(), QStringList());
    EXPECT_EQ(box.OutFiles().size(), 3 * records + 1);
    const QByteArray summary = ReadAll(box.Out() + u"/BEP.csv");
    EXPECT_EQ(summary.count("\r\n"), records + 1);
    // 1e300 yen written as 1000 times the figure, in full.
    EXPECT_TRUE(summary.contains("\r\n50.00,50.00,1000000000000000000"));
}

TEST(HostileBatch, InputThatIsNoFileIsRefusedAtOnce)
{
    struct Case {
        const char* what;
        std::function<QString(const QString& work)> make;
    } cases[] = {
        {"a folder",
         [](const QString& work) {
             QDir().mkpath(work + u"/folder.csv");
             return work + u"/folder.csv";
         }},
        {"a FIFO",
         [](const QString& work) {
             MakeFifo(work + u"/fifo.csv");
             return work + u"/fifo.csv";
         }},
        {"a device",
         [](const QString& work) {
             return MakeZeroDevice(work + u"/zero.csv") ? work + u"/zero.csv" : u"/dev/zero"_qs;
         }},
    };
    for (const auto& c : cases) {
        for (const QString& mode : {u"folders"_qs, u"together"_qs}) {
            Sandbox box;
            const QString input = c.make(box.Work());
            FifoRescue rescue(input, std::chrono::seconds(20));
            const Result r = box.Batch(input, mode, 30000);
            EXPECT_FALSE(rescue.Rescued()) << c.what << ": blocked on the input";
            ASSERT_TRUE(r.finished) << c.what;
            EXPECT_EQ(r.exitCode, 1) << c.what;
            EXPECT_TRUE(QString::fromUtf8(r.err).contains(kOpenFailed)) << c.what;
            EXPECT_FALSE(QFileInfo::exists(box.Out())) << c.what; // --out is not made
            EXPECT_EQ(box.Escaped(), QStringList()) << c.what;
        }
    }
}
