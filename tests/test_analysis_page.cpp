#include "analysis.h"
#include "analysis_page.h"
#include "support/main_window_harness.h"

#include "dialog_templates.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <gtest/gtest.h>

using namespace brevant;
using namespace brevant::test;

namespace {

QImage ChartPixels(const CTarnelDlg& w)
{
    return w.backBuffer().copy(w.ChartArea());
}

} // namespace

TEST(AnalysisPage, F4ShowsTheFiguresAndFollowsChanges)
{
    MainWindowHarness h;
    CTarnelDlg& w = h.Open();
    // T = 10,000,000, F = 3,000,000, v = 40 %: B = 5,000,000, P = 3,000,000, M / P = 2.
    w.SetFourValues(u"20000000,10000000,3000000,40"_qs);
    const QImage charts = ChartPixels(w);
    AnalysisPage* page = w.analysisPage();
    ASSERT_TRUE(page);
    EXPECT_FALSE(page->isVisible());

    QTest::keyClick(h.At(IDC_MAX_SALES), Qt::Key_F4);
    ASSERT_TRUE(w.helpShown());
    EXPECT_TRUE(page->isVisible());
    EXPECT_FALSE(h.At<QTextEdit>(IDC_HELP_BOX)->isVisible());
    EXPECT_EQ(page->geometry(), w.ChartArea());
    QString text = page->Text();
    EXPECT_TRUE(text.contains(u"5,000,000円"_qs)) << qPrintable(text);
    EXPECT_TRUE(text.contains(u"50.00%"_qs));
    EXPECT_TRUE(text.contains(u"2.00倍"_qs));
    EXPECT_TRUE(text.contains(u"F4"_qs));

    // A typed change of the fixed costs: B = 2,700,000 / 0.6, P = 6,000,000 − 2,700,000.
    h.Type(IDC_FIXED_COSTS, u"2700000"_qs);
    text = page->Text();
    EXPECT_TRUE(text.contains(u"4,500,000円"_qs)) << qPrintable(text);
    EXPECT_TRUE(text.contains(u"3,300,000円"_qs));
    // And a change of the ratio through its spin box: v = 50 %, B = 5,400,000.
    h.At<QSpinBox>(IDC_RATIO)->setValue(5000);
    EXPECT_EQ(w.Inputs().variableCostRatio, 5000);
    EXPECT_TRUE(page->Text().contains(u"5,400,000円"_qs));

    // Ctrl+C on the page copies the table for a spreadsheet.
    page->setFocus();
    QTest::keyClick(page, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(h.platform.clipboardText, SensitivityTabText(SensitivityTable(w.Inputs())));

    // The page follows the window's size.
    w.resize(w.size() + QSize(80, 40));
    EXPECT_EQ(page->geometry(), w.ChartArea());
    w.resize(w.size() - QSize(80, 40));

    // Back to the first figures; F1 closes the page and the charts return as they were.
    h.Type(IDC_FIXED_COSTS, u"3000000"_qs);
    h.At<QSpinBox>(IDC_RATIO)->setValue(4000);
    QTest::keyClick(h.At(IDC_MAX_SALES), Qt::Key_F1);
    EXPECT_FALSE(w.helpShown());
    EXPECT_FALSE(page->isVisible());
    EXPECT_FALSE(h.At<QTextEdit>(IDC_HELP_BOX)->isVisible());
    EXPECT_EQ(ChartPixels(w), charts);
}

TEST(AnalysisPage, ChangesAreBlueForGainsRedForLosses)
{
    MainWindowHarness h;
    CTarnelDlg& w = h.Open();
    // T = 10,000,000, F = 3,000,000, v = 40 %: fixed costs −10 % gain 300,000 of profit,
    // +10 % lose as much; target sales ±10 % leave the break-even point as it is.
    w.SetFourValues(u"20000000,10000000,3000000,40"_qs);
    QTest::keyClick(h.At(IDC_MAX_SALES), Qt::Key_F4);
    const auto colour = [&w](const QString& cell) {
        const QTextCursor found = w.analysisPage()->document()->find(cell);
        EXPECT_FALSE(found.isNull()) << qPrintable(cell);
        return found.charFormat().foreground().color();
    };
    const QColor gain = colour(u"+300,000円"_qs), loss = colour(u"-300,000円"_qs);
    EXPECT_GT(gain.blue(), gain.red());
    EXPECT_GT(loss.red(), loss.blue());
    EXPECT_EQ(colour(u"±0円"_qs), QColor(Qt::black));
    EXPECT_EQ(colour(u"2,700,000円"_qs), QColor(Qt::black));
}

TEST(AnalysisPage, KeepsTheReadersPlaceAndScrollsToEveryFigure)
{
    MainWindowHarness h;
    CTarnelDlg& w = h.Open();
    QTest::keyClick(h.At(IDC_MAX_SALES), Qt::Key_F4);
    AnalysisPage* page = w.analysisPage();
    QScrollBar* down = page->verticalScrollBar();
    ASSERT_GT(down->maximum(), 0);
    down->setValue(down->maximum());
    h.Type(IDC_FIXED_COSTS, u"2700000"_qs);
    EXPECT_EQ(down->value(), down->maximum());
    EXPECT_GT(down->value(), 0);

    // Narrower than its table, the page scrolls sideways rather than break a figure.
    page->resize(300, page->height());
    EXPECT_GT(page->horizontalScrollBar()->maximum(), 0);
}

TEST(AnalysisPage, AnyPageKeyOrHelpButtonClosesWhateverIsShown)
{
    MainWindowHarness h;
    CTarnelDlg& w = h.Open();
    AnalysisPage* page = w.analysisPage();
    auto* help = h.At<QTextEdit>(IDC_HELP_BOX);

    // A help page shown: F4 closes it and shows nothing.
    QTest::keyClick(h.At(IDC_MAX_SALES), Qt::Key_F2);
    ASSERT_TRUE(help->isVisible());
    QTest::keyClick(h.At(IDC_MAX_SALES), Qt::Key_F4);
    EXPECT_FALSE(w.helpShown());
    EXPECT_FALSE(help->isVisible());
    EXPECT_FALSE(page->isVisible());

    // The analysis page shown: a help button closes it, F3 and F4 each too.
    for (int closer : {int(IDC_BATCH_HELP), int(Qt::Key_F3), int(Qt::Key_F4)}) {
        QTest::keyClick(h.At(IDC_MAX_SALES), Qt::Key_F4);
        ASSERT_TRUE(page->isVisible());
        if (closer == IDC_BATCH_HELP)
            h.At<QPushButton>(IDC_BATCH_HELP)->click();
        else
            QTest::keyClick(page, Qt::Key(closer));
        EXPECT_FALSE(w.helpShown()) << closer;
        EXPECT_FALSE(page->isVisible()) << closer;
        EXPECT_FALSE(help->isVisible()) << closer;
    }
}

TEST(AnalysisPage, TopRowButtonTogglesThePageAsF4Does)
{
    MainWindowHarness h;
    CTarnelDlg& w = h.Open();
    auto* button = h.At<QPushButton>(IDC_ANALYSIS);
    ASSERT_TRUE(button);
    EXPECT_TRUE(button->isVisible());
    EXPECT_TRUE(button->toolTip().endsWith(u"(F4)"_qs));
    button->click();
    EXPECT_TRUE(w.helpShown());
    EXPECT_TRUE(w.analysisPage()->isVisible());
    EXPECT_EQ(w.analysisPage()->geometry(), w.ChartArea());
    button->click();
    EXPECT_FALSE(w.helpShown());
    EXPECT_FALSE(w.analysisPage()->isVisible());
    // Opened by F4, closed by the button, and the other way round.
    QTest::keyClick(h.At(IDC_MAX_SALES), Qt::Key_F4);
    button->click();
    EXPECT_FALSE(w.analysisPage()->isVisible());
    button->click();
    QTest::keyClick(h.At(IDC_MAX_SALES), Qt::Key_F4);
    EXPECT_FALSE(w.analysisPage()->isVisible());
}

TEST(AnalysisPage, ChartContextMenuOffersTheChartCommandsWithTheirKeys)
{
    MainWindowHarness h;
    CTarnelDlg& w = h.Open();
    const auto menu = w.CreateChartMenu();
    QStringList entries;
    for (QAction* a : menu->actions())
        entries << (a->isSeparator() ? u"-"_qs
                                     : a->text() + u'|' + a->shortcut().toString());
    EXPECT_EQ(entries, (QStringList{u"元に戻す|Ctrl+Z"_qs, u"やり直し|Ctrl+Y"_qs, u"-"_qs,
                                    u"Clipboardへ(&C)|Alt+C"_qs, u"現状出力(&N)...|Alt+N"_qs,
                                    u"-"_qs, u"損益分岐点分析(&A)|F4"_qs}));
    for (QAction* a : menu->actions())
        EXPECT_TRUE(a->isSeparator() || a->isShortcutVisibleInContextMenu());

    // Copy puts the charts' image on the clipboard, as the button does.
    menu->actions().at(3)->trigger();
    EXPECT_FALSE(h.platform.clipboardImage.isNull());
    EXPECT_EQ(h.platform.clipboardImage, w.ComposedImage());
    // The analysis entry toggles the page.
    menu->actions().last()->trigger();
    EXPECT_TRUE(w.analysisPage()->isVisible());
    menu->actions().last()->trigger();
    EXPECT_FALSE(w.analysisPage()->isVisible());
}

TEST(AnalysisPage, RightClickOpensTheMenuOnlyOnTheChartsAndNeverDuringADrag)
{
    MainWindowHarness h;
    CTarnelDlg& w = h.Open();
    // Whatever menu opens is recorded and closed at once.
    const auto opened = [&](QWidget* target, QPoint at) {
        bool popup = false;
        QTimer::singleShot(0, [&] {
            if (QWidget* m = QApplication::activePopupWidget()) {
                popup = true;
                m->close();
            }
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
        QApplication::sendEvent(target, &event);
        QApplication::processEvents();
        return popup;
    };
    const QPoint inCharts = w.ChartArea().center();
    EXPECT_TRUE(opened(&w, inCharts));
    EXPECT_FALSE(opened(&w, QPoint(5, 5))); // above the charts, among the controls
    // During a drag the right button does nothing and the drag goes on.
    w.Drag().Start(0);
    EXPECT_FALSE(opened(&w, inCharts));
    EXPECT_TRUE(w.Drag().dragging());
    w.CancelDrag();
    // A page over the charts keeps the menu away.
    h.At<QPushButton>(IDC_ANALYSIS)->click();
    ASSERT_TRUE(w.helpShown());
    EXPECT_FALSE(opened(&w, inCharts));
}
