#pragma once
// The toolkit's own texts in Japanese: the buttons and labels of its colour and file
// dialogs, the context menus of text entries, the messages of its command-line parser.

#include <QString>

namespace brevant {

// Installs Qt's Japanese catalogue from the folder Qt keeps its translations in, once per
// application. False when it is not installed (the toolkit then speaks English).
bool InstallToolkitTranslations();

// Where that catalogue lives ("…/qtbase_ja.qm"), whether or not it exists.
QString ToolkitTranslationFile();

} // namespace brevant
