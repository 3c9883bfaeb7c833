#include "user_folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace brevant;

TEST(UserTempFolder, IsTheUsersOwnFolderNeverTheSharedTmp)
{
    const QByteArray old = qgetenv("XDG_RUNTIME_DIR");
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    EXPECT_EQ(UserTempFolder(), QDir::cleanPath(runtime.path()));

    for (const char* unusable : {"/nonexistent/run", "relative/run", ""}) {
        qputenv("XDG_RUNTIME_DIR", unusable);
        const QString folder = UserTempFolder();
        EXPECT_NE(folder, QStringLiteral("/tmp")) << unusable;
        EXPECT_TRUE(folder.startsWith(QDir::homePath()) || folder.startsWith(u'/')) << unusable;
        EXPECT_NE(folder, QString::fromLatin1(unusable));
    }
    qputenv("XDG_RUNTIME_DIR", old);
}

TEST(UserTempFolder, MissingCacheFolderIsMadePrivate)
{
    const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
    const QByteArray oldCache = qgetenv("XDG_CACHE_HOME");
    QTemporaryDir home;
    const QString cache = home.filePath(QStringLiteral("fresh/cache"));
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_CACHE_HOME", cache.toLocal8Bit());
    // Without it, PDF output on a fresh account found no work folder.
    EXPECT_EQ(UserTempFolder(), cache);
    EXPECT_TRUE(QFileInfo(cache).isDir());
    EXPECT_EQ(QFile::permissions(cache) & 0x0077, QFileDevice::Permissions());
    qputenv("XDG_RUNTIME_DIR", oldRuntime);
    if (oldCache.isEmpty())
        qunsetenv("XDG_CACHE_HOME");
    else
        qputenv("XDG_CACHE_HOME", oldCache);
}
