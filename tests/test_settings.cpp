#include "ini_profile_store.h"
#include "settings.h"

#include "support/file_helpers.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

using namespace brevant;
using brevant::test::ReadAll;
using brevant::test::WriteAll;

namespace {

QString K(const char* key) { return QString::fromLatin1(key); }

} // namespace

TEST(LoadSettings, EmptyStoreGivesDefaults)
{
    MemoryProfileStore store;
    const StoredSettings s = LoadSettings(store);
    EXPECT_EQ(s.style.drawGraph, (std::array<int32_t, 3>{1, 1, 1}));
    EXPECT_EQ(s.style.titles[0], QStringLiteral("損益分岐点図表"));
    EXPECT_EQ(s.style.titles[2], QStringLiteral("損益分岐点・指数図表"));
    EXPECT_EQ(s.style.subtitles[1], QStringLiteral("（図表2）"));
    EXPECT_EQ(s.style.colors, kDefaultColors);
    for (int w : s.style.lineWidths)
        EXPECT_EQ(w, 3);
    EXPECT_EQ(s.style.fontSize, 10);
    EXPECT_EQ(s.style.outerMargin, 10);
    EXPECT_EQ(s.style.scaleMargin, 10);
    EXPECT_EQ(s.ratio, 2500);
    EXPECT_EQ(s.amountUnit, 0);
    EXPECT_EQ(s.outputFormat, 0);
    EXPECT_EQ(s.amountTexts, (std::array<QString, 3>{"1", "0", "0"}));
    EXPECT_EQ(s.placement, QRect(0, 0, 640, 480));
    EXPECT_FALSE(s.zoomed);
}

TEST(LoadSettings, MaximumSalesIsRaisedToTheLargestAmount)
{
    struct Case {
        const char* a0;
        const char* a1;
        const char* a2;
        std::array<QString, 3> texts;
    } cases[] = {
        {"100", "500", "300", {"500", "500", "300"}},
        {"100", "200", "900", {"900", "200", "900"}},
        {"-7", "", "abc", {"1", "0", "0"}},
        {"", "0", "", {"1", "0", "0"}},
        {"99999999999", "5", "5", {"2147483647", "5", "5"}},
    };
    for (const auto& c : cases) {
        MemoryProfileStore store;
        store.WriteString(kSection, K("Kingaku0"), QString::fromLatin1(c.a0));
        store.WriteString(kSection, K("Kingaku1"), QString::fromLatin1(c.a1));
        store.WriteString(kSection, K("Kingaku2"), QString::fromLatin1(c.a2));
        EXPECT_EQ(LoadSettings(store).amountTexts, c.texts) << c.a0 << "/" << c.a1 << "/" << c.a2;
    }
}

TEST(LoadSettings, ClampsOutOfRangeIntegers)
{
    struct Case {
        const char* key;
        int stored;
        int loaded;
        int32_t StoredSettings::*member; // null: a style field checked below
    } cases[] = {
        {"Ritsu", 12000, 10000, &StoredSettings::ratio},
        {"Ritsu", -5, 0, &StoredSettings::ratio},
        {"Tani", 5, 5, &StoredSettings::amountUnit},
        {"OutSaki", 9, 9, &StoredSettings::outputFormat},
    };
    for (const auto& c : cases) {
        MemoryProfileStore store;
        store.WriteInt(kSection, K(c.key), c.stored);
        EXPECT_EQ(LoadSettings(store).*(c.member), c.loaded) << c.key << "=" << c.stored;
    }

    MemoryProfileStore store;
    store.WriteInt(kSection, K("FontSize"), 3);
    store.WriteInt(kSection, K("Yohaku"), 80);
    store.WriteInt(kSection, K("InYohaku"), -1);
    store.WriteInt(kSection, K("Futosa4"), 25);
    store.WriteInt(kSection, K("Futosa0"), -3);
    const StoredSettings s = LoadSettings(store);
    EXPECT_EQ(s.style.fontSize, 5);
    EXPECT_EQ(s.style.outerMargin, 50);
    EXPECT_EQ(s.style.scaleMargin, 0);
    EXPECT_EQ(s.style.lineWidths[4], 20);
    EXPECT_EQ(s.style.lineWidths[0], 0);
}

