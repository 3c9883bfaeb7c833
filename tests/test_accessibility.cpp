// What screen readers and GUI test tools read of the main window: every labelled control
// has its label as accessible name, and the keyboard goes through the controls in the
// order the window is laid out.

#include "dialog_templates.h"
#include "support/large_screen.h"
#include "support/main_window_harness.h"

#include <QAbstractButton>
#include <gtest/gtest.h>

using namespace brevant;
using namespace brevant::test;

namespace {

[[maybe_unused]] const bool kLargeScreen = UseLargeOffscreenScreen();

TEST(Accessibility, LabelledControlsAreNamedByTheirLabels)
{
    MainWindowHarness h;
    h.Open();
    // Entries, spins, colour buttons: the label before them, without "：" or "&"; a line's
    // colour and width also by their column.
    EXPECT_EQ(h.At(IDC_MAX_SALES)->accessibleName(), QStringLiteral("最大売上高"));
    EXPECT_EQ(h.At(IDC_FONT_SIZE)->accessibleName(), QStringLiteral("文字サイズ"));
    EXPECT_EQ(h.At(IDC_COLOR0 + 1)->accessibleName(), QStringLiteral("固定費線 色"));
    EXPECT_EQ(h.At(IDC_WIDTH1)->accessibleName(), QStringLiteral("固定費線 太さ"));
    EXPECT_EQ(h.At(IDC_COLOR0 + 9)->accessibleName(), QStringLiteral("図表の内面 色"));
    EXPECT_EQ(h.At(IDC_RATIO)->accessibleName(), QStringLiteral("変動費率"));
    EXPECT_EQ(h.At(IDC_TITLE1)->accessibleName(), QStringLiteral("タイトル 2"));
    // Every input control has a name from a label, its own text or its tooltip.
    int unnamed = 0;
    for (QWidget* w : h.window->findChildren<QWidget*>()) {
        // Ids only: a spin box's inner entry is read as part of the spin box.
        bool isId = false;
        w->objectName().toInt(&isId);
        if (!isId || !w->focusPolicy() || !w->isVisibleTo(h.window.get()))
            continue;
        const auto* button = qobject_cast<QAbstractButton*>(w);
        const bool named = !w->accessibleName().isEmpty() || (button && !button->text().isEmpty());
        if (!named) {
            ++unnamed;
            ADD_FAILURE() << "control " << w->objectName().toStdString() << " has no name";
        }
    }
    EXPECT_EQ(unnamed, 0);
}

TEST(Accessibility, TabOrderFollowsTheLayout)
{
    MainWindowHarness h;
    h.Open();
    // From the first amount entry, Tab goes to the next amount entry below it.
    QWidget* first = h.At(IDC_MAX_SALES);
    first->setFocus();
    QWidget* w = first;
    int steps = 0;
    do {
        w = w->nextInFocusChain();
        ++steps;
    } while (w != h.At(IDC_TARGET_SALES) && steps < 200);
    EXPECT_LT(steps, 200);
    // Nothing focusable lies between them: the next stop after the first entry is the second.
    QWidget* next = first->nextInFocusChain();
    while (next != h.At(IDC_TARGET_SALES) && !(next->focusPolicy() & Qt::TabFocus))
        next = next->nextInFocusChain();
    EXPECT_EQ(next, h.At(IDC_TARGET_SALES));
}

} // namespace
