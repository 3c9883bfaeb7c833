#include "profile_store.h"
#include "settings.h"
#include "batch_command.h"
#include "calc_command.h"
#include "cli_common.h"
#include "progress_line.h"
#include "render_command.h"
#include "string_table.h"
#include "analysis.h"
#include "text_util.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <cstring>
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
        SCOPED_TRACE(testing::Message() << "row " << (&args - cases));
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

TEST(CommandLine, AnArgumentNotUnderstoodIsNamedBeforeTheUsage)
{
    struct Case {
        QStringList args;
        const char* first; // the first line on standard error
    } cases[] = {
        {{u"foo"_qs}, "brevant: unknown command 'foo'"},
        {{u"--frobnicate"_qs}, "brevant: unknown option '--frobnicate'"},
        {{u"--version"_qs, u"extra"_qs}, "brevant: unexpected argument 'extra'"},
        {{u"\x1b[2Jfoo"_qs}, "brevant: unknown command '?[2Jfoo'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << (&c - cases));
        QProcess process;
        process.start(QStringLiteral(BREVANT_BINARY), c.args);
        ASSERT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitCode(), 2) << c.first;
        EXPECT_TRUE(process.readAllStandardOutput().isEmpty()) << c.first;
        const QList<QByteArray> lines = process.readAllStandardError().split('\n');
        ASSERT_GE(lines.size(), 3) << c.first;
        EXPECT_EQ(lines[0], QByteArray(c.first));
        EXPECT_TRUE(lines[1].startsWith("Brevant ")) << lines[1].constData();
    }
}

TEST(CalcCommand, JsonHasYenWordsAndLabelsAndNullForNonFiniteAmounts)
{
    MemoryProfileStore store;
    QString out;
    ASSERT_EQ(RunCalcCommand(Args({"calc", "--json", "154321000,125678900,49605558,56.13"}),
                             store, out),
              0);
    const QJsonObject json = QJsonDocument::fromJson(out.toUtf8()).object();
    const QJsonObject bep = json[u"breakEvenPoint"].toObject();
    // Yen, not the summary's thousandfold column.
    EXPECT_NEAR(bep[u"yen"].toDouble(), 113073986.779, 0.001);
    EXPECT_EQ(bep[u"words"].toString(), u"1億1307万3987円"_qs);
    EXPECT_EQ(bep[u"label"].toString(), u"113,073,987"_qs);
    EXPECT_EQ(json[u"maxSales"].toObject()[u"words"].toString(), u"1億5432万1000円"_qs);
    EXPECT_EQ(json[u"fixedCosts"].toObject()[u"yen"].toDouble(), 49605558.0);
    EXPECT_DOUBLE_EQ(json[u"variableCostRatioPercent"].toDouble(), 56.13);
    EXPECT_DOUBLE_EQ(json[u"marginalProfitRatioPercent"].toDouble(), 43.87);

    // A ratio of 100 %: no break-even point. Target above it: a loss in words.
    const QJsonObject none = FiguresJson(BepInputs{1000, 500, 300, 10000, 0});
    EXPECT_TRUE(none[u"breakEvenPoint"].toObject()[u"yen"].isNull());
    EXPECT_TRUE(none[u"breakEvenPoint"].toObject()[u"words"].isNull());
    EXPECT_EQ(none[u"breakEvenPoint"].toObject()[u"label"].toString(), u"∞"_qs);
    EXPECT_EQ(none[u"targetOperatingProfit"].toObject()[u"label"].toString(), u"-∞"_qs);
    const QJsonObject nan = FiguresJson(BepInputs{1000, 500, 0, 10000, 0});
    EXPECT_EQ(nan[u"breakEvenPoint"].toObject()[u"label"].toString(), u"―"_qs);
    const QJsonObject loss = FiguresJson(BepInputs{100000, 20000, 30000, 5000, 0});
    EXPECT_EQ(loss[u"targetOperatingProfit"].toObject()[u"yen"].toDouble(), -40000.0);
    EXPECT_EQ(loss[u"targetOperatingProfit"].toObject()[u"words"].toString(), u"-4万円"_qs);

    out.clear();
    EXPECT_EQ(RunCalcCommand(Args({"calc", "--json"}), store, out), 2);
    EXPECT_EQ(RunCalcCommand(Args({"calc", "--jsn", "1,1,1,1"}), store, out), 2);
}