TEST(LoadSettings, ValuesOfTheWrongKindCountAsMissing)
{
    MemoryProfileStore store;
    store.Set(kSection, K("Ritsu"), QStringLiteral("lots"));
    store.Set(kSection, K("FontSize"), QStringLiteral("12abc"));
    store.Set(kSection, K("Title0"), QStringList{QStringLiteral("a"), QStringLiteral("b")});
    store.Set(kSection, K("Col3"), QStringLiteral("purple")); // colour text without digits: black
    store.Set(kSection, K("Col4"), QStringLiteral("-1"));
    store.Set(kSection, K("Zoomed"), QStringLiteral("2"));
    store.Set(kSection, K("DrawGraph1"), QStringLiteral("0"));
    const StoredSettings s = LoadSettings(store);
    EXPECT_EQ(s.ratio, 2500);
    EXPECT_EQ(s.style.fontSize, 10);
    EXPECT_EQ(s.style.titles[0], DefaultTitle(0));
    EXPECT_EQ(s.style.colors[3], 0u);
    EXPECT_EQ(s.style.colors[4], 0xFFFFFFFFu);
    EXPECT_FALSE(s.zoomed);
    EXPECT_EQ(s.style.drawGraph, (std::array<int32_t, 3>{1, 0, 1}));
}

TEST(SaveSettings, WritesEveryKeyAndReadsBackTheSame)
{
    StoredSettings s;
    s.style.drawGraph = {0, 1, 7};
    s.style.titles = {QStringLiteral("売上①"), QString(), QStringLiteral("半角ｶﾀｶﾅ, と,")};
    s.style.subtitles = {QString(), QStringLiteral("～副～"), QStringLiteral("１２３")};
    s.style.colors[0] = Rgb(0, 128, 255);
    s.style.colors[9] = 0xFFFFFFFF;
    s.style.lineWidths = {0, 1, 2, 3, 4, 5, 6, 7, 20};
    s.style.fontSize = 50;
    s.style.outerMargin = 0;
    s.style.scaleMargin = 33;
    s.amountTexts = {QStringLiteral("154321000"), QStringLiteral("0"), QStringLiteral("")};
    s.ratio = 5613;
    s.amountUnit = 5;
    s.outputFormat = 9;
    s.placement = QRect(-8, 40, 1200, 700);
    s.zoomed = true;

    MemoryProfileStore store;
    SaveSettings(store, s);
    EXPECT_EQ(store.Get(kSection, K("Col0")).toString(), QStringLiteral("16744448"));
    EXPECT_EQ(store.Get(kSection, K("Col9")).toString(), QStringLiteral("-1"));
    EXPECT_EQ(store.Get(kSection, K("Kingaku1")).toString(), QStringLiteral("0"));
    EXPECT_EQ(store.ReadInt(kSection, K("PX"), 99), 0);
    EXPECT_EQ(store.ReadInt(kSection, K("PY"), 99), 40);
    EXPECT_EQ(store.ReadInt(kSection, K("SX"), 99), 1200);
    EXPECT_EQ(store.ReadInt(kSection, K("SY"), 99), 700);
    EXPECT_EQ(store.ReadInt(kSection, K("Zoomed"), 99), 1);

    const StoredSettings back = LoadSettings(store);
    EXPECT_EQ(back.style.drawGraph, s.style.drawGraph);
    EXPECT_EQ(back.style.titles, s.style.titles);
    EXPECT_EQ(back.style.subtitles, s.style.subtitles);
    EXPECT_EQ(back.style.colors, s.style.colors);
    EXPECT_EQ(back.style.lineWidths, s.style.lineWidths);
    EXPECT_EQ(back.style.fontSize, 50);
    EXPECT_EQ(back.style.scaleMargin, 33);
    EXPECT_EQ(back.ratio, 5613);
    EXPECT_EQ(back.amountUnit, 5);
    EXPECT_EQ(back.outputFormat, 9);
    EXPECT_TRUE(back.zoomed);
    // The amounts come back raised and re-formatted, as on every load.
    EXPECT_EQ(back.amountTexts, (std::array<QString, 3>{"154321000", "0", "0"}));
}

