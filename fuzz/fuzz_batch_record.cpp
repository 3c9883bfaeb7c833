// Batch input files: any bytes go through the encoding check (UTF-8 with or without a byte
// order mark, otherwise CP932), the line split, the field split and the record parser.
// Short files then run the whole batch on a tiny chart area, which must write nothing
// outside the folder it was given, whatever the folder names in the records.

#include "fuzz_support.h"

#include "bep_model.h"
#include "text_util.h"
#include "batch.h"
#include "batch_file.h"
#include "headless_chart_host.h"

#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

using namespace brevant;

namespace {

QTemporaryDir* folder = nullptr;

void CheckFields(const QString& line)
{
    // The fields put back together with their separators give the line again.
    const qsizetype commas = line.count(u',');
    QString joined;
    for (qsizetype n = 1; n <= commas + 1 && n <= 64; ++n) {
        if (n > 1)
            joined += u',';
        joined += FieldAt(line, int(n), u',');
    }
    if (commas < 64)
        FUZZ_CHECK(joined == line);
    FUZZ_CHECK(FieldAt(line, 0, u',').isEmpty());
    FUZZ_CHECK(FieldAt(line, -1, u',').isEmpty());
    if (commas < 64)
        FUZZ_CHECK(FieldAt(line, int(commas) + 2, u',').isNull());
    FUZZ_CHECK(HasFiveFields(line) == (commas == 4));

    const QString commasOnly = TabsToCommas(line);
    FUZZ_CHECK(commasOnly.size() == line.size());
    FUZZ_CHECK(!commasOnly.contains(u'\t'));
    FUZZ_CHECK(commasOnly.count(u',') == commas + line.count(u'\t'));
}

void CheckRecord(const QString& line)
{
    fuzz::QuietPlatform platform;
    BepInputs inputs;
    const auto folderName = ParseBatchRecord(inputs, platform, line);
    if (folderName) {
        FUZZ_CHECK(platform.messages == 0);
        FUZZ_CHECK(*folderName == FieldAt(line, 1, u','));
        FUZZ_CHECK(inputs.targetSales != 0);
        FUZZ_CHECK(CheckAmountOrder(inputs) == 0);
        FUZZ_CHECK(inputs.variableCostRatio == ParseRatioPercent(FieldAt(line, 5, u',')));
        // What the batch then shows and writes for the record.
        const BepFigures f = ComputeFigures(inputs);
        (void)FormatWhole(f.breakEvenPoint);
        (void)FormatWhole(f.targetOperatingProfit);
        (void)RatioText(inputs.variableCostRatio);
        (void)ToCp932(line);
    } else {
        FUZZ_CHECK(platform.messages == 1);
        FUZZ_CHECK(platform.lastText.startsWith(line + u'\n'));
    }
}

// Runs the batch into `root` and checks that everything written lies inside it, one
// level deep (two with a folder per record), and that no temporary file stays behind.
void CheckWholeBatch(const QString& csvPath, const QString& root, bool folderPerRecord)
{
    fuzz::QuietPlatform platform;
    platform.folder = root;
    HeadlessChartHost host(platform, QSize(24, 12), BepInputs(), ChartStyle::Defaults(),
                           kBmp);
    BatchOptions options;
    options.outputRoot = root;
    options.askToShowResult = false;
    options.folderPerRecord = folderPerRecord;
    BatchCreation(host, options).RunBatch(csvPath);

    const QDir top(folder->path());
    const QStringList besideRoot =
        top.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    // The output root is made only for an input that could be read and counted.
    FUZZ_CHECK(besideRoot == QStringList({QStringLiteral("input.csv"), QStringLiteral("out")}) ||
               besideRoot == QStringList({QStringLiteral("input.csv")}));
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        const QString relative = QDir(root).relativeFilePath(info.filePath());
        FUZZ_CHECK(relative != u".." && !relative.startsWith(QStringLiteral("../")));
        FUZZ_CHECK(!info.isSymLink());
        const qsizetype depth = relative.count(u'/') + 1;
        if (info.isDir()) {
            FUZZ_CHECK(folderPerRecord && depth == 1);
        } else {
            FUZZ_CHECK(depth <= (folderPerRecord ? 2 : 1));
            FUZZ_CHECK(info.suffix() == u"bmp" || info.fileName() == u"BEP.csv");
        }
    }
    FUZZ_CHECK(QDir(root).removeRecursively());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    folder = &fuzz::ScratchFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString path = folder->filePath(QStringLiteral("input.csv"));
    {
        QFile out(path);
        FUZZ_CHECK(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(out.write(bytes) == bytes.size());
    }

    BatchFile file(path);
    FUZZ_CHECK(file.Open());
    const qint64 count = file.CountLines(kMaxBatchRecords);
    FUZZ_CHECK(count >= 0 && count <= kMaxBatchRecords + 1);
    FUZZ_CHECK(file.IsUtf8() == IsValidUtf8(bytes));

    // Lines as the file is read, against the same split done on the whole text.
    const bool bom = file.IsUtf8() && bytes.startsWith("\xEF\xBB\xBF");
    const QString text = file.IsUtf8() ? QString::fromUtf8(bom ? bytes.mid(3) : bytes)
                                       : FromCp932(bytes);
    FUZZ_CHECK(file.Rewind());
    QString line;
    qint64 read = 0;
    while (read <= kMaxBatchRecords && file.ReadLine(line)) {
        ++read;
        FUZZ_CHECK(!line.contains(u'\n'));
        CheckFields(line);
        CheckRecord(line);
    }
    if (count <= kMaxBatchRecords) {
        FUZZ_CHECK(read == count);
        // Counted on the bytes: the decoders turn one line end into one, but may drop a
        // second byte order mark and so empty the text.
        const QByteArray content = bom ? bytes.mid(3) : bytes;
        QByteArray joined = content;
        if (joined.endsWith('\n'))
            joined.chop(1);
        FUZZ_CHECK(count == (content.isEmpty() ? 0 : joined.count('\n') + 1));
    }
    file.Close();

    if (count <= 6)
        CheckWholeBatch(path, folder->filePath(QStringLiteral("out")), size % 2 == 0);

    // The CSV summary writes text back as CP932; every character must come out as one
    // or two bytes.
    const QByteArray back = ToCp932(text);
    FUZZ_CHECK(back.size() <= text.size() * 2);
    return 0;
}
