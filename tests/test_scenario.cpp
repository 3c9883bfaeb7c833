// Scenario files: what is saved opens again exactly, keys a person added survive, values
// out of range are held as the profile holds them, and a file that is no scenario is
// refused with its reason and leaves everything as it was.

#include "scenario_file.h"
#include "support/fake_platform.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace brevant;
using brevant::test::FakePlatform;

namespace {

Scenario Sample()
{
    Scenario s;
    s.inputs = {154321000, 125678900, 49605558, 5613, 1};
    s.style.drawGraph = {1, 0, 1};
    s.style.titles = {u"今年の計画"_qs, u"指数\"引用\""_qs, QString()};
    s.style.subtitles = {u"（図表A）"_qs, u"b"_qs, u"c"_qs};
    for (int k = 0; k < kColorCount; ++k)
        s.style.colors[k] = Rgb(k * 25, 255 - k, k * 7);
    for (int k = 0; k < kWidthCount; ++k)
        s.style.lineWidths[k] = k * 2;
    s.style.fontSize = 50;
    s.style.outerMargin = 0;
    s.style.scaleMargin = 37;
    return s;
}

Scenario Read(const QByteArray& bytes)
{
    ScenarioRead read = ReadScenario(bytes);
    EXPECT_TRUE(std::holds_alternative<Scenario>(read));
    return std::holds_alternative<Scenario>(read) ? std::get<Scenario>(read) : Scenario();
}

} // namespace

TEST(ScenarioFile, EveryFieldSurvivesSaveAndOpenByteForByte)
{
    QTemporaryDir dir;
    FakePlatform platform(dir.path());
    const QString path = dir.filePath(u"計画.brevant"_qs);
    const Scenario s = Sample();
    ASSERT_TRUE(SaveScenarioFile(path, s, platform));
    const auto opened = LoadScenarioFile(path, platform);
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->style, s.style);
    EXPECT_EQ(opened->inputs.maxSales, s.inputs.maxSales);
    EXPECT_EQ(opened->inputs.targetSales, s.inputs.targetSales);
    EXPECT_EQ(opened->inputs.fixedCosts, s.inputs.fixedCosts);
    EXPECT_EQ(opened->inputs.variableCostRatio, s.inputs.variableCostRatio);
    EXPECT_EQ(opened->inputs.amountUnit, s.inputs.amountUnit);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(ScenarioBytes(*opened), bytes);
    // Readable: one key a line, amounts in whole yen, colours as #RRGGBB.
    EXPECT_TRUE(bytes.contains("\n        \"maxSales\": 154321000,\n")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("\"salesLine\": \"#00FF00\"")) << bytes.toStdString();
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST(ScenarioFile, KeysWrittenByHandAreKeptAndValuesOutOfRangeHeldAsTheProfileHoldsThem)
{
    const QByteArray hand = R"({
        "format": "brevant-scenario", "version": 1, "note": "client A",
        "figures": {"maxSales": 100, "targetSales": 500, "fixedCosts": -3,
                    "variableCostRatio": 12000, "unit": "thousand", "currency": "JPY"},
        "charts": {"breakEven": {"shown": 0}, "index": {"shown": false, "title": "I",
                   "pinned": [1, 2]}, "combined": {"shown": 2}},
        "colors": {"salesLine": "#0000FF", "lossArea": "red"},
        "lineWidths": {"frameAndScale": 25}, "fontSize": 3, "outerMargin": 80,
        "scaleMargin": "wide"})";
    const Scenario s = Read(hand);
    EXPECT_EQ(s.inputs.maxSales, 500); // raised to the target sales
    EXPECT_EQ(s.inputs.targetSales, 500);
    EXPECT_EQ(s.inputs.fixedCosts, 0);
    EXPECT_EQ(s.inputs.variableCostRatio, 10000);
    EXPECT_EQ(s.inputs.amountUnit, 1);
    EXPECT_EQ(s.style.drawGraph, (std::array<int32_t, 3>{0, 0, 1}));
    EXPECT_EQ(s.style.titles[1], u"I"_qs);
    EXPECT_EQ(s.style.titles[0], DefaultTitle(0));
    EXPECT_EQ(s.style.colors[kSalesLine], Rgb(0, 0, 255));
    EXPECT_EQ(s.style.colors[kLossArea], kDefaultColors[kLossArea]);
    EXPECT_EQ(s.style.lineWidths[kFrame], 20);
    EXPECT_EQ(s.style.fontSize, 5);
    EXPECT_EQ(s.style.outerMargin, 50);
    EXPECT_EQ(s.style.scaleMargin, 10);

    const Scenario again = Read(ScenarioBytes(s));
    EXPECT_EQ(again.style, s.style);
    EXPECT_EQ(again.unknownKeys, s.unknownKeys);
    const QByteArray saved = ScenarioBytes(again);
    EXPECT_TRUE(saved.contains("\"note\": \"client A\"")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("\"currency\": \"JPY\"")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("\"pinned\": [")) << saved.toStdString();
    EXPECT_EQ(saved, ScenarioBytes(s));
}

TEST(ScenarioFile, WhatIsNoScenarioIsRefusedWithItsReasonAndChangesNothing)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        StringId reason;
    };
    const QByteArray figures =
        R"("figures": {"maxSales": 1000, "targetSales": 500, "fixedCosts": 300,
                       "variableCostRatio": 2500})";
    const Case cases[] = {
        {"not JSON", "Title0=損益分岐点図表\n", IDS_SCENARIO_NOT_JSON},
        {"cut short", R"({"format": "brevant-scenario", "version": 1, )" + figures,
         IDS_SCENARIO_NOT_JSON},
        {"an array", "[1, 2]", IDS_SCENARIO_OTHER_FORMAT},
        {"another format", R"({"format": "other", "version": 1, )" + figures + "}",
         IDS_SCENARIO_OTHER_FORMAT},
        {"no version", R"({"format": "brevant-scenario", )" + figures + "}",
         IDS_SCENARIO_OTHER_FORMAT},
        {"newer version", R"({"format": "brevant-scenario", "version": 2, )" + figures + "}",
         IDS_SCENARIO_NEWER},
        {"a figure missing", R"({"format": "brevant-scenario", "version": 1,
            "figures": {"maxSales": 1000, "targetSales": 500, "fixedCosts": 300}})",
         IDS_SCENARIO_MISSING_FIGURE},
        {"a figure as text", R"({"format": "brevant-scenario", "version": 1,
            "figures": {"maxSales": "1000", "targetSales": 500, "fixedCosts": 300,
                        "variableCostRatio": 2500}})",
         IDS_SCENARIO_MISSING_FIGURE},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakePlatform platform(dir.path());
        const QString path = dir.filePath(u"x.brevant"_qs);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.bytes);
        file.close();
        EXPECT_FALSE(LoadScenarioFile(path, platform));
        ASSERT_EQ(platform.messages.size(), 1);
        EXPECT_EQ(platform.messages[0].id, c.reason);
        EXPECT_TRUE(platform.messages[0].text.startsWith(path + u'\n'));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), c.bytes);
    }

    // A FIFO of that name is not read (it would wait for ever), nor is a folder.
    const QString fifo = dir.filePath(u"pipe.brevant"_qs);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"folder.brevant"_qs));
    for (const QString& path : {fifo, dir.filePath(u"folder.brevant"_qs)}) {
        FakePlatform platform(dir.path());
        EXPECT_FALSE(LoadScenarioFile(path, platform));
        ASSERT_EQ(platform.messages.size(), 1);
        EXPECT_EQ(platform.messages[0].id, IDS_OPEN_FAILED);
    }
}
