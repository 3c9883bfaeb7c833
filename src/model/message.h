#pragma once
// The message-box convention: a string-table text after an optional prefix, captioned
// with the application name.

#include "string_table.h"

#include <QString>

namespace brevant {

class Platform;

// Shows entry `id` with `prefix` in front; returns the button pressed (1, 2, 6 or 7), or 0
// without showing anything when the id is not in the table.
int ShowMessage(Platform& platform, StringId id, const QString& prefix, unsigned flags);

} // namespace brevant
