#include "support/fake_platform.h"

#include <QEventLoop>
#include <QTimer>

namespace brevant::test {

FakePlatform::FakePlatform(const QString& root)
    : desktop(root + QStringLiteral("/Desktop")), temp(root + QStringLiteral("/Temp"))
{
    QDir().mkpath(desktop);
    QDir().mkpath(temp);
}

int FakePlatform::MessageBox(const MessageRequest& request)
{
    messages.append(request);
    if (modalLoop) {
        // A turn of a loop of the box's own, as exec() runs one.
        QEventLoop loop;
        QTimer::singleShot(0, &loop, &QEventLoop::quit);
        loop.exec();
    }
    const unsigned buttons = request.flags & 0x0F;
    if (buttons != kMbYesNo && buttons != kMbYesNoCancel)
        return kIdOk;
    if (answers.empty())
        return kIdNo;
    const int a = answers.front();
    answers.pop_front();
    return a;
}

QString FakePlatform::SaveFileName(const FileDialogRequest& request)
{
    saveRequests.append(request);
    if (saveNames.empty())
        return {};
    QString name = saveNames.front();
    saveNames.pop_front();
    return name;
}

QString FakePlatform::OpenFileName(const FileDialogRequest& request)
{
    openRequests.append(request);
    if (openNames.empty())
        return {};
    QString name = openNames.front();
    openNames.pop_front();
    return name;
}

std::optional<ColorRef> FakePlatform::ChooseColor(ColorRef)
{
    if (colors.empty())
        return std::nullopt;
    auto c = colors.front();
    colors.pop_front();
    return c;
}

bool FakePlatform::SetClipboardImage(const QImage& image)
{
    if (!clipboardAvailable)
        return false;
    clipboardImage = image.copy();
    return true;
}

bool FakePlatform::SetClipboardText(const QString& text)
{
    if (!clipboardAvailable)
        return false;
    clipboardText = text;
    return true;
}

bool FakePlatform::OpenFolder(const QString& folder)
{
    openedFolders.append(folder);
    return openFolderWorks;
}

bool FakePlatform::Showed(int id) const
{
    return CountOf(id) > 0;
}

int FakePlatform::CountOf(int id) const
{
    int n = 0;
    for (const auto& m : messages)
        n += m.id == id ? 1 : 0;
    return n;
}

} // namespace brevant::test
