// The presentation window driven like a user does: keys, wheel, menu clicks and the
// pointer stick, against a real main window on the offscreen platform.

#include "cshow_dlg.h"
#include "dialog_templates.h"
#include "present_tables.h"
#include "string_table.h"
#include "support/large_screen.h"
#include "support/main_window_harness.h"

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

using namespace brevant;
using namespace brevant::test;

namespace {

[[maybe_unused]] const bool kLargeScreen = UseLargeOffscreenScreen();

const QRgb kWhite = qRgb(255, 255, 255);

struct ShowHarness {
    MainWindowHarness h;
    std::unique_ptr<CShowDlg> show;

    // The sample figures, so every line has a place of its own.
    void SampleFigures()
    {
        h.Store("Kingaku0", QStringLiteral("154321000"));
        h.Store("Kingaku1", QStringLiteral("125678900"));
        h.Store("Kingaku2", QStringLiteral("49605558"));
        h.Store("Ritsu", 5613);
    }
    CShowDlg& Start()
    {
        CTarnelDlg& w = h.Open(false);
        show = std::make_unique<CShowDlg>(w, h.store, &w);
        EXPECT_TRUE(show->Start());
        return *show;
    }
    CTarnelDlg& Main() { return *h.window; }

    void Wheel(int delta, Qt::KeyboardModifiers mods)
    {
        const QPoint at(300, 300);
        QWheelEvent e(at, show->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, mods,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(show.get(), &e);
    }
    // Sent straight to the window, so it does not depend on the platform's cursor.
    void Move(QPoint p, Qt::MouseButtons held = Qt::NoButton)
    {
        QMouseEvent e(QEvent::MouseMove, p, show->mapToGlobal(p), Qt::NoButton, held,
                      Qt::NoModifier);
        QApplication::sendEvent(show.get(), &e);
    }
    // The middle of movable element k as last drawn.
    QPoint ElementPoint(int k)
    {
        const MovableElement& e = Main().Elements()[k];
        return e.kind == MovableElement::kPoint ? e.p0 : (e.p0 + e.p1) / 2;
    }
    void Press(QPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::mousePress(show.get(), Qt::LeftButton, mods, p);
    }
    void Release(QPoint p) { QTest::mouseRelease(show.get(), Qt::LeftButton, {}, p); }
    QPoint ButtonCentre(int button) const
    {
        return show->buttonMenu().ButtonRect(button).center();
    }
};

// Pixels that are not white outside the given rectangle.
int InkOutside(const QImage& image, const QRect& keep)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += !keep.contains(x, y) && (image.pixel(x, y) & 0xFFFFFF) != (kWhite & 0xFFFFFF);
    return n;
}

// The back buffer matches the charts as rendered, except inside `skip`.
bool ChartsShowOutside(CShowDlg& show, CTarnelDlg& main, const QRegion& skip)
{
    const QImage& charts = main.Renderer().ComposedImage();
    const QImage& buffer = show.backBuffer();
    if (charts.size() != buffer.size())
        return false;
    for (int y = 0; y < buffer.height(); ++y)
        for (int x = 0; x < buffer.width(); ++x)
            if (!skip.contains(QPoint(x, y)) && buffer.pixel(x, y) != charts.pixel(x, y))
                return false;
    return true;
}

} // namespace

TEST(ShowDlg, CoversThePrimaryScreenWithTheChartsAndTheMenu)
{
    ShowHarness s;
    CShowDlg& show = s.Start();
    EXPECT_EQ(show.geometry(), QRect(0, 0, 1920, 1200));
    EXPECT_EQ(show.backBuffer().size(), QSize(1920, 1200));
    EXPECT_EQ(s.Main().Renderer().ComposedImage().size(), QSize(1920, 1200));
    EXPECT_TRUE(show.buttonMenu().Visible());
    EXPECT_TRUE(ChartsShowOutside(show, s.Main(), show.buttonMenu().MenuRect()));
    EXPECT_FALSE(ChartsShowOutside(show, s.Main(), QRegion()));  // the menu is drawn
}

