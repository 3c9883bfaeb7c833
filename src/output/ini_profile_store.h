#pragma once
// The profile file: $XDG_CONFIG_HOME/Velmora/Brevant.ini (~/.config by default), in the INI
// format QSettings writes, so files of earlier versions read the same and the other way
// round.

#include "ini_document.h"
#include "profile_store.h"

#include <QList>
#include <QString>

#include <memory>

namespace brevant {

class IniProfileStore final : public ProfileStore {
public:
    // The default file of the current user.
    IniProfileStore();
    explicit IniProfileStore(const QString& path);
    ~IniProfileStore() override;

    static QString DefaultPath();
    QString path() const { return path_; }

    int32_t ReadInt(const QString& section, const QString& key, int32_t def) override;
    void WriteInt(const QString& section, const QString& key, int32_t value) override;
    QString ReadString(const QString& section, const QString& key,
                       const QString& def) override;
    void WriteString(const QString& section, const QString& key,
                     const QString& value) override;
    // Puts the values written since the last sync into the file as it is on disk now
    // (done by itself at the next turn of a running event loop after a write, as
    // QSettings did, and on destruction); every other line in it stays as it was. A file
    // not read whole is first kept beside it as "<name>.bak" (once a run: the file as it
    // was before the run changed it). A write that cannot be completed (a full disk)
    // leaves the earlier file as it was.
    void Sync();

private:
    struct Change {
        QString section;
        QString key;
        QString text;
    };

    QString path_;
    bool usable_ = false; // a settings file can live at the path
    IniDocument document_; // as read, with the values written since
    QList<Change> changes_; // not yet in the file
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true); // for the queued sync
    bool syncQueued_ = false;
    bool keptOnce_ = false; // the .bak of this run is made
};

} // namespace brevant
