#pragma once
// The per-user store of settings: integers and strings by section and key.

#include <QHash>
#include <QString>
#include <QVariant>
#include <cstdint>

namespace brevant {

class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    // A value that is missing, or cannot be read as the kind asked for, gives the default.
    virtual int32_t ReadInt(const QString& section, const QString& key, int32_t def) = 0;
    virtual void WriteInt(const QString& section, const QString& key, int32_t value) = 0;
    virtual QString ReadString(const QString& section, const QString& key,
                               const QString& def) = 0;
    virtual void WriteString(const QString& section, const QString& key,
                             const QString& value) = 0;
};

// Once the application object exists, window and command line alike: the C numeric locale
// (numbers are read and written with a full stop whatever the user's locale says) and the
// names the program goes by, whose organisation and application name the settings'
// folder follows; and the toolkit's Japanese texts.
void SetUpApplication();

// Kept in memory only; for tests and for runs that must not touch the user's file.
class MemoryProfileStore final : public ProfileStore {
public:
    int32_t ReadInt(const QString& section, const QString& key, int32_t def) override;
    void WriteInt(const QString& section, const QString& key, int32_t value) override;
    QString ReadString(const QString& section, const QString& key,
                       const QString& def) override;
    void WriteString(const QString& section, const QString& key,
                     const QString& value) override;

    // Raw access for tests: any value, including ones of the wrong kind.
    void Set(const QString& section, const QString& key, const QVariant& value);
    QVariant Get(const QString& section, const QString& key) const;
    bool Contains(const QString& section, const QString& key) const;
    void Clear() { values_.clear(); }

private:
    QHash<QString, QVariant> values_;
};

} // namespace brevant
