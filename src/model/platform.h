#pragma once
// Every call that leaves the process or waits on a person goes through this seam: message
// boxes, file and colour dialogs, the clipboard, well-known folders, the file manager and a
// blocking sleep. QtPlatform is the real one; tests use a scripted fake.

#include "chart_style.h"
#include "string_table.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <optional>

namespace brevant {

// Message-box flags as the string table's callers pass them.
enum MessageFlags : unsigned {
    kMbOk = 0x00,
    kMbYesNoCancel = 0x03,
    kMbYesNo = 0x04,
    kMbIconError = 0x10,
    kMbIconQuestion = 0x20,
    kMbIconInformation = 0x40,
    kMbError = kMbIconError | kMbOk,                    // 0x10
    kMbQuestion = kMbIconQuestion | kMbYesNo,           // 0x24
    kMbInformation = kMbIconInformation | kMbOk,        // 0x40
    kMbQuestionCancel = kMbIconQuestion | kMbYesNoCancel, // 0x23
};

// Buttons a message box returns.
enum MessageResult : int { kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7 };

struct MessageRequest {
    // The string-table entry shown, so that a caller without a person (the command line,
    // a test) can tell the questions apart; IDS_NONE for a text that is not in the table.
    StringId id = IDS_NONE;
    QString text;  // prefix and entry text as shown
    QString caption;
    unsigned flags = kMbOk;
};

struct FileDialogRequest {
    QString title;
    // Filter in the "name|patterns|name|patterns||" form.
    QString filter;
    QString defaultSuffix;  // appended when the typed name has none (save dialog)
    QString proposedName;   // file name offered in the save dialog
    QString directory;      // folder to start in; empty for the desktop's choice
};

class Platform {
public:
    virtual ~Platform() = default;

    // A modal message box; returns kIdOk, kIdCancel, kIdYes or kIdNo.
    virtual int MessageBox(const MessageRequest& request) = 0;
    // The chosen path, or empty when the user cancelled.
    virtual QString SaveFileName(const FileDialogRequest& request) = 0;
    virtual QString OpenFileName(const FileDialogRequest& request) = 0;
    // The colour dialog; nothing when cancelled.
    virtual std::optional<ColorRef> ChooseColor(ColorRef initial) = 0;
    // Plain text on the clipboard; empty when there is none.
    virtual QString ClipboardText() = 0;
    // Places a copy of the image on the clipboard; false when the clipboard is unavailable.
    virtual bool SetClipboardImage(const QImage& image) = 0;
    // Places plain text on the clipboard; false when the clipboard is unavailable.
    virtual bool SetClipboardText(const QString& text) = 0;
    // The user's desktop and temporary folders, without a trailing separator.
    virtual QString DesktopFolder() = 0;
    virtual QString TempFolder() = 0;
    // Opens the folder in the desktop's file manager; false when it could not be started.
    virtual bool OpenFolder(const QString& folder) = 0;
    virtual void Sleep(int milliseconds) = 0;
};

} // namespace brevant
