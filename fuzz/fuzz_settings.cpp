// The profile file on any contents: loading must keep every value within its range, give
// figures that pass the amount checks, leave the file untouched, and what is saved from
// it must load back the same.

#include "fuzz_support.h"

#include "ini_profile_store.h"
#include "settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace brevant;

namespace {

QTemporaryDir* folder = nullptr;
int serial = 0;

void CheckRanges(const StoredSettings& s)
{
    FUZZ_CHECK(fuzz::Within(s.ratio, 0, 10000));
    fuzz::CheckStyleRanges(s.style);

    // The amounts come back as whole numbers with the maximum at least as large as the
    // others, so the window starts with figures it accepts.
    for (const QString& t : s.amountTexts) {
        FUZZ_CHECK(!t.isEmpty());
        FUZZ_CHECK(FormatWhole(ParseInt32(t)) == t);
    }
    const BepInputs in = SavedInputs(s);
    FUZZ_CHECK(in.maxSales >= 1 && in.targetSales >= 1 && in.fixedCosts >= 0);
    FUZZ_CHECK(CheckAmountOrder(in) == 0);
    FUZZ_CHECK(in.variableCostRatio == s.ratio);
}

bool SameStyle(const ChartStyle& a, const ChartStyle& b)
{
    return a.drawGraph == b.drawGraph && a.titles == b.titles && a.subtitles == b.subtitles &&
           a.colors == b.colors && a.lineWidths == b.lineWidths && a.fontSize == b.fontSize &&
           a.outerMargin == b.outerMargin && a.scaleMargin == b.scaleMargin;
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzz::StartApplication(argc, argv);
    folder = &fuzz::ScratchFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // A new name each time, so no run can see another's file.
    const QString n = QString::number(++serial);
    const QString path = folder->filePath(QStringLiteral("in") + n + QStringLiteral(".ini"));
    const QString copyPath = folder->filePath(QStringLiteral("out") + n + QStringLiteral(".ini"));
    {
        QFile f(path);
        FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(f.write(bytes) == bytes.size());
    }

    StoredSettings loaded;
    {
        IniProfileStore store(path);
        loaded = LoadSettings(store);
    }
    CheckRanges(loaded);
    // Reading never rewrites the user's file.
    FUZZ_CHECK(ReadAll(path) == bytes);

    // Saved and loaded again, every value comes back (the position is raised to 0 on save).
    {
        IniProfileStore out(copyPath);
        SaveSettings(out, loaded);
    }
    StoredSettings again;
    {
        IniProfileStore back(copyPath);
        again = LoadSettings(back);
    }
    FUZZ_CHECK(SameStyle(again.style, loaded.style));
    FUZZ_CHECK(again.amountTexts == loaded.amountTexts);
    FUZZ_CHECK(again.ratio == loaded.ratio);
    FUZZ_CHECK(again.amountUnit == loaded.amountUnit);
    FUZZ_CHECK(again.outputFormat == loaded.outputFormat);
    FUZZ_CHECK(again.zoomed == loaded.zoomed);
    FUZZ_CHECK(again.placement == SavedPlacement(loaded.placement));

    QFile::remove(path);
    QFile::remove(copyPath);
    return 0;
}
