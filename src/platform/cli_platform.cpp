#include "cli_platform.h"

#include "text_util.h"
#include "user_folders.h"

#include <QDir>
#include <QStandardPaths>
#include <QThread>

#include <clocale>
#include <cstdio>
#include <langinfo.h>

namespace brevant {

namespace {

QByteArray& Codeset()
{
    static QByteArray codeset;
    return codeset;
}

// Characters of the status line now on standard error; 0 when none is shown.
qsizetype& StatusWidth()
{
    static qsizetype width = 0;
    return width;
}

void WriteBytes(FILE* stream, const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

// Message prefixes carry lines from input files; their control characters (an escape
// sequence, a carriage return) would act on the terminal instead of being shown.
QString Printable(QString text)
{
    for (QChar& c : text) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != u'\n' && u != u'\t') || (u >= 0x7F && u < 0xA0))
            c = u'?';
    }
    return text;
}

} // namespace

void ReadTerminalCodeset()
{
    const char* previous = std::setlocale(LC_CTYPE, nullptr);
    const QByteArray restore = previous ? QByteArray(previous) : QByteArray("C");
    if (std::setlocale(LC_CTYPE, ""))
        Codeset() = nl_langinfo(CODESET);
    std::setlocale(LC_CTYPE, restore.constData());
}

QByteArray TerminalCodeset() { return Codeset(); }

void ShowStatusLine(const QString& text)
{
    const qsizetype before = StatusWidth();
    if (before == 0 && text.isEmpty())
        return;
    QString line = u'\r' + text;
    // Spaces over the rest of a longer earlier line.
    if (text.size() < before)
        line += QString(before - text.size(), u' ') + u'\r' + text;
    StatusWidth() = text.size();
    WriteBytes(stderr, EncodeForCodeset(line, Codeset()));
}

void WriteTerminalText(FILE* stream, const QString& text)
{
    if (StatusWidth() > 0 && (stream == stderr || stream == stdout))
        ShowStatusLine(QString());
    WriteBytes(stream, EncodeForCodeset(text, Codeset()));
}

int CliPlatform::MessageBox(const MessageRequest& request)
{
    ++messageCount_;
    WriteTerminalText(stderr, Printable(request.text) + u'\n');
    const unsigned buttons = request.flags & 0x0F;
    if (buttons != kMbYesNo && buttons != kMbYesNoCancel)
        return kIdOk;
    const auto answer = answers_.find(request.id);
    return answer != answers_.end() ? answer->second : int(kIdNo);
}

QString CliPlatform::DesktopFolder()
{
    return UserDesktopFolder();
}

QString CliPlatform::TempFolder()
{
    return UserTempFolder();
}

void CliPlatform::Sleep(int milliseconds)
{
    QThread::msleep(static_cast<unsigned long>(std::max(milliseconds, 0)));
}

} // namespace brevant
