#pragma once
// Batch creation: the charts and a CSV summary for every record of a CSV file, either one
// folder per record or all records together in the output root.

#include "batch_controls.h"
#include "batch_file.h"
#include "bep_model.h"
#include "message.h"

#include <QString>
#include <optional>

namespace brevant {

class ChartHost;
class Platform;

// The most records one batch file may hold.
constexpr qint64 kMaxBatchRecords = 5000;

// True when the record has exactly five fields (four commas).
bool HasFiveFields(const QString& line);

// Reads fields 2 to 5 of a record into `inputs`, each stored as soon as it is parsed, and
// checks them. Returns field 1 (the folder name, possibly empty), or nothing after showing
// 30014, 30015 or 30016 with the line as prefix.
std::optional<QString> ParseBatchRecord(BepInputs& inputs, Platform& platform,
                                        const QString& line);
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

    ChartHost& host_;
    BatchOptions options_;
    BatchControls* controls_;
    QString root_;
    bool existingFolderConfirmed_ = false;
    int doneCount_ = 0;
};

// The batch as the window's button starts it.
bool RunBatch(ChartHost& host, const QString& csvPath, BatchControls* controls = nullptr);

// The click on the batch button: asks for the CSV file and runs the batch; false when
// the user cancelled or the batch failed.
bool ChooseBatchFile(ChartHost& host, BatchControls* controls = nullptr);

} // namespace brevant
