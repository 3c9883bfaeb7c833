#include "qt_platform.h"

#include "user_folders.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QThread>
#include <QUrl>

#include <algorithm>

namespace brevant {

namespace {

QWidget* DialogParent()
{
    if (QWidget* w = QApplication::activeModalWidget())
        return w;
    return QApplication::activeWindow();
}

QString RunFileDialog(const FileDialogRequest& request, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(DialogParent(), request.title, request.directory);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                       : QFileDialog::ExistingFile);
    // The caller asks its own overwrite question, so the dialog must not.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setNameFilters(ToQtNameFilters(request.filter));
    if (!request.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.proposedName.isEmpty())
        dialog.selectFile(request.proposedName);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

// Wide enough that each line of the text stays one line, up to most of the screen: the
// toolkit's own limit of about 500 px breaks a Japanese sentence anywhere, even inside a
// word.
void FitLinesUnbroken(QMessageBox& box, const QString& text)
{
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (!label)
        return;
    const QFontMetrics metrics(label->font());
    int widest = 0;
    for (const QString& line : text.split(u'\n'))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const QScreen* screen = box.screen();
    const int limit = screen ? screen->availableGeometry().width() * 3 / 4 : 1000;
    // A little slack for rounding between the advance and the label's own layout.
    label->setMinimumWidth(std::min(widest + 4, limit));
}

} // namespace

QStringList ToQtNameFilters(const QString& filter)
{
    QStringList parts = filter.split(u'|');
    while (!parts.isEmpty() && parts.last().isEmpty())
        parts.removeLast();
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        QString name = parts[i];
        // A Windows filter name often repeats its patterns; Qt shows them itself.
        const qsizetype paren = name.indexOf(u'(');
        if (paren > 0 && name.endsWith(u')'))
            name = name.left(paren);
        result << name + QStringLiteral(" (") + patterns + u')';
    }
    return result;
}

int QtPlatform::MessageBox(const MessageRequest& request)
{
    QMessageBox box(DialogParent());
    box.setWindowTitle(request.caption);
    // The text may quote the clipboard or a file: never let the toolkit take it for markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(request.text);
    FitLinesUnbroken(box, request.text);
    switch (request.flags & 0xF0) {
    case kMbIconError:
        box.setIcon(QMessageBox::Critical);
        break;
    case kMbIconQuestion:
        box.setIcon(QMessageBox::Question);
        break;
    case kMbIconInformation:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    QAbstractButton* yes = nullptr;
    QAbstractButton* no = nullptr;
    QAbstractButton* cancel = nullptr;
    QAbstractButton* ok = nullptr;
    switch (request.flags & 0x0F) {
    case kMbYesNoCancel:
        yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
        no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
        cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
        box.setEscapeButton(cancel);
        break;
    case kMbYesNo:
        yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
        no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
        box.setEscapeButton(no);
        break;
    default:
        ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.setEscapeButton(ok);
        break;
    }
    box.setDefaultButton(qobject_cast<QPushButton*>(yes ? yes : ok));
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (clicked == yes && yes)
        return kIdYes;
    if (clicked == no && no)
        return kIdNo;
    if (clicked == cancel && cancel)
        return kIdCancel;
    return ok ? kIdOk : (cancel ? kIdCancel : kIdNo);
}

QString QtPlatform::SaveFileName(const FileDialogRequest& request)
{
    return RunFileDialog(request, QFileDialog::AcceptSave);
}

QString QtPlatform::OpenFileName(const FileDialogRequest& request)
{
    return RunFileDialog(request, QFileDialog::AcceptOpen);
}

std::optional<ColorRef> QtPlatform::ChooseColor(ColorRef initial)
{
    const QColor chosen = QColorDialog::getColor(
        QColor(RedOf(initial), GreenOf(initial), BlueOf(initial)), DialogParent());
    if (!chosen.isValid())
        return std::nullopt;
    return Rgb(chosen.red(), chosen.green(), chosen.blue());
}

QString QtPlatform::ClipboardText()
{
    return QGuiApplication::clipboard()->text();
}

bool QtPlatform::SetClipboardImage(const QImage& image)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->setImage(image.copy());
    return true;
}

bool QtPlatform::SetClipboardText(const QString& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->setText(text);
    return true;
}

QString QtPlatform::DesktopFolder()
{
    return UserDesktopFolder();
}

QString QtPlatform::TempFolder()
{
    return UserTempFolder();
}

bool QtPlatform::OpenFolder(const QString& folder)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

void QtPlatform::Sleep(int milliseconds)
{
    QThread::msleep(static_cast<unsigned long>(std::max(milliseconds, 0)));
}

} // namespace brevant
