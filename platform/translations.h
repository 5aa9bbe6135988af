#pragma once
// Qt's own texts in Hebrew: the standard buttons ("אישור", "ביטול"), the file, font and
// colour dialogs and the context menus speak the programs' language, whatever the
// user's locale, so that no English button sits under a Hebrew message.
#include <QString>

class QCoreApplication;

namespace platform {

// Where this Qt keeps its translation files (Debian: package qt6-translations-l10n).
QString qtTranslationsFolder();

// Installs Qt's Hebrew translation from folder into application, the translator being
// the application's child. Returns false and installs nothing when the folder holds no
// Hebrew translation: the dialogs then keep Qt's English texts.
bool installQtHebrewTranslation(QCoreApplication &application, const QString &folder = qtTranslationsFolder());

} // namespace platform
