#include "batch.h"

#include "analysis.h"

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

#include "chart_renderer.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>
#include <QThreadPool>

#include <deque>
#include <future>
#include <memory>
#include <mutex>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brevant {

bool HasFiveFields(const QString& line)
{
    return line.count(u',') == 4;
}

namespace {

// A line too long to be kept whole is no record, however many commas its start holds.
bool IsWholeLine(bool cut, Platform& platform, const QString& line)
{
    if (!cut)
        return true;
    ShowMessage(platform, IDS_FIELD_COUNT, line + u'\n', kMbError);
    return false;
}

// "3行目: A,1000,..." and a line feed: a record named so that it can be found in the file.
QString NumberedLine(qint64 lineNumber, const QString& line)
{
    return (lineNumber > 0 ? QStringLiteral("%1行目: ").arg(lineNumber) : QString()) + line +
           u'\n';
}

} // namespace

StringId CheckBatchRecord(BepInputs& inputs, const QString& line)
{
    inputs.maxSales = ParseDouble(FieldAt(line, 2, u','));
    const double target = ParseDouble(FieldAt(line, 3, u','));
    if (target == 0)
        return IsHeadingLine(line) ? IDS_HEADING_LINE : IDS_ZERO_VALUE;
    inputs.targetSales = target;
    inputs.fixedCosts = ParseDouble(FieldAt(line, 4, u','));
    const double percent = ParseDouble(FieldAt(line, 5, u','));
    inputs.variableCostRatio = ParseRatioPercent(FieldAt(line, 5, u','));
    // The default maximum uses the percentage as written, not the truncated ratio.
    const double bep = inputs.fixedCosts * 100.0 / (100.0 - percent);
    if (inputs.maxSales == 0)
        inputs.maxSales = DefaultMaxSales(bep, inputs.targetSales);
    return CheckAmountOrder(inputs);
}

std::optional<QString> ParseBatchRecord(BepInputs& inputs, Platform& platform,
                                        const QString& line, qint64 lineNumber)
{
    if (const StringId id = CheckBatchRecord(inputs, line)) {
        ShowMessage(platform, id,
                    id == IDS_HEADING_LINE ? NumberedLine(lineNumber, line) : line + u'\n',
                    kMbError);
        return std::nullopt;
    }
    return FieldAt(line, 1, u',');
}

int BatchJobs(int jobs)
{
    return jobs > 0 ? jobs : std::max(QThread::idealThreadCount(), 1);
}

namespace {

using RecordImages = std::array<std::optional<EncodedImage>, kChartCount>;

// The record's three charts as WriteThreeCharts would draw and encode them, each shown
// alone over the whole chart area; nothing for a chart that cannot be drawn, and nothing
// at all for a line that is no valid record. Touches no file and shows nothing. The
// setup's figures are those before the batch; a record replaces all four.
RecordImages DrawRecordCharts(const ChartSetup& setup, const QString& line,
                              ChartRenderer& renderer)
{
    RecordImages images;
    ChartSetup record = setup;
    if (!HasFiveFields(line) || CheckBatchRecord(record.inputs, line) != 0)
        return images;
    for (int k = 1; k <= kChartCount; ++k)
        images[size_t(k - 1)] = DrawChartAlone(record, k, renderer);
    return images;
}

// Shows nothing before the files written so far are on the disk: a message may be the
// last thing the user sees before the machine goes down, and what it reports must hold.
class DurablePlatform final : public Platform {
public:
    DurablePlatform(Platform& platform, const QString& root)
        : platform_(platform), root_(root)
    {
    }

