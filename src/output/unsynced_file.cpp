#include "unsynced_file.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brevant {

namespace {

// A new file beside `target`, or -1.
int CreateBeside(const QByteArray& target, QByteArray& name)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = target + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool WriteAll(int fd, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        left -= n;
    }
    return true;
}

} // namespace

bool WriteFileUnsynced(const QString& path, const QByteArray& bytes)
{
    const QFileInfo info(path);
    const QString finalPath = info.isSymLink() ? info.symLinkTarget() : path;
    const QByteArray target = QFile::encodeName(finalPath);
    struct stat existing {};
    const bool exists = ::stat(target.constData(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode))
        return false;

    QByteArray temp;
    const int fd = CreateBeside(target, temp);
    if (fd < 0)
        return false;
    bool ok = !exists || ::fchmod(fd, existing.st_mode & 07777) == 0;
    ok = ok && WriteAll(fd, bytes);
    ok = ::close(fd) == 0 && ok;
    ok = ok && std::rename(temp.constData(), target.constData()) == 0;
    if (!ok)
        ::unlink(temp.constData());
    return ok;
}

} // namespace brevant
