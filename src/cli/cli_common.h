#pragma once
// What the headless subcommands share: the exit status, messages and usage errors on
// standard error, the program's usage text, the parsing of option values and JSON for the
// terminal. Results go to standard output, messages and usage errors to standard error;
// the exit status is 0 on success, 1 on failure (after its message), 2 on wrong usage.

#include "batch_file.h"

#include <QJsonObject>
#include <QSize>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace brevant {

// A batch stopped by a signal exits with 128 + the signal's number, as shells report it.
enum ExitStatus : int { kExitOk = 0, kExitFailure = 1, kExitUsage = 2, kExitSignal = 128 };

// The whole program's usage, which is also render's help.
extern const char kUsage[];

// "brevant: TEXT" on standard error.
void PrintError(const QString& text);

// Reports wrong usage and returns kExitUsage. `command` names the subcommand whose help to
// point at; null for the whole program's.
int UsageError(const char* command, const QString& text);

// Whether the arguments ask for help (--help or -h).
bool WantsHelp(const QStringList& arguments);

// "WxH" with both sides 1..32767.
std::optional<QSize> ParseChartSize(const QString& text);

// The output format of a format name ("jpeg", "bmp", "gif", "png", "tiff", "pdf").
std::optional<int32_t> ParseFormatName(const QString& name);

// The input encoding of batch --encoding ("auto", "utf-8", "cp932").
std::optional<BatchEncoding> ParseEncodingName(const QString& name);

// The object as indented JSON. For a terminal whose character set is not UTF-8 (nor the
// C locale's, which is written as UTF-8) every non-ASCII character is a \u escape, so
// the text stays valid JSON after it is converted for the terminal.
QString JsonText(const QJsonObject& json);

} // namespace brevant
