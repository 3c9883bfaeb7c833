// The main window's life cycle: start-up from the profile store, placement and minimum
// size, the chart-area layout, keys, help pages, painting and saving on close.

#include "dropped_files.h"
#include "chart_geometry.h"
#include "about_dlg.h"
#include "help_pages.h"
#include "dialog_templates.h"
#include "ctarnel_app.h"
#include "ini_profile_store.h"
#include "scenario.h"
#include "scenario_document.h"
#include "support/file_helpers.h"
#include "support/large_screen.h"
#include "support/main_window_harness.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFrame>
#include <QTextLayout>
#include <QTimer>
#include <gtest/gtest.h>

using namespace brevant;
using namespace brevant::test;

namespace {

[[maybe_unused]] const bool kLargeScreen = UseLargeOffscreenScreen();

QString SizeText(const QRect& area)
{
    return QStringLiteral("図表の大きさ：%1 × %2").arg(area.width()).arg(area.height());
}

// Pixels of the given colour inside a rectangle of an image.
int CountColour(const QImage& image, const QRect& r, QRgb colour)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF) ? 1 : 0;
    return n;
}

QRgb ToRgb(ColorRef c) { return qRgb(RedOf(c), GreenOf(c), BlueOf(c)); }

} // namespace

TEST(MainWindow, ScreenIsLargeEnoughForTheTemplate)
{
    const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
    MainWindowHarness h;
    CTarnelDlg& w = h.Open(false);
    EXPECT_GE(screen.width(), w.minWindowSize().width());
    EXPECT_GE(screen.height(), w.minWindowSize().height());
}

TEST(MainWindow, FirstStartWithAnEmptyStoreShowsTheDefaults)
{
    MainWindowHarness h;
    CTarnelDlg& w = h.Open();

    EXPECT_EQ(w.windowTitle(), QStringLiteral("ブレヴァント(損益分岐点シミュレータ)"));
    EXPECT_EQ(h.Text(IDC_MAX_SALES), "1");
    EXPECT_EQ(h.Text(IDC_TARGET_SALES), "0");
    EXPECT_EQ(h.Text(IDC_FIXED_COSTS), "0");
    EXPECT_EQ(w.Inputs().maxSales, 1);
    EXPECT_EQ(w.Inputs().targetSales, 1);
    EXPECT_EQ(w.Inputs().fixedCosts, 0);
    EXPECT_EQ(h.At<QLabel>(IDC_MAX_SALES_WORDS)->text(), QStringLiteral("1円"));
    EXPECT_EQ(h.At<QLabel>(IDC_TARGET_SALES_WORDS)->text(), QStringLiteral("1円"));
    EXPECT_EQ(h.At<QLabel>(IDC_FIXED_COSTS_WORDS)->text(), QStringLiteral("0円"));

    EXPECT_EQ(w.Inputs().variableCostRatio, 2500);
    EXPECT_EQ(h.At<QSpinBox>(IDC_RATIO)->value(), 2500);
    EXPECT_EQ(h.At<QLabel>(IDC_RATIO_TEXT)->text(), "25.00%");
    EXPECT_TRUE(h.At<QRadioButton>(IDC_UNIT_YEN)->isChecked());
    EXPECT_TRUE(h.At<QRadioButton>(IDC_FORMAT_JPEG)->isChecked());
    EXPECT_EQ(h.At<QSpinBox>(IDC_FONT_SIZE)->value(), 10);
    EXPECT_EQ(h.At<QSpinBox>(IDC_OUTER_MARGIN)->value(), 10);
    EXPECT_EQ(h.At<QSpinBox>(IDC_SCALE_MARGIN)->value(), 10);
    for (int id : {IDC_WIDTH0, IDC_WIDTH1, IDC_WIDTH2, IDC_WIDTH3, IDC_WIDTH4, IDC_WIDTH5,
                   IDC_WIDTH6, IDC_WIDTH7, IDC_WIDTH8})
        EXPECT_EQ(h.At<QSpinBox>(id)->value(), 3) << id;
    const int checks[] = {IDC_CHART0_CHECK, IDC_CHART1_CHECK, IDC_CHART2_CHECK};
    for (int k = 0; k < kChartCount; ++k) {
        EXPECT_TRUE(h.At<QCheckBox>(checks[k])->isChecked());
        EXPECT_EQ(h.Text(IDC_TITLE0 + k), DefaultTitle(k));
        EXPECT_EQ(h.Text(IDC_SUBTITLE0 + k), DefaultSubtitle(k));
    }
    EXPECT_EQ(w.Style().colors, kDefaultColors);

    // 640 x 480 at the top-left corner, raised to the template's size.
    EXPECT_EQ(w.pos(), QPoint(0, 0));
    EXPECT_EQ(w.size(), w.minWindowSize());
    EXPECT_EQ(w.minimumSize(), w.minWindowSize());
    EXPECT_GT(w.minWindowSize().width(), 640);
    EXPECT_GT(w.minWindowSize().height(), 480);
}

