#pragma once
// "render": the composed charts into one image file.

#include <QString>
#include <QStringList>

namespace brevant {

class ProfileStore;

// The subcommand on the whole argument list (argument 0 is the program, 1 the
// subcommand), with text for standard output appended to `out`.
int RunRenderCommand(const QStringList& arguments, ProfileStore& store, QString& out);

} // namespace brevant
