#pragma once
// The main window's scenario file: open, save and save as, the files used recently, the
// title bar with the file's name and a modified mark, and the question before unsaved
// changes to the file would be lost. "Modified" is the undo history away from the state in
// which the file was last opened or saved; undoing an opening gives the window back its
// earlier file.

#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QStringList>

class QAction;
class QMenu;

namespace brevant {

class CTarnelDlg;
class ProfileStore;
struct Scenario;

class ScenarioDocument : public QObject {
    Q_OBJECT
public:
    // At most this many files are offered for reopening, the latest first.
    static constexpr int kRecentCount = 8;

    // The commands become the window's (their keys act anywhere in it).
    ScenarioDocument(CTarnelDlg& window, ProfileStore& store);

    QAction* OpenAction() const { return open_; }
    QAction* SaveAction() const { return save_; }
    QAction* SaveAsAction() const { return saveAs_; }
    // The scenario button's menu: the three commands and the recent files.
    QMenu* Menu() const { return menu_; }

    // The window was opened on `path`, which holds `scenario`: that is its file, unchanged.
    void Started(const QString& path, const Scenario& scenario);
    // Asks for a file and opens it.
    bool Open();
    // Opens `path` as one step that undo takes back; false when the current file's changes
    // were kept (the question was cancelled) or `path` is no scenario (after its message),
    // and the window is then as it was.
    bool Open(const QString& path);
    // Saves to the window's file, or asks for one when there is none.
    bool Save();
    // Asks for a file and saves to it; it becomes the window's file.
    bool SaveAs();
    // Before the window closes or its file is replaced: true when nothing unsaved would be
    // lost, or the user saved or chose to discard it; false to stay.
    bool MayLeave();

    QString Path() const { return file_.path; }
    bool Modified() const;
    QStringList RecentFiles() const { return recent_; }

private:
    // The window's file and the state of the history it was last opened or saved in.
    struct FileState {
        QString path;
        // Keys of the file this version does not know, written back when it is saved.
        QJsonObject unknownKeys;
        int savedIndex = -1;
        quint64 savedMark = 0;
    };

    void CreateActions();
    bool OpenPath(const QString& path, bool ask);
    void FillRecentMenu();
    bool WriteTo(const QString& path);
    void BecomeFile(const QString& path, const QJsonObject& unknownKeys);
    void MarkSaved();
    void Remember(const QString& path);
    void Forget(const QString& path);
    void StoreRecent();
    void UpdateTitle();

    CTarnelDlg& window_;
    ProfileStore& store_;
    QString caption_;
    FileState file_;
    QStringList recent_;
    QAction* open_ = nullptr;
    QAction* save_ = nullptr;
    QAction* saveAs_ = nullptr;
    QMenu* menu_ = nullptr;
    QMenu* recentMenu_ = nullptr;
};

} // namespace brevant