TEST(MainWindow, StoredAmountsRaiseTheMaximumSales)
{
    struct Case {
        const char* stored[3];
        const char* shown[3];
        double target;
    } cases[] = {
        {{"100", "500", "300"}, {"500", "500", "300"}, 500},
        {{"100", "200", "900"}, {"900", "200", "900"}, 200},
        {{"1000", "0", "0"}, {"1000", "0", "0"}, 1},
        {{"abc", "", "-7"}, {"1", "0", "-7"}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << (&c - cases));
        MainWindowHarness h;
        for (int k = 0; k < 3; ++k)
            h.Store(qPrintable(QStringLiteral("Kingaku%1").arg(k)), QString::fromLatin1(c.stored[k]));
        CTarnelDlg& w = h.Open(false);
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(h.Text(IDC_MAX_SALES + k), QString::fromLatin1(c.shown[k])) << c.stored[k];
        EXPECT_EQ(w.Inputs().maxSales, QString::fromLatin1(c.shown[0]).toDouble());
        EXPECT_EQ(w.Inputs().targetSales, c.target);
        EXPECT_GE(w.Inputs().fixedCosts, 0);
    }
}

TEST(MainWindow, OutOfRangeKeysAreClampedIntoTheControls)
{
    struct Case {
        const char* key;
        int stored;
        int control;
        int expected;
    } cases[] = {
        {"Ritsu", 12000, IDC_RATIO, 10000},     {"Ritsu", -5, IDC_RATIO, 0},
        {"FontSize", 3, IDC_FONT_SIZE, 5},      {"FontSize", 99, IDC_FONT_SIZE, 50},
        {"Yohaku", 80, IDC_OUTER_MARGIN, 50},   {"InYohaku", -1, IDC_SCALE_MARGIN, 0},
        {"Futosa4", 25, IDC_WIDTH4, 20},        {"Futosa0", -3, IDC_WIDTH0, 0},
    };
    for (const Case& c : cases) {
        MainWindowHarness h;
        h.Store(c.key, c.stored);
        CTarnelDlg& w = h.Open(false);
        EXPECT_EQ(h.At<QSpinBox>(c.control)->value(), c.expected) << c.key << " " << c.stored;
        const ChartStyle& s = w.Style();
        const int model = c.control == IDC_RATIO          ? w.Inputs().variableCostRatio
                          : c.control == IDC_FONT_SIZE    ? s.fontSize
                          : c.control == IDC_OUTER_MARGIN ? s.outerMargin
                          : c.control == IDC_SCALE_MARGIN ? s.scaleMargin
                          : c.control == IDC_WIDTH4       ? s.lineWidths[4]
                                                          : s.lineWidths[0];
        EXPECT_EQ(model, c.expected) << c.key;
    }
}

