#pragma once
// The one way a file is written: into a new file with a short unique name in the target's
// folder, renamed over the target once every byte has reached it. The target is always
// the old file or the whole new one; a failure leaves nothing behind. The temporary name
// does not grow with the target's, so any name the file system accepts can be written.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace brevant {

class AtomicFile final : public QFile {
public:
    // Whether commit() waits until the data is on the disk. A batch writes thousands of
    // images, and that wait was most of its time; summaries and PDFs are few and wait.
    enum class Sync { No, Yes };

    explicit AtomicFile(const QString& target, Sync sync = Sync::Yes);
    // Discards the new file when it was not committed.
    ~AtomicFile() override;

    // Opens the new file for writing (any other mode is refused). A target that exists
    // but is no regular file (a folder, a FIFO, a device) is refused; a symbolic link is
    // followed, so the file it points to is replaced.
    bool open(OpenMode mode) override;
    // Puts the new file in place, with a replaced file's permissions, only when every
    // byte was written; otherwise removes it, leaves the target as it was and returns
    // false.
    bool commit();

protected:
    qint64 writeData(const char* data, qint64 len) override;

private:
    void Discard();

    QString target_;
    Sync sync_;
    QByteArray tempPath_;
    QByteArray finalPath_;
    unsigned existingMode_ = 0;
    bool replaces_ = false;
    bool shortWrite_ = false;
};

// Replaces (or creates) `path` with `bytes` through an AtomicFile.
bool WriteWholeFile(const QString& path, const QByteArray& bytes,
                    AtomicFile::Sync sync = AtomicFile::Sync::Yes);

} // namespace brevant
