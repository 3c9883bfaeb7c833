#include "dropped_files.h"

#include "scenario.h"
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

bool IsScenarioFileName(const QString& path)
{
    return path.size() > kScenarioSuffix.size() &&
           path.endsWith(kScenarioSuffix, Qt::CaseInsensitive);
}

bool IsScenarioDrop(const QStringList& paths)
{
    return paths.size() == 1 && IsScenarioFileName(paths.first());
}

} // namespace brevant
