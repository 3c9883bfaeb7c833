#include "command_line.h"

#include "batch_command.h"
#include "calc_command.h"
#include "cli_common.h"
#include "cli_platform.h"
#include "ini_profile_store.h"
#include "render_command.h"

#include <QGuiApplication>

#include <cstring>

namespace brevant {

namespace {

// Qt's own notes (a missing XDG_RUNTIME_DIR, fonts, plugins) are not this program's words
// and stay off the terminal; only a fatal error, which ends the program, is told.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtFatalMsg)
        PrintError(u"internal error: "_qs + text);
}

// The subcommands need no display: without one they draw on the offscreen platform.
void UseOffscreenWithoutDisplay()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

} // namespace

int RunCommandLine(int argc, char* argv[])
{
    using Command = int (*)(const QStringList&, ProfileStore&, QString&);
    const char* name = argv[1];
    Command command = nullptr;
    if (std::strcmp(name, "render") == 0)
        command = RunRenderCommand;
    else if (std::strcmp(name, "batch") == 0)
        command = RunBatchCommand;
    else if (std::strcmp(name, "calc") == 0)
        command = RunCalcCommand;

    ReadTerminalCodeset();
    if (!command) {
        if (argc == 2 && (std::strcmp(name, "--version") == 0 || std::strcmp(name, "-v") == 0)) {
            WriteTerminalText(stdout, u"brevant " BREVANT_VERSION "\n"_qs);
            return kExitOk;
        }
        if (argc == 2 && (std::strcmp(name, "--help") == 0 || std::strcmp(name, "-h") == 0)) {
            WriteTerminalText(stdout, QString::fromUtf8(kUsage));
            return kExitOk;
        }
        // Name what was not understood before the usage: whatever follows --help or
        // --version, else the word in the place of the subcommand. Through the platform,
        // so control characters in it cannot act on the terminal.
        const bool known = std::strcmp(name, "--version") == 0 || std::strcmp(name, "-v") == 0 ||
                           std::strcmp(name, "--help") == 0 || std::strcmp(name, "-h") == 0;
        const char* what = known ? "unexpected argument"
                           : name[0] == '-' ? "unknown option"
                                            : "unknown command";
        CliPlatform().MessageBox(QStringLiteral("brevant: %1 '%2'")
                                     .arg(QLatin1String(what),
                                          QString::fromLocal8Bit(known ? argv[2] : name)),
                                 QString(), kMbError);
        WriteTerminalText(stderr, QString::fromUtf8(kUsage));
        return kExitUsage;
    }

    qInstallMessageHandler(QuietQtMessages);
    UseOffscreenWithoutDisplay();
    QGuiApplication app(argc, argv);
    SetUpApplication();

    IniProfileStore store;
    QString out;
    const int status = command(app.arguments(), store, out);
    WriteTerminalText(stdout, out);
    return status;
}

} // namespace brevant
