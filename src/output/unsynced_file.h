#pragma once
// Writing a whole file without waiting for the disk: the bytes go to a new file beside the
// target, which is then renamed over it, so the target is always the old file or the whole
// new one. Unlike QSaveFile it does not force the data to disk first; a batch writes
// thousands of files, and that wait was most of its time.

#include <QByteArray>
#include <QString>

namespace brevant {

// Replaces (or creates) `path` with `bytes`. A new file gets the usual permissions (0666
// less the umask), a replaced one keeps its own; a symbolic link is followed. A target
// that exists but is no regular file is refused. On any failure the target is left as it
// was, nothing is left behind, and the result is false.
bool WriteFileUnsynced(const QString& path, const QByteArray& bytes);

} // namespace brevant
