#pragma once
// The headless subcommands "batch" and "calc": the same output code as the window, on a
// chart host without a window. Both read the saved settings and never write them.

#include "app/bep_model.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

namespace brevant {

class ProfileStore;

// Entry from main() for "batch" and "calc": makes the GUI application (on the offscreen
// platform when there is no display) and runs the subcommand named in argv[1].
int RunOutputCommand(int argc, char* argv[]);

// The subcommands need no display: without one they draw on the offscreen platform.
// Called before the application object is made.
void UseOffscreenWithoutDisplay();
// The C numeric locale and the application's names; called once the application exists.
void SetUpCommandLineApplication();

// The subcommands on parsed arguments (argument 0 is the program, 1 the subcommand).
// Results go to `out`, messages and usage errors to standard error. The exit status is
// 0 on success, 1 on failure (after its message), 2 on wrong usage.
int RunBatchCommand(const QStringList& arguments, ProfileStore& store, QString& out);
int RunCalcCommand(const QStringList& arguments, ProfileStore& store, QString& out);

// Figures as the window takes them from pasted text, "S,T,F,R" (tabs count as commas):
// amounts through the entries' rule, the percentage clamped to 0..10000, an empty fourth
// field keeps the ratio. An empty first or second field gives 30014 (the fields before
// it are already set); otherwise 0.
int ApplyFourValues(BepInputs& inputs, const QString& text);

// "WxH" with both sides 1..32767.
std::optional<QSize> ParseChartSize(const QString& text);

// The output format of a format name ("jpeg", "bmp", "gif", "png", "tiff", "pdf").
std::optional<int32_t> ParseFormatName(const QString& name);

} // namespace brevant
