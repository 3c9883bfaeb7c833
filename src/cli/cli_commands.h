#pragma once
// The headless subcommands "render", "batch" and "calc": the same renderer and output code
// as the window, on a chart host without a window. They read the saved settings and never
// write them. Results go to standard output, messages and usage errors to standard error;
// the exit status is 0 on success, 1 on failure (after its message), 2 on wrong usage.

#include "batch_file.h"
#include "bep_model.h"

#include <QJsonObject>
#include <QSize>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace brevant {

class ProfileStore;

// A batch stopped by a signal exits with 128 + the signal's number, as shells report it.
enum ExitStatus : int { kExitOk = 0, kExitFailure = 1, kExitUsage = 2, kExitSignal = 128 };

// Entry from main() with at least one argument: a subcommand, --help or --version.
// Makes the application (on the offscreen platform when there is no display) only for a
// subcommand.
int RunCommandLine(int argc, char* argv[]);

// The subcommands on the whole argument list (argument 0 is the program, 1 the
// subcommand), with text for standard output appended to `out`.
int RunRenderCommand(const QStringList& arguments, ProfileStore& store, QString& out);
int RunBatchCommand(const QStringList& arguments, ProfileStore& store, QString& out);
int RunCalcCommand(const QStringList& arguments, ProfileStore& store, QString& out);

// "WxH" with both sides 1..32767.
std::optional<QSize> ParseChartSize(const QString& text);

// The output format of a format name ("jpeg", "bmp", "gif", "png", "tiff", "pdf").
std::optional<int32_t> ParseFormatName(const QString& name);

// The input encoding of batch --encoding ("auto", "utf-8", "cp932").
std::optional<BatchEncoding> ParseEncodingName(const QString& name);

// The batch's progress line: "120/5000 records, 85.3/s, 0:57 left" after `seconds`.
QString ProgressText(int done, int total, double seconds);

// The figures of calc --json: each amount (the three inputs, the break-even point and the
// target operating profit) as {"yen", "words", "label"}, "yen" and "words" null when the
// amount is not finite, and the two ratios in percent.
QJsonObject FiguresJson(const BepInputs& inputs);
// The object as indented JSON. For a terminal whose character set is not UTF-8 (nor the
// C locale's, which is written as UTF-8) every non-ASCII character is a \u escape, so
// the text stays valid JSON after it is converted for the terminal.
QString JsonText(const QJsonObject& json);

} // namespace brevant
