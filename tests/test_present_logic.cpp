#include "pointer_stick.h"
#include "present_images.h"
#include "present_menu.h"
#include "renderer_background.h"
#include "saved_background.h"

#include <QImage>
#include <gtest/gtest.h>

#include <vector>

using namespace brevant;

namespace {

constexpr QSize kScreen(1600, 1000);

QImage Backdrop()
{
    QImage image(kScreen, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(200 + x % 50, 210 + y % 40, 220 + (x + y) % 30));
    return image;
}

QRgb InkRgb(ColorRef c) { return qRgb(RedOf(c), GreenOf(c), BlueOf(c)); }

int CountColour(const QImage& image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    return n;
}

// Pixels outside `keep` must equal the backdrop.
bool SameOutside(const QImage& a, const QImage& b, const QRect& keep)
{
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (!keep.contains(x, y) && a.pixel(x, y) != b.pixel(x, y))
                return false;
    return true;
}

// Runs against the stand-alone store and against the main window's label surface.
class StickTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        PresentImages images;
        ASSERT_TRUE(images.Load());
        stick.SetImages(images.sticks);
        stick.Toggle();
        window = Backdrop();
        backdrop = window;
        if (GetParam())
            background = &shared;
    }
    // A repaint of the window: the charts again, nothing saved.
    void Repaint()
    {
        window = backdrop;
        background->Forget();
    }

    PointerStick stick;
    ImageBackground own;
    ChartRenderer renderer;
    RendererBackground shared{renderer};
    SavedBackground* background = &own;
    QImage window;
    QImage backdrop;
};

} // namespace

TEST(PresentMenu, GeometryFollowsTheScreen)
{
    PresentMenu menu;
    menu.Start(kScreen, true);
    EXPECT_EQ(menu.MenuRect(), QRect(1288, 940, 302, 50));
    EXPECT_EQ(menu.CornerRect(), QRect(1288, 940, 312, 60));
    EXPECT_EQ(menu.ButtonRect(0), QRect(1295, 946, 39, 39));
    EXPECT_EQ(menu.ButtonRect(6), QRect(1547, 946, 39, 39));
}

TEST(PresentMenu, VisibilityWithoutAlwaysShow)
{
    PresentMenu menu;
    EXPECT_TRUE(menu.Start(kScreen, false));  // the five-second timer runs
    EXPECT_TRUE(menu.Visible());
    menu.OnMove({100, 100});
    EXPECT_TRUE(menu.Visible());  // still pinned for the first seconds
    EXPECT_EQ(menu.OnHideTimer({100, 100}), menu.MenuRect());
    EXPECT_FALSE(menu.Visible());
    const PresentMenu::MoveEffect in = menu.OnMove({1300, 950});
    EXPECT_TRUE(menu.Visible());
    EXPECT_EQ(in.repaint, menu.MenuRect());
    const PresentMenu::MoveEffect out = menu.OnMove({1287, 950});
    EXPECT_FALSE(menu.Visible());
    EXPECT_TRUE(out.hideTooltip);
    EXPECT_EQ(out.repaint, menu.CornerRect());
}

TEST(PresentMenu, HideTimerTakesTheHoverFromThePointer)
{
    // No move since the start: the hover it started with must not keep the menu.
    struct Case {
        QPoint pointer;
        bool visible;
    } cases[] = {{{100, 100}, false}, {{1287, 950}, false}, {{1288, 940}, true},
                 {{1589, 989}, true}, {{1590, 989}, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << (&c - cases));
        PresentMenu menu;
        menu.Start(kScreen, false);
        menu.OnHideTimer(c.pointer);
        EXPECT_EQ(menu.Visible(), c.visible) << c.pointer.x() << "," << c.pointer.y();
        EXPECT_EQ(menu.LitButton(), -1);
    }
    // Over the menu, a lit button stays lit.
    PresentMenu menu;
    menu.Start(kScreen, false);
    menu.OnMove({1300, 950});
    menu.OnHideTimer({1300, 950});
    EXPECT_EQ(menu.LitButton(), 0);
}

