#include "dropped_files.h"

#include "string_table.h"

namespace brevant {

StringId CheckDroppedFiles(const QStringList& paths)
{
    if (paths.size() != 1)
        return IDS_MANY_FILES;
    if (paths.first().right(4).toLower() != u".csv")
        return IDS_NOT_CSV;
    return IDS_NONE;
}

} // namespace brevant
