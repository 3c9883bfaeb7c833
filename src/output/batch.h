#pragma once
// Batch creation: the charts and a CSV summary for every record of a CSV file, either one
// folder per record or all records together in the output root.

#include "batch_controls.h"
#include "batch_file.h"
#include "bep_model.h"
#include "message.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <optional>
#include <set>
#include <utility>

#include <sys/types.h>

namespace brevant {

class ChartHost;
class Platform;

// The most records one batch file may hold.
constexpr qint64 kMaxBatchRecords = 5000;

// True when the record has exactly five fields (four commas).
bool HasFiveFields(const QString& line);

// Reads fields 2 to 5 of a record into `inputs`, each stored as soon as it is parsed, and
// checks them. Returns field 1 (the folder name, possibly empty), or nothing after showing
// 30014, 30015 or 30016 with the line as prefix, or the heading-line message with the line
// and its number (from 1; 0 when not known).
std::optional<QString> ParseBatchRecord(BepInputs& inputs, Platform& platform,
                                        const QString& line, qint64 lineNumber = 0);
// The same without a message: 0, or the id ParseBatchRecord would show.
StringId CheckBatchRecord(BepInputs& inputs, const QString& line);

struct BatchOptions {
    // Written into instead of the desktop folder "BEP" when not empty; created with its
    // parents when missing.
    QString outputRoot;
    // Ask at the end whether to open the output folder (the command line does not).
    bool askToShowResult = true;
    // The mode chosen beforehand (true: one folder per record); the mode question is
    // then not asked.
    std::optional<bool> folderPerRecord;
    // How the CSV file's text is read.
    BatchEncoding encoding = BatchEncoding::Auto;
    // How many records are drawn and encoded at once, on threads of their own; 0 for as
    // many as the machine has cores, 1 for all on the calling thread. Files, messages and
    // progress follow record order whatever the number.
    int jobs = 0;
    // Also writes "analysis.csv" beside each "BEP.csv": per record the four inputs, the
    // break-even sales, the margin of safety ratio, the break-even ratio and the operating
    // leverage, in the summary's encoding and line ends.
    bool analysis = false;
    // Asked before each record; true ends the batch there, as a failure, with the files
    // of the records before it complete (the command line's Ctrl+C and SIGTERM).
    std::function<bool()> stopRequested;
    // How many records left out of a together batch its closing message lists by line;
    // 0 for all of them.
    int listedRecords = 10;
};

// The number of jobs a batch runs with when asked for `jobs` (0: one per core).
int BatchJobs(int jobs);

class BatchCreation {
public:
    explicit BatchCreation(ChartHost& host, BatchOptions options = {},
                           BatchControls* controls = nullptr);

    // The whole batch for the CSV file. True when it completed.
    bool RunBatch(const QString& csvPath);

    // The folder the last batch wrote into.
    QString OutputRoot() const { return root_; }
    // Records completed in their own folders by the last batch.
    int DoneCount() const { return doneCount_; }
    // Lines of the batch file read by the last batch.
    qint64 LinesRead() const { return lineNumber_; }
    // The line numbers of records the last together batch left out because their files
    // could not be written.
    const QList<qint64>& LeftOut() const { return leftOut_; }
    // True when the last batch ended because a stop was requested.
    bool Stopped() const { return stopped_; }

private:
    class Records;
    struct Record;
    QString ResolveOutputRoot();
    // One record in its own folder below the output root.
    bool OutputRecordToFolder(const Record& record, const QString& format, Platform& platform);
    // Every record of the file together in the output root, with one "BEP.csv".
    bool OutputAllTogether(Records& records, const QString& format, Platform& platform);
    // Writes the record's charts as WriteThreeCharts would.
    bool WriteRecordCharts(const Record& record, const QString& folder, const QString& prefix,
                           const QString& format, bool stopAtFailure, Platform& platform);
    // Shows the record's last chart where the host shows charts.
    void ShowRecord();
    bool StopRequested();
    // True when one of the record's chart files would replace a chart this batch wrote.
    bool WouldReplaceOwnChart(const QString& prefix, const QString& format) const;
    void RememberWritten(const QString& path);
    // Notes a record the together mode could not write, for the closing message.
    void LeaveOut(const QString& line);

    ChartHost& host_;
    BatchOptions options_;
    BatchControls* controls_;
    QString root_;
    bool existingFolderConfirmed_ = false;
    int doneCount_ = 0;
    qint64 lineNumber_ = 0;
    bool stopped_ = false;
    QList<qint64> leftOut_;
    QString leftOutLines_;  // the closing message's prefix
    // The charts written by this batch: their names as on disk, and the files themselves,
    // so that a name the file system takes as one already written (a folder that ignores
    // case, a link) is caught too.
    std::set<QByteArray> writtenNames_;
    std::set<std::pair<dev_t, ino_t>> writtenFiles_;
};

// The batch as the window's button starts it.
bool RunBatch(ChartHost& host, const QString& csvPath, BatchControls* controls = nullptr);

// The click on the batch button: asks for the CSV file and runs the batch; false when
// the user cancelled or the batch failed.
bool ChooseBatchFile(ChartHost& host, BatchControls* controls = nullptr);

} // namespace brevant