TEST(PresentMenu, AlwaysShowKeepsItAndToggles)
{
    PresentMenu menu;
    EXPECT_FALSE(menu.Start(kScreen, true));
    menu.OnMove({100, 100});
    menu.OnHideTimer({100, 100});
    EXPECT_TRUE(menu.Visible());
    menu.ToggleAlwaysShow();
    EXPECT_FALSE(menu.AlwaysShow());
    EXPECT_FALSE(menu.Visible());
    menu.ToggleAlwaysShow();
    EXPECT_TRUE(menu.AlwaysShow());
    EXPECT_TRUE(menu.Visible());
}

TEST(PresentMenu, MovesLightButtons)
{
    struct Case {
        const char* what;
        std::vector<QPoint> moves;
        int lit;        // after the last move
        int tooltip;    // tooltip asked for by the last move
    } cases[] = {
        {"start: hovered, a move onto a button lights it", {{1300, 950}}, 0, 0},
        {"first move back into the menu lights nothing", {{10, 10}, {1300, 950}}, -1, -1},
        {"the next move lights", {{10, 10}, {1300, 950}, {1301, 951}}, 0, 0},
        {"gap after a button keeps it lit", {{1300, 950}, {1334, 950}}, 0, -1},
        {"between the menu edge and button 0", {{1290, 950}}, -1, -1},
        {"moving along to another button", {{1300, 950}, {1550, 960}}, 6, 6},
        {"same button again asks for nothing", {{1300, 950}, {1310, 960}}, 0, -1},
        {"right edge is outside", {{1300, 950}, {1590, 950}}, -1, -1},
        {"bottom edge is outside", {{1300, 950}, {1300, 990}}, -1, -1},
        {"left and top edges are inside", {{10, 10}, {1288, 940}, {1295, 946}}, 0, 0},
        {"button's far edge is the gap", {{10, 10}, {1300, 950}, {1334, 985}}, -1, -1},
    };
    for (const auto& c : cases) {
        PresentMenu menu;
        menu.Start(kScreen, true);
        PresentMenu::MoveEffect last;
        for (QPoint p : c.moves)
            last = menu.OnMove(p);
        EXPECT_EQ(menu.LitButton(), c.lit) << c.what;
        EXPECT_EQ(menu.ClickTarget(), c.lit) << c.what;
        EXPECT_EQ(last.tooltipButton, c.tooltip) << c.what;
    }
}

TEST(PresentMenu, PaintsPlainMenuAndTheLitCell)
{
    PresentImages images;
    ASSERT_TRUE(images.Load());
    PresentMenu menu;
    menu.Start(kScreen, false);
    menu.OnMove({1300 + 42 * 3, 950});  // lights the stick button
    ASSERT_EQ(menu.LitButton(), 3);

    QImage window(kScreen, QImage::Format_RGB32);
    window.fill(Qt::white);
    PaintMenu(window, images.menuStrip, menu);
    const QRect m = menu.MenuRect();
    // Face centres: plain look from rows 50..99, the lit one from the upper half.
    for (int i = 0; i < PresentMenu::kButtonCount; ++i) {
        const QPoint face(7 + 42 * i + 18, 6 + 18);
        const QRgb want = i == 3 ? images.menuStrip.pixel(face.x(), face.y() - 1)
                                 : images.menuStrip.pixel(face.x(), face.y() + 50);
        EXPECT_EQ(window.pixel(m.topLeft() + face), want) << "button " << i;
    }
    EXPECT_EQ(window.pixel(m.left() - 1, m.top()), qRgb(255, 255, 255));

    menu.OnMove({10, 10});
    menu.OnHideTimer({10, 10});
    QImage hidden(kScreen, QImage::Format_RGB32);
    hidden.fill(Qt::white);
    PaintMenu(hidden, images.menuStrip, menu);
    EXPECT_EQ(CountColour(hidden, qRgb(255, 255, 255)), kScreen.width() * kScreen.height());
}

