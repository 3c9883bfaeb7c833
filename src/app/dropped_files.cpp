#include "app/dropped_files.h"

#include "res/string_table.h"

namespace brevant {

int CheckDroppedFiles(const QStringList& paths)
{
    if (paths.size() != 1)
        return IDS_MANY_FILES;
    if (paths.first().right(4).toLower() != u".csv")
        return IDS_NOT_CSV;
    return 0;
}

} // namespace brevant