TEST(PlacementRect, HonoursTheDesktopAndTheMinimumSize)
{
    const QSize desktop(1600, 1000);
    const QSize minimum(800, 560);
    EXPECT_EQ(PlacementRect(QRect(0, 0, 640, 480), desktop, minimum), QRect(0, 0, 800, 560));
    EXPECT_EQ(PlacementRect(QRect(100, 50, 1200, 700), desktop, minimum),
              QRect(100, 50, 1200, 700));
    EXPECT_EQ(PlacementRect(QRect(1600, 0, 900, 600), desktop, minimum), std::nullopt);
    EXPECT_EQ(PlacementRect(QRect(0, 1000, 900, 600), desktop, minimum), std::nullopt);
    EXPECT_EQ(PlacementRect(QRect(1599, 999, 900, 600), desktop, minimum),
              QRect(1599, 999, 900, 600));
}

TEST(LoadSettings, PlacementAtTheIntegerLimitsStaysARectangle)
{
    // Position and size together beyond the 32-bit range: the far edge is cut to the
    // limit, the position is kept, and the window then keeps where it was created.
    struct Case {
        int px, py, sx, sy;
        QRect expected;
    };
    const Case cases[] = {
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX, QRect(INT_MAX, INT_MAX, 0, 0)},
        {INT_MIN, INT_MIN, INT_MIN, INT_MIN, QRect(INT_MIN, INT_MIN, 1, 1)},
        {1000, -5, INT_MAX, INT_MIN, QRect(1000, -5, INT_MAX - 1000, INT_MIN + 6)},
        {-100, 20, INT_MAX, 480, QRect(-100, 20, INT_MAX, 480)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << (&c - cases));
        MemoryProfileStore store;
        store.WriteInt(kSection, "PX", c.px);
        store.WriteInt(kSection, "PY", c.py);
        store.WriteInt(kSection, "SX", c.sx);
        store.WriteInt(kSection, "SY", c.sy);
        const StoredSettings s = LoadSettings(store);
        EXPECT_EQ(s.placement, c.expected) << c.px << " " << c.sx;
        EXPECT_EQ(PlacementRect(s.placement, QSize(1600, 1000), QSize(800, 560)).has_value(),
                  c.px < 1600 && c.py < 1000);
        const QRect saved = SavedPlacement(s.placement);
        EXPECT_EQ(saved.width(), s.placement.width());
    }
}

TEST(IniProfileStore, RoundTripThroughARealFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Velmora/Brevant.ini"));
    StoredSettings s;
    s.style.titles = {QStringLiteral("損益分岐点図表①"), QStringLiteral("売上, 費用"),
                      QStringLiteral("ﾃｽﾄ～")};
    s.amountTexts = {QStringLiteral("1000"), QStringLiteral("500"), QStringLiteral("300")};
    s.ratio = 2550;
    {
        IniProfileStore store(path);
        SaveSettings(store, s);
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("[Last]"));

    IniProfileStore again(path);
    const StoredSettings back = LoadSettings(again);
    EXPECT_EQ(back.style.titles, s.style.titles);
    EXPECT_EQ(back.amountTexts, s.amountTexts);
    EXPECT_EQ(back.ratio, 2550);
}