TEST(BatchCommand, ProgressTextAndEncodingNames)
{
    EXPECT_EQ(ProgressText(0, 5000, 0), u"0/5000 records"_qs);
    EXPECT_EQ(ProgressText(100, 5000, 2.0), u"100/5000 records, 50.0/s, 1:38 left"_qs);
    EXPECT_EQ(ProgressText(10, 40000, 1.0), u"10/40000 records, 10.0/s, 1:06:39 left"_qs);
    EXPECT_EQ(ProgressText(5000, 5000, 60.0), u"5000/5000 records, 83.3/s, 0:00 left"_qs);

    EXPECT_EQ(ParseEncodingName(u"auto"_qs), BatchEncoding::Auto);
    EXPECT_EQ(ParseEncodingName(u"utf-8"_qs), BatchEncoding::Utf8);
    EXPECT_EQ(ParseEncodingName(u"cp932"_qs), BatchEncoding::Cp932);
    EXPECT_FALSE(ParseEncodingName(u"sjis"_qs));
    MemoryProfileStore store;
    QString out;
    EXPECT_EQ(RunBatchCommand(Args({"batch", "x.csv", "--mode", "folders", "--encoding",
                                    "latin1"}),
                              store, out),
              2);
}

TEST(CalcCommand, AnalysisAsTextAndInTheJson)
{
    MemoryProfileStore store;
    // T = 10,000,000, F = 3,000,000, v = 40 %: B = 5,000,000, margin of safety 50 %,
    // operating leverage 6,000,000 / 3,000,000 = 2.
    QString out;
    ASSERT_EQ(RunCalcCommand(Args({"calc", "--analysis", "20000000,10000000,3000000,40"}), store,
                             out),
              0);
    EXPECT_EQ(out, AnalysisText(BepInputs{20000000, 10000000, 3000000, 4000, 0}));
    EXPECT_TRUE(out.contains(u"安全余裕率"_qs));
    EXPECT_TRUE(out.contains(u"感度分析"_qs));

    out.clear();
    ASSERT_EQ(RunCalcCommand(Args({"calc", "--analysis", "--json", "20000000,10000000,3000000,40"}),
                             store, out),
              0);
    const QJsonObject analysis =
        QJsonDocument::fromJson(out.toUtf8()).object()[u"analysis"_qs].toObject();
    EXPECT_EQ(analysis[u"marginOfSafetyPercent"_qs].toDouble(), 50);
    EXPECT_EQ(analysis[u"operatingLeverage"_qs].toDouble(), 2);
    EXPECT_EQ(analysis[u"sensitivity"_qs].toArray().size(), 10);

    // A ratio of 100 %: the figures that do not exist are null, never NaN.
    out.clear();
    ASSERT_EQ(RunCalcCommand(Args({"calc", "--json", "20000000,10000000,0,100"}), store, out), 0);
    const QJsonObject none =
        QJsonDocument::fromJson(out.toUtf8()).object()[u"analysis"_qs].toObject();
    EXPECT_TRUE(none[u"breakEvenSales"_qs].isNull());
    EXPECT_TRUE(none[u"operatingLeverage"_qs].isNull());
    EXPECT_FALSE(out.contains(u"nan"_qs, Qt::CaseInsensitive));

    EXPECT_EQ(RunCalcCommand(Args({"calc", "--analysis"}), store, out), 2);
    EXPECT_EQ(RunCalcCommand(Args({"calc", "--analyse", "1,1,1,1"}), store, out), 2);
}

