#pragma once
// Which dropped files the window can take: a scenario anywhere, a CSV file on the batch
// button.

#include "string_table.h"

#include <QStringList>

namespace brevant {

// 30004 when not exactly one file was dropped, 30006 when it does not end in ".csv"
// (in any case), IDS_NONE when the file can go to batch creation.
StringId CheckDroppedFiles(const QStringList& paths);

// Whether the name is a scenario file's: something before ".brevant", in any case.
bool IsScenarioFileName(const QString& path);

// Whether the drop is one scenario file, which the window opens wherever it is dropped.
bool IsScenarioDrop(const QStringList& paths);

} // namespace brevant