TEST(IniProfileStore, AWriteReachesTheFileSoonKeepingWhatOthersWroteMeanwhile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Brevant.ini"_qs);
    IniProfileStore store(path);
    ASSERT_TRUE(WriteAll(path, "[Other]\nKeep=1\n")); // another program, after our load
    QEventLoop loop; // as the window writes, from its events
    QTimer::singleShot(0, &loop, [&] {
        store.WriteInt(kSection, u"AlwaysShow"_qs, 0);
        loop.quit();
    });
    loop.exec();
    QCoreApplication::processEvents();
    EXPECT_EQ(ReadAll(path), "[Other]\nKeep=1\n\n[Last]\nAlwaysShow=0\n");
}

TEST(IniProfileStore, AFileNotReadWholeIsKeptAsItWasBeforeTheRunChangedIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Brevant.ini"_qs);
    const QByteArray damaged = "[Last\nRitsu=1\n"; // the header lacks its "]"
    ASSERT_TRUE(WriteAll(path, damaged));
    IniProfileStore store(path);
    EXPECT_EQ(store.ReadInt(kSection, u"Ritsu"_qs, 0), 1);
    store.WriteInt(kSection, u"AlwaysShow"_qs, 0);
    store.Sync();
    store.WriteInt(kSection, u"AlwaysShow"_qs, 1);
    store.Sync();
    EXPECT_EQ(ReadAll(path + u".bak"_qs), damaged);
    EXPECT_EQ(ReadAll(path), "[Last\nRitsu=1\nAlwaysShow=1\n");
}

TEST(IniProfileStore, DefaultPathFollowsXdgConfigHome)
{
    const QByteArray old = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/tmp/brevant-xdg");
    EXPECT_EQ(IniProfileStore::DefaultPath(), QStringLiteral("/tmp/brevant-xdg/Velmora/Brevant.ini"));
    qputenv("XDG_CONFIG_HOME", "relative/path");
    EXPECT_TRUE(IniProfileStore::DefaultPath().endsWith(QStringLiteral("/.config/Velmora/Brevant.ini")));
    qputenv("XDG_CONFIG_HOME", old);
}

TEST(IniProfileStore, UnreadableFileStartsWithDefaultsAndIsReplacedOnSave)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Brevant.ini"));
    // A folder where the file should be cannot be read as settings.
    ASSERT_TRUE(QDir().mkpath(path + QStringLiteral("/x")));
    {
        IniProfileStore store(path);
        EXPECT_EQ(LoadSettings(store).ratio, 2500);
    }
    // Truncated garbage: whatever parses is ignored only if the file is damaged; a file
    // that reads cleanly keeps its values.
    const QString second = dir.filePath(QStringLiteral("second.ini"));
    {
        QFile f(second);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Last]\nRitsu=1234\nFontSize=");
    }
    IniProfileStore store(second);
    const StoredSettings s = LoadSettings(store);
    EXPECT_EQ(s.ratio, 1234);
    EXPECT_EQ(s.style.fontSize, 10);
}

