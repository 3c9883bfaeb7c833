#pragma once
// Names that come from the user (chart titles, batch folder names) and become one file or
// folder inside the output folder. Such a name must stay a single path component, so no
// output ever lands outside the folder it was meant for, and it must fit the file system's
// limit on the length of one name, so a file that cannot exist is never reported as made.

#include <QString>

namespace brevant {

// The longest file or folder name the file systems we write to accept, in bytes.
constexpr int kMaxNameBytes = 255;

// True when `name` can be one file or folder name: not empty, not "." or "..", without
// "/" or a NUL character, and at most kMaxNameBytes long in its on-disk encoding.
bool IsUsableName(const QString& name);
// The same without the length rule.
bool IsSingleComponent(const QString& name);

// The length of `name` in its on-disk encoding, in bytes.
qsizetype NameBytes(const QString& name);
// The longest name the file system holding `folder` accepts, in bytes; kMaxNameBytes when
// the folder does not exist (yet) or does not say.
qsizetype NameLimit(const QString& folder);
// True when the last component of `path` is longer than the file system of the folder
// that would hold it accepts. Such a file can never be written.
bool IsNameTooLong(const QString& path);

// True when anything is at the path, a dangling symbolic link included.
bool PathExists(const QString& path);

} // namespace brevant
