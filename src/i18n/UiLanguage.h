#pragma once

#include <QString>
#include <QStringList>

class QCoreApplication;

// The language of the user interface.  The programs' own texts are written in Japanese, the
// editor's first language, with translations built in as catalogues
// (":/i18n/pointillo_<language>.qm"); Qt's own texts (file dialogs, standard buttons) come
// from Qt's catalogues for the user's language, where the system has them.
class UiLanguage
{
public:
    // The catalogue of the programs' texts for a user who reads uiLanguages, best first, as
    // QLocale::uiLanguages() gives them ("de-DE", "pt-BR", "ja", "C"), among the built-in
    // catalogues available ("en", "pt_BR").  The first language that is Japanese or has a
    // catalogue decides: empty for Japanese (the texts as written), else that catalogue.
    // When none does, English, the language most users read.
    static QString catalogue(const QStringList& uiLanguages, const QStringList& available);

    // The languages of the catalogues built into the program.
    static QStringList builtIn();

    // The catalogue for the system's locale: LANGUAGE, else LC_ALL, LC_MESSAGES or LANG, as Qt
    // reads them (no generated system locale is needed).
    static QString forSystem();

    // Installs on app the catalogue for the system's locale and Qt's own translations for the
    // user's language.  Called once at start, after the application object is made; the
    // translators belong to app.
    static void install(QCoreApplication& app);
};
