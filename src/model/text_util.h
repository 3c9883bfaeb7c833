#pragma once
// Small text helpers shared by the paste path, batch creation and the CSV summary.

#include <QByteArray>
#include <QString>

namespace brevant {

// printf-style formatting through the C library under the C locale (so "%.2f" always
// writes a full stop, and "%.0f" of an infinity reads "inf" as the host writes it).
QString CFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The n-th field (from 1) of a text split at a one-character separator; empty if missing.
QString FieldAt(const QString& text, int n, QChar separator);
// Every tab replaced by a comma.
QString TabsToCommas(const QString& text);

// Shift-JIS (CP932) conversion; a character CP932 cannot hold is written as "?".
QByteArray ToCp932(const QString& text);
QString FromCp932(const QByteArray& bytes);
// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(const QByteArray& bytes);

} // namespace brevant
