// The real platform's dialogs: what a message box does with the text it is given, and the
// toolkit's own dialogs in Japanese.

#include "qt_platform.h"
#include "string_table.h"
#include "toolkit_translations.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

using namespace brevant;

namespace {

// Shows a box through the platform and hands the open box to `look` before answering it.
int ShowBox(const QString& text, unsigned flags, const std::function<void(QMessageBox&)>& look)
{
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        look(*box);
        box->reject();
    });
    QtPlatform platform;
    return platform.MessageBox({.id = IDS_NONE,
                                .text = text,
                                .caption = QStringLiteral("損益分岐点シミュレータ"),
                                .flags = flags});
}

QLabel* TextLabel(QMessageBox& box)
{
    return box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
}

// Height of `text` in the label's font when wrapped at `width`.
int WrappedHeight(const QLabel& label, const QString& text, int width)
{
    return QFontMetrics(label.font())
        .boundingRect(QRect(0, 0, width, 100000), Qt::TextWordWrap, text)
        .height();
}

} // namespace

TEST(QtPlatformMessageBox, TextFromTheUserIsShownAsWritten)
{
    // A pasted clipboard text and a batch record, both holding markup.
    const QString question = *LoadStringEntry(IDS_SET_FOUR_VALUES);
    const QString texts[] = {
        QStringLiteral("<h1 style=\"color:red\">1000</h1>,500,300,20\n") + question,
        QStringLiteral("<b>x</b>,1000,500,300,20 <img src=\"/etc/passwd\">\nエラー"),
    };
    for (const QString& text : texts) {
        ShowBox(text, kMbQuestion, [&](QMessageBox& box) {
            QLabel* label = TextLabel(box);
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(box.textFormat(), Qt::PlainText);
            EXPECT_EQ(label->textFormat(), Qt::PlainText);
            EXPECT_EQ(label->text(), text);
            // Two lines as given: the break is kept, the markup takes no line of its own.
            const QFontMetrics metrics(label->font());
            EXPECT_LT(label->height(), 3 * metrics.lineSpacing()) << qPrintable(text);
            EXPECT_GT(label->height(), 3 * metrics.lineSpacing() / 2) << qPrintable(text);
        });
    }
}

TEST(QtPlatformMessageBox, JapaneseLinesAreNotBrokenInsideAWord)
{
    const QString question = *LoadStringEntry(IDS_SET_FOUR_VALUES);
    const QString texts[] = {question,
                             QStringLiteral("154321000,125678900,49605558,56.13\n") + question};
    for (const QString& text : texts) {
        ShowBox(text, kMbQuestion, [&](QMessageBox& box) {
            QLabel* label = TextLabel(box);
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(WrappedHeight(*label, text, label->width()),
                      WrappedHeight(*label, text, 100000))
                << "the box wraps a line of " << qPrintable(text);
        });
    }
}

TEST(QtPlatformMessageBox, AnswersFollowTheButtons)
{
    EXPECT_EQ(ShowBox(QStringLiteral("x"), kMbError, [](QMessageBox&) {}), kIdOk);
    EXPECT_EQ(ShowBox(QStringLiteral("x"), kMbQuestion, [](QMessageBox&) {}), kIdNo);
}

TEST(ToolkitTranslations, StandardButtonsReadInJapanese)
{
    if (!QFile::exists(ToolkitTranslationFile()))
        GTEST_SKIP() << "Qt's Japanese translations are not installed ("
                     << qPrintable(ToolkitTranslationFile())
                     << "); scripts/bootstrap installs qt6-translations-l10n";
    ASSERT_TRUE(InstallToolkitTranslations());
    EXPECT_TRUE(InstallToolkitTranslations()); // a second call adds nothing

    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));

    QColorDialog colours;
    colours.setOption(QColorDialog::DontUseNativeDialog);
    auto* colourButtons = colours.findChild<QDialogButtonBox*>();
    ASSERT_NE(colourButtons, nullptr);
    EXPECT_EQ(colourButtons->button(QDialogButtonBox::Cancel)->text(),
              QStringLiteral("キャンセル"));
    EXPECT_NE(colours.windowTitle(), QStringLiteral("Select Color"));
}