TEST(InkColour, ProfileText)
{
    EXPECT_EQ(InkColourText(Rgb(0, 128, 255)), QStringLiteral("16744448"));
    EXPECT_EQ(InkColourText(kDefaultInkColour), QStringLiteral("33535"));
    EXPECT_EQ(kDefaultInkColour, Rgb(255, 130, 0));
    struct Case {
        const char* text;
        ColorRef colour;
    } cases[] = {
        {"33535", Rgb(255, 130, 0)},
        {"16744448", Rgb(0, 128, 255)},
        {"orange", 0},
        {"", 0},
        {" 255x", 255},
        {"-1", 0xFFFFFFFFu},
        {"99999999999", 0x7FFFFFFFu},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InkColourFromText(QString::fromLatin1(c.text)), c.colour) << c.text;
        // What was read is written back as it was held.
        EXPECT_EQ(InkColourFromText(InkColourText(c.colour)), c.colour) << c.text;
    }
}

TEST(PointerStickLevel, ClampsAndNeedsTheStick)
{
    struct Case {
        bool shown;
        std::vector<int> deltas;
        int level;
    } cases[] = {
        {true, {+1}, 2},
        {true, {+1, +1, +1}, 3},
        {true, {-1}, 1},
        {true, {+1, +1, -1}, 2},
        {false, {+1}, 1},
        {false, {+1, +1}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << (&c - cases));
        PointerStick stick;
        if (c.shown)
            stick.Toggle();
        for (int d : c.deltas)
            EXPECT_EQ(stick.ChangeLevel(d), c.shown);
        EXPECT_EQ(stick.Level(), c.level);
        EXPECT_EQ(stick.Size(), 61 * c.level);
    }
}

TEST_P(StickTest, DrawsTheStickKeyedAndMovesItCleanly)
{
    for (int level = 1; level <= 3; ++level) {
        SCOPED_TRACE(level);
        const QPoint p(400, 300);
        stick.UpdatePointer(window, *background, false, p);
        // The red tip lies at (17, 16) of the picture, which starts 10 px up and left.
        const QRgb tip = window.pixel(p + QPoint(7, 6));
        EXPECT_GT(qRed(tip), 150);
        EXPECT_LT(qBlue(tip), 100);
        // Key pixels leave the charts showing: the picture's top-left corner is blue.
        EXPECT_EQ(window.pixel(p - QPoint(10, 10)), backdrop.pixel(p - QPoint(10, 10)));
        EXPECT_EQ(background->Rect(), QRect(340, 240, stick.Size() + 100, stick.Size() + 100));
        EXPECT_TRUE(SameOutside(window, backdrop, QRect(p - QPoint(10, 10), QSize(stick.Size(), stick.Size()))));

        stick.UpdatePointer(window, *background, false, {1000, 700});
        EXPECT_TRUE(SameOutside(window, backdrop, QRect(990, 690, stick.Size(), stick.Size())));
        stick.ChangeLevel(+1);
        Repaint();
    }
}

TEST_P(StickTest, LongerStickRestoresTheShorterOnesBackground)
{
    stick.UpdatePointer(window, *background, false, {500, 500});
    stick.ChangeLevel(+1);
    stick.UpdatePointer(window, *background, false, {500, 500});
    stick.ChangeLevel(-1);
    stick.UpdatePointer(window, *background, false, {500, 500});
    EXPECT_TRUE(SameOutside(window, backdrop, QRect(490, 490, 61, 61)));
}