TEST(MainWindow, UnitAndFormatAreHeldAsReadAndSavedBack)
{
    MainWindowHarness h;
    h.Store("Tani", 5);
    h.Store("OutSaki", 9);
    CTarnelDlg& w = h.Open(false);
    EXPECT_TRUE(h.At<QRadioButton>(IDC_UNIT_THOUSAND)->isChecked());
    EXPECT_TRUE(h.At<QRadioButton>(IDC_FORMAT_JPEG)->isChecked());
    EXPECT_EQ(w.Inputs().amountUnit, 5);
    EXPECT_EQ(w.OutputFormatValue(), 9);
    h.Close();
    EXPECT_EQ(h.Stored("Tani").toInt(), 5);
    EXPECT_EQ(h.Stored("OutSaki").toInt(), 9);

    // Once the user picks, the pick is saved.
    h.Open(false);
    h.At<QRadioButton>(IDC_FORMAT_PNG)->click();
    h.At<QRadioButton>(IDC_UNIT_YEN)->click();
    EXPECT_EQ(h.window->OutputFormatValue(), 3);
    h.Close();
    EXPECT_EQ(h.Stored("Tani").toInt(), 0);
    EXPECT_EQ(h.Stored("OutSaki").toInt(), 3);
}

TEST(MainWindow, SavesEveryValueAsShown)
{
    MainWindowHarness h;
    h.Store("Kingaku1", "0");
    h.Open(false);
    h.Type(IDC_TITLE1, QStringLiteral("指数"));
    h.At<QSpinBox>(IDC_WIDTH2)->stepBy(4);
    h.At<QCheckBox>(IDC_CHART2_CHECK)->click();
    h.Close();
    EXPECT_EQ(h.Stored("Kingaku0").toString(), "1");
    EXPECT_EQ(h.Stored("Kingaku1").toString(), "0"); // the text shown, not the value 1
    EXPECT_EQ(h.Stored("Title1").toString(), QStringLiteral("指数"));
    EXPECT_EQ(h.Stored("Futosa2").toInt(), 7);
    EXPECT_EQ(h.Stored("DrawGraph2").toInt(), 0);
    EXPECT_EQ(h.Stored("Col3").toString(), "16744448");
    EXPECT_EQ(h.Stored("Ritsu").toInt(), 2500);
    EXPECT_EQ(h.Stored("Zoomed").toInt(), 0);
}

TEST(MainWindow, QuitKeepsEverythingOfAFileWithABrokenLine)
{
    // A hand-edited file: a section header lacks its "]", one value is an encoded object.
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Velmora/Brevant.ini"_qs);
    const QByteArray before = "[Other]\nKeep=1\n\n[Last]\nTitle0=売上の図\nKingaku0=5000000\n"
                              "Ritsu=3300\nTitle1=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\aQPixmap)\n"
                              "[Extra\nNote=mine\n";
    ASSERT_TRUE(QDir().mkpath(dir.filePath(u"Velmora"_qs)));
    ASSERT_TRUE(test::WriteAll(path, before));
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner)); // private

    // The program's own run: the window opens on the file and the user quits with 終了.
    QString shownTitle;
    QString shownMaximum;
    {
        FakePlatform platform(dir.path());
        IniProfileStore store(path);
        CTarnelApp app(platform, store);
        QTimer::singleShot(0, [&] {
            auto* w = qobject_cast<CTarnelDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(w, nullptr);
            shownTitle = w->control<QLineEdit>(IDC_TITLE0)->text();
            shownMaximum = w->control<QLineEdit>(IDC_MAX_SALES)->text();
            w->control<QLineEdit>(IDC_TITLE2)->setFocus();
            w->control<QLineEdit>(IDC_TITLE2)->selectAll();
            QTest::keyClicks(w->control<QLineEdit>(IDC_TITLE2), u"Mine"_qs);
            w->control<QPushButton>(IDC_EXIT)->click();
        });
        app.InitInstance();
    }
    EXPECT_EQ(shownTitle, u"売上の図"_qs);
    EXPECT_EQ(shownMaximum, u"5000000"_qs);

    // The file as it was stays beside it; the new one keeps every line that is not ours.
    EXPECT_EQ(test::ReadAll(path + u".bak"_qs), before);
    EXPECT_FALSE(QFileInfo(path + u".bak"_qs).permissions() & (QFile::ReadGroup | QFile::ReadOther));
    const QByteArray after = test::ReadAll(path);
    EXPECT_TRUE(after.startsWith("[Other]\nKeep=1\n\n[Last]\nTitle0=売上の図\nKingaku0=5000000\n"
                                 "Ritsu=3300\n"))
        << after.constData();
    EXPECT_TRUE(after.endsWith("\n[Extra\nNote=mine\n")) << after.constData();
    IniProfileStore again(path);
    const StoredSettings s = LoadSettings(again);
    EXPECT_EQ(s.style.titles, (std::array<QString, 3>{u"売上の図"_qs, DefaultTitle(1), u"Mine"_qs}));
    EXPECT_EQ(s.amountTexts[0], u"5000000"_qs);
    EXPECT_EQ(s.ratio, 3300);
}

