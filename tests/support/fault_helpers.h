#pragma once
// Real faults for tests that run as root, where permissions stop nothing: a file size
// limit that makes writes fail part way, FIFOs that block a careless reader, and
// snapshots that show whether anything on disk changed.

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QString>

#include <atomic>
#include <chrono>
#include <csignal>
#include <thread>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace brevant::test {

// While it lives, no file of this process may grow past `bytes`: a write beyond fails with
// EFBIG, as on a full disk. SIGXFSZ is ignored meanwhile so the write fails instead of
// killing the process. Both are put back at the end.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limited = old_;
        limited.rlim_cur = bytes;
        active_ = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool Active() const { return active_; }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = SIG_DFL;
    bool active_ = false;
};

// Every entry below `root` (files with their bytes, folders and other nodes with a
// marker), by path relative to `root`. Two equal snapshots mean nothing was added,
// removed or changed, a leftover temporary file included.
inline QMap<QString, QByteArray> Snapshot(const QString& root)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        QByteArray content;
        if (info.isSymLink()) {
            content = "<link " + QFile::encodeName(info.symLinkTarget()) + '>';
        } else if (info.isDir()) {
            content = "<folder>";
        } else if (info.isFile()) {
            QFile f(path);
            content = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
        } else {
            content = "<node>";
        }
        entries.insert(QDir(root).relativeFilePath(path), content);
    }
    return entries;
}

inline bool MakeFifo(const QString& path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

// A character device that reads zeros without end, as /dev/zero (needs the right to make
// device nodes, which root in a container may lack). Tests use their own node so that code
// which wrongly replaces what it finds can only harm the copy.
inline bool MakeZeroDevice(const QString& path)
{
    return ::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0666, makedev(1, 5)) == 0;
}

inline bool IsFifo(const QString& path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISFIFO(info.st_mode);
}

// Keeps a test from hanging on a FIFO: if the code under test is still blocked in opening
// it after `patience`, a writer appears and goes away, so the open returns and the read
// sees the end. Rescued() then tells the test that the code did block.
class FifoRescue {
public:
    explicit FifoRescue(const QString& fifo,
                        std::chrono::milliseconds patience = std::chrono::seconds(5))
        : thread_([this, path = QFile::encodeName(fifo), patience] {
              const auto until = std::chrono::steady_clock::now() + patience;
              while (!done_ && std::chrono::steady_clock::now() < until)
                  std::this_thread::sleep_for(std::chrono::milliseconds(10));
              if (done_)
                  return;
              // Read-write never blocks on a FIFO and counts as a writer.
              const int fd = ::open(path.constData(), O_RDWR | O_NONBLOCK);
              if (fd >= 0) {
                  rescued_ = true;
                  std::this_thread::sleep_for(std::chrono::milliseconds(50));
                  ::close(fd);
              }
          })
    {
    }
    ~FifoRescue() { Finish(); }
    FifoRescue(const FifoRescue&) = delete;
    FifoRescue& operator=(const FifoRescue&) = delete;

    // Call when the code under test has returned.
    bool Rescued()
    {
        Finish();
        return rescued_;
    }

private:
    void Finish()
    {
        done_ = true;
        if (thread_.joinable())
            thread_.join();
    }

    std::atomic<bool> done_{false};
    std::atomic<bool> rescued_{false};
    std::thread thread_;
};

} // namespace brevant::test
