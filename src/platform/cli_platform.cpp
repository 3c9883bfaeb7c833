#include "platform/cli_platform.h"

#include "platform/user_folders.h"

#include <QDir>
#include <QStandardPaths>
#include <QThread>

#include <cstdio>

namespace brevant {

CliPlatform::CliPlatform()
    : answer_([](const QString&, unsigned) { return int(kIdNo); })
{
}

int CliPlatform::MessageBox(const QString& text, const QString&, unsigned flags)
{
    const QByteArray line = text.toUtf8() + '\n';
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
