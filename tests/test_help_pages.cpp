#include "help_pages.h"

#include "bep_model.h"
#include "chart_style.h"
#include "text_util.h"
#include "string_table.h"
#include "support/file_helpers.h"

#include <QDate>
#include <QDir>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace brevant;

namespace {

const QStringList kGeneralHeadings = {
    "【全般説明】", "はじめに", "1 表示する図表の種類", " (1) 図表の種類",
    " (2) 図表の表示切替え", " (3) 図表のタイトル", "2 文字と余白", " (1) 文字サイズ",
    " (2) 外周余白", " (3) 目盛余白", "3 色と太さ", "4 金額と率", " (1) 金額",
    " (2) 変動費率", "5 図表中の金額単位", "6 外部出力", " (1) 形式", " (2) 図表の大きさ",
    " (3) Clipboardへ", " (4) 現状出力", " (5) CSV付き出力", "   ア 保存場所",
    "   イ CSVファイルの出力仕様", "   ウ イメージファイルの出力仕様",
    "7 金額および変動費率の調整", " (1) スピンボタンによる調整",
    " (2) ドラッグ＆ドロップによる調整", " (3) 可動線または点の明示", " (4) ドラッグの中止",
    " (5) 小数点以下の表示", "8 損益分岐点分析", "9 シナリオファイル", "10 元に戻す・やり直し",
};

const QStringList kBatchHeadings = {
    "【一括作成の説明】", "1 一括作成とは", "2 一括作成の手順", " (1) CSVファイルの準備",
    "  ア 第1フィールド", "  イ 第2フィールド", "  ウ 第3フィールド以下", "  エ 第5フィールド",
    " (2) CSVファイルを読み取らせて実行", " (3) 出力仕様", "   ア 保存場所",
    "    (ア) 個別フォルダ方式", "    (イ) 全部一緒方式", "   イ CSVファイルの出力仕様",
    "   ウ イメージファイルの出力仕様",
};

const QStringList kPresentationHeadings = {
    "【プレゼンモードの説明】", "1 プレゼンモードとは", "2 モードの開始", "3 モードの終了",
    "4 ボタンメニュー", "5 図表の表示切替え", "6 指示棒", " (1) 伸縮", " (2) ポインティング",
    " (3) 書き込み", "7 金額および変動費率の調整", " (1) 可動線または点の明示",
    " (2) ドラッグの中止", " (3) 小数点以下の表示", "8 その他", " (1) 文字サイズの変更",
};

struct PageCase {
    int kind;
    const QStringList* headings;
};

const PageCase kPages[] = {
    {kHelpGeneral, &kGeneralHeadings},
    {kHelpBatch, &kBatchHeadings},
    {kHelpPresentation, &kPresentationHeadings},
};

// Anything shaped like a heading: a title, a numbered section, a sub-section or an item.
bool LooksLikeHeading(const QString& line)
{
    static const QRegularExpression re(QStringLiteral(
        "^(【.+】|はじめに|\\d+ \\S.*| \\(\\d+\\) \\S.*| {2,3}[アイウエ] \\S.*"
        "| {4}\\([アイウエ]\\) \\S.*)$"));
    return re.match(line).hasMatch();
}

QStringList Lines(const QString& text)
{
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the text ends with a line end, not an unfinished line
    return lines;
}

// The body lines under a heading, without their indentation.
QStringList SectionBody(int kind, const QString& heading)
{
    const QStringList lines = Lines(HelpPageText(kind));
    QStringList body;
    const qsizetype at = lines.indexOf(heading);
    if (at < 0)
        return body;
    for (qsizetype i = at + 1; i < lines.size(); ++i) {
        if (lines[i].isEmpty() || LooksLikeHeading(lines[i]))
            break;
        body << lines[i].trimmed();
    }
    return body;
}

int LeadingSpaces(const QString& line)
{
    int n = 0;
    while (n < line.size() && line.at(n) == u' ')
        ++n;
    return n;
}

} // namespace

TEST(HelpPageText, EveryHeadingOnceAndInPageOrder)
{
    for (const PageCase& page : kPages) {
        SCOPED_TRACE(page.kind);
        const QStringList lines = Lines(HelpPageText(page.kind));
        QStringList found;
        for (const QString& line : lines) {
            if (LooksLikeHeading(line))
                found << line;
        }
        EXPECT_EQ(found, *page.headings);
        for (const QString& heading : *page.headings)
            EXPECT_EQ(lines.count(heading), 1) << heading.toStdString();
    }
}

TEST(HelpPageText, UnknownKindGivesNoText)
{
    for (int kind : {-1, 3, 4, 1000})
        EXPECT_TRUE(HelpPageText(kind).isEmpty()) << kind;
}

