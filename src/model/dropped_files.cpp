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

bool IsScenarioDrop(const QStringList& paths)
{
    return paths.size() == 1 && paths.first().endsWith(u".brevant", Qt::CaseInsensitive) &&
           paths.first().size() > 8;
}

} // namespace brevant