TEST(IniProfileStore, FilesOfQSettingsReadTheSameAndOursReadTheSameInIt)
{
    // Texts QSettings writes in its own ways: non-ASCII, a leading "@", separators, quotes
    // and backslashes, outer spaces, control characters, a NUL before hex digits.
    const QStringList texts = {u"損益分岐点図表①"_qs, u"ﾃｽﾄ～😀"_qs, u"@home"_qs,
                               u"@@x"_qs, u"@Variant(x)"_qs, u"a, b;c=\"d\"\\"_qs,
                               u" lead"_qs, u"tail "_qs, u"tab\there\nline"_qs,
                               u"nul"_qs + QChar(0) + u"0f"_qs, u"\x01" "7"_qs, QString()};
    const auto key = [](qsizetype k) -> QString { return u"Title"_qs + QString::number(k); };
    // QSettings keeps integers of this program as decimal text.
    const auto writeQt = [&](const QString& path) {
        QSettings qt(path, QSettings::IniFormat);
        for (qsizetype k = 0; k < texts.size(); ++k)
            qt.setValue(kSection + u'/' + key(k), texts[k]);
        qt.setValue(kSection + u"/Ritsu", QString::number(-17));
    };
    const auto writeOurs = [&](IniProfileStore& store) {
        for (qsizetype k = 0; k < texts.size(); ++k)
            store.WriteString(kSection, key(k), texts[k]);
        store.WriteInt(kSection, u"Ritsu"_qs, -17);
    };
    QTemporaryDir dir;

    const QString old = dir.filePath(u"old.ini"_qs);
    writeQt(old);
    const QByteArray oldBytes = ReadAll(old);
    {
        IniProfileStore store(old);
        for (qsizetype k = 0; k < texts.size(); ++k)
            EXPECT_EQ(store.ReadString(kSection, key(k), u"?"_qs), texts[k]) << k;
        EXPECT_EQ(store.ReadInt(kSection, u"Ritsu"_qs, 0), -17);
        writeOurs(store); // the same values: not a byte changes
    }
    EXPECT_EQ(ReadAll(old), oldBytes);

    // A new file of ours holds every value as QSettings writes it, and reads the same there.
    const QString ours = dir.filePath(u"ours.ini"_qs);
    {
        IniProfileStore store(ours);
        writeOurs(store);
    }
    const auto sortedLines = [](const QString& path) {
        QList<QByteArray> lines = ReadAll(path).split('\n');
        std::sort(lines.begin(), lines.end());
        return lines;
    };
    const QString reference = dir.filePath(u"reference.ini"_qs);
    writeQt(reference);
    EXPECT_EQ(sortedLines(ours), sortedLines(reference));
    QSettings qt(ours, QSettings::IniFormat);
    for (qsizetype k = 0; k < texts.size(); ++k)
        EXPECT_EQ(qt.value(kSection + u'/' + key(k)).toString(), texts[k]) << k;
}

TEST(IniProfileStore, ValuesAreTextAndEncodedObjectsAreBadValues)
{
    // What QSettings would decode into an object counts as a value that cannot be read
    // (the default); everything else is the text it is.
    struct Case {
        const char* value;
        const char* title; // null: the default title
    } cases[] = {
        {"@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\aQPixmap\\0\\0\\0\\0)", nullptr},
        {"@ByteArray(abc)", nullptr},
        {"@Rect(1 2 3 4)", nullptr},
        {"@Invalid()", nullptr},
        {"@String(abc)", "abc"},
        {"@@Rect(1 2 3 4)", "@Rect(1 2 3 4)"},
        {"@Rect(1 2", "@Rect(1 2"},
        {"売上, 費用", "売上, 費用"},
        {"  \"a;b\" ; note", "a;b"},
        {"\\x3042\\101z", "あAz"},
    };
    QTemporaryDir dir;
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        const QString path = dir.filePath(QString::number(++n));
        ASSERT_TRUE(WriteAll(path, QByteArray("[Last]\nTitle0=") + c.value + "\n"));
        IniProfileStore store(path);
        EXPECT_EQ(LoadSettings(store).style.titles[0],
                  c.title ? QString::fromUtf8(c.title) : DefaultTitle(0))
            << c.value;
    }
    // An integer in QSettings' object form is no integer either.
    const QString path = dir.filePath(u"int"_qs);
    ASSERT_TRUE(WriteAll(path, "[Last]\nRitsu=@Variant(\\0\\0\\0\\x2\\0\\0\\x4\\xd2)\n"
                               "FontSize=@ByteArray(20)\n"));
    IniProfileStore store(path);
    const StoredSettings s = LoadSettings(store);
    EXPECT_EQ(s.ratio, 2500);
    EXPECT_EQ(s.style.fontSize, 10);
}