TEST(HelpPageText, LinesEndInCrLfAndSectionsInABlankLine)
{
    for (const PageCase& page : kPages) {
        SCOPED_TRACE(page.kind);
        const QString text = HelpPageText(page.kind);
        ASSERT_FALSE(text.isEmpty());
        EXPECT_TRUE(text.endsWith(QStringLiteral("\r\n\r\n")));
        EXPECT_FALSE(text.contains(QRegularExpression(QStringLiteral("[^\\r]\\n|\\r[^\\n]"))));

        const QStringList lines = Lines(text);
        EXPECT_TRUE(lines.first().startsWith(u'【'));
        EXPECT_TRUE(lines.at(1).isEmpty()); // the title stands alone
        for (qsizetype i = 2; i < lines.size(); ++i) {
            // A new heading follows either a blank line or a heading without a body.
            if (LooksLikeHeading(lines[i])) {
                EXPECT_TRUE(lines[i - 1].isEmpty() || LooksLikeHeading(lines[i - 1]))
                    << lines[i].toStdString();
            }
        }
        EXPECT_FALSE(text.contains(QStringLiteral("\r\n\r\n\r\n"))); // one blank line only
    }
}

TEST(HelpPageText, BodyLinesAreIndentedUnderTheirHeading)
{
    for (const PageCase& page : kPages) {
        SCOPED_TRACE(page.kind);
        int headingIndent = 0;
        for (const QString& line : Lines(HelpPageText(page.kind))) {
            if (line.isEmpty())
                continue;
            if (LooksLikeHeading(line)) {
                headingIndent = LeadingSpaces(line);
                continue;
            }
            EXPECT_GE(LeadingSpaces(line), headingIndent + 4) << line.toStdString();
            EXPECT_NE(line.trimmed(), QString()) << "a line of spaces only";
        }
    }
}

TEST(HelpPageText, SharedTextsReadTheSameOnBothPages)
{
    struct Shared {
        int kindA;
        QString headingA;
        int kindB;
        QString headingB;
        bool wholeBody; // false: every line of B's section also stands in A's section
    };
    const Shared cases[] = {
        {kHelpGeneral, " (5) 小数点以下の表示", kHelpPresentation, " (3) 小数点以下の表示", true},
        {kHelpGeneral, " (3) 可動線または点の明示", kHelpPresentation, " (1) 可動線または点の明示",
         false},
        {kHelpGeneral, " (4) ドラッグの中止", kHelpPresentation, " (2) ドラッグの中止", false},
        {kHelpBatch, "   ウ イメージファイルの出力仕様", kHelpGeneral,
         "   ウ イメージファイルの出力仕様", false},
    };
    for (const Shared& c : cases) {
        SCOPED_TRACE(c.headingA.toStdString());
        const QStringList a = SectionBody(c.kindA, c.headingA);
        const QStringList b = SectionBody(c.kindB, c.headingB);
        ASSERT_FALSE(b.isEmpty());
        if (c.wholeBody) {
            EXPECT_EQ(a, b);
        } else {
            for (const QString& line : b)
                EXPECT_TRUE(a.contains(line)) << line.toStdString();
        }
    }

    // The sample summary file, word for word, on both pages that describe it.
    const QStringList general = SectionBody(kHelpGeneral, "   イ CSVファイルの出力仕様");
    const QStringList batch = SectionBody(kHelpBatch, "   イ CSVファイルの出力仕様");
    const qsizetype from = general.indexOf(QStringLiteral("(例)"));
    ASSERT_GE(from, 0);
    const QStringList sample = general.mid(from);
    ASSERT_GE(sample.size(), 3);
    EXPECT_EQ(batch.mid(batch.indexOf(QStringLiteral("(例)"))), sample);
}

TEST(HelpPageText, CsvSampleIsWhatTheSummaryFileHolds)
{
    // The summary for the sample figures with the default titles and the PNG format.
    BepInputs in;
    in.maxSales = 154321000;
    in.targetSales = 125678900;
    in.fixedCosts = 49605558;
    in.variableCostRatio = ParseRatioPercent(QStringLiteral("56.13"));
    const BepFigures f = ComputeFigures(in);
    QString data = CFormat("%.2f,%.2f,%.0f,%.0f,%.0f,%.0f,", in.variableCostRatio / 100.0,
                           (10000 - in.variableCostRatio) / 100.0, in.fixedCosts * 1000.0,
                           f.breakEvenPoint * 1000.0, in.targetSales * 1000.0,
                           (in.targetSales - f.breakEvenPoint) * 1000.0);
    for (int k = 0; k < kChartCount; ++k)
        data += DefaultTitle(k) + QStringLiteral(".png") + QString(k < 2 ? "," : "");
    const QString header = QStringLiteral("変動費率,限界利益率,固定費,損益分岐点,目標売上高,"
                                          "目標営業利益,図表1ファイル名,図表2ファイル名,"
                                          "図表3ファイル名");

    for (int kind : {kHelpGeneral, kHelpBatch}) {
        SCOPED_TRACE(kind);
        const QStringList body = SectionBody(kind, "   イ CSVファイルの出力仕様");
        const qsizetype at = body.indexOf(header);
        ASSERT_GE(at, 0);
        ASSERT_LT(at + 1, body.size());
        EXPECT_EQ(body.at(at + 1), data);
        EXPECT_TRUE(HelpPageText(kind).contains(QStringLiteral("BEP.csv")));
    }
    // The paste example on page 0 gives the same figures.
    EXPECT_TRUE(HelpPageText(kHelpGeneral)
                    .contains(QStringLiteral("154321000,125678900,49605558,56.13")));
}

