// The presentation window on a desktop of two screens: it covers the screen the main
// window is on, in the full-screen state.

#include "cshow_dlg.h"
#include "support/large_screen.h"
#include "support/main_window_harness.h"

#include <QGuiApplication>
#include <QScreen>
#include <gtest/gtest.h>

using namespace brevant;
using namespace brevant::test;

namespace {

[[maybe_unused]] const bool kTwoScreens = UseOffscreenScreens(
    R"([{"name": "left", "x": 0, "y": 0, "width": 1920, "height": 1200, "logicalDpi": 96,)"
    R"( "logicalBaseDpi": 96, "dpr": 1.0},)"
    R"( {"name": "right", "x": 1920, "y": 0, "width": 1280, "height": 1024, "logicalDpi": 96,)"
    R"( "logicalBaseDpi": 96, "dpr": 1.0}])");

} // namespace

TEST(ShowDlgScreens, CoversTheScreenOfTheMainWindowInFullScreenState)
{
    ASSERT_EQ(QGuiApplication::screens().size(), 2);
    struct Case {
        QPoint mainAt;
        QRect covered;
    } cases[] = {{{100, 100}, {0, 0, 1920, 1200}}, {{2000, 100}, {1920, 0, 1280, 1024}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << (&c - cases));
        MainWindowHarness h;
        CTarnelDlg& w = h.Open();
        w.move(c.mainAt);
        QCoreApplication::processEvents();
        ASSERT_EQ(w.screen()->geometry(), c.covered);
        CShowDlg show(w, h.store, &w);
        ASSERT_TRUE(show.Start());
        EXPECT_TRUE(show.windowState().testFlag(Qt::WindowFullScreen));
        EXPECT_EQ(show.geometry(), c.covered);
        EXPECT_EQ(show.screen(), w.screen());
        EXPECT_EQ(show.backBuffer().size(), c.covered.size());
        show.reject();
    }
}
