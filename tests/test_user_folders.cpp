#include "platform/user_folders.h"

#include <QDir>
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
