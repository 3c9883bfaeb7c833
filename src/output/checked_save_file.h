#pragma once
// QSaveFile that refuses to commit a file with bytes missing. QSaveFile::commit() alone
// puts a truncated file in place when a write fails while its buffer is flushed (a full
// disk, a file size limit), and a short write that sets no error goes unnoticed too.

#include <QSaveFile>

namespace brevant {

class CheckedSaveFile final : public QSaveFile {
public:
    explicit CheckedSaveFile(const QString& path) : QSaveFile(path) {}

    // Refuses a target that exists but is no regular file (a FIFO, a device): renaming
    // over it would replace the node itself, and writing into it is not all-or-nothing.
    bool open(OpenMode mode) override;

    // Puts the file in place only when every byte reached it; otherwise removes the
    // temporary file, leaves the target as it was and returns false.
    bool commit();

protected:
    qint64 writeData(const char* data, qint64 len) override;

private:
    bool shortWrite_ = false;
};

} // namespace brevant