TEST_P(StickTest, ClickShowsTheRippleUntilReleaseAndLeavesNoInk)
{
    const QPoint p(600, 400);
    stick.Press(window, *background, p);
    const QPoint centre = PointerStick::RippleCentre(p);
    // The ripple's ring edge at 36 px keeps its colour, the ring middle at 27 px changes.
    EXPECT_EQ(window.pixel(centre + QPoint(0, -36)), backdrop.pixel(centre + QPoint(0, -36)));
    EXPECT_NE(window.pixel(centre + QPoint(-27, 0)), backdrop.pixel(centre + QPoint(-27, 0)));
    EXPECT_NE(window.pixel(centre + QPoint(-60, 0)), backdrop.pixel(centre + QPoint(-60, 0)));

    stick.Release(window, *background, p);
    EXPECT_FALSE(stick.StrokeActive());
    stick.UpdatePointer(window, *background, false, {100, 100});
    EXPECT_TRUE(SameOutside(window, backdrop, QRect(90, 90, 61, 61)));
}

TEST_P(StickTest, InkStartsAtTheFirstMoveNotThePress)
{
    stick.SetInkColour(Rgb(0, 128, 255));
    const QRgb ink = InkRgb(stick.InkColour());
    stick.Press(window, *background, {100, 300});
    stick.UpdatePointer(window, *background, true, {300, 300});
    EXPECT_TRUE(stick.StrokeActive());
    EXPECT_EQ(CountColour(window, ink), 0);  // the first move only marks the start
    stick.UpdatePointer(window, *background, true, {500, 300});
    stick.Release(window, *background, {500, 300});
    stick.UpdatePointer(window, *background, false, {1200, 800});

    EXPECT_NE(window.pixel(200, 300), ink);
    EXPECT_EQ(window.pixel(300, 300), ink);
    EXPECT_EQ(window.pixel(400, 300), ink);
    EXPECT_EQ(window.pixel(400, 302), ink);  // 5 px wide
    EXPECT_NE(window.pixel(400, 303), ink);
    EXPECT_EQ(window.pixel(499, 300), ink);  // under where the stick was: kept by the save
    EXPECT_EQ(window.pixel(298, 300), ink);  // round end
    EXPECT_NE(window.pixel(296, 300), ink);
}

TEST_P(StickTest, EraseLeavesNoInkAfterAMove)
{
    const QRgb ink = InkRgb(stick.InkColour());
    stick.UpdatePointer(window, *background, true, {200, 200});
    stick.UpdatePointer(window, *background, true, {260, 240});
    stick.UpdatePointer(window, *background, true, {320, 210});
    ASSERT_GT(CountColour(window, ink), 100);
    stick.UpdatePointer(window, *background, false, {330, 220});
    Repaint();
    stick.UpdatePointer(window, *background, false, {300, 220});
    stick.UpdatePointer(window, *background, false, {900, 600});
    EXPECT_EQ(CountColour(window, ink), 0);
    EXPECT_TRUE(SameOutside(window, backdrop, QRect(890, 590, 61, 61)));
}

TEST(PointerStickFailure, NoSavedBackgroundStillDrawsTheStick)
{
    PresentImages images;
    ASSERT_TRUE(images.Load());
    PointerStick stick;
    stick.SetImages(images.sticks);
    stick.Toggle();
    ImageBackground background;
    background.failCreate = true;
    QImage window = Backdrop();
    const QImage backdrop = window;
    stick.UpdatePointer(window, background, false, {400, 300});
    EXPECT_TRUE(background.Rect().isEmpty());
    EXPECT_NE(window, backdrop);
}

TEST_P(StickTest, StickAndRippleNearTheScreenEdgesComeOffCleanly)
{
    stick.ChangeLevel(+2);
    for (QPoint p : {QPoint(0, 0), QPoint(1599, 999), QPoint(-30, 500), QPoint(1590, -5)}) {
        stick.Press(window, *background, p);
        stick.Release(window, *background, p);
    }
    stick.UpdatePointer(window, *background, false, {800, 500});
    EXPECT_TRUE(SameOutside(window, backdrop, QRect(790, 490, 183, 183)));
}

INSTANTIATE_TEST_SUITE_P(Backgrounds, StickTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "LabelSurface" : "OwnImage"; });