TEST(MainWindow, PlacementFollowsTheStoredRectangleInsideTheDesktop)
{
    const QSize desktop = QGuiApplication::primaryScreen()->availableGeometry().size();
    MainWindowHarness probe;
    const QSize minimum = probe.Open(false).minWindowSize();

    MainWindowHarness inside;
    inside.Store("PX", 30);
    inside.Store("PY", 40);
    inside.Store("SX", minimum.width() + 50);
    inside.Store("SY", 100); // below the minimum: raised
    CTarnelDlg& w = inside.Open(false);
    EXPECT_EQ(w.pos(), QPoint(30, 40));
    EXPECT_EQ(w.size(), QSize(minimum.width() + 50, minimum.height()));

    MainWindowHarness outside;
    outside.Store("PX", desktop.width());
    outside.Store("Zoomed", 1);
    CTarnelDlg& o = outside.Open(false);
    EXPECT_EQ(o.size(), minimum); // the template's placement stays
    EXPECT_TRUE(o.windowState() & Qt::WindowMaximized);
}

TEST(MainWindow, ClosingWhileMaximisedSavesTheRestoredRectangle)
{
    MainWindowHarness h;
    h.Store("PX", 20);
    h.Store("PY", 30);
    CTarnelDlg& w = h.Open();
    const QSize normal = w.size();
    w.showMaximized();
    QTest::qWait(20);
    ASSERT_TRUE(w.isMaximized());
    ASSERT_NE(w.size(), normal);
    h.Close();
    EXPECT_EQ(h.Stored("Zoomed").toInt(), 1);
    EXPECT_EQ(h.Stored("PX").toInt(), 20);
    EXPECT_EQ(h.Stored("PY").toInt(), 30);
    EXPECT_EQ(h.Stored("SX").toInt(), normal.width());
    EXPECT_EQ(h.Stored("SY").toInt(), normal.height());
}

TEST(MainWindow, ResizingLaysOutTheChartArea)
{
    MainWindowHarness h;
    CTarnelDlg& w = h.Open();
    const int top = h.At(IDC_CHART_TOP)->geometry().top();
    const auto* sizeText = h.At<QLabel>(IDC_CHART_SIZE);

    for (QSize grow : {QSize(0, 0), QSize(300, 200), QSize(31, 7)}) {
        w.resize(w.minWindowSize() + grow);
        const QRect area = w.ChartArea();
        EXPECT_EQ(area, QRect(0, top, w.width(), w.height() - top));
        EXPECT_EQ(sizeText->text(), SizeText(area));
        const int m = w.Style().outerMargin;
        const int cw = (area.width() - 4 * m) / 3;
        const auto rects = w.ChartRects();
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(rects[k], QRect(QPoint(m + k * (cw + m), m),
                                      QPoint(m + k * (cw + m) + cw - 1, area.height() - m - 1)));
    }

    // The window cannot be made smaller than its template.
    w.resize(200, 150);
    EXPECT_EQ(w.size(), w.minWindowSize());
}

