#include "translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace platform {

QString qtTranslationsFolder()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool installQtHebrewTranslation(QCoreApplication &application, const QString &folder)
{
    // "qt" is the catalogue that pulls in the translations of every Qt module.
    auto translator = std::make_unique<QTranslator>(&application);
    if (!translator->load(QLocale(QLocale::Hebrew, QLocale::Israel), QStringLiteral("qt"), QStringLiteral("_"), folder))
        return false;
    if (!QCoreApplication::installTranslator(translator.get()))
        return false;
    translator.release(); // owned by the application from here on
    return true;
}

} // namespace platform
