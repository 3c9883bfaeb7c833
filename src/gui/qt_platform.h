#pragma once
// The platform seam on Qt: real message boxes, dialogs, clipboard and folders.

#include "platform.h"

namespace brevant {

class QtPlatform final : public Platform {
public:
    int MessageBox(const MessageRequest& request) override;
    QString SaveFileName(const FileDialogRequest& request) override;
    QString OpenFileName(const FileDialogRequest& request) override;
    std::optional<ColorRef> ChooseColor(ColorRef initial) override;
    QString ClipboardText() override;
    bool SetClipboardImage(const QImage& image) override;
    bool SetClipboardText(const QString& text) override;
    QString DesktopFolder() override;
    QString TempFolder() override;
    bool OpenFolder(const QString& folder) override;
    void Sleep(int milliseconds) override;
};

// "name|patterns|name|patterns||" as Qt name filters ("name (*.a *.b)").
QStringList ToQtNameFilters(const QString& filter);

} // namespace brevant
