#include "message.h"
#include "text_util.h"
#include "platform.h"
#include "support/fake_platform.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace brevant;

TEST(FieldAt, SplitsAtOneCharacter)
{
    const QString text = QStringLiteral("1000,,300,20");
    EXPECT_EQ(FieldAt(text, 1, u','), QStringLiteral("1000"));
    EXPECT_EQ(FieldAt(text, 2, u','), QString());
    EXPECT_EQ(FieldAt(text, 3, u','), QStringLiteral("300"));
    EXPECT_EQ(FieldAt(text, 4, u','), QStringLiteral("20"));
    EXPECT_EQ(FieldAt(text, 5, u','), QString());
    EXPECT_EQ(FieldAt(text, 0, u','), QString());
    EXPECT_EQ(FieldAt(QStringLiteral("東京,大阪"), 2, u','), QStringLiteral("大阪"));
    EXPECT_EQ(FieldAt(QString(), 1, u','), QString());
    EXPECT_EQ(FieldAt(QStringLiteral("a,b,"), 3, u','), QString());
}

TEST(TabsToCommas, ReplacesEveryTab)
{
    EXPECT_EQ(TabsToCommas(QStringLiteral("1000\t500\t300\t25.5\r\n")),
              QStringLiteral("1000,500,300,25.5\r\n"));
    EXPECT_EQ(TabsToCommas(QStringLiteral("表\t計")), QStringLiteral("表,計"));
}

TEST(Cp932, RoundTripsJapaneseText)
{
    const QString text = QStringLiteral("損益分岐点①～１２３ｶﾀｶﾅ,ABC");
    const QByteArray bytes = ToCp932(text);
    // ① is 0x8740 and ～ is 0x8160 in CP932; half-width katakana are single bytes.
    EXPECT_TRUE(bytes.contains(QByteArray("\x87\x40", 2)));
    EXPECT_TRUE(bytes.contains(QByteArray("\x81\x60", 2)));
    EXPECT_TRUE(bytes.contains(QByteArray("\xB6\xC0\xB6\xC5", 4)));
    EXPECT_EQ(FromCp932(bytes), text);
}

TEST(Cp932, UnrepresentableCharactersBecomeQuestionMarks)
{
    EXPECT_EQ(ToCp932(QStringLiteral("a😀b€c")), QByteArray("a?b?c"));
    // Invalid input bytes never stop the decoding.
    const QString decoded = FromCp932(QByteArray("ok\x81", 3));
    EXPECT_TRUE(decoded.startsWith(QStringLiteral("ok")));
}

TEST(IsValidUtf8, TellsUtf8FromShiftJis)
{
    EXPECT_TRUE(IsValidUtf8(QStringLiteral("損益,1000").toUtf8()));
    EXPECT_FALSE(IsValidUtf8(ToCp932(QStringLiteral("損益,1000"))));
    EXPECT_TRUE(IsValidUtf8(QByteArray("plain ascii")));
}

TEST(CFormat, IgnoresTheUserLocale)
{
    EXPECT_EQ(CFormat("%.2f%%", 56.13), QStringLiteral("56.13%"));
    EXPECT_EQ(CFormat("%s-%03d", "20141231", 7), QStringLiteral("20141231-007"));
    EXPECT_EQ(CFormat("%.0f", 1e20), QStringLiteral("100000000000000000000"));
}

