#include "atomic_file.h"
#include "support/fault_helpers.h"
#include "support/file_helpers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace brevant;
using namespace brevant::test;

TEST(AtomicFile, WritesEveryNameTheFileSystemTakes)
{
    QTemporaryDir dir;
    // The temporary name must not grow with the target's: 255 bytes is the limit itself.
    for (int length : {1, 200, 249, 252, 255}) {
        const QString path = dir.filePath(QString(length, u'a'));
        for (AtomicFile::Sync sync : {AtomicFile::Sync::No, AtomicFile::Sync::Yes}) {
            ASSERT_TRUE(WriteWholeFile(path, "chart", sync)) << length;
            EXPECT_EQ(ReadAll(path), "chart");
        }
        QFile::remove(path);
    }
    // One byte more is refused, and leaves nothing behind.
    EXPECT_FALSE(WriteWholeFile(dir.filePath(QString(256, u'a')), "chart"));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot |
                                            QDir::Hidden).isEmpty());
}

TEST(AtomicFile, ReplacesWholeOrNotAtAll)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"BEP.csv"_qs);
    ASSERT_TRUE(WriteAll(path, "old"));
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    const auto before = Snapshot(dir.path());
    {
        // A write that fails part way, as on a full disk.
        FileSizeLimit limit(4);
        ASSERT_TRUE(limit.Active());
        EXPECT_FALSE(WriteWholeFile(path, "longer than four bytes"));
    }
    {
        // A file never committed is discarded.
        AtomicFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("half");
    }
    EXPECT_EQ(Snapshot(dir.path()), before);

    ASSERT_TRUE(WriteWholeFile(path, "new"));
    EXPECT_EQ(ReadAll(path), "new");
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u) << "a replaced file keeps its permissions";
}

TEST(AtomicFile, FollowsLinksAndRefusesOtherNodes)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(u"target.png"_qs);
    const QString link = dir.filePath(u"link.png"_qs);
    ASSERT_TRUE(WriteAll(target, "old"));
    ASSERT_TRUE(QFile::link(target, link));
    ASSERT_TRUE(WriteWholeFile(link, "new", AtomicFile::Sync::No));
    EXPECT_EQ(ReadAll(target), "new");
    EXPECT_TRUE(QFileInfo(link).isSymLink());

    ASSERT_TRUE(QDir(dir.path()).mkdir(u"folder"_qs));
    const QString fifo = dir.filePath(u"fifo"_qs);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_FALSE(WriteWholeFile(dir.filePath(u"folder"_qs), "x"));
    EXPECT_FALSE(WriteWholeFile(fifo, "x"));
    EXPECT_FALSE(WriteWholeFile(dir.filePath(u"missing/file.png"_qs), "x"));
    AtomicFile readable(target);
    EXPECT_FALSE(readable.open(QIODevice::ReadWrite));
}
