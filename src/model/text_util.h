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
// The text with the full-width forms an input method types in full-width mode (digits,
// comma, full stop, plus, minus, percent, yen, the ideographic space) read as the ASCII
// characters they stand for; everything else unchanged.
QString NarrowNumberText(const QString& text);

// Shift-JIS (CP932) conversion; a character CP932 cannot hold is written as "?".
QByteArray ToCp932(const QString& text);
QString FromCp932(const QByteArray& bytes);
// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(const QByteArray& bytes);
// True when the text comes back unchanged from CP932.
bool Cp932Holds(const QString& text);

// A file or folder name as both the disk and the CP932 summary can hold it, so the summary
// names the file that exists. After composing accents (NFC), each character CP932 cannot
// hold becomes its compatibility form without accents when CP932 holds that and it has no
// "." or "/" (é -> e, ﬁ -> fi), and "_" otherwise (Hangul, emoji). A name never becomes
// empty, "." or ".." that was not already.
QString Cp932FileName(const QString& name);

// The text in the character set `codeset` (as nl_langinfo names it), a character it
// cannot hold written as "?". UTF-8 and the C locale's ASCII give UTF-8: a C locale says
// nothing about the terminal, and a path printed in UTF-8 stays the path on disk.
QByteArray EncodeForCodeset(const QString& text, const QByteArray& codeset);

} // namespace brevant
