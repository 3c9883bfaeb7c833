#pragma once
// The platform seam for the command-line subcommands: messages go to standard error as
// the window would show them (control characters as "?"), questions are answered by the
// caller's policy, and nothing waits on a person.

#include "platform.h"

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <map>

namespace brevant {

// The character set of the terminal as the user's locale names it ("UTF-8", "EUC-JP",
// "ANSI_X3.4-1968" for the C locale). Read once, before the application object is made:
// Qt moves a process whose locale is not UTF-8 to C.UTF-8.
void ReadTerminalCodeset();
QByteArray TerminalCodeset();

// Writes text for a person to `stream` in the terminal's character set (EncodeForCodeset)
// and flushes it; a progress line on standard error is cleared first.
void WriteTerminalText(FILE* stream, const QString& text);
// The one-line progress display on standard error: replaces what it showed before
// without moving on a line. An empty text clears it.
void ShowStatusLine(const QString& text);

class CliPlatform final : public Platform {
public:
    // The button a question box (flags with Yes/No or Yes/No/Cancel) with entry `id` is
    // answered with; every other question is answered No.
    void SetAnswer(StringId id, int answer) { answers_[id] = answer; }

    int MessageBox(const MessageRequest& request) override;
    QString SaveFileName(const FileDialogRequest&) override { return {}; }
    QString OpenFileName(const FileDialogRequest&) override { return {}; }
    std::optional<ColorRef> ChooseColor(ColorRef) override { return std::nullopt; }
    QString ClipboardText() override { return {}; }
    bool SetClipboardImage(const QImage&) override { return false; }
    bool SetClipboardText(const QString&) override { return false; }
    QString DesktopFolder() override;
    QString TempFolder() override;
    // There is no file manager to start from the command line.
    bool OpenFolder(const QString&) override { return false; }
    void Sleep(int milliseconds) override;

    // How many messages have been shown.
    int MessageCount() const { return messageCount_; }

private:
    std::map<StringId, int> answers_;
    int messageCount_ = 0;
};

} // namespace brevant