TEST(ShowDlg, AllChartsOffThenOneBackOn)
{
    ShowHarness s;
    CShowDlg& show = s.Start();
    for (Qt::Key key : {Qt::Key_F1, Qt::Key_F2, Qt::Key_F3})
        QTest::keyClick(&show, key);
    EXPECT_EQ(s.Main().Style().drawGraph, (std::array<int32_t, 3>{0, 0, 0}));
    EXPECT_EQ(InkOutside(show.backBuffer(), show.buttonMenu().MenuRect()), 0);
    for (int id : {IDC_CHART0_CHECK, IDC_CHART1_CHECK, IDC_CHART2_CHECK})
        EXPECT_FALSE(s.h.At<QCheckBox>(id)->isChecked()) << id;

    QTest::keyClick(&show, Qt::Key_F2);
    EXPECT_TRUE(s.h.At<QCheckBox>(IDC_CHART1_CHECK)->isChecked());
    const ChartGeometry& g = s.Main().Renderer().Geometry();
    EXPECT_EQ(g.chartRects[1], QRect(10, 10, 1900, 1180));
    // The one chart spans the screen: its frame shows near both sides.
    const QImage& buffer = show.backBuffer();
    EXPECT_GT(InkOutside(buffer.copy(0, 0, 400, 1200), QRect()), 0);
    EXPECT_GT(InkOutside(buffer.copy(1500, 0, 400, 900), QRect()), 0);
}

TEST(ShowDlg, CtrlWheelChangesTheFontSizeWithinItsLimits)
{
    struct Case {
        int start;
        int delta;
        int size;
    } cases[] = {
        {50, 120, 50},   // away from the user at the top stays
        {5, -120, 5},    // towards the user at the bottom stays
        {10, 120, 11},
        {10, -120, 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << (&c - cases));
        ShowHarness s;
        s.h.Store("FontSize", c.start);
        s.Start();
        s.Wheel(c.delta, Qt::ControlModifier);
        EXPECT_EQ(s.Main().Style().fontSize, c.size) << c.start << " " << c.delta;
        EXPECT_EQ(s.h.At<QSpinBox>(IDC_FONT_SIZE_SPIN)->value(), c.size);
        s.Wheel(c.delta, Qt::NoModifier);  // without Ctrl nothing changes
        EXPECT_EQ(s.Main().Style().fontSize, c.size);
    }
}

TEST(ShowDlg, FontItemsOfTheContextMenu)
{
    ShowHarness s;
    CShowDlg& show = s.Start();
    show.OnCommand(ID_FONT_LARGER);
    show.OnCommand(ID_FONT_LARGER);
    show.OnCommand(ID_FONT_SMALLER);
    EXPECT_EQ(s.Main().Style().fontSize, 11);
    EXPECT_EQ(s.h.At<QSpinBox>(IDC_FONT_SIZE)->value(), 11);
}

TEST(ShowDlg, ThousandYenItemToggles)
{
    struct Case {
        int loaded;
        int clicks;
        int unit;
    } cases[] = {{0, 1, 1}, {0, 2, 0}, {5, 1, 0}, {5, 2, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << (&c - cases));
        ShowHarness s;
        s.h.Store("Tani", c.loaded);
        CShowDlg& show = s.Start();
        for (int i = 0; i < c.clicks; ++i)
            show.OnCommand(ID_THOUSAND_YEN);
        EXPECT_EQ(s.Main().Inputs().amountUnit, c.unit) << c.loaded << " x" << c.clicks;
        EXPECT_EQ(s.h.At<QRadioButton>(IDC_UNIT_YEN)->isChecked(), c.unit == 0);
        EXPECT_EQ(s.h.At<QRadioButton>(IDC_UNIT_THOUSAND)->isChecked(), c.unit != 0);
    }
}

TEST(ShowDlg, AlwaysShowItemIsWrittenAtOnce)
{
    ShowHarness s;
    CShowDlg& show = s.Start();
    show.OnCommand(ID_ALWAYS_SHOW_MENU);
    EXPECT_EQ(s.h.Stored("AlwaysShow").toInt(), 0);
    EXPECT_FALSE(show.buttonMenu().Visible() && show.buttonMenu().Pinned());
    show.OnCommand(ID_ALWAYS_SHOW_MENU);
    EXPECT_EQ(s.h.Stored("AlwaysShow").toInt(), 1);
}

