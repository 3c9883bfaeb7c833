#pragma once
// Which files dropped on the batch button can be processed.

#include "string_table.h"

#include <QStringList>

namespace brevant {

// 30004 when not exactly one file was dropped, 30006 when it does not end in ".csv"
// (in any case), IDS_NONE when the file can go to batch creation.
StringId CheckDroppedFiles(const QStringList& paths);

} // namespace brevant
