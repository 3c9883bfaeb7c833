#include "cli_platform.h"

#include "user_folders.h"

#include <QDir>
#include <QStandardPaths>
#include <QThread>

#include <cstdio>

namespace brevant {

CliPlatform::CliPlatform()
    : answer_([](const QString&, unsigned) { return int(kIdNo); })
{
}

namespace {

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

int CliPlatform::MessageBox(const QString& text, const QString&, unsigned flags)
{
    ++messageCount_;
    const QByteArray line = Printable(text).toUtf8() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
    const unsigned buttons = flags & 0x0F;
    if (buttons == kMbYesNo || buttons == kMbYesNoCancel)
        return answer_(text, flags);
    return kIdOk;
}

QString CliPlatform::DesktopFolder()
{
    if (!desktop_.isEmpty())
        return desktop_;
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
