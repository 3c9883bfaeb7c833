// Undo and redo in the main window: every kind of change is one step, and each step puts
// back the exact figures, controls and chart pixels. The window's scenario file: opened as
// one step, saved whole, marked when changed, and asked about before changes are lost.

#include "analysis_page.h"
#include "scenario.h"
#include "scenario_document.h"
#include "color_button.h"
#include "dialog_templates.h"
#include "drag_edit.h"
#include "string_table.h"
#include "support/large_screen.h"
#include "support/main_window_harness.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QUndoStack>
#include <gtest/gtest.h>

#include <functional>

using namespace brevant;
using namespace brevant::test;

namespace {

[[maybe_unused]] const bool kLargeScreen = UseLargeOffscreenScreen();

// What the window shows and holds.
struct Shown {
    std::array<QString, 3> amounts;
    std::array<QString, 3> words;
    int ratioSpin = 0;
    QString ratioText;
    double maxSales = 0, targetSales = 0, fixedCosts = 0;
    int32_t ratio = 0, unit = 0;
    bool yen = false;
    ChartStyle style;
    std::array<bool, kChartCount> checks{};
    std::array<QString, kChartCount> titles;
    std::array<int, kWidthCount> widths{};
    int fontSize = 0, outerMargin = 0, scaleMargin = 0;
    std::array<ColorRef, kColorCount> buttons{};
    QImage charts;
    bool operator==(const Shown&) const = default;
};

Shown Capture(const MainWindowHarness& h, CTarnelDlg& w)
{
    constexpr int kWidthIds[] = {IDC_WIDTH0, IDC_WIDTH1, IDC_WIDTH2, IDC_WIDTH3, IDC_WIDTH4,
                                 IDC_WIDTH5, IDC_WIDTH6, IDC_WIDTH7, IDC_WIDTH8};
    Shown s;
    s.amounts = {h.Text(IDC_MAX_SALES), h.Text(IDC_TARGET_SALES), h.Text(IDC_FIXED_COSTS)};
    s.words = {h.At<QLabel>(IDC_MAX_SALES_WORDS)->text(),
               h.At<QLabel>(IDC_TARGET_SALES_WORDS)->text(),
               h.At<QLabel>(IDC_FIXED_COSTS_WORDS)->text()};
    s.ratioSpin = h.At<QSpinBox>(IDC_RATIO)->value();
    s.ratioText = h.At<QLabel>(IDC_RATIO_TEXT)->text();
    const BepInputs in = w.Inputs();
    s.maxSales = in.maxSales;
    s.targetSales = in.targetSales;
    s.fixedCosts = in.fixedCosts;
    s.ratio = in.variableCostRatio;
    s.unit = in.amountUnit;
    s.yen = h.At<QRadioButton>(IDC_UNIT_YEN)->isChecked();
    s.style = w.Style();
    s.checks = {h.At<QCheckBox>(IDC_CHART0_CHECK)->isChecked(),
                h.At<QCheckBox>(IDC_CHART1_CHECK)->isChecked(),
                h.At<QCheckBox>(IDC_CHART2_CHECK)->isChecked()};
    s.titles = {h.Text(IDC_TITLE0), h.Text(IDC_TITLE1), h.Text(IDC_SUBTITLE0)};
    for (int k = 0; k < kWidthCount; ++k)
        s.widths[k] = h.At<QSpinBox>(kWidthIds[k])->value();
    s.fontSize = h.At<QSpinBox>(IDC_FONT_SIZE)->value();
    s.outerMargin = h.At<QSpinBox>(IDC_OUTER_MARGIN)->value();
    s.scaleMargin = h.At<QSpinBox>(IDC_SCALE_MARGIN)->value();
    for (int k = 0; k < kColorCount; ++k)
        s.buttons[k] = h.At<ColorButton>(IDC_COLOR0 + k)->color();
    s.charts = w.ComposedImage().copy();
    return s;
}

// Keys go to whichever control has the focus, as typed.
void Keys(CTarnelDlg& w, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : &w, key, modifiers);
}

void TypeAndEnter(MainWindowHarness& h, int id, const QString& text)
{
    h.Type(id, text);
    QTest::keyClick(h.At(id), Qt::Key_Return);
}

} // namespace

