#include "profile_store.h"

#include "string_table.h"
#include "toolkit_translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

#include <algorithm>
#include <clocale>

#include <unistd.h>

namespace brevant {

void SetUpApplication()
{
    std::setlocale(LC_NUMERIC, "C");
    QCoreApplication::setOrganizationName(QStringLiteral("Velmora"));
    QCoreApplication::setApplicationName(AppName());
    QCoreApplication::setApplicationVersion(QStringLiteral(BREVANT_VERSION));
    InstallToolkitTranslations();
    // Ties the windows to the installed desktop entry (its icon and name on Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral("com.velmora.Brevant"));
}

namespace {

QString Path(const QString& section, const QString& key) { return section + u'/' + key; }

// Integers are kept as decimal text in the file; anything else counts as missing.
bool ToInt32(const QVariant& v, int32_t* out)
{
    bool ok = false;
    int32_t value = 0;
    switch (v.typeId()) {
    case QMetaType::Int:
        value = v.toInt(&ok);
        break;
    case QMetaType::QString:
    case QMetaType::QByteArray:
        value = v.toString().trimmed().toInt(&ok, 10);
        break;
    default:
        break;
    }
    if (ok)
        *out = value;
    return ok;
}

// What a complete write leaves: the file ends with a line end, and every key with a plain
// name (others are escaped in the file) starts a line of its own.
bool HoldsEveryKey(const QString& path, const QStringList& keys)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = '\n' + file.readAll();
    if (!text.endsWith('\n'))
        return false;
    for (const QString& key : keys) {
        const QString name = key.section(u'/', -1);
        const bool plain = std::all_of(name.begin(), name.end(), [](QChar c) {
            return c.unicode() < 0x80 && (c.isLetterOrNumber() || c == u'_');
        });
        if (plain && !name.isEmpty() && !text.contains(QByteArray('\n' + name.toLatin1() + '=')))
            return false;
    }
    return true;
}

bool ToText(const QVariant& v, QString* out)
{
    switch (v.typeId()) {
    case QMetaType::QString:
    case QMetaType::QByteArray:
    case QMetaType::Int:
        *out = v.toString();
        return true;
    default:
        return false;
    }
}

} // namespace

IniProfileStore::IniProfileStore() : IniProfileStore(DefaultPath()) {}

IniProfileStore::IniProfileStore(const QString& path) : path_(path)
{
    const QFileInfo info(path_);
    // Something other than a file there (a folder, a FIFO, a device) is neither read nor
    // replaced: reading a FIFO would wait forever. The run keeps the defaults.
    if (info.exists() && !info.isFile())
        return;
    if (info.exists() && !info.isReadable())
        damaged_ = true;
    settings_ = std::make_unique<QSettings>(path_, QSettings::IniFormat);
    if (settings_->status() != QSettings::NoError)
        damaged_ = true;
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
    if (!settings_)
        return;
    if (!changed_) {
        settings_->sync();
        return;
    }
    changed_ = false;
    // QSettings puts its new file in place even when the disk filled while it was being
    // written. The earlier file keeps a second name until the new one proves whole.
    const QByteArray file = QFile::encodeName(path_);
    const QByteArray kept = file + ".kept-" + QByteArray::number(qint64(::getpid()));
    const bool hadFile = QFileInfo(path_).isFile();
    const bool keeping = hadFile && ::link(file.constData(), kept.constData()) == 0;
    settings_->sync();
    if (settings_->status() == QSettings::NoError && !HoldsEveryKey(path_, settings_->allKeys())) {
        if (keeping)
            ::rename(kept.constData(), file.constData());
        else if (!hadFile)
            QFile::remove(path_);
        return;
    }
    if (keeping)
        ::unlink(kept.constData());
}

bool IniProfileStore::PrepareWrite()
{
    if (!settings_)
        return false;
    if (!damaged_)
        return true;
    // A file we could not read is replaced whole rather than patched.
    settings_.reset();
    QFile::remove(path_);
    settings_ = std::make_unique<QSettings>(path_, QSettings::IniFormat);
    settings_->clear();
    damaged_ = false;
    return true;
}

int32_t IniProfileStore::ReadInt(const QString& section, const QString& key, int32_t def)
{
    if (damaged_ || !settings_)
        return def;
    int32_t v = def;
    return ToInt32(settings_->value(Path(section, key)), &v) ? v : def;
}

void IniProfileStore::WriteInt(const QString& section, const QString& key, int32_t value)
{
    if (PrepareWrite()) {
        settings_->setValue(Path(section, key), QString::number(value));
        changed_ = true;
    }
}

QString IniProfileStore::ReadString(const QString& section, const QString& key,
                                    const QString& def)
{
    if (damaged_ || !settings_)
        return def;
    QString v;
    return ToText(settings_->value(Path(section, key)), &v) ? v : def;
}

void IniProfileStore::WriteString(const QString& section, const QString& key,
                                  const QString& value)
{
    if (PrepareWrite()) {
        settings_->setValue(Path(section, key), value);
        changed_ = true;
    }
}

int32_t MemoryProfileStore::ReadInt(const QString& section, const QString& key, int32_t def)
{
    int32_t v = def;
    return ToInt32(values_.value(Path(section, key)), &v) ? v : def;
}

void MemoryProfileStore::WriteInt(const QString& section, const QString& key, int32_t value)
{
    values_.insert(Path(section, key), QVariant(int(value)));
}

QString MemoryProfileStore::ReadString(const QString& section, const QString& key,
                                       const QString& def)
{
    QString v;
    return ToText(values_.value(Path(section, key)), &v) ? v : def;
}

void MemoryProfileStore::WriteString(const QString& section, const QString& key,
                                     const QString& value)
{
    values_.insert(Path(section, key), QVariant(value));
}

void MemoryProfileStore::Set(const QString& section, const QString& key, const QVariant& value)
{
    values_.insert(Path(section, key), value);
}

QVariant MemoryProfileStore::Get(const QString& section, const QString& key) const
{
    return values_.value(Path(section, key));
}

bool MemoryProfileStore::Contains(const QString& section, const QString& key) const
{
    return values_.contains(Path(section, key));
}

} // namespace brevant