TEST(BatchCommand, AnalysisBesideEverySummary)
{
    QTemporaryDir dir;
    // A: T = 500, F = 300, v = 25 %: B = 400, margin of safety 20 %, B / T = 80 %,
    // leverage 375 / 75 = 5. B: v = 100 %, no break-even point nor ratios to it; the
    // leverage M / P = 0 / −300 = 0.
    const QByteArray csv = WriteCsv(dir, "A,1000,500,300,25\nB,1000,600,300,100\n").toUtf8();
    const QString header = u"名称,最大売上高,目標売上高,固定費,変動費率,損益分岐点売上高,"
                           u"安全余裕率,損益分岐点比率,経営レバレッジ係数\r\n"_qs;
    const QString rowA = u"A,1000,500,300,25.00,400,20.00,80.00,5.00\r\n"_qs;
    const QString rowB = u"B,1000,600,300,100.00,―,―,―,0.00\r\n"_qs;
    const auto read = [](const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? FromCp932(f.readAll()) : QString();
    };
    MemoryProfileStore store;
    QString out;
    for (const char* mode : {"together", "folders"}) {
        const QByteArray outDir = dir.filePath(QString::fromLatin1(mode)).toUtf8();
        ASSERT_EQ(RunBatchCommand(Args({"batch", csv.constData(), "--mode", mode, "--out",
                                        outDir.constData(), "--format", "bmp", "--size",
                                        "300x200", "--analysis"}),
                                  store, out),
                  0)
            << mode;
        const QString root = QString::fromUtf8(outDir);
        if (std::strcmp(mode, "together") == 0) {
            EXPECT_EQ(read(root + u"/analysis.csv"), header + rowA + rowB);
        } else {
            EXPECT_EQ(read(root + u"/A/analysis.csv"), header + rowA);
            EXPECT_EQ(read(root + u"/B/analysis.csv"), header + rowB);
        }
    }
    // Without the option there is none.
    const QByteArray plain = dir.filePath(u"plain"_qs).toUtf8();
    ASSERT_EQ(RunBatchCommand(Args({"batch", csv.constData(), "--mode", "together", "--out",
                                    plain.constData(), "--format", "bmp", "--size", "300x200"}),
                              store, out),
              0);
    EXPECT_FALSE(QFile::exists(QString::fromUtf8(plain) + u"/analysis.csv"));
}

TEST(ScenarioOption, RenderAndCalcTakeTheScenarioAsTheSavedSettingsWouldGiveIt)
{
    QTemporaryDir dir;
    // The settings a scenario stands for, saved in one profile; another profile holds other
    // figures and style, and gets the scenario through --scenario-out and --scenario.
    StoredSettings plan;
    plan.style.titles[0] = u"今年の計画"_qs;
    plan.style.colors[kSalesLine] = Rgb(200, 10, 30);
    plan.style.drawGraph = {1, 0, 1};
    plan.amountTexts = {u"154321000"_qs, u"125678900"_qs, u"49605558"_qs};
    plan.ratio = 5613;
    MemoryProfileStore planStore, otherStore;
    SaveSettings(planStore, plan);
    SaveSettings(otherStore, StoredSettings());

    const QByteArray path = dir.filePath(u"plan.brevant"_qs).toUtf8();
    QString planned, viaFile, out;
    ASSERT_EQ(RunCalcCommand(Args({"calc", "--scenario-out", path.data(),
                                   "154321000,125678900,49605558,56.13"}),
                             planStore,
                             planned),
              0);
    ASSERT_TRUE(QFile::exists(QString::fromUtf8(path)));
    EXPECT_EQ(RunCalcCommand(Args({"calc", "--scenario", path.data()}), otherStore, viaFile), 0);
    EXPECT_EQ(viaFile, planned);
    EXPECT_TRUE(viaFile.contains(u"56.13,43.87,49605558000,"_qs)) << viaFile.toStdString();
    // Figures given still override the scenario's.
    EXPECT_EQ(RunCalcCommand(Args({"calc", "--scenario", path.data(), "1000,500,100,50"}),
                             otherStore, out),
              0);
    EXPECT_TRUE(out.contains(u"\n50.00,50.00,100000,200000,500000,300000,今年の計画"_qs))
        << out.toStdString();

    const QByteArray a = dir.filePath(u"a.png"_qs).toUtf8();
    const QByteArray b = dir.filePath(u"b.png"_qs).toUtf8();
    EXPECT_EQ(RunRenderCommand(Args({"render", "-o", a.data(), "--size", "480x200"}), planStore,
                               out),
              0);
    EXPECT_EQ(RunRenderCommand(Args({"render", "-o", b.data(), "--size", "480x200", "--scenario",
                                     path.data()}),
                               otherStore, out),
              0);
    const QImage planned_image(QString::fromUtf8(a)), scenario_image(QString::fromUtf8(b));
    ASSERT_FALSE(planned_image.isNull());
    EXPECT_EQ(planned_image, scenario_image);
    EXPECT_EQ(RunRenderCommand(Args({"render", "-o", b.data(), "--size", "480x200"}), otherStore,
                               out),
              0);
    EXPECT_NE(QImage(QString::fromUtf8(b)), planned_image);

    // A file that is no scenario fails after its reason, with nothing written.
    EXPECT_EQ(RunCalcCommand(Args({"calc", "--scenario", a.data()}), otherStore, out), 1);
    EXPECT_EQ(RunCalcCommand(Args({"calc", "--scenario"}), otherStore, out), 2);
}
