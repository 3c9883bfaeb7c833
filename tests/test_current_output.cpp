// Saving the charts on screen to a chosen file, and copying them to the clipboard.

#include "current_output.h"
#include "dialog_templates.h"
#include "support/large_screen.h"
#include "support/main_window_harness.h"

#include <QFile>
#include <QImageReader>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace brevant;
using namespace brevant::test;

namespace {

[[maybe_unused]] const bool kLargeScreen = UseLargeOffscreenScreen();

const QString kOverwrite =
    QStringLiteral("指定したファイルは既に存在します\n上書きしてもよろしいですか");
const QString kSaved = QStringLiteral("正常に保存しました\n保存場所を表示しますか");

void Click(MainWindowHarness& h, int id) { h.At<QPushButton>(id)->click(); }

} // namespace

TEST(SaveCurrentCharts, AsksWithTitleFiltersSuffixAndProposedName)
{
    MainWindowHarness h;
    h.Store("OutSaki", 5);
    h.Store("Title0", "X");
    h.Store("Title1", "");
    h.Store("Title2", "Z");
    h.Open();
    Click(h, IDC_OUTPUT_CURRENT); // the fake dialog answers Cancel

    ASSERT_EQ(h.platform.saveRequests.size(), 1);
    const FileDialogRequest& r = h.platform.saveRequests[0];
    EXPECT_EQ(r.title, QStringLiteral("保存先ファイルを指定"));
    EXPECT_EQ(r.filter, QStringLiteral(
        "イメージファイル|*.jpeg;*.bmp;*.gif;*.png;*.tiff|PDFファイル|*.pdf||"));
    EXPECT_EQ(r.defaultSuffix, QStringLiteral("pdf"));
    EXPECT_EQ(r.proposedName, QStringLiteral("Z"));
    // Cancel: no question, no file.
    EXPECT_TRUE(h.platform.messages.isEmpty());
}

TEST(SaveCurrentCharts, ProposedNameIsTheLastTitleGiven)
{
    ChartStyle style = ChartStyle::Defaults();
    EXPECT_EQ(ProposedFileName(style), QStringLiteral("損益分岐点・指数図表"));
    style.titles = {QStringLiteral("X"), QString(), QStringLiteral("Z")};
    EXPECT_EQ(ProposedFileName(style), QStringLiteral("Z"));
    style.titles = {QStringLiteral("X"), QStringLiteral("Y"), QString()};
    EXPECT_EQ(ProposedFileName(style), QStringLiteral("Y"));
    style.titles = {};
    EXPECT_EQ(ProposedFileName(style), QStringLiteral("無題"));
}

TEST(SaveCurrentCharts, WritesTheTypeOfTheChosenExtensionAndOpensItsFolder)
{
    struct Case {
        const char* name;
        QByteArray format; // what the file must decode as
        int openAnswer;
    } cases[] = {
        {"chart.png", "png", kIdYes},
        {"CHART.JPG", "jpeg", kIdNo},
        {"a.bmp", "bmp", kIdNo},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MainWindowHarness h;
        CTarnelDlg& w = h.Open();
        const QString path = h.dir.filePath(QString::fromLatin1(c.name));
        h.platform.saveNames.push_back(path);
        h.platform.answers.push_back(c.openAnswer);
        Click(h, IDC_OUTPUT_CURRENT);

        QImageReader reader(path);
        EXPECT_EQ(reader.format(), c.format) << c.name;
        EXPECT_EQ(reader.size(), w.ChartArea().size()) << c.name;
        ASSERT_EQ(h.platform.messages.size(), 1) << c.name;
        EXPECT_EQ(h.platform.messages[0].text, kSaved);
        EXPECT_EQ(h.platform.messages[0].flags, 0x24u);
        if (c.openAnswer == kIdYes)
            EXPECT_EQ(h.platform.openedFolders, QStringList{h.dir.path()});
        else
            EXPECT_TRUE(h.platform.openedFolders.isEmpty());
    }
}

