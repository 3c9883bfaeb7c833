#include "profile_store.h"

#include "string_table.h"
#include "toolkit_translations.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <clocale>

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

// Integers are kept as decimal text; anything else counts as missing.
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
