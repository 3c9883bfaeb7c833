#include "about_dlg.h"
#include "dialog_units.h"

#include "string_table.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace brevant;

namespace {

template <typename T>
T* Control(QWidget& dialog, int id)
{
    return dialog.findChild<T*>(QString::number(id));
}

} // namespace

TEST(CAboutDlg, HistoryListsTheThreeVersionsNewestFirst)
{
    CAboutDlg dialog;
    auto* history = Control<QPlainTextEdit>(dialog, 1001);
    ASSERT_NE(history, nullptr);
    EXPECT_TRUE(history->isReadOnly());
    EXPECT_EQ(history->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    const QStringList expected = {*LoadStringEntry(30202), *LoadStringEntry(30201),
                                  *LoadStringEntry(30200)};
    QStringList shown = history->toPlainText().split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(shown, expected);
    EXPECT_TRUE(shown.value(0).startsWith(QStringLiteral("Ver. 1.02")));
    EXPECT_EQ(VersionHistoryText(), expected.join(QStringLiteral("\r\n")) + "\r\n");
}

TEST(CAboutDlg, ClosesWithItsButtonOrEsc)
{
    struct Case {
        const char* name;
        std::function<void(CAboutDlg&)> act;
        int result;
    };
    const Case cases[] = {
        {"button 1",
         [](CAboutDlg& d) { QTest::mouseClick(Control<QPushButton>(d, 1), Qt::LeftButton); },
         QDialog::Accepted},
        {"Esc", [](CAboutDlg& d) { QTest::keyClick(&d, Qt::Key_Escape); }, QDialog::Rejected},
        {"Enter on the focused button",
         [](CAboutDlg& d) { QTest::keyClick(d.focusWidget(), Qt::Key_Return); },
         QDialog::Accepted},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CAboutDlg dialog;
        ASSERT_NE(Control<QPushButton>(dialog, 1), nullptr);
        bool acted = false;
        QTimer::singleShot(0, &dialog, [&] {
            acted = true;
            c.act(dialog);
        });
        // A guard so a dialog that ignores the key fails the test instead of hanging it.
        QTimer::singleShot(5000, &dialog, [&] { dialog.done(-1); });
        const int result = dialog.exec();
        EXPECT_TRUE(acted);
        EXPECT_EQ(result, c.result);
        EXPECT_FALSE(dialog.isVisible());
    }
}

TEST(CAboutDlg, PlacedInDialogUnitsOfItsFont)
{
    CAboutDlg dialog;
    const QFont& f = dialog.font();
    EXPECT_EQ(dialog.size(), DialogUnitsToPixels(QRect(0, 0, 315, 270), f).size());
    struct Placed {
        int id;
        QRect du;
    };
    const Placed placed[] = {{1, QRect(243, 2, 70, 27)}, {1001, QRect(58, 181, 254, 36)}};
    for (const Placed& p : placed) {
        QWidget* w = Control<QWidget>(dialog, p.id);
        ASSERT_NE(w, nullptr) << p.id;
        EXPECT_EQ(w->geometry(), DialogUnitsToPixels(p.du, f)) << p.id;
        EXPECT_TRUE(dialog.rect().contains(w->geometry())) << p.id;
    }
}

TEST(DialogFont, DesktopFacesAreDrawnWithIpaPGothic)
{
    if (!QFontDatabase::families().contains(QStringLiteral("IPAPGothic")))
        GTEST_SKIP() << "IPAPGothic is not installed";
    for (const char* face : {"Meiryo UI", "MS UI Gothic"}) {
        const QFont font = DialogFont(QString::fromLatin1(face), 9);
        EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("IPAPGothic")) << face;
        EXPECT_EQ(font.pointSize(), 9);
    }
}

TEST(DialogUnitsToPixels, WholeUnitsScaleByTheBaseUnits)
{
    const QFont font = DialogFont(QStringLiteral("Meiryo UI"), 9);
    const QSize base = DialogBaseUnits(font);
    ASSERT_GT(base.width(), 0);
    ASSERT_GT(base.height(), 0);
    struct Case {
        QRect du;
        QRect px;
    };
    const int bx = base.width(), by = base.height();
    const Case cases[] = {
        {QRect(0, 0, 4, 8), QRect(0, 0, bx, by)},
        {QRect(4, 8, 4, 8), QRect(bx, by, bx, by)},
        {QRect(40, 80, 400, 800), QRect(10 * bx, 10 * by, 100 * bx, 100 * by)},
        {QRect(-4, -8, 8, 16), QRect(-bx, -by, 2 * bx, 2 * by)},
        {QRect(0, 0, 0, 0), QRect(0, 0, 0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << (&c - cases));
        EXPECT_EQ(DialogUnitsToPixels(c.du, font), c.px);
    }
}

TEST(DialogUnitsToPixels, NeighboursInUnitsStayNeighboursInPixels)
{
    // Rounding each width on its own would open or close one-pixel gaps between controls
    // that touch in the template; rounding the edges keeps them touching.
    QFont font = DialogFont(QStringLiteral("Meiryo UI"), 9);
    for (int points : {8, 9, 11, 13}) {
        font.setPointSize(points);
        for (int x = 0; x < 24; ++x) {
            for (int w = 1; w < 12; ++w) {
                const QRect a = DialogUnitsToPixels(QRect(x, x, w, w), font);
                const QRect b = DialogUnitsToPixels(QRect(x + w, x + w, 5, 5), font);
                ASSERT_EQ(a.x() + a.width(), b.x()) << points << " " << x << " " << w;
                ASSERT_EQ(a.y() + a.height(), b.y()) << points << " " << x << " " << w;
            }
        }
    }
}
