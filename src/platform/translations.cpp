#include "platform/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace translations {

bool installQtCzech(QCoreApplication& app)
{
    auto* translator = new QTranslator(&app);
    const bool loaded = translator->load(QLocale(QLocale::Czech, QLocale::CzechRepublic),
        QStringLiteral("qtbase"), QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (loaded)
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
    return loaded;
}

} // namespace translations