    // Waits until everything written in the output root's file system is on the disk.
    void MakeDurable()
    {
        const int fd = ::open(QFile::encodeName(root_).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return;
        ::syncfs(fd);
        ::close(fd);
    }

    int MessageBox(const MessageRequest& request) override
    {
        MakeDurable();
        return platform_.MessageBox(request);
    }
    QString SaveFileName(const FileDialogRequest& request) override
    {
        return platform_.SaveFileName(request);
    }
    QString OpenFileName(const FileDialogRequest& request) override
    {
        return platform_.OpenFileName(request);
    }
    std::optional<ColorRef> ChooseColor(ColorRef initial) override
    {
        return platform_.ChooseColor(initial);
    }
    QString ClipboardText() override { return platform_.ClipboardText(); }
    bool SetClipboardImage(const QImage& image) override
    {
        return platform_.SetClipboardImage(image);
    }
    QString DesktopFolder() override { return platform_.DesktopFolder(); }
    QString TempFolder() override { return platform_.TempFolder(); }
    bool OpenFolder(const QString& folder) override { return platform_.OpenFolder(folder); }
    bool SetClipboardText(const QString& text) override
    {
        return platform_.SetClipboardText(text);
    }
    void Sleep(int milliseconds) override { platform_.Sleep(milliseconds); }

private:
    Platform& platform_;
    QString root_;
};

} // namespace

// A line of the batch file with its charts, drawn and encoded.
struct BatchCreation::Record {
    QString line;
    bool cut = false;  // the line was too long to be kept whole
    RecordImages images;
};

// The records of the batch file in order, each with its charts. With more than one job
// the next records are read ahead and drawn on worker threads meanwhile, a few per job,
// so memory stays the same however long the file is.
class BatchCreation::Records {
public:
    Records(BatchFile& input, ChartSetup setup, int jobs)
        : input_(input), setup_(std::move(setup)), jobs_(jobs)
    {
        if (jobs_ > 1)
            pool_.setMaxThreadCount(jobs_);
    }
    ~Records()
    {
        // Records read ahead of a failure are drawn to the end and dropped unwritten.
        pool_.waitForDone();
    }
    Records(const Records&) = delete;
    Records& operator=(const Records&) = delete;

    // The next record; false at the end of the file.
    bool Next(Record& record)
    {
        if (jobs_ <= 1) {
            if (!input_.ReadLine(record.line))
                return false;
            record.cut = input_.LineWasCut();
            record.images = record.cut ? RecordImages() : DrawRecordCharts(setup_, record.line,
                                                                         mainRenderer_);
            return true;
        }
        while (!ended_ && pending_.size() < 2 * size_t(jobs_))
            ReadAhead();
        if (pending_.empty())
            return false;
        Pending& next = pending_.front();
        record.line = std::move(next.line);
        record.cut = next.cut;
        record.images = next.images.get();
        pending_.pop_front();
        return true;
    }

private:
    struct Pending {
        QString line;
        bool cut = false;
        std::future<RecordImages> images;
    };

    void ReadAhead()
    {
        Pending pending;
        if (!input_.ReadLine(pending.line)) {
            ended_ = true;
            return;
        }
        pending.cut = input_.LineWasCut();
        auto task = std::make_shared<std::packaged_task<RecordImages()>>(
            [this, line = pending.line, cut = pending.cut] {
                if (cut)
                    return RecordImages();
                std::unique_ptr<ChartRenderer> renderer = TakeRenderer();
                RecordImages images = DrawRecordCharts(setup_, line, *renderer);
                GiveBack(std::move(renderer));
                return images;
            });
        pending.images = task->get_future();
        pool_.start([task] { (*task)(); });
        pending_.push_back(std::move(pending));
    }

    // A renderer keeps its images from one record to the next; one per worker.
    std::unique_ptr<ChartRenderer> TakeRenderer()
    {
        const std::lock_guard lock(mutex_);
        if (renderers_.empty())
            return std::make_unique<ChartRenderer>();
        std::unique_ptr<ChartRenderer> renderer = std::move(renderers_.back());
        renderers_.pop_back();
        return renderer;
    }
    void GiveBack(std::unique_ptr<ChartRenderer> renderer)
    {
        const std::lock_guard lock(mutex_);
        renderers_.push_back(std::move(renderer));
    }