TEST(SaveCurrentCharts, OverwriteNeedsAYes)
{
    for (int answer : {kIdNo, kIdYes}) {
        MainWindowHarness h;
        CTarnelDlg& w = h.Open();
        const QString path = h.dir.filePath(QStringLiteral("old.png"));
        {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("keep me");
        }
        h.platform.saveNames.push_back(path);
        h.platform.answers = {answer, kIdNo};
        Click(h, IDC_OUTPUT_CURRENT);

        ASSERT_GE(h.platform.messages.size(), 1);
        EXPECT_EQ(h.platform.messages[0].text, kOverwrite);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        if (answer == kIdNo) {
            EXPECT_EQ(f.readAll(), QByteArray("keep me"));
            EXPECT_EQ(h.platform.messages.size(), 1);
        } else {
            f.close();
            EXPECT_EQ(QImageReader(path).size(), w.ChartArea().size());
            EXPECT_EQ(h.platform.messages.size(), 2);
        }
    }
}

TEST(SaveCurrentCharts, UnknownExtensionWritesNothingAndSaysNothing)
{
    MainWindowHarness h;
    h.Open();
    const QString path = h.dir.filePath(QStringLiteral("a.txt"));
    h.platform.saveNames.push_back(path);
    Click(h, IDC_OUTPUT_CURRENT);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(h.platform.messages.isEmpty());
}

TEST(SaveCurrentCharts, NameLongerThanTheFileSystemTakesIsAFailureNotASave)
{
    MainWindowHarness h;
    h.Open();
    const QString fits = h.dir.filePath(QString(251, u'n') + u".png");
    const QString tooLong = h.dir.filePath(QString(252, u'n') + u".png");
    h.platform.saveNames = {fits, tooLong};
    h.platform.answers = {kIdNo};
    Click(h, IDC_OUTPUT_CURRENT);
    EXPECT_TRUE(QFile::exists(fits));
    Click(h, IDC_OUTPUT_CURRENT);
    ASSERT_EQ(h.platform.messages.size(), 2);
    EXPECT_EQ(h.platform.messages[0].text, kSaved);
    EXPECT_EQ(h.platform.messages[1].text, QStringLiteral("ファイルのオープン失敗しました"));
}

TEST(SaveCurrentCharts, FormatOutsideTheTableDoesNothing)
{
    MainWindowHarness h;
    h.Store("OutSaki", 9);
    h.Open();
    Click(h, IDC_OUTPUT_CURRENT);
    EXPECT_TRUE(h.platform.saveRequests.isEmpty());
    EXPECT_TRUE(h.platform.messages.isEmpty());
}

TEST(SaveCurrentCharts, RendersTheChartsEvenBehindAHelpPage)
{
    MainWindowHarness h;
    CTarnelDlg& w = h.Open();
    w.ToggleHelpPage(0);
    const QString path = h.dir.filePath(QStringLiteral("help.png"));
    h.platform.saveNames.push_back(path);
    Click(h, IDC_OUTPUT_CURRENT);
    const QImage image(path);
    ASSERT_FALSE(image.isNull());
    // The interior colour of the first chart's plot is there, not a blank area.
    const QRect r = w.ChartRects()[0];
    const QRgb interior = qRgb(251, 248, 234);
    int hits = 0;
    for (int y = r.top(); y < r.bottom(); y += 5)
        for (int x = r.left(); x < r.right(); x += 5)
            hits += image.pixel(x, y) == interior ? 1 : 0;
    EXPECT_GT(hits, 100);
}

TEST(CopyChartsToClipboard, PlacesACopyAndSaysSo)
{
    MainWindowHarness h;
    CTarnelDlg& w = h.Open();
    const QSize before = w.ChartArea().size();
    Click(h, IDC_TO_CLIPBOARD);
    EXPECT_EQ(h.platform.clipboardImage.size(), before);
    ASSERT_EQ(h.platform.messages.size(), 1);
    EXPECT_EQ(h.platform.messages[0].text, QStringLiteral("クリップボードに保存しました"));
    EXPECT_EQ(h.platform.messages[0].flags, 0x40u);

    // A later resize repaints the window; the clipboard keeps its image.
    const QImage copied = h.platform.clipboardImage;
    w.resize(w.width() + 200, w.height() + 100);
    QApplication::processEvents();
    EXPECT_NE(w.ChartArea().size(), before);
    EXPECT_EQ(h.platform.clipboardImage, copied);

    // A clipboard that cannot be opened: nothing is said.
    h.platform.clipboardAvailable = false;
    Click(h, IDC_TO_CLIPBOARD);
    EXPECT_EQ(h.platform.messages.size(), 1);
}