TEST(ShowDlg, MenuClickActsOnTheLitButton)
{
    ShowHarness s;
    CShowDlg& show = s.Start();
    s.Move(s.ButtonCentre(1));
    ASSERT_EQ(show.buttonMenu().LitButton(), 1);
    EXPECT_EQ(show.tooltip().TipText(), QStringLiteral("図表2\n表示/非表示(F2)"));
    // The gap right of button 1 still clicks button 1.
    const QRect b1 = show.buttonMenu().ButtonRect(1);
    const QPoint gap(b1.right() + 2, b1.center().y());
    s.Move(gap);
    QTest::mouseClick(&show, Qt::LeftButton, {}, gap);
    EXPECT_EQ(s.Main().Style().drawGraph[1], 0);
    EXPECT_FALSE(s.h.At<QCheckBox>(IDC_CHART1_CHECK)->isChecked());
    EXPECT_TRUE(show.isVisible());

    // Leaving the menu unlights; a click elsewhere is not the menu's.
    s.Move({200, 200});
    EXPECT_EQ(show.buttonMenu().LitButton(), -1);
    QTest::mouseClick(&show, Qt::LeftButton, {}, {200, 200});
    EXPECT_EQ(s.Main().Style().drawGraph[1], 0);
}

TEST(ShowDlg, EndButtonAndKeysEndIt)
{
    struct Case {
        const char* what;
        int result;
    } cases[] = {{"end button", QDialog::Rejected}, {"F11", QDialog::Accepted},
                 {"Esc", QDialog::Accepted}, {"item 113", QDialog::Accepted}};
    for (const auto& c : cases) {
        ShowHarness s;
        CShowDlg& show = s.Start();
        const std::string what = c.what;
        if (what == "end button") {
            s.Move(s.ButtonCentre(PresentMenu::kEnd));
            QTest::mouseClick(&show, Qt::LeftButton, {}, s.ButtonCentre(PresentMenu::kEnd));
        } else if (what == "F11") {
            QTest::keyClick(&show, Qt::Key_F11);
        } else if (what == "Esc") {
            QTest::keyClick(&show, Qt::Key_Escape);
        } else {
            show.OnCommand(ID_PRESENT_END);
        }
        EXPECT_FALSE(show.isVisible()) << c.what;
        EXPECT_EQ(show.result(), c.result) << c.what;
    }
}

TEST(ShowDlg, StickHidesTheCursorAndChangesLength)
{
    ShowHarness s;
    CShowDlg& show = s.Start();
    s.Move({600, 400});
    QTest::keyClick(&show, Qt::Key_Up);  // no stick: nothing
    EXPECT_EQ(show.stick().Level(), 1);

    show.OnMenuButton(PresentMenu::kStick);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::BlankCursor);
    struct Step {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        int level;
    } steps[] = {
        {Qt::Key_Up, Qt::NoModifier, 2},     {Qt::Key_Plus, Qt::KeypadModifier, 3},
        {Qt::Key_Up, Qt::NoModifier, 3},     {Qt::Key_Down, Qt::NoModifier, 2},
        {Qt::Key_Minus, Qt::KeypadModifier, 1}, {Qt::Key_Down, Qt::NoModifier, 1},
    };
    for (const auto& st : steps) {
        QTest::keyClick(&show, st.key, st.mods);
        EXPECT_EQ(show.stick().Level(), st.level) << st.key;
    }
    s.Wheel(-120, Qt::NoModifier);  // towards the user: longer
    EXPECT_EQ(show.stick().Level(), 2);
    s.Wheel(120, Qt::NoModifier);
    EXPECT_EQ(show.stick().Level(), 1);

    show.OnMenuButton(PresentMenu::kStick);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(ShowDlg, ChartToggleWithTheStickLeavesNoTraceOfTheOldLayout)
{
    ShowHarness s;
    CShowDlg& show = s.Start();
    show.OnMenuButton(PresentMenu::kStick);
    s.Move({700, 500});
    QTest::keyClick(&show, Qt::Key_F1);
    s.Move({900, 600});
    QRegion skip(QRect(890, 590, 61, 61));
    skip += show.buttonMenu().MenuRect();
    EXPECT_TRUE(ChartsShowOutside(show, s.Main(), skip));
    show.OnMenuButton(PresentMenu::kStick);
}

