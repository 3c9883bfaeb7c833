// The controls of the main window: what each one changes, and the paste and sample paths.

#include "about_dlg.h"
#include "color_button.h"
#include "cshow_dlg.h"
#include "dialog_templates.h"
#include "four_values.h"
#include "text_util.h"
#include "support/large_screen.h"
#include "support/main_window_harness.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <optional>

using namespace brevant;
using namespace brevant::test;

namespace {

[[maybe_unused]] const bool kLargeScreen = UseLargeOffscreenScreen();

const QString kConfirm = QStringLiteral(
    "この値を、最大売上高, 目標売上高, 固定費, 変動費率 にセットしてもよろしいですか");
const QString kZero = QStringLiteral("値に0を設定することはできません");

// Keys as an input method in full-width mode sends them: each carries its full-width
// character. (QTest::keyClicks can only send Latin-1 text.)
void TypeFullWidthKeys(QWidget* entry, const QString& text)
{
    entry->setFocus();
    if (auto* spin = qobject_cast<QSpinBox*>(entry))
        spin->selectAll();
    else
        static_cast<QLineEdit*>(entry)->selectAll();
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, entry, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

} // namespace

TEST(MainWindowControls, PasteSetsTheFourValues)
{
    struct Case {
        const char* clipboard;
        int answer;
        const char* entries[3]; // after the paste
        int ratio;
        bool zeroMessage;
    } cases[] = {
        {"1000\t500\t300\t25.5\n", kIdYes, {"1000", "500", "300"}, 2550, false},
        {"1000,,300,20", kIdYes, {"1000", "1", "1"}, 2500, true},
        {"1000,500", kIdYes, {"1000", "500", ""}, 2500, false},
        {"1000,500,300,150", kIdYes, {"1000", "500", "300"}, 10000, false},
        {"1000,500,300,0.29", kIdYes, {"1000", "500", "300"}, 28, false},
        {"1000,500,300,-4", kIdYes, {"1000", "500", "300"}, 0, false},
        {",500,300,20", kIdYes, {"1", "1", "1"}, 2500, true},
        {"1000,500,300,20", kIdNo, {"1", "1", "1"}, 2500, false},
        {"１２５００００００，１２０，１０，２５．５", kIdYes, {"125000000", "120", "10"}, 2550,
         false},
        {"１２５００００００", kIdYes, {"125000000", "1", "1"}, 2500, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clipboard);
        MainWindowHarness h;
        h.Store("Kingaku1", "1");
        h.Store("Kingaku2", "1");
        CTarnelDlg& w = h.Open(false);
        h.platform.clipboardText = QString::fromUtf8(c.clipboard);
        h.platform.answers.push_back(c.answer);
        h.At<QPushButton>(IDC_PASTE)->click();

        ASSERT_GE(h.platform.messages.size(), 1) << c.clipboard;
        // The confirmation lists the figures the paste sets.
        EXPECT_EQ(h.platform.messages[0].text,
                  DescribeFourValues(QString::fromUtf8(c.clipboard)) + kConfirm);
        EXPECT_EQ(h.platform.messages[0].flags, 0x24u);
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(h.Text(IDC_MAX_SALES + k), QString::fromLatin1(c.entries[k])) << c.clipboard;
        EXPECT_EQ(w.Inputs().variableCostRatio, c.ratio) << c.clipboard;
        EXPECT_EQ(h.At<QSpinBox>(IDC_RATIO)->value(), c.ratio);
        EXPECT_EQ(h.At<QLabel>(IDC_RATIO_TEXT)->text(), RatioText(c.ratio));
        EXPECT_EQ(h.platform.Showed(30014), c.zeroMessage) << c.clipboard;
        if (c.zeroMessage) {
            // The pasted fields, separated by commas, before the message.
            EXPECT_EQ(h.platform.messages.last().text,
                      NarrowNumberText(QString::fromUtf8(c.clipboard)) + u'\n' + kZero);
            EXPECT_EQ(h.platform.messages.last().flags, 0x10u);
        }
    }
}

// Cells copied from a spreadsheet, a row or a column, each go whole into their entry, and
// the question shows the figures that will be set.
TEST(MainWindowControls, PasteOfSpreadsheetCellsTakesEachCellWhole)
{
    for (const char* clipboard : {"130,000,000\t110,000,000\t46,000,000\t61%\r\n",
                                  "130,000,000\n110,000,000\n46,000,000\n61%\n"}) {
        MainWindowHarness h;
        CTarnelDlg& w = h.Open(false);
        h.platform.clipboardText = QString::fromLatin1(clipboard);
        h.platform.answers.push_back(kIdYes);
        h.At<QPushButton>(IDC_PASTE)->click();
        ASSERT_EQ(h.platform.messages.size(), 1) << clipboard; // no 30014
        EXPECT_EQ(h.platform.messages[0].text,
                  QStringLiteral("最大売上高：130,000,000円\n目標売上高：110,000,000円\n"
                                 "固定費：46,000,000円\n変動費率：61.00%\n") +
                      kConfirm);
        EXPECT_EQ(h.Text(IDC_MAX_SALES), "130000000");
        EXPECT_EQ(w.Inputs().maxSales, 130000000);
        EXPECT_EQ(w.Inputs().targetSales, 110000000);
        EXPECT_EQ(w.Inputs().fixedCosts, 46000000);
        EXPECT_EQ(w.Inputs().variableCostRatio, 6100);
        EXPECT_EQ(h.At<QLabel>(IDC_TARGET_SALES_WORDS)->text(), QStringLiteral("1億1000万円"));
    }
}

TEST(MainWindowControls, PasteAppliesTheAmountRuleToEveryField)
{
    MainWindowHarness h;
    CTarnelDlg& w = h.Open(false);
    h.platform.clipboardText = QStringLiteral("3000000000,0,-1,56.13\r\n");
    h.platform.answers.push_back(kIdYes);
    h.At<QPushButton>(IDC_PASTE)->click();
    // The question tells of the cap; nothing more is shown.
    ASSERT_EQ(h.platform.messages.size(), 1);
    EXPECT_EQ(h.platform.messages[0].text,
              QStringLiteral("最大売上高：2,147,483,647円（上限）\n目標売上高：1円\n固定費：0円\n"
                             "変動費率：56.13%\n") +
                  kConfirm);
    EXPECT_EQ(w.Inputs().maxSales, 2147483647.0);
    EXPECT_EQ(h.At<QLabel>(IDC_MAX_SALES_WORDS)->text(), QStringLiteral("21億4748万3647円"));
    EXPECT_EQ(w.Inputs().targetSales, 1);
    EXPECT_EQ(h.At<QLabel>(IDC_TARGET_SALES_WORDS)->text(), QStringLiteral("1円"));
    EXPECT_EQ(w.Inputs().fixedCosts, 0);
    EXPECT_EQ(h.At<QLabel>(IDC_FIXED_COSTS_WORDS)->text(), QStringLiteral("0円"));
    EXPECT_EQ(w.Inputs().variableCostRatio, 5613);
}

TEST(MainWindowControls, AnEmptyClipboardDoesNothing)
{
    MainWindowHarness h;
    h.Open(false);
    h.At<QPushButton>(IDC_PASTE)->click();
    EXPECT_TRUE(h.platform.messages.isEmpty());
    EXPECT_EQ(h.Text(IDC_MAX_SALES), "1");
}

TEST(MainWindowControls, SampleButtonSetsTheSampleFigures)
{
    MainWindowHarness h;
    CTarnelDlg& w = h.Open(false);
    h.At<QPushButton>(IDC_SAMPLE)->click(); // the fake answers No
    EXPECT_EQ(h.Text(IDC_MAX_SALES), "1");
    ASSERT_EQ(h.platform.messages.size(), 1);
    EXPECT_EQ(h.platform.messages[0].text, kConfirm);

    h.platform.answers.push_back(kIdYes);
    h.At<QPushButton>(IDC_SAMPLE)->click();
    EXPECT_EQ(w.Inputs().maxSales, 154321000);
    EXPECT_EQ(w.Inputs().targetSales, 125678900);
    EXPECT_EQ(w.Inputs().fixedCosts, 49605558);
    EXPECT_EQ(w.Inputs().variableCostRatio, 5613);
    EXPECT_EQ(h.At<QLabel>(IDC_RATIO_TEXT)->text(), "56.13%");
    EXPECT_EQ(h.At<QLabel>(IDC_MAX_SALES_WORDS)->text(), QStringLiteral("1億5432万1000円"));
    EXPECT_EQ(h.At<QLabel>(IDC_TARGET_SALES_WORDS)->text(), QStringLiteral("1億2567万8900円"));
    EXPECT_EQ(h.At<QLabel>(IDC_FIXED_COSTS_WORDS)->text(), QStringLiteral("4960万5558円"));
}

TEST(MainWindowControls, TypedAmountsRunTheAmountRule)
{
    MainWindowHarness h;
    CTarnelDlg& w = h.Open();
    h.Type(IDC_TARGET_SALES, QStringLiteral("12a3-4"));
    EXPECT_EQ(h.Text(IDC_TARGET_SALES), "1234"); // typing takes digits only
    EXPECT_EQ(w.Inputs().targetSales, 1234);
    EXPECT_EQ(h.At<QLabel>(IDC_TARGET_SALES_WORDS)->text(), QStringLiteral("1234円"));
    h.Type(IDC_TARGET_SALES, QStringLiteral("0"));
    EXPECT_EQ(w.Inputs().targetSales, 1);
    EXPECT_EQ(h.At<QLabel>(IDC_TARGET_SALES_WORDS)->text(), QStringLiteral("1円"));
    h.Type(IDC_FIXED_COSTS, QStringLiteral("100050000"));
    EXPECT_EQ(w.Inputs().fixedCosts, 100050000);
    EXPECT_EQ(h.At<QLabel>(IDC_FIXED_COSTS_WORDS)->text(), QStringLiteral("1億5万円"));

    // Full-width digits, as keys or committed by an input method, go in as digits.
    TypeFullWidthKeys(h.At(IDC_MAX_SALES), QStringLiteral("１２５００００００"));
    EXPECT_EQ(h.Text(IDC_MAX_SALES), "125000000");
    EXPECT_EQ(w.Inputs().maxSales, 125000000);
    EXPECT_EQ(h.At<QLabel>(IDC_MAX_SALES_WORDS)->text(), QStringLiteral("1億2500万円"));
    h.Type(IDC_TARGET_SALES, QStringLiteral("９８７６"));
    EXPECT_EQ(h.Text(IDC_TARGET_SALES), "9876");
    EXPECT_EQ(w.Inputs().targetSales, 9876);
    TypeFullWidthKeys(h.At(IDC_TARGET_SALES), QStringLiteral("１，２"));
    EXPECT_EQ(h.Text(IDC_TARGET_SALES), "12"); // still digits only
}

// Typing beyond 2,147,483,647 shows the capped figure, which the charts and outputs use,
// and says so once; a capped amount loaded at start is shown without a message.
TEST(MainWindowControls, AnAmountBeyondTheCapIsShownAsTheCapAndTold)
{
    MainWindowHarness h;
    h.Store("Kingaku1", "5000000000");
    CTarnelDlg& w = h.Open();
    EXPECT_TRUE(h.platform.messages.isEmpty());
    EXPECT_EQ(h.At<QLabel>(IDC_TARGET_SALES_WORDS)->text(), QStringLiteral("21億4748万3647円"));

    h.Type(IDC_MAX_SALES, QStringLiteral("3000000000"));
    EXPECT_EQ(w.Inputs().maxSales, 2147483647.0);
    EXPECT_EQ(h.At<QLabel>(IDC_MAX_SALES_WORDS)->text(), QStringLiteral("21億4748万3647円"));
    ASSERT_EQ(h.platform.messages.size(), 1);
    EXPECT_EQ(h.platform.messages[0].text,
              QStringLiteral("最大売上高：3000000000\n設定できる金額は2,147,483,647円までです\n"
                             "2,147,483,647円として計算します"));
    EXPECT_EQ(h.platform.messages[0].flags, 0x40u);
    QTest::keyClicks(h.At(IDC_MAX_SALES), QStringLiteral("0")); // still beyond: not told again
    EXPECT_EQ(h.platform.messages.size(), 1);
}

TEST(MainWindowControls, SpinStepsAreClampedToTheirRanges)
{
    struct Case {
        int id;
        int start;
        int steps;
        int expected;
    } cases[] = {
        {IDC_FONT_SIZE_SPIN, 50, 1, 50},   {IDC_FONT_SIZE_SPIN, 5, -1, 5},
        {IDC_RATIO_SPIN, 0, -1, 0},        {IDC_RATIO_SPIN, 10000, 1, 10000},
        {IDC_RATIO_SPIN, 2500, 1, 2501},   {IDC_WIDTH8_SPIN, 20, 1, 20},
        {IDC_WIDTH0_SPIN, 0, -1, 0},       {IDC_OUTER_MARGIN_SPIN, 50, 1, 50},
        {IDC_SCALE_MARGIN_SPIN, 0, -1, 0}, {IDC_WIDTH5_SPIN, 3, -1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << (&c - cases));
        MainWindowHarness h;
        h.Open(false);
        auto* spin = h.At<QSpinBox>(c.id);
        ASSERT_NE(spin, nullptr) << c.id;
        spin->setValue(c.start);
        spin->stepBy(c.steps);
        EXPECT_EQ(spin->value(), c.expected) << c.id << " from " << c.start;
        EXPECT_EQ(spin->text(), QString::number(c.expected)); // no thousands separator
    }
}

TEST(MainWindowControls, SpinsWriteTheirMembers)
{
    MainWindowHarness h;
    CTarnelDlg& w = h.Open(false);
    const int widths[] = {IDC_WIDTH0_SPIN, IDC_WIDTH1_SPIN, IDC_WIDTH2_SPIN,
                          IDC_WIDTH3_SPIN, IDC_WIDTH4_SPIN, IDC_WIDTH5_SPIN,
                          IDC_WIDTH6_SPIN, IDC_WIDTH7_SPIN, IDC_WIDTH8_SPIN};
    for (int k = 0; k < kWidthCount; ++k) {
        h.At<QSpinBox>(widths[k])->stepBy(k + 1);
        EXPECT_EQ(w.Style().lineWidths[k], 3 + k + 1) << k;
    }
    h.At<QSpinBox>(IDC_FONT_SIZE_SPIN)->stepBy(2);
    EXPECT_EQ(w.Style().fontSize, 12);
    h.At<QSpinBox>(IDC_RATIO_SPIN)->stepBy(-1);
    EXPECT_EQ(w.Inputs().variableCostRatio, 2499);
    EXPECT_EQ(h.At<QLabel>(IDC_RATIO_TEXT)->text(), "24.99%");

    // The margins lay the charts out anew.
    h.At<QSpinBox>(IDC_OUTER_MARGIN_SPIN)->stepBy(10);
    EXPECT_EQ(w.Style().outerMargin, 20);
    EXPECT_EQ(w.ChartRects()[0].topLeft(), QPoint(20, 20));
    h.At<QSpinBox>(IDC_SCALE_MARGIN_SPIN)->stepBy(-4);
    EXPECT_EQ(w.Style().scaleMargin, 6);
}

// Mended: a number typed into a spin's entry counts when editing finishes, brought into
// the range, instead of being ignored until the next step.
TEST(MainWindowControls, TypedSpinNumbersCountWhenEditingFinishes)
{
    MainWindowHarness h;
    CTarnelDlg& w = h.Open();

    h.Type(IDC_WIDTH0, QStringLiteral("7"));
    h.At<QSpinBox>(IDC_WIDTH0_SPIN)->stepBy(1);
    EXPECT_EQ(w.Style().lineWidths[0], 8);
    EXPECT_EQ(h.At<QSpinBox>(IDC_WIDTH0)->text(), "8");

    h.Type(IDC_WIDTH1, QStringLiteral("12"));
    QTest::keyClick(h.At(IDC_WIDTH1), Qt::Key_Return);
    EXPECT_EQ(w.Style().lineWidths[1], 12);

    h.Type(IDC_FONT_SIZE, QStringLiteral("3"));
    QTest::keyClick(h.At(IDC_FONT_SIZE), Qt::Key_Enter);
    EXPECT_EQ(w.Style().fontSize, 5);
    EXPECT_EQ(h.At<QSpinBox>(IDC_FONT_SIZE)->text(), "5");

    TypeFullWidthKeys(h.At(IDC_WIDTH2), QStringLiteral("１５"));
    QTest::keyClick(h.At(IDC_WIDTH2), Qt::Key_Return);
    EXPECT_EQ(w.Style().lineWidths[2], 15);

    h.Type(IDC_RATIO, QStringLiteral("99999"));
    h.At(IDC_TITLE0)->setFocus(); // focus leaving finishes the edit
    QApplication::processEvents();
    EXPECT_EQ(w.Inputs().variableCostRatio, 9999); // the fifth digit does not fit the range
    EXPECT_EQ(h.At<QLabel>(IDC_RATIO_TEXT)->text(), "99.99%");
    EXPECT_TRUE(w.isVisible());
}

TEST(MainWindowControls, ChartCheckBoxesAndButtonsToggleTheCharts)
{
    MainWindowHarness h;
    CTarnelDlg& w = h.Open();
    auto* check1 = h.At<QCheckBox>(IDC_CHART1_CHECK);

    // The button while its box is ticked: unticks it and hides the index chart.
    h.At<QPushButton>(IDC_CHART1_BUTTON)->click();
    EXPECT_EQ(w.Style().drawGraph[1], 0);
    EXPECT_FALSE(check1->isChecked());
    EXPECT_TRUE(w.ChartRects()[1].isEmpty());
    check1->click();
    EXPECT_NE(w.Style().drawGraph[1], 0);
    EXPECT_FALSE(w.ChartRects()[1].isEmpty());

    // One chart gets the whole width less two margins.
    h.At<QCheckBox>(IDC_CHART0_CHECK)->click();
    h.At<QPushButton>(IDC_CHART1_BUTTON)->click();
    const QRect area = w.ChartArea();
    const int m = w.Style().outerMargin;
    EXPECT_EQ(w.ChartRects()[2], QRect(m, m, area.width() - 2 * m, area.height() - 2 * m));
    EXPECT_EQ(h.At<QLabel>(IDC_CHART_SIZE)->text(),
              QStringLiteral("図表の大きさ：%1 × %2").arg(area.width()).arg(area.height()));

    // Hiding the last one keeps the rectangles.
    const auto last = w.ChartRects();
    h.At<QPushButton>(IDC_CHART2_BUTTON)->click();
    EXPECT_FALSE(h.At<QCheckBox>(IDC_CHART2_CHECK)->isChecked());
    EXPECT_EQ(w.ChartRects(), last);
}

TEST(MainWindowControls, TitlesUnitAndFormatWriteTheirMembers)
{
    MainWindowHarness h;
    CTarnelDlg& w = h.Open();
    h.Type(IDC_TITLE2, QStringLiteral("全体"));
    h.Type(IDC_SUBTITLE0, QString());
    QTest::keyClick(h.At(IDC_SUBTITLE0), Qt::Key_Backspace);
    EXPECT_EQ(w.Style().titles[2], QStringLiteral("全体"));
    EXPECT_EQ(w.Style().subtitles[0], QString());

    h.At<QRadioButton>(IDC_UNIT_THOUSAND)->click();
    EXPECT_EQ(w.Inputs().amountUnit, 1);
    h.At<QRadioButton>(IDC_UNIT_YEN)->click();
    EXPECT_EQ(w.Inputs().amountUnit, 0);
    const int formats[] = {IDC_FORMAT_JPEG, IDC_FORMAT_BMP, IDC_FORMAT_GIF,
                           IDC_FORMAT_PNG,  IDC_FORMAT_TIFF, IDC_FORMAT_PDF};
    for (int f = 5; f >= 0; --f) {
        h.At<QRadioButton>(formats[f])->click();
        EXPECT_EQ(w.OutputFormatValue(), f);
    }
    // The two radio groups are separate.
    EXPECT_TRUE(h.At<QRadioButton>(IDC_UNIT_YEN)->isChecked());
}

TEST(MainWindowControls, ColourButtonsPickFromThePaletteOrTheDialog)
{
    MainWindowHarness h;
    CTarnelDlg& w = h.Open();
    auto* button = h.At<ColorButton>(IDC_COLOR0 + 2);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->color(), kDefaultColors[2]);