TEST(ShowMessage, ShowsPrefixAndTextUnderTheAppName)
{
    QTemporaryDir dir;
    test::FakePlatform platform(dir.path());
    platform.answers = {kIdYes};
    EXPECT_EQ(ShowMessage(platform, IDS_SET_FOUR_VALUES, QStringLiteral("1,2,3,4\n"), kMbQuestion), kIdYes);
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages[0].caption, QStringLiteral("Brevant"));
    EXPECT_EQ(platform.messages[0].flags, 0x24u);
    EXPECT_EQ(platform.messages[0].text,
              QStringLiteral("1,2,3,4\nこの値を、最大売上高, 目標売上高, 固定費, 変動費率 にセットしてもよろしいですか"));

    EXPECT_EQ(ShowMessage(platform, IDS_CLIPBOARD_SAVED, QString(), kMbInformation), kIdOk);
    EXPECT_EQ(ShowMessage(platform, IDS_BATCH_MODE, QString(), kMbQuestionCancel), kIdNo);
    // An id outside the table shows nothing.
    EXPECT_EQ(ShowMessage(platform, StringId(30008), QString(), kMbError), 0);
    EXPECT_EQ(platform.messages.size(), 3);
}

TEST(IsValidUtf8, RejectsMalformedSequences)
{
    const QByteArray bad[] = {
        QByteArray("\xC0\xAF", 2),         // overlong "/"
        QByteArray("\xED\xA0\x80", 3),     // surrogate
        QByteArray("\xF4\x90\x80\x80", 4), // past U+10FFFF
        QByteArray("\xE6\x90", 2),         // cut short
        QByteArray("\x80", 1),
    };
    for (const auto& b : bad)
        EXPECT_FALSE(IsValidUtf8(b)) << b.toHex().constData();
    EXPECT_TRUE(IsValidUtf8(QByteArray("\xEF\xBB\xBF\xE6\x90\x8D", 6)));
}

TEST(Cp932FileName, KeepsWhatCp932HoldsAndReplacesTheRest)
{
    const std::pair<QString, QString> cases[] = {
        {u"損益分岐点・指数図表"_qs, u"損益分岐点・指数図表"_qs},
        {u"ﾃｽﾄ ①ABC~\\"_qs, u"ﾃｽﾄ ①ABC~\\"_qs},
        {u"Café"_qs, u"Cafe"_qs},
        {u"Cafe\u0301"_qs, u"Cafe"_qs},   // the accent as a separate mark
        {u"ﬁle"_qs, u"file"_qs},          // a ligature becomes its letters
        {u"한국어"_qs, u"___"_qs},
        {u"a😀b"_qs, u"a_b"_qs},          // one character, two UTF-16 units
        {u"\u0301"_qs, u"_"_qs},          // a lone mark: never an empty name
        {u"\u2024"_qs, u"_"_qs},          // one-dot leader: never "."
        {u"\u2025"_qs, u"‥"_qs},          // two-dot leader is in CP932
        {u"\u2024\u2024"_qs, u"__"_qs},   // never ".."
        {u"x\u2215y"_qs, u"x_y"_qs},      // no new "/"
        {QString(), QString()},
    };
    for (const auto& [name, expected] : cases) {
        const QString result = Cp932FileName(name);
        EXPECT_EQ(result, expected) << name.toStdString();
        // The summary, read back from CP932, names exactly this file.
        EXPECT_EQ(FromCp932(ToCp932(result)), result) << name.toStdString();
    }
}

TEST(EncodeForCodeset, FollowsTheLocaleAndKeepsUtf8ForTheCLocale)
{
    const QString text = u"損益 Café😀\n"_qs;
    EXPECT_EQ(EncodeForCodeset(text, "UTF-8"), text.toUtf8());
    // The C locale's ASCII: written as UTF-8, so the bytes of a path stay the path.
    EXPECT_EQ(EncodeForCodeset(text, "ANSI_X3.4-1968"), text.toUtf8());
    EXPECT_EQ(EncodeForCodeset(text, "EUC-JP"),
              QByteArray("\xC2\xBB\xB1\xD7 Caf\x8F\xAB\xB1?\n"));
    EXPECT_EQ(EncodeForCodeset(text, "ISO-8859-1"), QByteArray("?? Caf\xE9?\n"));
    EXPECT_EQ(EncodeForCodeset(text, "no-such-charset"), text.toUtf8());
}