TEST(MainWindow, WithEveryChartHiddenResizingKeepsTheChartRectangles)
{
    MainWindowHarness h;
    for (int k = 0; k < 3; ++k)
        h.Store(qPrintable(QStringLiteral("DrawGraph%1").arg(k)), 0);
    CTarnelDlg& w = h.Open();
    const auto before = w.ChartRects();
    w.resize(w.minWindowSize() + QSize(120, 80));
    EXPECT_EQ(w.ChartRects(), before);
    EXPECT_EQ(h.At<QLabel>(IDC_CHART_SIZE)->text(), SizeText(w.ChartArea()));
}

TEST(MainWindow, EnterAndEscDoNotClose)
{
    MainWindowHarness h;
    CTarnelDlg& w = h.Open();
    QTest::keyClick(h.At(IDC_MAX_SALES), Qt::Key_Return);
    QTest::keyClick(h.At(IDC_FONT_SIZE), Qt::Key_Enter);
    QTest::keyClick(h.At(IDC_SAMPLE), Qt::Key_Return);
    QTest::keyClick(h.At(IDC_TITLE0), Qt::Key_Escape);
    QTest::keyClick(&w, Qt::Key_Escape);
    QTest::keyClick(&w, Qt::Key_Escape, Qt::ShiftModifier);
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(h.platform.messages.isEmpty()); // Enter pressed no button

    h.At<QPushButton>(IDC_EXIT)->click();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), QDialog::Rejected);

    MainWindowHarness box;
    CTarnelDlg& b = box.Open();
    EXPECT_TRUE(b.close()); // the title bar's close box
    EXPECT_FALSE(b.isVisible());
}

TEST(MainWindow, HelpTriggersToggleWhicheverPageIsShown)
{
    MainWindowHarness h;
    CTarnelDlg& w = h.Open();
    auto* box = h.At<QTextEdit>(IDC_HELP_BOX);
    auto page = [](int kind) {
        return HelpPageText(kind).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    };
    auto press = [&](int trigger) {
        if (trigger == Qt::Key_F1 || trigger == Qt::Key_F2 || trigger == Qt::Key_F3)
            QTest::keyClick(h.At(IDC_MAX_SALES), Qt::Key(trigger)); // reaches the window
        else
            h.At<QPushButton>(trigger)->click();
    };
    struct Step {
        int trigger;
        bool shown;
        int page; // when shown
    } steps[] = {
        {IDC_GENERAL_HELP, true, 0}, {IDC_PRESENT_HELP, false, 0},
        {IDC_PRESENT_HELP, true, 2}, {Qt::Key_F1, false, 0},
        {Qt::Key_F3, true, 1},       {Qt::Key_F2, false, 0},
        {Qt::Key_F2, true, 2},       {IDC_BATCH_HELP, false, 0},
        {Qt::Key_F1, true, 0},       {IDC_GENERAL_HELP, false, 0},
    };
    for (const Step& s : steps) {
        press(s.trigger);
        EXPECT_EQ(w.helpShown(), s.shown) << s.trigger;
        EXPECT_EQ(box->isVisible(), s.shown) << s.trigger;
        if (s.shown) {
            EXPECT_EQ(box->toPlainText().trimmed(), page(s.page).trimmed()) << s.trigger;
            EXPECT_EQ(box->geometry(), w.ChartArea());
            const QTextFrameFormat f = box->document()->rootFrame()->frameFormat();
            EXPECT_EQ(f.leftMargin(), 10);
            EXPECT_EQ(f.rightMargin(), 10);
        }
    }

    // F1 belongs to the presentation window while it is open.
    w.setPresentationActive(true);
    QTest::keyClick(&w, Qt::Key_F1);
    EXPECT_FALSE(w.helpShown());
    QTest::keyClick(&w, Qt::Key_F2);
    EXPECT_TRUE(w.helpShown());
    w.setPresentationActive(false);
    // With a modifier, F2 is not the accelerator.
    QTest::keyClick(&w, Qt::Key_F2, Qt::ControlModifier);
    EXPECT_TRUE(w.helpShown());

    // The page follows the window's size, keeps the window colour, and stops painting.
    w.resize(w.minWindowSize() + QSize(100, 60));
    EXPECT_EQ(box->geometry(), w.ChartArea());
    EXPECT_EQ(box->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Base));
    const QColor background = w.palette().color(QPalette::Window);
    const QRect area = w.ChartArea();
    EXPECT_EQ(CountColour(w.backBuffer(), area, background.rgb()), area.width() * area.height());
}

