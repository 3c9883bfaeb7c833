#include "cli_common.h"

#include "cli_platform.h"
#include "image_export.h"
#include "text_util.h"

#include <QJsonDocument>
#include <QRegularExpression>

namespace brevant {

const char kUsage[] =
    "Brevant " BREVANT_VERSION " - break-even-point simulator (損益分岐点シミュレータ)\n"
    "\n"
    "Usage:\n"
    "  brevant render -o FILE [--size WxH] [--figures S,T,F,R] [--charts 012]\n"
    "                 [--unit yen|thousand] [--scenario FILE]\n"
    "                       draw the charts into a file whose type follows its\n"
    "                       extension: .png, .jpg/.jpeg, .bmp, .gif, .tif/.tiff or\n"
    "                       .pdf\n"
    "  brevant batch CSV --mode folders|together [--format NAME] [--out DIR]\n"
    "                [--size WxH] [--overwrite] [--jobs N]\n"
    "                [--encoding auto|utf-8|cp932] [--quiet] [--analysis]\n"
    "                       charts and summaries for every record of a CSV file\n"
    "  brevant calc [--json] [--analysis] [--scenario FILE]\n"
    "               [--scenario-out FILE] [S,T,F,R]\n"
    "                       print the summary CSV (or JSON) for the figures\n"
    "  brevant --help       show this help\n"
    "  brevant --version    show the version\n"
    "\n"
    "render options:\n"
    "  -o, --output FILE    the image to write (replaced if it exists)\n"
    "  --size WxH           size of the chart area in pixels (default 960x400)\n"
    "  --figures S,T,F,R    maximum sales, target sales and fixed costs in yen, and\n"
    "                       the variable-cost ratio in percent (for example\n"
    "                       154321000,125678900,49605558,56.13)\n"
    "  --charts 012         the charts shown: 0 break-even, 1 index, 2 combined\n"
    "  --unit yen|thousand  amounts in the charts in yen or in thousands of yen\n"
    "  --scenario FILE      figures, unit and style from a scenario file (.brevant)\n"
    "                       instead of the saved settings; the options above still\n"
    "                       override it\n"
    "Style, figures and unit not given default to the saved settings, which are only\n"
    "read.\n"
    "\n"
    "batch and calc have their own help: brevant batch --help, brevant calc --help.\n"
    "\n"
    "Exit status: 0 done, 1 failed (the reason is on standard error), 2 wrong usage.\n"
    "Messages follow the terminal's locale; files keep their own encodings\n"
    "(BEP.csv is CP932).\n"
    "\n"
    "Without arguments, brevant opens the simulator window; given one scenario file\n"
    "(brevant FILE.brevant), the window opens on its figures and style.\n";

void PrintError(const QString& text)
{
    WriteTerminalText(stderr, u"brevant: "_qs + text + u'\n');
}

int UsageError(const char* command, const QString& text)
{
    PrintError(text);
    PrintError(command ? QStringLiteral("try 'brevant %1 --help'").arg(QLatin1String(command))
                       : QStringLiteral("try 'brevant --help'"));
    return kExitUsage;
}

bool WantsHelp(const QStringList& arguments)
{
    return arguments.contains(u"--help"_qs) || arguments.contains(u"-h"_qs);
}

std::optional<QSize> ParseChartSize(const QString& text)
{
    static const QRegularExpression re(QStringLiteral("^(\\d{1,5})[xX](\\d{1,5})$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QSize size(m.captured(1).toInt(), m.captured(2).toInt());
    if (size.width() < 1 || size.height() < 1 || size.width() > 32767 || size.height() > 32767)
        return std::nullopt;
    return size;
}

std::optional<int32_t> ParseFormatName(const QString& name)
{
    for (int32_t f = kJpeg; f <= kPdf; ++f) {
        if (name == FormatExtension(f))
            return f;
    }
    return std::nullopt;
}

std::optional<BatchEncoding> ParseEncodingName(const QString& name)
{
    if (name == u"auto")
        return BatchEncoding::Auto;
    if (name == u"utf-8")
        return BatchEncoding::Utf8;
    if (name == u"cp932")
        return BatchEncoding::Cp932;
    return std::nullopt;
}

QString JsonText(const QJsonObject& json)
{
    QString text = QString::fromUtf8(QJsonDocument(json).toJson(QJsonDocument::Indented));
    if (EncodeForCodeset(text, TerminalCodeset()) == text.toUtf8())
        return text;
    QString ascii;
    for (const QChar c : text)
        ascii += c.unicode() < 0x80 ? QString(c) : CFormat("\\u%04x", unsigned(c.unicode()));
    return ascii;
}

} // namespace brevant
