#pragma once
// Reading and writing whole files in tests.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace brevant::test {

// The file's bytes, or empty when it cannot be read.
inline QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace brevant::test
