#include "profile_store.h"
#include "settings.h"
#include "cli_commands.h"
#include "string_table.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace brevant;

namespace {

QStringList Args(std::initializer_list<const char*> list)
{
    QStringList args{u"brevant"_qs};
    for (const char* a : list)
        args.append(QString::fromUtf8(a));
    return args;
}

QString WriteCsv(const QTemporaryDir& dir, const QByteArray& bytes)
{
    const QString path = dir.filePath(u"in.csv"_qs);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

} // namespace

TEST(CalcCommand, PrintsTheSummaryForTheFigures)
{
    MemoryProfileStore store;
    QString out;
    EXPECT_EQ(RunCalcCommand(Args({"calc", "154321000,125678900,49605558,56.13"}), store, out), 0);
    EXPECT_EQ(out, u"変動費率,限界利益率,固定費,損益分岐点,目標売上高,目標営業利益,"
                   u"図表1ファイル名,図表2ファイル名,図表3ファイル名\n"
                   u"56.13,43.87,49605558000,113073986779,125678900000,12604913221,"
                   u"損益分岐点図表.jpeg,損益分岐点指数図表.jpeg,損益分岐点・指数図表.jpeg\n"_qs);

    // Titles, format and a ratio not given come from the saved settings.
    store.WriteString(kSection, u"Title1"_qs, QString());
    store.WriteInt(kSection, u"OutSaki"_qs, kPdf);
    store.WriteInt(kSection, u"Ritsu"_qs, 5000);
    out.clear();
    EXPECT_EQ(RunCalcCommand(Args({"calc", "1000,500,100"}), store, out), 0);
    EXPECT_TRUE(out.endsWith(u"\n50.00,50.00,100000,200000,500000,300000,"
                             u"損益分岐点図表.pdf,図表2.pdf,損益分岐点・指数図表.pdf\n"_qs))
        << out.toStdString();
}

TEST(CalcCommand, WrongFiguresAndUsage)
{
    MemoryProfileStore store;
    QString out;
    EXPECT_EQ(RunCalcCommand(Args({"calc", ",1,2,3"}), store, out), 1);
    EXPECT_EQ(RunCalcCommand(Args({"calc"}), store, out), 2);
    EXPECT_EQ(RunCalcCommand(Args({"calc", "1,2,3,4", "5"}), store, out), 2);
    EXPECT_TRUE(out.isEmpty());
    EXPECT_EQ(RunCalcCommand(Args({"calc", "--help"}), store, out), 0);
    EXPECT_TRUE(out.startsWith(u"Usage: brevant calc"_qs));
}

TEST(BatchCommand, WrongUsage)
{
    QTemporaryDir dir;
    const QByteArray csv = WriteCsv(dir, "A,1000,500,300,25\n").toUtf8();
    MemoryProfileStore store;
    const std::initializer_list<const char*> cases[] = {
        {"batch", csv.constData()},
        {"batch", csv.constData(), "--mode", "single"},
        {"batch", "--mode", "folders"},
        {"batch", csv.constData(), csv.constData(), "--mode", "folders"},
        {"batch", csv.constData(), "--mode", "folders", "--size", "960"},
        {"batch", csv.constData(), "--mode", "folders", "--format", "jpg"},
        {"batch", csv.constData(), "--mode", "folders", "--colour", "red"},
        {"batch", csv.constData(), "--mode", "folders", "--jobs", "0"},
        {"batch", csv.constData(), "--mode", "folders", "--jobs", "two"},
        {"batch", csv.constData(), "--mode", "folders", "--jobs", "257"},
    };
    for (const auto& args : cases) {
        QString out;
        EXPECT_EQ(RunBatchCommand(Args(args), store, out), 2) << Args(args).join(u' ').toStdString();
        EXPECT_TRUE(out.isEmpty());
    }
}

TEST(BatchCommand, WritesIntoTheGivenFolder)
{
    QTemporaryDir dir;
    const QByteArray csv = WriteCsv(dir, "A,1000,500,300,25\nB,1000,600,300,25\n").toUtf8();
    const QByteArray outDir = dir.filePath(u"out"_qs).toUtf8();
    MemoryProfileStore store;
    QString out;
    EXPECT_EQ(RunBatchCommand(Args({"batch", csv.constData(), "--mode", "together", "--out",
                                    outDir.constData(), "--format", "bmp", "--size", "500x210",
                                    "--jobs", "3"}),
                              store, out),
              0);
    EXPECT_EQ(out, QString::fromUtf8(outDir) + u'\n');
    EXPECT_EQ(QImage(QString::fromUtf8(outDir) + u"/B_損益分岐点指数図表.bmp").size(),
              QSize(500, 210));
    EXPECT_TRUE(QFile::exists(QString::fromUtf8(outDir) + u"/BEP.csv"));
}

TEST(BatchCommand, ExistingFoldersOnlyWithOverwrite)
{
    QTemporaryDir dir;
    const QByteArray csv = WriteCsv(dir, "A,1000,500,300,25\n").toUtf8();
    const QByteArray outDir = dir.filePath(u"out"_qs).toUtf8();
    ASSERT_TRUE(QDir().mkpath(QString::fromUtf8(outDir) + u"/A"));
    MemoryProfileStore store;
    store.WriteInt(kSection, u"OutSaki"_qs, kPng);
    QString out;
    const auto args = Args({"batch", csv.constData(), "--mode", "folders", "--out",
                            outDir.constData(), "--size", "480x200"});
    EXPECT_EQ(RunBatchCommand(args, store, out), 1);
    EXPECT_FALSE(QFile::exists(QString::fromUtf8(outDir) + u"/A/BEP.csv"));
    EXPECT_EQ(RunBatchCommand(args + QStringList{u"--overwrite"_qs}, store, out), 0);
    EXPECT_TRUE(QFile::exists(QString::fromUtf8(outDir) + u"/A/損益分岐点図表.png"));
}

TEST(BatchCommand, SavedFormatOutsideTheTableNeedsFormat)
{
    QTemporaryDir dir;
    const QByteArray csv = WriteCsv(dir, "A,1000,500,300,25\n").toUtf8();
    const QByteArray outDir = dir.filePath(u"out"_qs).toUtf8();
    MemoryProfileStore store;
    store.WriteInt(kSection, u"OutSaki"_qs, 9);
    QString out;
    EXPECT_EQ(RunBatchCommand(Args({"batch", csv.constData(), "--mode", "together", "--out",
                                    outDir.constData()}),
                              store, out),
              1);
    EXPECT_FALSE(QFile::exists(QString::fromUtf8(outDir)));
}
