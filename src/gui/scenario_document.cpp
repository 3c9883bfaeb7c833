#include "scenario_document.h"

#include "ctarnel_dlg.h"
#include "message.h"
#include "platform.h"
#include "profile_store.h"
#include "scenario.h"
#include "scenario_file.h"
#include "window_history.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QUndoStack>

#include <memory>

namespace brevant {

namespace {

// The recent files live in a section of their own, apart from the window's settings.
const QString kRecentSection = QStringLiteral("RecentFiles");

QString RecentKey(int index) { return QStringLiteral("File%1").arg(index + 1); }

QString Absolute(const QString& path) { return QFileInfo(path).absoluteFilePath(); }

FileDialogRequest ScenarioDialog(const QString& title)
{
    FileDialogRequest request;
    request.title = title;
    request.filter = QStringLiteral("シナリオファイル(*.brevant)|*.brevant||");
    request.defaultSuffix = kScenarioSuffix.mid(1);
    return request;
}

} // namespace

ScenarioDocument::ScenarioDocument(CTarnelDlg& window, ProfileStore& store)
    : QObject(&window), window_(window), store_(store), caption_(window.windowTitle())
{
    for (int k = 0; k < kRecentCount; ++k) {
        const QString path = store_.ReadString(kRecentSection, RecentKey(k), QString());
        if (!path.isEmpty() && !recent_.contains(path))
            recent_.append(path);
    }
    CreateActions();
    connect(&window_.UndoStack(), &QUndoStack::indexChanged, this, [this] { UpdateTitle(); });
}

void ScenarioDocument::CreateActions()
{
    const auto command = [this](const char16_t* text, const char16_t* tip,
                                const QKeySequence& key, auto slot) {
        auto* action = new QAction(QString::fromUtf16(text), &window_);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setToolTip(QString::fromUtf16(tip));
        // The button's menu counts as a context menu, where some desktops hide keys.
        action->setShortcutVisibleInContextMenu(true);
        connect(action, &QAction::triggered, this, slot);
        window_.addAction(action);
        return action;
    };
    open_ = command(u"開く(&O)...", u"保存したシナリオファイル(.brevant)を開きます(Ctrl+O)",
                    QKeySequence(Qt::CTRL | Qt::Key_O), [this] { Open(); });
    save_ = command(u"上書き保存(&S)",
                    u"現在のシナリオを開いているファイルに上書き保存します。"
                    u"ファイルを開いていなければ、名前を付けて保存します(Ctrl+S)",
                    QKeySequence(Qt::CTRL | Qt::Key_S), [this] { Save(); });
    saveAs_ = command(u"名前を付けて保存(&A)...",
                      u"現在のシナリオを新しい名前のファイルに保存します(Ctrl+Shift+S)",
                      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), [this] { SaveAs(); });

    menu_ = new QMenu(&window_);
    menu_->setToolTipsVisible(true);
    menu_->addAction(open_);
    menu_->addAction(save_);
    menu_->addAction(saveAs_);
    menu_->addSeparator();
    recentMenu_ = menu_->addMenu(QStringLiteral("最近使ったファイル(&R)"));
    recentMenu_->setToolTipsVisible(true);
    // Made anew each time it opens, never while one of its entries is running.
    connect(recentMenu_, &QMenu::aboutToShow, this, [this] { FillRecentMenu(); });
}

void ScenarioDocument::FillRecentMenu()
{
    recentMenu_->clear();
    if (recent_.isEmpty()) {
        recentMenu_->addAction(QStringLiteral("(なし)"))->setEnabled(false);
        return;
    }
    for (int k = 0; k < recent_.size(); ++k) {
        const QString path = recent_[k];
        // An "&" of the name is shown, not taken as the entry's key.
        QAction* action = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(k + 1).arg(
            QFileInfo(path).fileName().replace(u'&', QStringLiteral("&&"))));
        action->setToolTip(QDir::toNativeSeparators(path));
        connect(action, &QAction::triggered, this, [this, path] { Open(path); });
    }
    recentMenu_->addSeparator();
    connect(recentMenu_->addAction(QStringLiteral("一覧を消去(&C)")), &QAction::triggered, this,
            [this] {
                recent_.clear();
                StoreRecent();
            });
}

void ScenarioDocument::Started(const QString& path, const Scenario& scenario)
{
    BecomeFile(Absolute(path), scenario.unknownKeys);
}

bool ScenarioDocument::Open()
{
    if (!MayLeave())
        return false;
    FileDialogRequest request = ScenarioDialog(QStringLiteral("シナリオファイルを開く"));
    // Where the window's file, or else the latest one, is.
    const QString near = !file_.path.isEmpty() ? file_.path : recent_.value(0);
    if (!near.isEmpty())
        request.directory = QFileInfo(near).absolutePath();
    const QString path = window_.GetPlatform().OpenFileName(request);
    // Already asked: the file's changes may go.
    return !path.isEmpty() && OpenPath(path, false);
}

bool ScenarioDocument::Open(const QString& path) { return OpenPath(path, true); }