TEST(ShowDlg, MenuHoverWithTheStickLeavesNoPieceOfIt)
{
    ShowHarness s;
    CShowDlg& show = s.Start();
    show.OnMenuButton(PresentMenu::kStick);
    s.Move({10, 10});  // leaves the menu: it stays pinned for now
    show.OnCommand(ID_ALWAYS_SHOW_MENU);  // off: the menu shows only under the mouse
    ASSERT_FALSE(show.buttonMenu().Visible());
    const QRect menu = show.buttonMenu().MenuRect();
    // Just outside the menu, the stick reaching into it; then into it; then far away.
    s.Move(menu.topLeft() - QPoint(5, 5));
    s.Move(menu.topLeft() + QPoint(5, 5));
    ASSERT_TRUE(show.buttonMenu().Visible());
    s.Move({300, 300});
    ASSERT_FALSE(show.buttonMenu().Visible());
    EXPECT_TRUE(ChartsShowOutside(show, s.Main(), QRect(290, 290, 61, 61)));
    show.OnMenuButton(PresentMenu::kStick);
}

TEST(ShowDlg, InkColourIsChosenAndKept)
{
    struct Case {
        std::optional<ColorRef> chosen;
        const char* stored;
    } cases[] = {{Rgb(0, 128, 255), "16744448"}, {std::nullopt, "33535"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << (&c - cases));
        ShowHarness s;
        s.h.platform.colors.push_back(c.chosen);
        CShowDlg& show = s.Start();
        show.OnMenuButton(PresentMenu::kColour);
        show.reject();
        s.show.reset();
        EXPECT_EQ(s.h.Stored("refPointer").toString(), QString::fromLatin1(c.stored));
    }
}

TEST(ShowDlg, StoredInkColourIsUsed)
{
    ShowHarness s;
    s.h.Store("refPointer", QStringLiteral("16744448"));
    CShowDlg& show = s.Start();
    EXPECT_EQ(show.stick().InkColour(), Rgb(0, 128, 255));
}

TEST(ShowDlg, MissingPictureEndsAtOnceWithTheMemoryMessage)
{
    MainWindowHarness h;
    CTarnelDlg& w = h.Open(false);
    CShowDlg show(w, h.store, &w);
    show.SetPicturePaths(QStringLiteral(":/images/no_such.png"), {});
    EXPECT_EQ(show.exec(), QDialog::Rejected);
    EXPECT_TRUE(h.platform.Showed(IDS_MEMORY));
    ASSERT_EQ(h.platform.messages.size(), 1);
    EXPECT_EQ(h.platform.messages[0].flags, unsigned(kMbError));
    EXPECT_FALSE(show.isVisible());
}

TEST(ShowDlg, LaunchFromTheMainWindowAndBack)
{
    for (bool byKey : {false, true}) {
        MainWindowHarness h;
        CTarnelDlg& w = h.Open();
        const QRect area = w.ChartArea();
        bool wasActive = false;
        QSize shownSize;
        QTimer::singleShot(0, [&] {
            auto* show = qobject_cast<CShowDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(show, nullptr);
            wasActive = w.presentationActive();
            shownSize = w.Renderer().ComposedImage().size();
            QTest::keyClick(show, Qt::Key_Escape);
        });
        if (byKey)
            QTest::keyClick(&w, Qt::Key_F11);
        else
            h.At<QPushButton>(IDC_PRESENT)->click();
        EXPECT_TRUE(wasActive);
        EXPECT_EQ(shownSize, QSize(1920, 1200));
        EXPECT_FALSE(w.presentationActive());
        EXPECT_EQ(w.ChartArea(), area);
        EXPECT_EQ(w.Renderer().ComposedImage().size(), area.size());
        EXPECT_EQ(h.At<QLabel>(IDC_CHART_SIZE)->text(),
                  QStringLiteral("図表の大きさ：%1 × %2").arg(area.width()).arg(area.height()));
        EXPECT_EQ(h.Stored("refPointer").toString(), QStringLiteral("33535"));
    }
}