TEST(MainWindow, ChartsAppearInTheBackBufferAndFollowChanges)
{
    MainWindowHarness h;
    CTarnelDlg& w = h.Open();
    w.resize(w.minWindowSize() + QSize(200, 200));
    const QRect area = w.ChartArea();
    const auto rects = w.ChartRects();
    const QImage& buffer = w.backBuffer();

    // What is on screen is what the exports take.
    EXPECT_EQ(buffer.copy(area).convertToFormat(QImage::Format_RGB32),
              w.ComposedImage().convertToFormat(QImage::Format_RGB32));
    const QRgb interior = ToRgb(w.Style().colors[kInterior]);
    for (int k = 0; k < 3; ++k)
        EXPECT_GT(CountColour(buffer, rects[k].translated(area.topLeft()), interior), 1000) << k;
    // The margin above the charts stays white.
    EXPECT_EQ(buffer.pixel(area.left() + 2, area.top() + 2) & 0xFFFFFF, 0xFFFFFFu);

    // A spin step repaints at once.
    const QImage before = buffer.copy(area);
    h.At<QSpinBox>(IDC_RATIO)->stepBy(3000);
    EXPECT_EQ(w.Inputs().variableCostRatio, 5500);
    EXPECT_NE(w.backBuffer().copy(area), before);

    // Hiding a chart lays the others out anew and draws them at once.
    h.At<QCheckBox>(IDC_CHART1_CHECK)->click();
    const auto two = w.ChartRects();
    EXPECT_TRUE(two[1].isEmpty());
    for (int k : {0, 2})
        EXPECT_GT(CountColour(w.backBuffer(), two[k].translated(area.topLeft()), interior), 1000);
}

TEST(MainWindow, VersionButtonOpensTheVersionDialogModally)
{
    MainWindowHarness h;
    h.Open();
    bool sawAbout = false;
    QTimer::singleShot(0, [&] {
        if (auto* about = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget())) {
            sawAbout = true;
            about->reject();
        }
    });
    h.At<QPushButton>(IDC_VERSION)->click();
    EXPECT_TRUE(sawAbout);
}

