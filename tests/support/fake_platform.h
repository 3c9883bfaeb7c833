#pragma once
// A scripted platform for tests: records every message, answers questions and dialogs
// from queues, and keeps the desktop and temporary folders inside a test directory.

#include "platform.h"

#include <QDir>
#include <QList>
#include <QStringList>
#include <deque>

namespace brevant::test {

class FakePlatform final : public Platform {
public:
    // Folders are created below `root` (Desktop and Temp).
    explicit FakePlatform(const QString& root);

    int MessageBox(const MessageRequest& request) override;
    QString SaveFileName(const FileDialogRequest& request) override;
    QString OpenFileName(const FileDialogRequest& request) override;
    std::optional<ColorRef> ChooseColor(ColorRef initial) override;
    QString ClipboardText() override { return clipboardText; }
    bool SetClipboardImage(const QImage& image) override;
    bool SetClipboardText(const QString& text) override;
    QString DesktopFolder() override { return desktop; }
    QString TempFolder() override { return temp; }
    bool OpenFolder(const QString& folder) override;
    void Sleep(int milliseconds) override { slept.append(milliseconds); }

    // Scripted answers; an empty queue answers questions with No, OK boxes with OK.
    std::deque<int> answers;
    std::deque<QString> saveNames;   // empty string = the user cancels
    std::deque<QString> openNames;
    std::deque<std::optional<ColorRef>> colors;
    QString clipboardText;
    bool clipboardAvailable = true;
    bool openFolderWorks = true;
    // Message boxes run the event loop while shown, as a real modal box does.
    bool modalLoop = false;
    QString desktop;
    QString temp;

    // What happened.
    QList<MessageRequest> messages;
    QList<FileDialogRequest> saveRequests;
    QList<FileDialogRequest> openRequests;
    QImage clipboardImage;
    QStringList openedFolders;
    QList<int> slept;

    // Whether, and how often, string-table entry `id` was shown.
    bool Showed(int id) const;
    int CountOf(int id) const;
};

} // namespace brevant::test