TEST(ShowDlgDrag, EscCancelsADragThenEndsThePresentation)
{
    ShowHarness s;
    s.SampleFigures();
    CShowDlg& show = s.Start();
    const double fixedBefore = s.Main().Inputs().fixedCosts;
    const QPoint grab = s.ElementPoint(2);  // fixed-cost line of chart 1
    s.Press(grab);
    ASSERT_EQ(s.Main().Drag().dragTarget, 2);
    s.Move(grab - QPoint(0, 80), Qt::LeftButton);
    EXPECT_FALSE(s.Main().Renderer().LabelRect().isEmpty());

    QTest::keyClick(&show, Qt::Key_Escape);
    EXPECT_FALSE(s.Main().Drag().dragging());
    EXPECT_TRUE(s.Main().Renderer().LabelRect().isEmpty());
    EXPECT_TRUE(show.isVisible());
    EXPECT_TRUE(ChartsShowOutside(show, s.Main(), show.buttonMenu().MenuRect()));
    s.Release(grab - QPoint(0, 80));
    EXPECT_EQ(s.Main().Inputs().fixedCosts, fixedBefore);

    QTest::keyClick(&show, Qt::Key_Escape);
    EXPECT_FALSE(show.isVisible());
    EXPECT_EQ(show.result(), QDialog::Accepted);
}

TEST(ShowDlgDrag, DropSetsTheFigureAndRedraws)
{
    ShowHarness s;
    s.SampleFigures();
    CShowDlg& show = s.Start();
    const double fixedBefore = s.Main().Inputs().fixedCosts;
    const QPoint grab = s.ElementPoint(2);
    s.Press(grab);
    s.Move(grab - QPoint(0, 100), Qt::LeftButton);
    s.Release(grab - QPoint(0, 100));
    EXPECT_FALSE(s.Main().Drag().dragging());
    const double fixedAfter = s.Main().Inputs().fixedCosts;
    EXPECT_GT(fixedAfter, fixedBefore);
    EXPECT_EQ(s.h.Text(IDC_FIXED_COSTS), QString::number(qint64(fixedAfter)));
    // Redrawn at screen size: the line now lies where it was dropped.
    EXPECT_EQ(s.Main().Renderer().ComposedImage().size(), show.backBuffer().size());
    EXPECT_NEAR(s.ElementPoint(2).y(), grab.y() - 100, 2);
    EXPECT_TRUE(ChartsShowOutside(show, s.Main(), show.buttonMenu().MenuRect()));
}

TEST(ShowDlgDrag, PressWithTheStickOrCtrlNeverDrags)
{
    ShowHarness s;
    s.SampleFigures();
    CShowDlg& show = s.Start();
    const QPoint grab = s.ElementPoint(2);

    s.Press(grab, Qt::ControlModifier);
    EXPECT_TRUE(s.Main().Drag().highlightMode);
    EXPECT_FALSE(s.Main().Drag().dragging());
    const QImage enlarged = show.backBuffer().copy();
    s.Release(grab);
    EXPECT_FALSE(s.Main().Drag().highlightMode);
    EXPECT_NE(show.backBuffer(), enlarged);

    show.OnMenuButton(PresentMenu::kStick);
    s.Press(grab);
    EXPECT_FALSE(s.Main().Drag().dragging());
    EXPECT_TRUE(show.stick().ButtonHeld());
    s.Release(grab);
    show.OnMenuButton(PresentMenu::kStick);
}

namespace {

// Opens the context menu with a right click at `at`, lets `inMenu` act on the open menu
// (local coordinates of the click point given), and closes it if it is still open.
void WithContextMenu(ShowHarness& s, QPoint at, const std::function<void(QMenu&, QPoint)>& inMenu)
{
    bool opened = false;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        opened = true;
        inMenu(*menu, menu->mapFromGlobal(s.show->mapToGlobal(at)));
        if (menu->isVisible())
            menu->close();
    });
    QTest::mouseClick(s.show.get(), Qt::RightButton, {}, at);
    EXPECT_TRUE(opened);
}

