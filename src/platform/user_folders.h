#pragma once
// Well-known folders of the current user.

#include <QString>

namespace brevant {

// The user's own temporary folder: $XDG_RUNTIME_DIR when it is a usable folder, otherwise
// the user's cache folder (~/.cache), made when missing. Never the shared /tmp, where
// another user could read the scratch files or own the folder first.
QString UserTempFolder();

// The user's desktop folder (it may not exist yet).
QString UserDesktopFolder();

} // namespace brevant
