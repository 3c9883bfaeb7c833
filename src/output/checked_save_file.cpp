#include "checked_save_file.h"

#include <QFileInfo>

namespace brevant {

bool CheckedSaveFile::open(OpenMode mode)
{
    const QFileInfo target(fileName());
    if (target.exists() && !target.isFile() && !target.isDir())
        return false;
    shortWrite_ = false;
    return QSaveFile::open(mode);
}

bool CheckedSaveFile::commit()
{
    if (!isOpen())
        return false;
    if (!flush() || shortWrite_ || error() != QFileDevice::NoError) {
        cancelWriting();
        QSaveFile::commit(); // discards the temporary file after the cancel
        return false;
    }
    return QSaveFile::commit();
}

qint64 CheckedSaveFile::writeData(const char* data, qint64 len)
{
    const qint64 written = QSaveFile::writeData(data, len);
    if (written != len)
        shortWrite_ = true;
    return written;
}

} // namespace brevant
