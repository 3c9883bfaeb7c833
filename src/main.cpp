// Brevant: a break-even-point simulator. Without arguments it opens the simulator window;
// with a subcommand it runs headless on the same renderer and output code.

#include <QCommandLineParser>
#include <QCoreApplication>

#include <clocale>
#include <cstdio>

namespace {

const char kUsage[] =
    "Brevant " BREVANT_VERSION " - break-even-point simulator (損益分岐点シミュレータ)\n"
    "\n"
    "Usage:\n"
    "  brevant --help       show this help\n"
    "  brevant --version    show the version\n"
    "\n"
    "The simulator window is not built yet in this version.\n";

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    // Numbers are read and written with a full stop whatever the user's locale says.
    std::setlocale(LC_NUMERIC, "C");
    QCoreApplication::setApplicationName(QStringLiteral("Brevant"));
    QCoreApplication::setOrganizationName(QStringLiteral("Velmora"));
    QCoreApplication::setApplicationVersion(QStringLiteral(BREVANT_VERSION));

    const QStringList args = app.arguments();
    if (args.size() == 2 && (args[1] == u"--version" || args[1] == u"-v")) {
        std::printf("brevant %s\n", BREVANT_VERSION);
        return 0;
    }
    if (args.size() == 2 && (args[1] == u"--help" || args[1] == u"-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    std::fputs(kUsage, stderr);
    return 2;
}