void SendToMenu(QMenu& menu, QEvent::Type type, QPoint local, Qt::MouseButton button)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent e(type, local, menu.mapToGlobal(local), button, held, Qt::NoModifier);
    QApplication::sendEvent(&menu, &e);
}

} // namespace

TEST(ShowDlgContextMenu, ASecondRightClickAtTheSamePlaceChoosesNothing)
{
    struct Case {
        const char* what;
        std::vector<QEvent::Type> events;
    } cases[] = {
        {"two clicks", {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}},
        {"double click",
         {QEvent::MouseButtonPress, QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ShowHarness s;
        CShowDlg& show = s.Start();
        const QImage before = show.backBuffer().copy();
        // The menu opens with its top edge on the click point: its first item lies there.
        WithContextMenu(s, {800, 300}, [&](QMenu& menu, QPoint local) {
            ASSERT_EQ(menu.actionAt(local + QPoint(0, 4)), menu.actions().first());
            for (QEvent::Type type : c.events)
                SendToMenu(menu, type, local + QPoint(0, 4), Qt::RightButton);
        });
        EXPECT_EQ(s.Main().Style().fontSize, 10) << c.what;
        EXPECT_EQ(s.h.At<QSpinBox>(IDC_FONT_SIZE_SPIN)->value(), 10) << c.what;
        EXPECT_EQ(show.backBuffer(), before) << c.what << ": something was erased or redrawn";
        EXPECT_TRUE(show.isVisible()) << c.what;
    }
}

TEST(ShowDlgContextMenu, AReleaseAfterMovingOntoAnItemChoosesIt)
{
    ShowHarness s;
    s.Start();
    WithContextMenu(s, {800, 300}, [&](QMenu& menu, QPoint local) {
        const QRect smaller = menu.actionGeometry(menu.actions()[1]);
        SendToMenu(menu, QEvent::MouseMove, smaller.center(), Qt::NoButton);
        SendToMenu(menu, QEvent::MouseButtonPress, smaller.center(), Qt::RightButton);
        SendToMenu(menu, QEvent::MouseButtonRelease, smaller.center(), Qt::RightButton);
        EXPECT_NE(smaller.center(), local);
    });
    EXPECT_EQ(s.Main().Style().fontSize, 9);
}

TEST(ShowDlg, MenuHidesWhenTheTimerFiresWithThePointerElsewhere)
{
    // The window opens under a resting pointer: no move event ever arrives.
    struct Case {
        const char* where;
        bool overMenu;
        bool visible;
    } cases[] = {{"far from the menu", false, false}, {"over the menu", true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << (&c - cases));
        ShowHarness s;
        s.h.Store("AlwaysShow", 0);
        QCursor::setPos(300, 300);
        CShowDlg& show = s.Start();
        const QRect menu = show.buttonMenu().MenuRect();
        if (c.overMenu)
            QCursor::setPos(show.mapToGlobal(menu.center()));
        ASSERT_TRUE(show.HideTimerRunning());
        show.OnHideTimer();
        EXPECT_FALSE(show.HideTimerRunning());
        EXPECT_EQ(show.buttonMenu().Visible(), c.visible) << c.where;
        // What is on the screen agrees.
        EXPECT_EQ(ChartsShowOutside(show, s.Main(), QRegion()), !c.visible) << c.where;
    }
}

TEST(ShowDlg, TooltipGoesWhenItsButtonActs)
{
    for (int button : {int(PresentMenu::kChart2), int(PresentMenu::kColour)}) {
        ShowHarness s;
        s.h.platform.colors.push_back(std::nullopt);
        CShowDlg& show = s.Start();
        // The platform's pointer rests where the moves go, so nothing else moves it.
        QCursor::setPos(show.mapToGlobal(s.ButtonCentre(button) + QPoint(1, 0)));
        s.Move(s.ButtonCentre(button));
        s.Move(s.ButtonCentre(button) + QPoint(1, 0));
        ASSERT_TRUE(QTest::qWaitFor([&] { return show.tooltip().isVisible(); }, 3000)) << button;
        QTest::mouseClick(&show, Qt::LeftButton, {}, s.ButtonCentre(button));
        EXPECT_FALSE(show.tooltip().isVisible()) << button;
        // Resting on the same button does not bring it back.
        s.Move(s.ButtonCentre(button) + QPoint(2, 0));
        QTest::qWait(700);
        EXPECT_FALSE(show.tooltip().isVisible()) << button;
    }
}

TEST(ShowDlgDrag, OneEscEndsAPresentationStartedDuringADrag)
{
    MainWindowHarness h;
    h.Store("Kingaku0", QStringLiteral("154321000"));
    h.Store("Kingaku1", QStringLiteral("125678900"));
    h.Store("Kingaku2", QStringLiteral("49605558"));
    h.Store("Ritsu", 5613);
    CTarnelDlg& w = h.Open();
    const double fixedBefore = w.Inputs().fixedCosts;
    const MovableElement& line = w.Elements()[2];
    const QPoint grab = (line.p0 + line.p1) / 2;
    QTest::mousePress(&w, Qt::LeftButton, {}, grab);
    ASSERT_EQ(w.Drag().dragTarget, 2);
    QMouseEvent move(QEvent::MouseMove, grab - QPoint(0, 30), w.mapToGlobal(grab - QPoint(0, 30)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &move);
    ASSERT_FALSE(w.Renderer().LabelRect().isEmpty());

    bool draggingInside = true;
    bool endedByOneEsc = false;
    QTimer::singleShot(0, [&] {
        auto* show = qobject_cast<CShowDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(show, nullptr);
        draggingInside = w.Drag().dragging();
        QTest::keyClick(show, Qt::Key_Escape);
        endedByOneEsc = !show->isVisible();
        if (!endedByOneEsc)
            QTest::keyClick(show, Qt::Key_Escape);
    });
    QTest::keyClick(&w, Qt::Key_F11);
    EXPECT_FALSE(draggingInside);
    EXPECT_TRUE(endedByOneEsc);
    QTest::mouseRelease(&w, Qt::LeftButton, {}, grab - QPoint(0, 30));
    EXPECT_EQ(w.Inputs().fixedCosts, fixedBefore);
    EXPECT_TRUE(w.Renderer().LabelRect().isEmpty());
}

TEST(ShowDlg, UndoAndRedoKeysStepThroughItsChanges)
{
    ShowHarness s;
    s.SampleFigures();
    CShowDlg& show = s.Start();
    struct State {
        BepInputs in;
        ChartStyle style;
        QImage charts;
    };
    const auto state = [&] {
        return State{s.Main().Inputs(), s.Main().Style(),
                     s.Main().Renderer().ComposedImage().copy()};
    };
    const auto same = [](const State& a, const State& b) {
        return a.in.fixedCosts == b.in.fixedCosts && a.style == b.style && a.charts == b.charts;
    };
    std::vector<State> states{state()};
    QTest::keyClick(&show, Qt::Key_F2);
    states.push_back(state());
    s.Wheel(120, Qt::ControlModifier);
    states.push_back(state());
    const QPoint grab = s.ElementPoint(2);
    s.Press(grab);
    s.Move(grab - QPoint(0, 100), Qt::LeftButton);
    s.Release(grab - QPoint(0, 100));
    states.push_back(state());
    ASSERT_NE(states[3].in.fixedCosts, states[0].in.fixedCosts);

    for (int k = 2; k >= 0; --k) {
        QTest::keyClick(&show, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_TRUE(same(state(), states[k])) << k;
    }
    EXPECT_EQ(s.h.At<QSpinBox>(IDC_FONT_SIZE)->value(), states[0].style.fontSize);
    for (int k = 1; k <= 3; ++k) {
        QTest::keyClick(&show, Qt::Key_Y, Qt::ControlModifier);
        EXPECT_TRUE(same(state(), states[k])) << k;
    }
}