TEST(WindowHistory, EveryKindOfChangeIsOneStepBackToTheSamePixels)
{
    MainWindowHarness h;
    h.Store("Kingaku0", "1000000");
    h.Store("Kingaku1", "400000");
    h.Store("Kingaku2", "300000");
    h.Store("Ritsu", 4000);
    CTarnelDlg& w = h.Open();
    const QString csv = h.dir.filePath(QStringLiteral("list.csv"));
    {
        QFile file(csv);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("A,1000,500,300,25\r\nB,2000000,900000,250000,35\r\n");
    }

    using Change = std::function<void()>;
    const std::pair<const char*, Change> changes[] = {
        {"typed amount", [&] { TypeAndEnter(h, IDC_MAX_SALES, QStringLiteral("1200000")); }},
        {"typed title", [&] { TypeAndEnter(h, IDC_TITLE1, QStringLiteral("来期の計画")); }},
        {"subtitle left by the focus",
         [&] {
             h.Type(IDC_SUBTITLE0, QStringLiteral("A"));
             h.At(IDC_TITLE0)->setFocus();
         }},
        {"ratio spin", [&] { QTest::keyClick(h.At(IDC_RATIO), Qt::Key_Up); }},
        {"typed width", [&] { TypeAndEnter(h, IDC_WIDTH0, QStringLiteral("7")); }},
        {"font size spin", [&] { QTest::keyClick(h.At(IDC_FONT_SIZE), Qt::Key_Up); }},
        {"outer margin spin", [&] { QTest::keyClick(h.At(IDC_OUTER_MARGIN), Qt::Key_Down); }},
        {"scale margin spin", [&] { QTest::keyClick(h.At(IDC_SCALE_MARGIN), Qt::Key_Up); }},
        {"paste",
         [&] {
             h.platform.clipboardText = QStringLiteral("900000\t500000\t200000\t45.5\n");
             h.platform.answers.push_back(kIdYes);
             h.At<QPushButton>(IDC_PASTE)->click();
         }},
        {"drag of the target line",
         [&] {
             const MovableElement& e = w.Elements()[1];
             const QPoint from = (e.p0 + e.p1) / 2;
             QTest::mousePress(&w, Qt::LeftButton, Qt::NoModifier, from);
             QTest::mouseMove(&w, from + QPoint(40, 0));
             QTest::mouseMove(&w, from + QPoint(60, 0));
             QTest::mouseRelease(&w, Qt::LeftButton, Qt::NoModifier, from + QPoint(60, 0));
         }},
        {"sample",
         [&] {
             h.platform.answers.push_back(kIdYes);
             h.At<QPushButton>(IDC_SAMPLE)->click();
         }},
        {"colour",
         [&] {
             auto* button = h.At<ColorButton>(IDC_COLOR0 + 6);
             button->click();
             button->paletteMenu()->findChild<QToolButton*>(QStringLiteral("#ff0000"))->click();
         }},
        {"reset colours",
         [&] {
             h.platform.answers.push_back(kIdYes);
             h.At<QPushButton>(IDC_RESET_COLOURS)->click();
         }},
        {"unit", [&] { h.At<QRadioButton>(IDC_UNIT_THOUSAND)->click(); }},
        {"chart check box", [&] { h.At<QCheckBox>(IDC_CHART1_CHECK)->click(); }},
        {"chart button", [&] { h.At<QPushButton>(IDC_CHART2_BUTTON)->click(); }},
        {"batch",
         [&] {
             h.platform.openNames = {csv};
             h.platform.answers = {kIdNo, kIdNo}; // all together; do not open the folder
             h.At<QPushButton>(IDC_BATCH)->click();
         }},
    };

    std::vector<Shown> states{Capture(h, w)};
    for (const auto& [what, change] : changes) {
        change();
        states.push_back(Capture(h, w));
        EXPECT_FALSE(states.back() == states[states.size() - 2]) << what << " changed nothing";
        EXPECT_EQ(w.UndoStack().count(), int(states.size()) - 1) << what;
    }
    ASSERT_TRUE(h.platform.Showed(IDS_SAVED_SHOW)); // the batch ran to its end

    // Typing still in progress is taken back first, and comes back as the last redo.
    h.Type(IDC_FIXED_COSTS, QStringLiteral("123"));
    const Shown typed = Capture(h, w);
    Keys(w, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(Capture(h, w) == states.back());

    for (size_t k = states.size() - 1; k-- > 0;) {
        Keys(w, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_TRUE(Capture(h, w) == states[k]) << "undo of " << changes[k].first;
    }
    EXPECT_FALSE(w.UndoAction()->isEnabled());
    Keys(w, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(Capture(h, w) == states[0]);

    for (size_t k = 1; k < states.size(); ++k) {
        // Both redo keys.
        if (k % 2)
            Keys(w, Qt::Key_Y, Qt::ControlModifier);
        else
            Keys(w, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_TRUE(Capture(h, w) == states[k]) << "redo of " << changes[k - 1].first;
    }
    Keys(w, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_TRUE(Capture(h, w) == typed);
    EXPECT_FALSE(w.RedoAction()->isEnabled());
    // Nothing asked or told while stepping.
    EXPECT_EQ(h.platform.answers.size(), 0u);
}

TEST(WindowHistory, AnalysisPageAndNewFiguresFollowTheSteps)
{
    MainWindowHarness h;
    CTarnelDlg& w = h.Open();
    EXPECT_EQ(w.UndoAction()->text(), QStringLiteral("元に戻す"));
    EXPECT_EQ(w.RedoAction()->text(), QStringLiteral("やり直し"));
    EXPECT_TRUE(w.UndoAction()->toolTip().contains(QStringLiteral("Ctrl+Z")));
    EXPECT_TRUE(w.RedoAction()->toolTip().contains(QStringLiteral("Ctrl+Y")));

    const BepInputs before = w.Inputs();
    const QImage charts = w.ComposedImage().copy();
    BepInputs in;
    in.maxSales = 5000000;
    in.targetSales = 3000000;
    in.fixedCosts = 1000000;
    in.variableCostRatio = 4250;
    in.amountUnit = 1;
    ChartStyle style = w.Style();
    style.drawGraph = {0, 1, 0};
    style.fontSize = 14;
    w.ReplaceFigures(in, style);
    EXPECT_EQ(w.UndoStack().count(), 1);
    EXPECT_EQ(h.Text(IDC_MAX_SALES), QStringLiteral("5000000"));
    EXPECT_EQ(h.At<QSpinBox>(IDC_FONT_SIZE)->value(), 14);
    EXPECT_FALSE(h.At<QCheckBox>(IDC_CHART0_CHECK)->isChecked());

    QTest::keyClick(&w, Qt::Key_F4);
    const QString shown = w.analysisPage()->Text();
    QTest::keyClick(w.analysisPage(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.Inputs().maxSales, before.maxSales);
    EXPECT_NE(w.analysisPage()->Text(), shown);
    QTest::keyClick(w.analysisPage(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(w.analysisPage()->Text(), shown);
    QTest::keyClick(&w, Qt::Key_F4);
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.ComposedImage(), charts);
}

namespace {

QString WriteScenario(const QString& path, const Scenario& scenario,
                      const QByteArray& extraKey = QByteArray())
{
    QByteArray bytes = ScenarioBytes(scenario);
    if (!extraKey.isEmpty())
        bytes.insert(bytes.indexOf('{') + 1, "\n    " + extraKey + ",");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

Scenario Plan(double fixedCosts)
{
    Scenario s;
    s.inputs = {9000000, 7000000, fixedCosts, 6250, 1};
    s.style.titles[0] = u"来期の計画"_qs;
    s.style.drawGraph = {1, 1, 0};
    s.style.fontSize = 12;
    return s;
}

} // namespace

TEST(ScenarioWindow, SavedAndOpenedWholeWithTheFileInTheTitleAndOpeningOneStep)
{
    MainWindowHarness h;
    CTarnelDlg& w = h.Open();
    ScenarioDocument& doc = w.Document();
    const QString caption = w.windowTitle();

    // Save as: the suffix is added (also after a dot in the name), the file holds exactly
    // the window's scenario.
    TypeAndEnter(h, IDC_FIXED_COSTS, QStringLiteral("2500000"));
    h.platform.saveNames = {h.dir.filePath(QStringLiteral("plan.2027"))};
    Keys(w, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    const QString planPath = h.dir.filePath(QStringLiteral("plan.2027.brevant"));
    Scenario shown;
    shown.inputs = w.Inputs();
    shown.style = w.Style();
    EXPECT_EQ(FileBytes(planPath), ScenarioBytes(shown));
    EXPECT_EQ(doc.Path(), planPath);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("plan.2027.brevant[*] - ") + caption);
    EXPECT_FALSE(w.isWindowModified());

    // A change marks the title; Ctrl+S writes it to the same file and clears the mark.
    QTest::keyClick(h.At(IDC_RATIO), Qt::Key_Up);
    EXPECT_TRUE(w.isWindowModified());
    Keys(w, Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(w.isWindowModified());
    shown.inputs = w.Inputs();
    EXPECT_EQ(FileBytes(planPath), ScenarioBytes(shown));
    EXPECT_EQ(h.platform.saveRequests.size(), 1); // no dialog the second time

    // Ctrl+O: a file with a key of a later version opens as one step; saving keeps the key.
    const QString otherPath = WriteScenario(h.dir.filePath(QStringLiteral("other.brevant")),
                                            Plan(1500000), R"("memo": "銀行提出用")");
    const Shown beforeOpen = Capture(h, w);
    const int steps = w.UndoStack().count();
    h.platform.openNames = {otherPath};
    Keys(w, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(w.UndoStack().count(), steps + 1);
    EXPECT_EQ(w.Inputs().fixedCosts, 1500000);
    EXPECT_EQ(w.Inputs().variableCostRatio, 6250);
    EXPECT_EQ(h.Text(IDC_TITLE0), u"来期の計画"_qs);
    EXPECT_EQ(h.platform.openRequests.last().directory, h.dir.path());
    EXPECT_TRUE(w.windowTitle().startsWith(QStringLiteral("other.brevant")));
    EXPECT_FALSE(w.isWindowModified());
    TypeAndEnter(h, IDC_MAX_SALES, QStringLiteral("9500000"));
    ASSERT_TRUE(doc.Save());
    EXPECT_TRUE(FileBytes(otherPath).contains(R"("memo": "銀行提出用")"));
    EXPECT_EQ(doc.RecentFiles(), QStringList({otherPath, planPath}));
    EXPECT_EQ(h.store.Get(QStringLiteral("RecentFiles"), QStringLiteral("File1")).toString(),
              otherPath);

    // Undo takes the opening back to the exact pixels and to the earlier file, unchanged as
    // it was then; redo brings the opened file back as saved.
    Keys(w, Qt::Key_Z, Qt::ControlModifier);
    Keys(w, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(Capture(h, w) == beforeOpen);
    EXPECT_EQ(doc.Path(), planPath);
    EXPECT_FALSE(w.isWindowModified());
    Keys(w, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(doc.Path(), otherPath);
    EXPECT_TRUE(w.isWindowModified());
    Keys(w, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_FALSE(w.isWindowModified());
    EXPECT_TRUE(h.platform.messages.isEmpty());
}

TEST(ScenarioWindow, UnsavedChangesAreAskedAboutBeforeClosingOrOpeningAnother)
{
    MainWindowHarness h;
    CTarnelDlg& w = h.Open();
    // Without a file nothing is asked: the figures are kept as the last ones, as ever.
    QTest::keyClick(h.At(IDC_RATIO), Qt::Key_Up);
    EXPECT_TRUE(w.Document().MayLeave());

    const QString a = WriteScenario(h.dir.filePath(QStringLiteral("a.brevant")), Plan(1000000));
    const QString b = WriteScenario(h.dir.filePath(QStringLiteral("b.brevant")), Plan(2000000));
    ASSERT_TRUE(w.Document().Open(a));
    h.Type(IDC_FIXED_COSTS, QStringLiteral("1200000")); // still being typed

    // Cancel keeps the window and its figures, for opening and for the close box alike.
    h.platform.answers = {kIdCancel, kIdCancel};
    EXPECT_FALSE(w.Document().Open(b));
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.Inputs().fixedCosts, 1200000);
    EXPECT_EQ(h.platform.CountOf(IDS_SCENARIO_UNSAVED), 2);
    EXPECT_EQ(h.platform.messages.last().text, a + u'\n' + *LoadStringEntry(IDS_SCENARIO_UNSAVED));

    // No opens the other file without saving; Yes saves before the window closes.
    h.platform.answers = {kIdNo};
    ASSERT_TRUE(w.Document().Open(b));
    EXPECT_EQ(ReadScenario(FileBytes(a)).index(), 0u);
    EXPECT_EQ(std::get<Scenario>(ReadScenario(FileBytes(a))).inputs.fixedCosts, 1000000);
    TypeAndEnter(h, IDC_TARGET_SALES, QStringLiteral("6000000"));
    h.platform.answers = {kIdYes};
    h.At<QPushButton>(IDC_EXIT)->click();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(std::get<Scenario>(ReadScenario(FileBytes(b))).inputs.targetSales, 6000000);
    h.Close();
    EXPECT_EQ(h.Stored("Kingaku1").toString(), QStringLiteral("6000000")); // [Last] as ever
}

TEST(ScenarioWindow, DroppedAndRecentFilesOpenAndWhatIsNoScenarioChangesNothing)
{
    MainWindowHarness h;
    CTarnelDlg& w = h.Open();
    const auto drop = [&](QWidget* target, const QString& path) {
        // As file managers offer a file: its address, and its name as text.
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(path)});
        mime.setText(path);
        const QPoint at = target == &w ? w.ChartArea().center() : target->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent dropped(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &dropped);
        QCoreApplication::processEvents();
    };
    std::vector<QString> paths;
    for (int k = 0; k < ScenarioDocument::kRecentCount + 1; ++k)
        paths.push_back(WriteScenario(h.dir.filePath(QStringLiteral("p%1.brevant").arg(k)),
                                      Plan(100000 * (k + 1))));
    drop(&w, paths[0]);
    EXPECT_EQ(w.Inputs().fixedCosts, 100000);
    drop(h.At(IDC_BATCH), paths[1]); // on the batch button too; a CSV there is a batch
    EXPECT_EQ(w.Inputs().fixedCosts, 200000);
    const QString title = h.Text(IDC_TITLE0);
    drop(h.At(IDC_TITLE0), paths[2]); // an entry does not take the name as text
    EXPECT_EQ(w.Inputs().fixedCosts, 300000);
    EXPECT_EQ(h.Text(IDC_TITLE0), title);
    for (size_t k = 3; k < paths.size(); ++k)
        ASSERT_TRUE(w.Document().Open(paths[k]));
    const QStringList recent = w.Document().RecentFiles();
    ASSERT_EQ(recent.size(), ScenarioDocument::kRecentCount);
    EXPECT_EQ(recent.first(), paths.back());
    EXPECT_FALSE(recent.contains(paths[0]));

    // A batch dropped on the button is a step of the file's, also when its questions run
    // an event loop of their own.
    QFile csv(h.dir.filePath(QStringLiteral("list.csv")));
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write("A,2000,1500,600,40\r\n");
    csv.close();
    const int stepsBeforeBatch = w.UndoStack().count();
    h.platform.modalLoop = true;
    h.platform.answers = {kIdNo, kIdNo}; // all together; do not open the folder
    drop(h.At(IDC_BATCH), csv.fileName());
    h.platform.modalLoop = false;
    EXPECT_EQ(w.Inputs().fixedCosts, 600);
    EXPECT_EQ(w.UndoStack().count(), stepsBeforeBatch + 1);
    EXPECT_TRUE(w.isWindowModified());

    // Not JSON, and a file gone since: told with the name, nothing changes, and the gone
    // one is no longer offered.
    const Shown before = Capture(h, w);
    const int steps = w.UndoStack().count();
    const QString caption = w.windowTitle();
    QFile bad(h.dir.filePath(QStringLiteral("bad.brevant")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("figures: 1,2,3");
    bad.close();
    drop(&w, bad.fileName());
    EXPECT_TRUE(h.platform.Showed(IDS_SCENARIO_NOT_JSON));
    QFile::remove(paths[4]);
    EXPECT_FALSE(w.Document().Open(paths[4]));
    EXPECT_TRUE(h.platform.Showed(IDS_OPEN_FAILED));
    EXPECT_FALSE(w.Document().RecentFiles().contains(paths[4]));
    EXPECT_TRUE(Capture(h, w) == before);
    EXPECT_EQ(w.UndoStack().count(), steps);
    EXPECT_EQ(w.windowTitle(), caption);
}
