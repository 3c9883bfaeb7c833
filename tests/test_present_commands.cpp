#include "balloon_tip.h"
#include "present_commands.h"

#include <QAction>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

using namespace brevant;

TEST(PresentKeys, KeyTable)
{
    const auto none = Qt::NoModifier;
    const auto pad = Qt::KeypadModifier;
    struct Case {
        int key;
        Qt::KeyboardModifiers mods;
        int command;
    } cases[] = {
        {Qt::Key_C, none, ID_ERASE_INK},
        {Qt::Key_Delete, none, ID_ERASE_INK},
        {Qt::Key_Delete, pad, ID_ERASE_INK},
        {Qt::Key_Down, none, ID_STICK_SHORTER},
        {Qt::Key_Minus, pad, ID_STICK_SHORTER},
        {Qt::Key_Minus, none, 0},  // the main keyboard's minus is not in the table
        {Qt::Key_Plus, pad, ID_STICK_LONGER},
        {Qt::Key_Plus, none, 0},
        {Qt::Key_Up, none, ID_STICK_LONGER},
        {Qt::Key_Escape, none, ID_PRESENT_ESCAPE},
        {Qt::Key_C, Qt::ShiftModifier, 0},
        {Qt::Key_C, Qt::ControlModifier, 0},
        {Qt::Key_Up, Qt::AltModifier, 0},
        {Qt::Key_F11, none, 0},
        {Qt::Key_X, none, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PresentKeyCommand(c.key, c.mods), c.command) << "key " << c.key;
}

TEST(PresentKeys, WheelSteps)
{
    EXPECT_EQ(WheelStep({0, 120}), 1);
    EXPECT_EQ(WheelStep({0, 15}), 1);  // fine-grained wheels still step once
    EXPECT_EQ(WheelStep({0, -240}), -1);
    EXPECT_EQ(WheelStep({120, 0}), 0);
}

TEST(PresentContextMenu, ItemsChecksAndShortcutColumn)
{
    struct Case {
        bool alwaysShow;
        bool thousand;
    } cases[] = {{false, false}, {true, false}, {false, true}, {true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << (&c - cases));
        const auto menu = CreatePresentContextMenu(nullptr, c.alwaysShow, c.thousand);
        const QList<QAction*> actions = menu->actions();
        ASSERT_EQ(actions.size(), 7);
        EXPECT_TRUE(actions[2]->isSeparator());
        EXPECT_TRUE(actions[5]->isSeparator());
        EXPECT_EQ(actions[0]->text(), QStringLiteral("文字を少し大きく(&U)\tCtrl + Wheel ↑"));
        EXPECT_EQ(actions[6]->text(), QStringLiteral("プレゼンモード終了(&E)\tEsc or F11"));
        EXPECT_EQ(actions[3]->data().toInt(), ID_THOUSAND_YEN);
        EXPECT_EQ(actions[3]->isChecked(), c.thousand);
        EXPECT_EQ(actions[4]->data().toInt(), ID_ALWAYS_SHOW_MENU);
        EXPECT_EQ(actions[4]->isChecked(), c.alwaysShow);
        EXPECT_FALSE(actions[0]->isCheckable());
    }
    EXPECT_EQ(CentredMenuPosition({500, 300}, 201), QPoint(400, 300));
}

TEST(BalloonTip, ShowsAfterRestingOnlyWhileActive)
{
    QWidget owner;
    BalloonTip tip(&owner);
    tip.SetDelays(30, 300, 30);
    tip.SetTipText(QStringLiteral("色変更"));
    tip.RelayMove({100, 100});
    QTest::qWait(100);
    EXPECT_FALSE(tip.isVisible());  // not active yet

    tip.Activate(true);
    tip.RelayMove({100, 100});
    QTest::qWait(100);
    EXPECT_TRUE(tip.isVisible());
    EXPECT_EQ(tip.TipText(), QStringLiteral("色変更"));

    QTest::qWait(400);
    EXPECT_FALSE(tip.isVisible());  // popped by itself
    tip.RelayMove({101, 100});
    QTest::qWait(100);
    EXPECT_FALSE(tip.isVisible());  // stays away until the text changes

    tip.SetTipText(QStringLiteral("終了\n(ESC, F11)"));
    tip.RelayMove({102, 100});
    QTest::qWait(100);
    EXPECT_TRUE(tip.isVisible());
    tip.Activate(false);
    EXPECT_FALSE(tip.isVisible());
}
