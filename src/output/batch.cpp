#include "batch.h"

#include "message.h"
#include "text_util.h"
#include "chart_host.h"
#include "batch_file.h"
#include "csv_output.h"
#include "image_export.h"
#include "output_names.h"
#include "summary_csv_file.h"
#include "platform.h"
#include "string_table.h"

#include <QDir>
#include <QFileInfo>

namespace brevant {

bool HasFiveFields(const QString& line)
{
    return line.count(u',') == 4;
}

namespace {

// A line too long to be kept whole is no record, however many commas its start holds.
bool IsWholeLine(const BatchFile& input, Platform& platform, const QString& line)
{
    if (!input.LineWasCut())
        return true;
    ShowMessage(platform, IDS_FIELD_COUNT, line + u'\n', kMbError);
    return false;
}

} // namespace

std::optional<QString> ParseBatchRecord(BepInputs& inputs, Platform& platform,
                                        const QString& line)
{
    const QString folder = FieldAt(line, 1, u',');
    inputs.maxSales = ParseDouble(FieldAt(line, 2, u','));
    const double target = ParseDouble(FieldAt(line, 3, u','));
    if (target == 0) {
        ShowMessage(platform, IDS_ZERO_VALUE, line + u'\n', kMbError);
        return std::nullopt;
    }
    inputs.targetSales = target;
    inputs.fixedCosts = ParseDouble(FieldAt(line, 4, u','));
    const double percent = ParseDouble(FieldAt(line, 5, u','));
    inputs.variableCostRatio = ParseRatioPercent(FieldAt(line, 5, u','));
    // The default maximum uses the percentage as written, not the truncated ratio.
    const double bep = inputs.fixedCosts / (1.0 - percent / 100.0);
    if (inputs.maxSales == 0)
        inputs.maxSales = DefaultMaxSales(bep, inputs.targetSales);
    if (const StringId id = CheckAmountOrder(inputs)) {
        ShowMessage(platform, id, line + u'\n', kMbError);
        return std::nullopt;
    }
    return folder;
}

BatchCreation::BatchCreation(ChartHost& host, BatchOptions options, BatchControls* controls)
    : host_(host), options_(std::move(options)), controls_(controls)
{
}

QString BatchCreation::ResolveOutputRoot()
{
    if (options_.outputRoot.isEmpty())
        return GetDesktopSubfolder(host_.GetPlatform(), kOutputRootName);
    const QString root = QDir::cleanPath(options_.outputRoot);
    if (!QFileInfo(root).isDir() && !QDir().mkpath(root))
        return {};
    return QFileInfo(root).isDir() ? root : QString();
}

bool BatchCreation::RunBatch(const QString& csvPath)
{
    Platform& platform = host_.GetPlatform();
    if (HasDuplicateTitles(host_.Style(), platform))
        return false;
    const QString format = FormatExtension(host_.OutputFormatValue());
    if (format.isEmpty())
        return false;
    root_ = ResolveOutputRoot();
    if (root_.isEmpty()) {
        ShowMessage(platform, IDS_DESKTOP_FOLDER, QString(), kMbError);
        return false;
    }

    BatchFile input(csvPath, options_.encoding);
    if (!input.Open()) {
        ShowMessage(platform, IDS_OPEN_FAILED, QString(), kMbError);
        return false;
    }
    const qint64 lines = input.CountLines(kMaxBatchRecords);
    if (lines == 0) {
        ShowMessage(platform, IDS_NO_DATA, QString(), kMbError);
        return false;
    }
    if (lines > kMaxBatchRecords) {
        ShowMessage(platform, IDS_TOO_MANY, QString(), kMbError);
        return false;
    }
    host_.SetProgressRange(0, int(lines));
    host_.SetProgress(0);
    input.Rewind();
    existingFolderConfirmed_ = false;
    doneCount_ = 0;

    int mode = kIdYes;
    if (options_.folderPerRecord)
        mode = *options_.folderPerRecord ? kIdYes : kIdNo;
    else
        mode = ShowMessage(platform, IDS_BATCH_MODE, QString(), kMbQuestionCancel);
    if (mode != kIdYes && mode != kIdNo)
        return false;

    // Put back if the batch stops half-way, so the window does not keep the figures of
    // whichever record failed.
    const BepInputs inputsBefore = host_.Inputs();
    const auto shownBefore = host_.Style().drawGraph;

    bool ok = true;
    if (mode == kIdYes) {
        QString line;
        while (input.ReadLine(line)) {
            if (!IsWholeLine(input, platform, line)
                || !OutputRecordToFolder(root_, format, line)) {
                ok = false;
                break;
            }
            host_.SetProgress(++doneCount_);
        }
        host_.SetProgress(0);
    } else {
        ok = OutputAllTogether(input, root_, format);
    }
    input.Close();

    if (!ok) {
        host_.Inputs() = inputsBefore;
        host_.Style().drawGraph = shownBefore;
        host_.LayoutCharts();
        host_.RenderComposition();
        return false;
    }

    BepInputs& in = host_.Inputs();
    if (controls_) {
        controls_->ShowBatchResult();
    } else {
        // What the amount entries would hold after the figures were written into them.
        in.maxSales = ApplyAmountText(AmountField::MaxSales, FormatWhole(in.maxSales)).value;
        in.targetSales =
            ApplyAmountText(AmountField::TargetSales, FormatWhole(in.targetSales)).value;
        in.fixedCosts =
            ApplyAmountText(AmountField::FixedCosts, FormatWhole(in.fixedCosts)).value;
    }
    host_.Style().drawGraph = {1, 1, 1};
    host_.LayoutCharts();
    host_.RenderComposition();
    if (options_.askToShowResult &&
        ShowMessage(platform, IDS_SAVED_SHOW, QString(), kMbQuestion) == kIdYes)
        ShowInExplorer(platform, root_ + u'/');
    return true;
}

bool BatchCreation::OutputRecordToFolder(const QString& root, const QString& format,
                                         const QString& line)
{
    Platform& platform = host_.GetPlatform();
    if (!HasFiveFields(line)) {
        ShowMessage(platform, IDS_FIELD_COUNT, line + u'\n', kMbError);
        return false;
    }
    const QString name = Cp932FileName(FieldAt(line, 1, u','));
    // An empty name is the output root itself. Any other name must be one folder inside
    // it; one that is not behaves as a name the file system refuses: nothing is found
    // there and the folder cannot be made.
    const bool usable = name.isEmpty() || IsUsableName(name);
    const QString folder = name.isEmpty() ? root : root + u'/' + name;
    if (!name.isEmpty() && IsSingleComponent(name) && IsNameTooLong(folder)) {
        ShowMessage(platform, IDS_OPEN_FAILED, folder + u'\n', kMbError);
        return false;
    }
    if (usable && !existingFolderConfirmed_ && PathExists(folder)) {
        if (ShowMessage(platform, IDS_FOLDER_EXISTS, root + u'/' + name + u'\n',
                        kMbQuestion) != kIdYes)
            return false;
        existingFolderConfirmed_ = true;
    }
    if (!ParseBatchRecord(host_.Inputs(), platform, line))
        return false;
    host_.LayoutCharts();
    if (!usable || (!PathExists(folder) && !QDir().mkdir(folder)))
        return false;
    if (!WriteSummaryCsv(platform, folder, format, host_.Inputs(), host_.Style()))
        return false;
    return WriteThreeCharts(host_, folder, QString(), format, true);
}

bool BatchCreation::OutputAllTogether(BatchFile& input, const QString& root,
                                      const QString& format)
{
    Platform& platform = host_.GetPlatform();
    SummaryCsvFile csv(root + u'/' + kSummaryFileName);
    if (!csv.Open(platform))
        return false;
    bool headerPending = true;
    bool allWritten = true;
    int done = 0;
    QString line;
    while (input.ReadLine(line)) {
        host_.SetProgress(done++);
        if (!IsWholeLine(input, platform, line))
            continue;
        if (!HasFiveFields(line)) {
            ShowMessage(platform, IDS_FIELD_COUNT, line + u'\n', kMbError);
            continue;
        }
        const auto name = ParseBatchRecord(host_.Inputs(), platform, line);
        if (!name)
            continue;
        // A record whose files cannot be named is left out of the summary as a record with
        // a wrong field is; the others go on, but the batch has not done its work.
        const QString prefix = Cp932FileName(*name) + u'_';
        if (!CanWriteChartFiles(host_.Style(), root, prefix, format)) {
            ShowMessage(platform, IDS_OPEN_FAILED, line + u'\n', kMbError);
            allWritten = false;
            continue;
        }
        host_.LayoutCharts();
        // A chart that cannot be written is missing from the output and its record from
        // the summary, which names only files that exist; the rest goes on.
        if (!WriteThreeCharts(host_, root, prefix, format, false)) {
            allWritten = false;
            continue;
        }
        if (headerPending) {
            csv.Write(SummaryHeader());
            headerPending = false;
        }
        csv.Write(SummaryLine(host_.Inputs(), host_.Style(), prefix, format));
    }
    host_.SetProgress(0);
    return csv.Commit(platform) && allWritten;
}

bool RunBatch(ChartHost& host, const QString& csvPath, BatchControls* controls)
{
    return BatchCreation(host, BatchOptions(), controls).RunBatch(csvPath);
}

bool ChooseBatchFile(ChartHost& host, BatchControls* controls)
{
    FileDialogRequest request;
    request.title = QStringLiteral("CSVファイルを指定");
    request.filter = QStringLiteral("コンマ区切りファイル(*.csv)|*.csv||");
    const QString path = host.GetPlatform().OpenFileName(request);
    if (path.isEmpty())
        return false;
    return RunBatch(host, path, controls);
}

} // namespace brevant
