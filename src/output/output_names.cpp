#include "output_names.h"

#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace brevant {

bool IsSingleComponent(const QString& name)
{
    if (name.isEmpty() || name == u"." || name == u"..")
        return false;
    return !name.contains(u'/') && !name.contains(QChar(u'\0'));
}

bool IsUsableName(const QString& name)
{
    return IsSingleComponent(name) && NameBytes(name) <= kMaxNameBytes;
}

qsizetype NameBytes(const QString& name)
{
    return QFile::encodeName(name).size();
}

qsizetype NameLimit(const QString& folder)
{
    const QByteArray path = QFile::encodeName(folder.isEmpty() ? QStringLiteral(".") : folder);
    const long limit = ::pathconf(path.constData(), _PC_NAME_MAX);
    return limit > 0 ? qsizetype(limit) : kMaxNameBytes;
}

bool IsNameTooLong(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    const QString name = path.mid(slash + 1);
    const QString folder = slash < 0    ? QString()
                           : slash == 0 ? QStringLiteral("/")
                                        : path.left(slash);
    return NameBytes(name) > NameLimit(folder);
}

bool PathExists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

} // namespace brevant
