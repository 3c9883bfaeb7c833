#pragma once
// Batch creation: the charts and a CSV summary for every record of a CSV file, either one
// folder per record or all records together in the output root.

#include "app/bep_model.h"

#include <QString>
#include <optional>

namespace brevant {

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

} // namespace brevant
