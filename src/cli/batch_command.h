#pragma once
// "batch": batch creation from a CSV file, as the window does it.

#include <QString>
#include <QStringList>

namespace brevant {

class ProfileStore;

// The subcommand on the whole argument list (argument 0 is the program, 1 the
// subcommand), with text for standard output appended to `out`.
int RunBatchCommand(const QStringList& arguments, ProfileStore& store, QString& out);

} // namespace brevant
