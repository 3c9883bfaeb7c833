#include "toolkit_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace brevant {

namespace {

const QString kCatalogue = QStringLiteral("qtbase_ja");
const QString kTranslatorName = QStringLiteral("brevant-toolkit-ja");

QString TranslationsFolder()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

} // namespace

QString ToolkitTranslationFile()
{
    return TranslationsFolder() + u'/' + kCatalogue + QStringLiteral(".qm");
}

bool InstallToolkitTranslations()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return false;
    if (app->findChild<QTranslator*>(kTranslatorName, Qt::FindDirectChildrenOnly))
        return true;
    // The program speaks Japanese whatever the user's locale, so the catalogue is named,
    // not looked up by locale.
    auto* translator = new QTranslator(app);
    translator->setObjectName(kTranslatorName);
    if (!translator->load(kCatalogue, TranslationsFolder()) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

} // namespace brevant