    button->click();
    QMenu* menu = button->paletteMenu();
    EXPECT_TRUE(menu->isVisible());
    const auto swatches = button->swatches();
    ASSERT_EQ(swatches.size(), int(ColorButton::PaletteColors().size()));
    EXPECT_EQ(swatches.size() % ColorButton::kPaletteColumns, 0);
    QToolButton* red = menu->findChild<QToolButton*>(QStringLiteral("#ff0000"));
    ASSERT_NE(red, nullptr);
    red->click();
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(w.Style().colors[2], Rgb(255, 0, 0));
    EXPECT_EQ(button->color(), Rgb(255, 0, 0));

    // Further colours come from the colour dialog; cancelling it changes nothing.
    h.platform.colors.push_back(Rgb(1, 2, 3));
    h.platform.colors.push_back(std::nullopt);
    button->moreColorsAction()->trigger();
    EXPECT_EQ(w.Style().colors[2], Rgb(1, 2, 3));
    button->moreColorsAction()->trigger();
    EXPECT_EQ(w.Style().colors[2], Rgb(1, 2, 3));

    // Reset: No keeps the colours, Yes restores all ten (widths stay).
    h.At<QSpinBox>(IDC_WIDTH2)->stepBy(2);
    h.At<QPushButton>(IDC_RESET_COLOURS)->click();
    EXPECT_EQ(w.Style().colors[2], Rgb(1, 2, 3));
    EXPECT_TRUE(h.platform.Showed(30018));
    EXPECT_EQ(h.platform.messages.last().flags, 0x24u);
    h.platform.answers.push_back(kIdYes);
    h.At<QPushButton>(IDC_RESET_COLOURS)->click();
    EXPECT_EQ(w.Style().colors, kDefaultColors);
    EXPECT_EQ(button->color(), kDefaultColors[2]);
    EXPECT_EQ(w.Style().lineWidths[2], 5);
    h.Close();
    EXPECT_EQ(h.Stored("Col2").toString(), "32768");
}