    BatchFile& input_;
    const ChartSetup setup_;
    const int jobs_;
    ChartRenderer mainRenderer_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<ChartRenderer>> renderers_;
    std::deque<Pending> pending_;
    bool ended_ = false;
    // Last, so that it is the first to go: its threads use everything above.
    QThreadPool pool_;
};

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

namespace {

// The number of lines of an input that can be read and is neither empty nor too long;
// nothing, after saying why, otherwise.
std::optional<qint64> CountBatchLines(BatchFile& input, Platform& platform)
{
    if (!input.Open()) {
        ShowMessage(platform, IDS_OPEN_FAILED, QString(), kMbError);
        return std::nullopt;
    }
    const qint64 lines = input.CountLines(kMaxBatchRecords);
    if (lines == 0) {
        ShowMessage(platform, IDS_NO_DATA, QString(), kMbError);
        return std::nullopt;
    }
    if (lines > kMaxBatchRecords) {
        ShowMessage(platform, IDS_TOO_MANY, QString(), kMbError);
        return std::nullopt;
    }
    return lines;
}

// kIdYes for a folder per record, kIdNo for all together, anything else to give up.
int BatchMode(const BatchOptions& options, Platform& platform)
{
    if (options.folderPerRecord)
        return *options.folderPerRecord ? kIdYes : kIdNo;
    return ShowMessage(platform, IDS_BATCH_MODE, QString(), kMbQuestionCancel);
}

// What the amount entries would hold after the figures were written into them.
void RoundAsEntries(BepInputs& in)
{
    in.maxSales = ApplyAmountText(AmountField::MaxSales, FormatWhole(in.maxSales)).value;
    in.targetSales = ApplyAmountText(AmountField::TargetSales, FormatWhole(in.targetSales)).value;
    in.fixedCosts = ApplyAmountText(AmountField::FixedCosts, FormatWhole(in.fixedCosts)).value;
}

} // namespace

bool BatchCreation::RunBatch(const QString& csvPath)
{
    Platform& platform = host_.GetPlatform();
    if (HasDuplicateTitles(host_.Style(), platform))
        return false;
    const QString format = FormatExtension(host_.OutputFormatValue());
    if (format.isEmpty())
        return false;

    // Nothing is made on the disk for an input that cannot be read.
    BatchFile input(csvPath, options_.encoding);
    const std::optional<qint64> lines = CountBatchLines(input, platform);
    if (!lines)
        return false;
    root_ = ResolveOutputRoot();
    if (root_.isEmpty()) {
        ShowMessage(platform, IDS_DESKTOP_FOLDER, QString(), kMbError);
        return false;
    }
    host_.SetProgressRange(0, int(*lines));
    host_.SetProgress(0);
    input.Rewind();
    existingFolderConfirmed_ = false;
    doneCount_ = 0;
    lineNumber_ = 0;
    stopped_ = false;
    leftOut_.clear();
    leftOutLines_.clear();
    writtenNames_.clear();
    writtenFiles_.clear();

    const int mode = BatchMode(options_, platform);
    if (mode != kIdYes && mode != kIdNo)
        return false;

    // Put back if the batch stops half-way, so the window does not keep the figures of
    // whichever record failed.
    const BepInputs inputsBefore = host_.Inputs();
    const auto shownBefore = host_.Style().drawGraph;

    ChartSetup setup{inputsBefore, host_.Style(), host_.ChartArea(), host_.HighlightShown(),
                     format};
    // Messages wait until the files written before them are on the disk, and the batch
    // ends with everything on the disk; nothing waits for the disk in between.
    DurablePlatform durable(platform, root_);
    bool ok = true;
    {
        Records records(input, std::move(setup), BatchJobs(options_.jobs));
        if (mode == kIdYes) {
            Record record;
            while (!StopRequested() && records.Next(record)) {
                ++lineNumber_;
                if (!IsWholeLine(record.cut, durable, record.line)
                    || !OutputRecordToFolder(record, format, durable)) {
                    ok = false;
                    break;
                }
                host_.SetProgress(++doneCount_);
            }
            host_.SetProgress(0);
            ok = ok && !stopped_;
        } else {
            ok = OutputAllTogether(records, format, durable);
        }
    }
    input.Close();
    durable.MakeDurable();

    if (!ok) {
        host_.Inputs() = inputsBefore;
        host_.Style().drawGraph = shownBefore;
        host_.LayoutCharts();
        host_.RenderComposition();
        return false;
    }

    if (controls_)
        controls_->ShowBatchResult();
    else
        RoundAsEntries(host_.Inputs());
    host_.Style().drawGraph = {1, 1, 1};
    host_.LayoutCharts();
    host_.RenderComposition();
    if (options_.askToShowResult &&
        ShowMessage(platform, IDS_SAVED_SHOW, QString(), kMbQuestion) == kIdYes)
        ShowInExplorer(platform, root_ + u'/');
    return true;
}

bool BatchCreation::OutputRecordToFolder(const Record& record, const QString& format,
                                         Platform& platform)
{
    const QString& line = record.line;
    if (!HasFiveFields(line)) {
        ShowMessage(platform, IDS_FIELD_COUNT, line + u'\n', kMbError);
        return false;
    }
    const QString name = Cp932FileName(FieldAt(line, 1, u','));
    // An empty name is the output root itself. Any other name must be one folder inside
    // it; one that is not behaves as a name the file system refuses: nothing is found
    // there and the folder cannot be made.
    const bool usable = name.isEmpty() || IsUsableName(name);
    const QString folder = name.isEmpty() ? root_ : root_ + u'/' + name;
    if (!name.isEmpty() && IsSingleComponent(name) && IsNameTooLong(folder)) {
        ShowMessage(platform, IDS_OPEN_FAILED, folder + u'\n', kMbError);
        return false;
    }
    if (usable && !existingFolderConfirmed_ && PathExists(folder)) {
        if (ShowMessage(platform, IDS_FOLDER_EXISTS, root_ + u'/' + name + u'\n',
                        kMbQuestion) != kIdYes)
            return false;
        existingFolderConfirmed_ = true;
    }
    if (!ParseBatchRecord(host_.Inputs(), platform, line, lineNumber_))
        return false;
    ShowRecord();
    if (!usable || (!PathExists(folder) && !QDir().mkdir(folder)))
        return false;
    if (!WriteSummaryCsv(platform, folder, format, host_.Inputs(), host_.Style(),
                         AtomicFile::Sync::No))
        return false;
    if (options_.analysis &&
        !WriteAnalysisCsv(platform, folder, name, host_.Inputs(), AtomicFile::Sync::No))
        return false;
    return WriteRecordCharts(record, folder, QString(), format, true, platform);
}

namespace {

// Opens "analysis.csv" beside the summary where it is wanted; false if it cannot be.
bool OpenAnalysisFile(std::optional<SummaryCsvFile>& analysis, bool wanted,
                      const QString& root, Platform& platform)
{
    if (!wanted)
        return true;
    analysis.emplace(root + u'/' + kAnalysisFileName);
    return analysis->Open(platform);
}

// A record's lines in the summary and the analysis, each file's header before its first.
void WriteRecordLines(SummaryCsvFile& csv, std::optional<SummaryCsvFile>& analysis,
                      bool& headerPending, const QString& summaryLine, const QString& name,
                      const BepInputs& inputs)
{
    if (headerPending) {
        csv.Write(SummaryHeader());
        if (analysis)
            analysis->Write(AnalysisCsvHeader());
        headerPending = false;
    }
    csv.Write(summaryLine);
    if (analysis)
        analysis->Write(AnalysisCsvLine(name, inputs));
}

// The closing message's list of records left out, with how many more were not listed.
QString LeftOutList(const QString& listedLines, qsizetype count, int listed)
{
    QString prefix = listedLines;
    if (listed > 0 && count > listed)
        prefix += QStringLiteral("ほか%1件\n").arg(count - listed);
    return prefix;
}

} // namespace

bool BatchCreation::OutputAllTogether(Records& records, const QString& format,
                                      Platform& platform)
{
    SummaryCsvFile csv(root_ + u'/' + kSummaryFileName);
    if (!csv.Open(platform))
        return false;
    std::optional<SummaryCsvFile> analysis;
    if (!OpenAnalysisFile(analysis, options_.analysis, root_, platform))
        return false;
    bool headerPending = true;
    int done = 0;
    Record record;
    while (!StopRequested() && records.Next(record)) {
        ++lineNumber_;
        host_.SetProgress(done++);
        const QString& line = record.line;
        if (!IsWholeLine(record.cut, platform, line))
            continue;
        if (!HasFiveFields(line)) {
            ShowMessage(platform, IDS_FIELD_COUNT, line + u'\n', kMbError);
            continue;
        }
        const auto name = ParseBatchRecord(host_.Inputs(), platform, line, lineNumber_);
        if (!name)
            continue;
        // A record whose files cannot be named is left out of the summary as a record with
        // a wrong field is; the others go on, but the batch has not done its work.
        const QString prefix = Cp932FileName(*name) + u'_';
        if (!CanWriteChartFiles(host_.Style(), root_, prefix, format)) {
            ShowMessage(platform, IDS_OPEN_FAILED, line + u'\n', kMbError);
            LeaveOut(line);
            continue;
        }
        // Two names that are one on disk would leave the summary describing charts that
        // were replaced; the later record is refused as duplicate titles are.
        if (WouldReplaceOwnChart(prefix, format)) {
            ShowMessage(platform, IDS_SAME_FILE_NAMES, NumberedLine(lineNumber_, line),
                        kMbError);
            LeaveOut(line);
            continue;
        }
        ShowRecord();
        // A chart that cannot be written is missing from the output and its record from
        // the summary, which names only files that exist; the rest goes on.
        if (!WriteRecordCharts(record, root_, prefix, format, false, platform)) {
            LeaveOut(line);
            continue;
        }
        WriteRecordLines(csv, analysis, headerPending,
                         SummaryLine(host_.Inputs(), host_.Style(), prefix, format),
                         Cp932FileName(*name), host_.Inputs());
    }
    host_.SetProgress(0);
    if (!csv.Commit(platform))
        return false;
    if (analysis && !analysis->Commit(platform))
        return false;
    // The batch has ended without some records: say which, once, after all the rest.
    if (!leftOut_.isEmpty()) {
        ShowMessage(platform, IDS_RECORDS_LEFT_OUT,
                    LeftOutList(leftOutLines_, leftOut_.size(), options_.listedRecords),
                    kMbError);
        return false;
    }
    return !stopped_;
}

bool BatchCreation::WriteRecordCharts(const Record& record, const QString& folder,
                                      const QString& prefix, const QString& format,
                                      bool stopAtFailure, Platform& platform)
{
    bool ok = true;
    for (int k = 1; k <= kChartCount; ++k) {
        if (!ok && stopAtFailure)
            break;
        const auto& image = record.images[size_t(k - 1)];
        const QString name = ChartFileName(host_.Style(), k);
        const QString fileName = prefix + name + u'.' + format;
        const bool written = image && IsUsableName(name) && IsUsableName(fileName)
                             && WriteChartFile(*image, folder + u'/' + fileName, platform);
        if (written && !stopAtFailure)
            RememberWritten(folder + u'/' + fileName);
        ok = written && ok;
    }
    return ok;
}

void BatchCreation::ShowRecord()
{
    // Each chart was drawn alone; the last is what stays in view.
    ShowChartAlone(host_.Style(), kChartCount);
    if (host_.ShowsCharts())
        host_.LayoutCharts();
}

bool BatchCreation::StopRequested()
{
    if (!stopped_ && options_.stopRequested && options_.stopRequested())
        stopped_ = true;
    return stopped_;
}

namespace {

std::optional<std::pair<dev_t, ino_t>> FileId(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return std::pair(info.st_dev, info.st_ino);
}

} // namespace

bool BatchCreation::WouldReplaceOwnChart(const QString& prefix, const QString& format) const
{
    for (int k = 1; k <= kChartCount; ++k) {
        const QString fileName = prefix + ChartFileName(host_.Style(), k) + u'.' + format;
        // Names compare as the bytes written, so "A" and "a" stay two files where the
        // file system keeps them apart; where it does not, the file found is one of ours.
        if (writtenNames_.count(QFile::encodeName(fileName)))
            return true;
        const auto id = FileId(root_ + u'/' + fileName);
        if (id && writtenFiles_.count(*id))
            return true;
    }
    return false;
}

void BatchCreation::RememberWritten(const QString& path)
{
    writtenNames_.insert(QFile::encodeName(path.mid(path.lastIndexOf(u'/') + 1)));
    if (const auto id = FileId(path))
        writtenFiles_.insert(*id);
}

void BatchCreation::LeaveOut(const QString& line)
{
    leftOut_.append(lineNumber_);
    if (options_.listedRecords <= 0 || leftOut_.size() <= options_.listedRecords)
        leftOutLines_ += NumberedLine(lineNumber_, line);
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
