#include "atomic_file.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brevant {

namespace {

// The folder part of an encoded path, with its trailing "/", or "" for the current folder.
QByteArray FolderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray() : path.left(slash + 1);
}

// A new file in `folder` under a short unused name, or -1.
int CreateTemporary(const QByteArray& folder, QByteArray& name)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = folder + ".brevant-" +
               QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".tmp";
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

AtomicFile::AtomicFile(const QString& target, Sync sync)
    : target_(target), sync_(sync)
{
}

AtomicFile::~AtomicFile() { Discard(); }

bool AtomicFile::open(OpenMode mode)
{
    if (isOpen() || (mode & ~(WriteOnly | Truncate | Unbuffered)) != 0 || !(mode & WriteOnly))
        return false;
    const QFileInfo info(target_);
    finalPath_ = QFile::encodeName(info.isSymLink() ? info.symLinkTarget() : target_);
    struct stat existing {};
    replaces_ = ::stat(finalPath_.constData(), &existing) == 0;
    if (replaces_ && !S_ISREG(existing.st_mode))
        return false;
    existingMode_ = existing.st_mode & 07777;

    const int fd = CreateTemporary(FolderOf(finalPath_), tempPath_);
    if (fd < 0)
        return false;
    shortWrite_ = false;
    setFileName(QFile::decodeName(tempPath_));
    if (!QFile::open(fd, WriteOnly | Unbuffered, AutoCloseHandle)) {
        ::close(fd);
        Discard();
        return false;
    }
    return true;
}

bool AtomicFile::commit()
{
    if (!isOpen())
        return false;
    const int fd = handle();
    bool ok = !shortWrite_ && error() == QFileDevice::NoError;
    ok = ok && (!replaces_ || ::fchmod(fd, existingMode_) == 0);
    ok = ok && (sync_ == Sync::No || ::fdatasync(fd) == 0);
    close();
    ok = ok && error() == QFileDevice::NoError;
    ok = ok && std::rename(tempPath_.constData(), finalPath_.constData()) == 0;
    if (!ok) {
        Discard();
        return false;
    }
    tempPath_.clear();
    return true;
}

qint64 AtomicFile::writeData(const char* data, qint64 len)
{
    const qint64 written = QFile::writeData(data, len);
    if (written != len)
        shortWrite_ = true;
    return written;
}

void AtomicFile::Discard()
{
    if (isOpen())
        close();
    if (!tempPath_.isEmpty())
        ::unlink(tempPath_.constData());
    tempPath_.clear();
}

bool WriteWholeFile(const QString& path, const QByteArray& bytes, AtomicFile::Sync sync)
{
    AtomicFile file(path, sync);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() &&
           file.commit();
}

} // namespace brevant