// Each command button reaches its command: a click does what only that command does.
TEST(MainWindowControls, EachCommandButtonRunsItsCommand)
{
    using Did = bool (*)(MainWindowHarness&, CTarnelDlg&, const QString& modal);
    const struct {
        const char* what;
        int id;
        Did did;
    } cases[] = {
        {"sample", IDC_SAMPLE, [](auto&, CTarnelDlg& w, auto&) { return w.Inputs().fixedCosts > 1; }},
        {"paste", IDC_PASTE,
         [](MainWindowHarness& h, auto&, auto&) {
             return !h.platform.messages.isEmpty() && h.platform.messages[0].text.endsWith(kConfirm);
         }},
        {"version", IDC_VERSION,
         [](auto&, auto&, const QString& modal) { return modal == CAboutDlg::staticMetaObject.className(); }},
        {"help", IDC_GENERAL_HELP, [](auto&, CTarnelDlg& w, auto&) { return w.helpShown(); }},
        {"exit", IDC_EXIT, [](auto&, CTarnelDlg& w, auto&) { return !w.isVisible(); }},
        {"reset colours", IDC_RESET_COLOURS,
         [](MainWindowHarness& h, auto&, auto&) { return h.platform.Showed(30018); }},
        {"output", IDC_OUTPUT_CURRENT,
         [](MainWindowHarness& h, auto&, auto&) { return h.platform.saveRequests.size() == 1; }},
        {"clipboard", IDC_TO_CLIPBOARD,
         [](MainWindowHarness& h, auto&, auto&) { return !h.platform.clipboardImage.isNull(); }},
        {"highlight", IDC_HIGHLIGHT,
         [](MainWindowHarness& h, auto&, auto&) { return h.platform.slept == QList<int>{2000}; }},
        {"present", IDC_PRESENT,
         [](auto&, auto&, const QString& modal) { return modal == CShowDlg::staticMetaObject.className(); }},
        {"output with CSV", IDC_OUTPUT_CSV,
         [](MainWindowHarness& h, auto&, auto&) { return QDir(h.platform.desktop + u"/BEP").exists(); }},
        {"batch", IDC_BATCH,
         [](MainWindowHarness& h, auto&, auto&) { return h.platform.openRequests.size() == 1; }},
        {"analysis", IDC_ANALYSIS,
         [](auto&, CTarnelDlg& w, auto&) { return w.helpShown(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MainWindowHarness h;
        CTarnelDlg& w = h.Open();
        h.platform.clipboardText = QStringLiteral("1000,500,300,20");
        h.platform.answers = {kIdYes};
        // A command that opens a window of its own: note which, and close it.
        QString modal;
        QTimer closer;
        closer.setSingleShot(true);
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                dialog && dialog != &w) {
                modal = QString::fromLatin1(dialog->metaObject()->className());
                dialog->reject();
            }
        });
        closer.start(0);
        h.At<QPushButton>(c.id)->click();
        EXPECT_TRUE(c.did(h, w, modal));
    }
}
