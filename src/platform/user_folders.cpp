#include "user_folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace brevant {

QString UserTempFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty()) {
        const QFileInfo info(runtime);
        if (info.isAbsolute() && info.isDir() && info.isWritable() && info.ownerId() == getuid())
            return QDir::cleanPath(runtime);
    }
    QString cache =
        QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation));
    // A fresh account (a server, a CI runner) may have no cache folder yet. The temporary
    // folder is expected to exist, so make it, private as the runtime folder would be.
    if (!cache.isEmpty() && !QFileInfo::exists(cache) && QDir().mkpath(cache))
        QFile::setPermissions(cache, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return cache;
}

QString UserDesktopFolder()
{
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
}

} // namespace brevant
