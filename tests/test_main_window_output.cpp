// The main window's output buttons: "CSV付き出力" (1065) and batch creation (1011), by
// click and by dropping a file on the batch button.

#include "text_util.h"
#include "csv_output.h"
#include "dialog_templates.h"
#include "string_table.h"
#include "support/large_screen.h"
#include "support/main_window_harness.h"

#include <QCheckBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>
#include <gtest/gtest.h>

using namespace brevant;
using namespace brevant::test;

namespace {

[[maybe_unused]] const bool kLargeScreen = UseLargeOffscreenScreen();

const int kChecks[] = {IDC_CHART0_CHECK, IDC_CHART1_CHECK, IDC_CHART2_CHECK};

QString WriteCsv(const MainWindowHarness& h, const QString& name, const QByteArray& bytes)
{
    const QString path = h.dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

void Drop(MainWindowHarness& h, const QStringList& paths)
{
    QMimeData mime;
    QList<QUrl> urls;
    for (const QString& p : paths)
        urls.append(QUrl::fromLocalFile(p));
    mime.setUrls(urls);
    QWidget* button = h.At(IDC_BATCH);
    // The drop goes to the widget that accepted the drag's entry.
    QDragEnterEvent enter(button->rect().center(), Qt::CopyAction, &mime, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(button, &enter);
    QDropEvent drop(QPointF(button->rect().center()), Qt::CopyAction, &mime, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(button, &drop);
    QCoreApplication::processEvents();
}

// The window with the sample figures and the second chart hidden by its check box.
CTarnelDlg& OpenWithSample(MainWindowHarness& h)
{
    CTarnelDlg& w = h.Open();
    h.platform.answers = {kIdYes};
    h.At<QPushButton>(IDC_SAMPLE)->click();
    h.At<QCheckBox>(IDC_CHART1_CHECK)->click();
    h.platform.messages.clear();
    return w;
}

} // namespace

TEST(MainWindowOutput, CsvButtonWritesTheDatedFolder)
{
    MainWindowHarness h;
    h.Store("OutSaki", kPng);
    CTarnelDlg& w = OpenWithSample(h);
    const QImage before = w.ComposedImage();
    h.At<QPushButton>(IDC_OUTPUT_CSV)->click();

    const QStringList dated =
        QDir(h.platform.desktop + u"/BEP"_qs).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(dated.size(), 1);
    const QString folder = h.platform.desktop + u"/BEP/"_qs + dated[0];
    for (int k = 1; k <= kChartCount; ++k) {
        const QImage image(folder + u'/' + DefaultTitle(k - 1) + u".png");
        EXPECT_EQ(image.size(), w.ChartArea().size()) << k;
    }
    QFile csv(folder + u"/BEP.csv"_qs);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_TRUE(csv.readAll().contains("56.13,43.87,49605558000,113073986779,"));
    // The charts and boxes are as the user left them; the composition shows them again.
    EXPECT_EQ(w.Style().drawGraph, (std::array<int32_t, 3>{1, 0, 1}));
    EXPECT_FALSE(h.At<QCheckBox>(IDC_CHART1_CHECK)->isChecked());
    EXPECT_EQ(w.ComposedImage(), before);
    EXPECT_TRUE(h.platform.Showed(IDS_SAVED_SHOW));
}

TEST(MainWindowOutput, BatchButtonAsksForTheFile)
{
    MainWindowHarness h;
    OpenWithSample(h);
    h.At<QPushButton>(IDC_BATCH)->click();
    ASSERT_EQ(h.platform.openRequests.size(), 1);
    EXPECT_EQ(h.platform.openRequests[0].title, u"CSVファイルを指定"_qs);
    EXPECT_EQ(h.platform.openRequests[0].filter, u"コンマ区切りファイル(*.csv)|*.csv||"_qs);
    EXPECT_TRUE(h.platform.openRequests[0].defaultSuffix.isEmpty());
    EXPECT_TRUE(h.platform.openRequests[0].proposedName.isEmpty());
    EXPECT_TRUE(h.platform.messages.isEmpty()); // cancelled: nothing else happens
}

TEST(MainWindowOutput, SuccessfulBatchShowsTheLastRecord)
{
    MainWindowHarness h;
    CTarnelDlg& w = OpenWithSample(h);
    h.platform.openNames = {WriteCsv(h, u"list.csv"_qs,
                                     "A,1000,500,300,25\r\nB,5000000000,3000000000,100,150\r\n")};
    h.platform.answers = {kIdNo, kIdNo}; // all together; do not open the folder
    h.At<QPushButton>(IDC_BATCH)->click();

    EXPECT_TRUE(QFile::exists(h.platform.desktop + u"/BEP/B_損益分岐点指数図表.jpeg"_qs));
    // The entries show the record as written; their rule caps what the model keeps.
    EXPECT_EQ(h.Text(IDC_MAX_SALES), u"5000000000"_qs);
    EXPECT_EQ(h.Text(IDC_TARGET_SALES), u"3000000000"_qs);
    EXPECT_EQ(h.Text(IDC_FIXED_COSTS), u"100"_qs);
    EXPECT_EQ(h.At<QLabel>(IDC_MAX_SALES_WORDS)->text(), u"21億4748万3647円"_qs);
    EXPECT_TRUE(h.platform.Showed(IDS_AMOUNT_CAPPED));
    EXPECT_EQ(w.Inputs().maxSales, 2147483647);
    EXPECT_EQ(w.Inputs().fixedCosts, 100);
    EXPECT_EQ(w.Inputs().variableCostRatio, 15000);
    EXPECT_EQ(h.At<QLabel>(IDC_RATIO_TEXT)->text(), u"150.00%"_qs);
    for (int id : kChecks)
        EXPECT_TRUE(h.At<QCheckBox>(id)->isChecked()) << id;
    EXPECT_EQ(w.Style().drawGraph, (std::array<int32_t, 3>{1, 1, 1}));
    EXPECT_TRUE(h.platform.Showed(IDS_SAVED_SHOW));
}

TEST(MainWindowOutput, FailedBatchPutsTheWindowBack)
{
    MainWindowHarness h;
    CTarnelDlg& w = OpenWithSample(h);
    const BepInputs before = w.Inputs();
    const QImage composed = w.ComposedImage();
    h.platform.openNames = {
        WriteCsv(h, u"list.csv"_qs, "A,1000,500,300,25\nB,100,500,30,25\nC,1000,500,300,25\n")};
    h.platform.answers = {kIdYes}; // one folder per record
    h.At<QPushButton>(IDC_BATCH)->click();

    EXPECT_TRUE(h.platform.Showed(IDS_MAX_BELOW_TARGET));
    EXPECT_FALSE(h.platform.Showed(IDS_SAVED_SHOW));
    EXPECT_TRUE(QFile::exists(h.platform.desktop + u"/BEP/A/BEP.csv"_qs));
    EXPECT_EQ(w.Inputs().maxSales, before.maxSales);
    EXPECT_EQ(w.Inputs().variableCostRatio, before.variableCostRatio);
    EXPECT_EQ(h.Text(IDC_MAX_SALES), u"154321000"_qs);
    EXPECT_EQ(w.Style().drawGraph, (std::array<int32_t, 3>{1, 0, 1}));
    EXPECT_FALSE(h.At<QCheckBox>(IDC_CHART1_CHECK)->isChecked());
    EXPECT_EQ(w.ComposedImage(), composed);
    EXPECT_EQ(h.At<QProgressBar>(IDC_PROGRESS)->value(), 0);
}

TEST(MainWindowOutput, PartialBatchSaysWhichRecordsAreMissing)
{
    MainWindowHarness h;
    CTarnelDlg& w = OpenWithSample(h);
    const BepInputs before = w.Inputs();
    // A folder stands where the second record's first chart belongs.
    ASSERT_TRUE(QDir().mkpath(h.platform.desktop + u"/BEP/B_"_qs + DefaultTitle(0) + u".jpeg"));
    h.platform.openNames = {
        WriteCsv(h, u"list.csv"_qs, "A,1000,500,300,25\nB,1000,600,300,25\nC,1000,700,300,25\n")};
    h.platform.answers = {kIdNo}; // all together
    h.At<QPushButton>(IDC_BATCH)->click();

    // Told once at the end, with the record's line; no "saved" question.
    ASSERT_EQ(h.platform.messages.size(), 2);
    EXPECT_EQ(h.platform.messages[1].text,
              u"2行目: B,1000,600,300,25\n"_qs + *LoadStringEntry(IDS_RECORDS_LEFT_OUT));
    EXPECT_EQ(h.platform.messages[1].flags, unsigned(kMbError));
    EXPECT_TRUE(QFile::exists(h.platform.desktop + u"/BEP/C_"_qs + DefaultTitle(0) + u".jpeg"));
    EXPECT_EQ(w.Inputs().maxSales, before.maxSales);
    EXPECT_EQ(h.Text(IDC_MAX_SALES), u"154321000"_qs);
}

TEST(MainWindowOutput, DroppedFiles)
{
    MainWindowHarness h;
    OpenWithSample(h);
    const QString csv = WriteCsv(h, u"DATA.CSV"_qs, "A,1000,500,300,25\n");

    Drop(h, {csv, csv});
    ASSERT_EQ(h.platform.messages.size(), 1);
    EXPECT_TRUE(h.platform.Showed(IDS_MANY_FILES));

    h.platform.messages.clear();
    Drop(h, {WriteCsv(h, u"data.txt"_qs, "A,1000,500,300,25\n")});
    ASSERT_EQ(h.platform.messages.size(), 1);
    EXPECT_TRUE(h.platform.Showed(IDS_NOT_CSV));

    // One file ending in ".CSV" goes to batch creation: the mode question follows.
    h.platform.messages.clear();
    h.platform.answers = {kIdCancel};
    Drop(h, {csv});
    ASSERT_EQ(h.platform.messages.size(), 1);
    EXPECT_TRUE(h.platform.Showed(IDS_BATCH_MODE));
    EXPECT_EQ(h.At<QProgressBar>(IDC_PROGRESS)->maximum(), 1);
}

TEST(MainWindowOutput, CsvOutputDrawsEvenUnderAHelpPage)
{
    MainWindowHarness h;
    h.Store("OutSaki", kBmp);
    CTarnelDlg& w = OpenWithSample(h);
    w.ToggleHelpPage(0);
    ASSERT_TRUE(w.helpShown());
    h.At<QPushButton>(IDC_OUTPUT_CSV)->click();
    const QStringList dated =
        QDir(h.platform.desktop + u"/BEP"_qs).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(dated.size(), 1);
    const QString folder = h.platform.desktop + u"/BEP/"_qs + dated[0] + u'/';
    // Each file shows its own chart, not the picture from before the help page.
    const QImage first(folder + DefaultTitle(0) + u".bmp");
    const QImage second(folder + DefaultTitle(1) + u".bmp");
    ASSERT_FALSE(first.isNull());
    EXPECT_NE(first, second);
}
