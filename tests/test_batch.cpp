#include "app/text_util.h"
#include "output/batch.h"
#include "output/batch_file.h"
#include "res/string_table.h"
#include "support/fake_platform.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace brevant;
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
        {filler + QStringLiteral("あ").toUtf8(), true, QString::fromLatin1(filler) + u"あ"},
        // Pure ASCII reads the same either way.
        {"a,1,2,3,4\n", true, QStringLiteral("a,1,2,3,4")},
    };
    for (const auto& c : cases) {
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

TEST(BatchFile, MissingFileDoesNotOpen)
{
    QTemporaryDir dir;
    BatchFile file(dir.filePath(QStringLiteral("none.csv")));
    EXPECT_FALSE(file.Open());
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
        // Blank maximum: the default from the break-even point 58,666,666.67.
        {u"a,,70000000,44000000,25", u"a", 81333333.333333343, 70000000, 44000000, 2500, 0},
        {u"a,0,70000000,44000000,25", u"a", 81333333.333333343, 70000000, 44000000, 2500, 0},
        // The ratio is truncated and not clamped.
        {u"b,1000,500,300,0.29", u"b", 1000, 500, 300, 28, 0},
        {u"b,1000,500,300,150", u"b", 1000, 500, 300, 15000, 0},
        {u" sp ,1e3, 500yen,-5,abc", u" sp ", 1000, 500, -5, 0, 0},
        {u",1000,1000,1000,10", u"", 1000, 1000, 1000, 1000, 0},
        // A header line: target sales is not a number. Maximum sales is already stored.
        {u"名前,最大売上高,目標売上高,固定費,変動費率", nullptr, 0, 1, 0, 2500,
         IDS_ZERO_VALUE},
        {u"c,100,0,10,10", nullptr, 100, 1, 0, 2500, IDS_ZERO_VALUE},
        {u"d,100,200,10,10", nullptr, 100, 200, 10, 1000, IDS_MAX_BELOW_TARGET},
        {u"e,100,50,101,10", nullptr, 100, 50, 101, 1000, IDS_MAX_BELOW_FIXED},
        // Checked after the default maximum: a negative ratio gives the point 300 / 2 = 150
        // and the maximum 10 + 140 * 2 = 290, below the fixed costs.
        {u"f,,10,300,-100", nullptr, 290, 10, 300, -10000, IDS_MAX_BELOW_FIXED},
    };
    for (const auto& c : cases) {
        const QString line = QString::fromUtf16(c.line);
        QTemporaryDir dir;
        FakePlatform platform(dir.path());
        BepInputs in{1, 1, 0, 2500, 0};
        const auto folder = ParseBatchRecord(in, platform, line);
        EXPECT_EQ(folder.has_value(), c.folder != nullptr) << line.toStdString();
        if (folder && c.folder) {
            EXPECT_EQ(*folder, QString::fromUtf16(c.folder));
        }
        EXPECT_DOUBLE_EQ(in.maxSales, c.maxSales) << line.toStdString();
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

TEST(HasFiveFields, CountsCommas)
{
    EXPECT_TRUE(HasFiveFields(QStringLiteral(",,,,")));
    EXPECT_TRUE(HasFiveFields(QStringLiteral("a,1,2,3,4")));
    EXPECT_FALSE(HasFiveFields(QString()));
    EXPECT_FALSE(HasFiveFields(QStringLiteral("a,1,2,3")));
    EXPECT_FALSE(HasFiveFields(QStringLiteral("a,1,2,3,4,")));
    EXPECT_FALSE(HasFiveFields(QStringLiteral("a，1,2,3,4")));
}
