#pragma once
// Batch creation: the charts and a CSV summary for every record of a CSV file, either one
// folder per record or all records together in the output root.

#include "batch_file.h"
#include "bep_model.h"

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

// What a window shows of the figures beyond the charts. After a successful batch it is
// told to write the figures into its amount entries as "%.0f" (their text rule then
// stores the values the entries hold), the ratio into its spin and ratio text, and to
// tick the three chart check boxes.
class BatchControls {
public:
    virtual ~BatchControls() = default;
    virtual void ShowBatchResult() = 0;
};

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
};

class BatchCreation {
public:
    explicit BatchCreation(ChartHost& host, BatchOptions options = {},
                           BatchControls* controls = nullptr);

    // The whole batch for the CSV file. True when it completed.
    bool RunBatch(const QString& csvPath);

    // One record in its own folder below the output root.
    bool OutputRecordToFolder(const QString& root, const QString& format, const QString& line);
    // Every record of the file together in the output root, with one "BEP.csv".
    bool OutputAllTogether(BatchFile& input, const QString& root, const QString& format);

    // The folder the last batch wrote into.
    QString OutputRoot() const { return root_; }
    // Records completed in their own folders by the last batch.
    int DoneCount() const { return doneCount_; }

private:
    QString ResolveOutputRoot();

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