TEST(MainWindow, DroppedFilesMustBeOneCsvFile)
{
    struct Case {
        QStringList paths;
        int message;
    } cases[] = {
        {{"/data/a.csv", "/data/b.csv"}, 30004},
        {{}, 30004},
        {{"/data/DATA.CSV"}, 0},
        {{"/data/data.Csv"}, 0},
        {{"/data/data.txt"}, 30006},
        {{"csv"}, 30006},
        {{".csv"}, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckDroppedFiles(c.paths), c.message) << c.paths.join(',').toStdString();
}

TEST(MainWindow, EveryTemplateControlIsBuiltAtItsPlaceWithItsId)
{
    MainWindowHarness h;
    CTarnelDlg& w = h.Open(false);
    const DialogTemplate& t = MainWindowTemplate();
    QSet<int> seen;
    for (const ControlTemplate& c : t.controls) {
        if (c.id == IDC_STATIC)
            continue;
        EXPECT_FALSE(seen.contains(c.id)) << "duplicate id " << c.id;
        seen.insert(c.id);
        EXPECT_TRUE(QRect(QPoint(0, 0), t.size).contains(c.rect)) << c.id;
        QWidget* widget = w.controlById(c.id);
        ASSERT_NE(widget, nullptr) << c.id;
        if (c.kind == ControlKind::Spin) {
            EXPECT_NE(qobject_cast<QSpinBox*>(widget), nullptr) << c.id;
            continue;
        }
        EXPECT_EQ(widget->objectName(), QString::number(c.id));
        EXPECT_EQ(widget->isHidden(), (c.style & kHidden) != 0) << c.id;
        if (c.tooltip) {
            EXPECT_EQ(widget->toolTip(), QString::fromUtf8(c.tooltip)) << c.id;
        }
    }
    // Spin and entry are one widget; positions follow the dialog units.
    EXPECT_EQ(w.controlById(IDC_FONT_SIZE_SPIN), w.controlById(IDC_FONT_SIZE));
    EXPECT_EQ(w.controlById(IDC_RATIO_SPIN), w.controlById(IDC_RATIO));
    const QWidget* right = w.controlById(IDC_EXIT);
    EXPECT_NEAR(right->geometry().right() + 1, w.minWindowSize().width() * 481 / 483, 2);
    EXPECT_NEAR(h.At(IDC_CHART_TOP)->geometry().top(), w.minWindowSize().height() * 175 / 312, 1);
}

TEST(MainWindow, WrappedHelpLinesKeepTheirIndent)
{
    MainWindowHarness h;
    CTarnelDlg& w = h.Open();
    w.resize(w.minWindowSize());
    h.At<QPushButton>(IDC_GENERAL_HELP)->click();
    auto* box = h.At<QTextEdit>(IDC_HELP_BOX);
    QTextDocument* document = box->document();
    document->documentLayout()->documentSize(); // lays the page out at the box's width
    int wrapped = 0;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        int spaces = 0;
        while (spaces < text.size() && text.at(spaces) == u' ')
            ++spaces;
        const QTextLayout* layout = block.layout();
        if (spaces == 0 || layout->lineCount() < 2)
            continue;
        ++wrapped;
        // Every continuation line starts where the first line's text starts.
        const qreal textStart = layout->lineAt(0).cursorToX(spaces);
        for (int i = 1; i < layout->lineCount(); ++i)
            EXPECT_NEAR(layout->lineAt(i).x(), textStart, 1.0) << qPrintable(text);
    }
    EXPECT_GT(wrapped, 0) << "no indented line wraps at this width";
}

TEST(MainWindow, OpensOnAScenarioGivenAtStartAndSavesItAsTheLastFigures)
{
    MainWindowHarness h;
    h.Store("OutSaki", 3);
    Scenario start;
    start.inputs = {154321000, 125678900, 49605558, 5613, 1};
    start.style.titles[0] = u"今年の計画"_qs;
    start.style.drawGraph = {1, 0, 1};
    start.style.colors[kSalesLine] = Rgb(200, 10, 30);
    start.style.fontSize = 14;
    MovableElementTable elements;
    const QString path = h.dir.filePath(u"計画.brevant"_qs);
    h.window = std::make_unique<CTarnelDlg>(h.platform, h.store, elements, start, path);
    CTarnelDlg& w = *h.window;
    // That file is the window's, unchanged.
    EXPECT_EQ(w.Document().Path(), path);
    EXPECT_TRUE(w.windowTitle().startsWith(u"計画.brevant[*]"_qs));
    EXPECT_FALSE(w.isWindowModified());
    EXPECT_EQ(h.Text(IDC_MAX_SALES), u"154321000"_qs);
    EXPECT_EQ(h.Text(IDC_FIXED_COSTS), u"49605558"_qs);
    EXPECT_EQ(w.Inputs().targetSales, 125678900);
    EXPECT_EQ(h.At<QSpinBox>(IDC_RATIO)->value(), 5613);
    EXPECT_TRUE(h.At<QRadioButton>(IDC_UNIT_THOUSAND)->isChecked());
    EXPECT_EQ(h.Text(IDC_TITLE0), u"今年の計画"_qs);
    EXPECT_FALSE(h.At<QCheckBox>(IDC_CHART1_CHECK)->isChecked());
    EXPECT_EQ(w.Style(), start.style);
    EXPECT_EQ(w.OutputFormatValue(), 3); // not part of a scenario
    h.Close();
    EXPECT_EQ(h.Stored("Kingaku0").toString(), u"154321000"_qs);
    EXPECT_EQ(h.Stored("Title0").toString(), u"今年の計画"_qs);
    EXPECT_EQ(h.Stored("Ritsu").toInt(), 5613);
}
