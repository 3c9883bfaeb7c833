#include "platform/user_folders.h"

#include <QDir>
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
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation));
}

QString UserDesktopFolder()
{
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
}

} // namespace brevant
