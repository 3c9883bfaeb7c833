#include "output_names.h"

#include <QFile>
#include <QFileInfo>

namespace brevant {

bool IsUsableName(const QString& name)
{
    if (name.isEmpty() || name == u"." || name == u"..")
        return false;
    if (name.contains(u'/') || name.contains(QChar(u'\0')))
        return false;
    return QFile::encodeName(name).size() <= kMaxNameBytes;
}

bool PathExists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

} // namespace brevant