bool ScenarioDocument::OpenPath(const QString& path, bool ask)
{
    if (ask && !MayLeave())
        return false;
    const QString absolute = Absolute(path);
    const std::optional<Scenario> scenario = LoadScenarioFile(absolute, window_.GetPlatform());
    if (!scenario) {
        // A file that is gone is no longer offered; one that is there but unreadable stays,
        // so that it can be tried again once mended.
        if (!QFileInfo::exists(absolute))
            Forget(absolute);
        return false;
    }
    // Undo gives the window back the file it had, as it stood then; redo the opened one as
    // it stood when the opening was undone.
    auto reopened = std::make_shared<FileState>();
    StepSide side;
    side.undo = [this, before = file_, reopened] {
        *reopened = file_;
        file_ = before;
        UpdateTitle();
    };
    side.redo = [this, reopened] {
        file_ = *reopened;
        UpdateTitle();
    };
    window_.History().Replace(FiguresOf(scenario->inputs, scenario->style),
                              QStringLiteral("「%1」を開く").arg(QFileInfo(absolute).fileName()),
                              std::move(side));
    BecomeFile(absolute, scenario->unknownKeys);
    return true;
}

bool ScenarioDocument::Save()
{
    if (file_.path.isEmpty())
        return SaveAs();
    return WriteTo(file_.path);
}

bool ScenarioDocument::SaveAs()
{
    FileDialogRequest request = ScenarioDialog(QStringLiteral("シナリオファイルに名前を付けて保存"));
    request.proposedName = file_.path;
    if (file_.path.isEmpty()) {
        request.proposedName = QStringLiteral("損益分岐点シナリオ") + kScenarioSuffix;
        if (!recent_.isEmpty())
            request.proposedName =
                QFileInfo(recent_.first()).absoluteDir().filePath(request.proposedName);
    }
    QString path = window_.GetPlatform().SaveFileName(request);
    if (path.isEmpty())
        return false;
    // "計画.2027" is given the suffix too, or the file would not be offered again.
    if (!path.endsWith(kScenarioSuffix, Qt::CaseInsensitive))
        path += kScenarioSuffix;
    path = Absolute(path);
    if (path != file_.path && QFileInfo::exists(path) &&
        ShowMessage(window_.GetPlatform(), IDS_OVERWRITE, path + u'\n', kMbQuestion) != kIdYes)
        return false;
    return WriteTo(path);
}

bool ScenarioDocument::WriteTo(const QString& path)
{
    // A change still being typed belongs to what is saved.
    window_.CommitStep();
    Scenario scenario;
    scenario.inputs = window_.Inputs();
    scenario.style = window_.Style();
    scenario.unknownKeys = file_.unknownKeys;
    if (!SaveScenarioFile(path, scenario, window_.GetPlatform()))
        return false;
    BecomeFile(path, scenario.unknownKeys);
    return true;
}

bool ScenarioDocument::MayLeave()
{
    window_.CommitStep();
    if (!Modified())
        return true;
    switch (ShowMessage(window_.GetPlatform(), IDS_SCENARIO_UNSAVED,
                        QDir::toNativeSeparators(file_.path) + u'\n', kMbQuestionCancel)) {
    case kIdYes:
        return Save();
    case kIdNo:
        return true;
    default:
        return false;
    }
}

bool ScenarioDocument::Modified() const
{
    const int index = window_.UndoStack().index();
    return !file_.path.isEmpty() &&
           (index != file_.savedIndex || window_.History().MarkAt(index) != file_.savedMark);
}

void ScenarioDocument::BecomeFile(const QString& path, const QJsonObject& unknownKeys)
{
    file_.path = path;
    file_.unknownKeys = unknownKeys;
    MarkSaved();
    Remember(path);
    UpdateTitle();
}

void ScenarioDocument::MarkSaved()
{
    file_.savedIndex = window_.UndoStack().index();
    file_.savedMark = window_.History().MarkAt(file_.savedIndex);
}

void ScenarioDocument::Remember(const QString& path)
{
    recent_.removeAll(path);
    recent_.prepend(path);
    while (recent_.size() > kRecentCount)
        recent_.removeLast();
    StoreRecent();
}

void ScenarioDocument::Forget(const QString& path)
{
    if (recent_.removeAll(path) > 0)
        StoreRecent();
}

void ScenarioDocument::StoreRecent()
{
    for (int k = 0; k < kRecentCount; ++k)
        store_.WriteString(kRecentSection, RecentKey(k), k < recent_.size() ? recent_[k] : QString());
}

void ScenarioDocument::UpdateTitle()
{
    if (file_.path.isEmpty()) {
        window_.setWindowTitle(caption_);
        window_.setWindowModified(false);
        return;
    }
    // "[*]" is where the toolkit shows the modified mark; one in the name is doubled so that
    // it is shown as written.
    const QString name = QFileInfo(file_.path).fileName().replace(QStringLiteral("[*]"),
                                                                  QStringLiteral("[*][*]"));
    window_.setWindowTitle(QStringLiteral("%1[*] - %2").arg(name, caption_));
    window_.setWindowModified(Modified());
}

} // namespace brevant
