#include "ini_profile_store.h"

#include "atomic_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cstdio>

#include <unistd.h>

namespace brevant {

namespace {

enum class Found { Nothing, File, Unreadable, NotAFile };

Found ReadProfile(const QString& path, QByteArray* bytes)
{
    const QFileInfo info(path);
    if (!info.exists())
        return Found::Nothing;
    // Something other than a file there (a folder, a FIFO, a device) is neither read nor
    // replaced: reading a FIFO would wait forever.
    if (!info.isFile())
        return Found::NotAFile;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Found::Unreadable;
    *bytes = file.readAll();
    return file.error() == QFileDevice::NoError ? Found::File : Found::Unreadable;
}

// Keeps the file as it is under a second name: the same file where the file system allows
// (nothing copied, its permissions kept), else a copy given its permissions.
bool KeepBeside(const QString& path, const QString& kept, const QByteArray& bytes)
{
    const QByteArray file = QFile::encodeName(QFileInfo(path).canonicalFilePath()); // not a link
    const QByteArray name = QFile::encodeName(kept);
    const QByteArray temp = name + ".new-" + QByteArray::number(qint64(::getpid()));
    if (::link(file.constData(), temp.constData()) == 0) {
        if (std::rename(temp.constData(), name.constData()) == 0)
            return true;
        ::unlink(temp.constData());
    }
    return WriteWholeFile(kept, bytes) &&
           QFile::setPermissions(kept, QFileInfo(path).permissions());
}

} // namespace

IniProfileStore::IniProfileStore() : IniProfileStore(DefaultPath()) {}

IniProfileStore::IniProfileStore(const QString& path) : path_(path)
{
    QByteArray bytes;
    const Found found = ReadProfile(path_, &bytes);
    usable_ = found != Found::NotAFile;
    if (found == Found::File)
        document_ = IniDocument(bytes);
}

IniProfileStore::~IniProfileStore()
{
    Sync();
}

QString IniProfileStore::DefaultPath()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/Velmora/Brevant.ini");
}

void IniProfileStore::Sync()
{
    if (!usable_ || changes_.isEmpty())
        return;
    // The file as it is now, so what another program put there meanwhile stays too.
    QByteArray before;
    const Found found = ReadProfile(path_, &before);
    if (found == Found::NotAFile)
        return;
    IniDocument updated = found == Found::File ? IniDocument(before) : IniDocument();
    for (const Change& c : changes_)
        updated.SetValue(c.section, c.key, c.text);
    const QByteArray after = updated.Bytes();
    if (found == Found::File && after == before) {
        changes_.clear();
        return;
    }

    // Nothing that was not understood is written over without a copy kept beside it.
    const QString kept = path_ + QStringLiteral(".bak");
    if (found == Found::Unreadable) {
        // It cannot be merged either: it keeps the other name whole, and the values are
        // written to a new file.
        if (std::rename(QFile::encodeName(path_).constData(),
                        QFile::encodeName(kept).constData()) != 0)
            return;
    } else if (found == Found::File && !updated.ReadWhole() && !keptOnce_) {
        // The file as it was before this run first changed it.
        if (!KeepBeside(path_, kept, before))
            return;
        keptOnce_ = true;
    }
    QDir().mkpath(QFileInfo(path_).absolutePath());
    if (WriteWholeFile(path_, after)) {
        changes_.clear();
        document_ = std::move(updated);
    }
}

int32_t IniProfileStore::ReadInt(const QString& section, const QString& key, int32_t def)
{
    const std::optional<QString> text = document_.Value(section, key);
    if (!text)
        return def;
    bool ok = false;
    const int32_t value = text->trimmed().toInt(&ok, 10);
    return ok ? value : def;
}

void IniProfileStore::WriteInt(const QString& section, const QString& key, int32_t value)
{
    WriteString(section, key, QString::number(value));
}

QString IniProfileStore::ReadString(const QString& section, const QString& key,
                                    const QString& def)
{
    return document_.Value(section, key).value_or(def);
}

void IniProfileStore::WriteString(const QString& section, const QString& key,
                                  const QString& value)
{
    document_.SetValue(section, key, value);
    changes_.removeIf([&](const Change& c) { return c.section == section && c.key == key; });
    changes_.append(Change{section, key, value});
    // A value written while the window's events run reaches the file soon, not only at
    // the end.
    if (!syncQueued_ && QCoreApplication::instance() && QThread::currentThread()->loopLevel() > 0) {
        syncQueued_ = true;
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [this, alive = std::weak_ptr<bool>(alive_)] {
                if (alive.expired())
                    return;
                syncQueued_ = false;
                Sync();
            },
            Qt::QueuedConnection);
    }
}

} // namespace brevant