TEST(HelpPageText, ExampleBatchRecordIsAValidRecord)
{
    const QStringList body = SectionBody(kHelpBatch, " (1) CSVファイルの準備");
    QString record;
    for (const QString& line : body) {
        if (line.startsWith(QStringLiteral("(例) ")))
            record = line.mid(4);
    }
    ASSERT_FALSE(record.isEmpty());
    EXPECT_EQ(record, QStringLiteral("事業または商品名,90000000,70000000,44000000,25.03"));
    EXPECT_EQ(record.count(u','), 4);

    BepInputs in;
    in.maxSales = ParseDouble(FieldAt(record, 2, u','));
    in.targetSales = ParseDouble(FieldAt(record, 3, u','));
    in.fixedCosts = ParseDouble(FieldAt(record, 4, u','));
    in.variableCostRatio = ParseRatioPercent(FieldAt(record, 5, u','));
    EXPECT_FALSE(FieldAt(record, 1, u',').isEmpty());
    EXPECT_NE(in.targetSales, 0);
    EXPECT_EQ(in.variableCostRatio, 2503);
    EXPECT_EQ(CheckAmountOrder(in), 0);
}

TEST(HelpPageText, NamesAndLimitsMatchTheProgram)
{
    const QString general = HelpPageText(kHelpGeneral);
    const QString batch = HelpPageText(kHelpBatch);

    // The dated folder: the date with "%Y%m%d-" and a three-digit serial.
    const QString dated = QDate(2014, 12, 31).toString(QStringLiteral("yyyyMMdd-")) + "001";
    EXPECT_TRUE(general.contains(dated));
    for (const QString& page : {general, batch})
        EXPECT_TRUE(page.contains(QStringLiteral("デスクトップの「BEP」フォルダ")));

    // The record limit the batch refuses beyond, as its message words it.
    const QString tooMany = LoadStringEntry(IDS_TOO_MANY).value_or(QString());
    const QRegularExpressionMatch limit =
        QRegularExpression(QStringLiteral("(\\d{1,3}(,\\d{3})*)件")).match(tooMany);
    ASSERT_TRUE(limit.hasMatch());
    EXPECT_TRUE(batch.contains(limit.captured(1) + QStringLiteral("レコード")));
    // Every count of records with a thousands separator is that limit (not "1レコード").
    const QRegularExpression anyCount(QStringLiteral("(\\d{1,3}(,\\d{3})+)レコード"));
    for (auto it = anyCount.globalMatch(batch); it.hasNext();)
        EXPECT_EQ(it.next().captured(1), limit.captured(1));

    // The decoding rule for batch files and the folder-name rule.
    EXPECT_TRUE(batch.contains(QStringLiteral("UTF-8")));
    EXPECT_TRUE(batch.contains(QStringLiteral("CP932")));
    EXPECT_TRUE(batch.contains(QStringLiteral("「.」「..」")));

    // Only target sales must not be blank; fixed costs and the ratio may be 0.
    EXPECT_FALSE(batch.contains(QStringLiteral("固定費は空欄(0)にできません")));
    EXPECT_TRUE(batch.contains(QStringLiteral("目標売上高は空欄(0)にできません")));
}

// A page file with a broken reference must come out empty, which the page tests notice,
// rather than with a silent gap; an include loop must not recurse without end.
TEST(HelpOutlineText, IncludesResolveOrThePageIsRefused)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkpath("shared"));
    const auto page = [&](const QByteArray& text) {
        const QString path = dir.filePath("page.txt");
        EXPECT_TRUE(test::WriteAll(path, text));
        return HelpOutlineText(path);
    };
    // Saved by an editor that writes a byte order mark and CR LF; included relative to the
    // including file, at any depth.
    ASSERT_TRUE(test::WriteAll(dir.filePath("shared/a.txt"), "@include b.txt\r\n"));
    ASSERT_TRUE(test::WriteAll(dir.filePath("shared/b.txt"), "  (例) 1,2\r\n"));
    EXPECT_EQ(page("\xEF\xBB\xBF= 【題】\r\n\r\n=  (1) 見出し\r\n本文\r\n"
                   "@include shared/a.txt\r\n"),
              QStringLiteral("【題】\r\n\r\n (1) 見出し\r\n     本文\r\n       (例) 1,2\r\n\r\n"));

    const QByteArray broken[] = {
        "= 1 見出し\n@include shared/none.txt\n", // a snippet that does not exist
        "= 1 見出し\n@include page.txt\n",        // includes itself
        "= 1 見出し\n@inclde shared/b.txt\n",     // a misspelt directive
        "= 1 見出し\n@include\n",
        "本文\n= 1 見出し\n",                     // text before any heading
        "= 【題】\n本文\n",                       // a title stands alone
        "= 1 見出し\n= \n本文\n",                 // an empty heading
    };
    for (const QByteArray& text : broken)
        EXPECT_EQ(page(text), QString()) << text.toStdString();
}
