#pragma once
// Names that come from the user (chart titles, batch folder names) and become one file or
// folder inside the output folder. Such a name must stay a single path component, so no
// output ever lands outside the folder it was meant for.

#include <QString>

namespace brevant {

// The longest file or folder name the file systems we write to accept, in bytes.
constexpr int kMaxNameBytes = 255;

// True when `name` can be one file or folder name: not empty, not "." or "..", without
// "/" or a NUL character, and at most kMaxNameBytes long in its on-disk encoding.
bool IsUsableName(const QString& name);

// True when anything is at the path, a dangling symbolic link included.
bool PathExists(const QString& path);

} // namespace brevant
