#include "i18n/UiLanguage.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

const QString catalogueFolder = QStringLiteral(":/i18n");
const QString cataloguePrefix = QStringLiteral("pointillo_");
const QString sourceLanguage = QStringLiteral("ja");
const QString fallbackLanguage = QStringLiteral("en");

} // namespace

QString UiLanguage::catalogue(const QStringList& uiLanguages, const QStringList& available)
{
    for (const QString& language : uiLanguages) {
        // "zh-Hant-TW" tries zh_Hant_TW, zh_Hant, zh: the most particular catalogue first.
        QStringList parts = language.split(QLatin1Char('-'));
        if (parts.first().compare(sourceLanguage, Qt::CaseInsensitive) == 0)
            return QString();
        for (; !parts.isEmpty(); parts.removeLast()) {
            const QString name = parts.join(QLatin1Char('_'));
            for (const QString& a : available) {
                if (a.compare(name, Qt::CaseInsensitive) == 0)
                    return a;
            }
        }
    }
    return fallbackLanguage;
}

QStringList UiLanguage::builtIn()
{
    QStringList languages;
    const QStringList files =
        QDir(catalogueFolder)
            .entryList({cataloguePrefix + QStringLiteral("*.qm")}, QDir::Files, QDir::Name);
    for (const QString& file : files)
        languages << file.mid(cataloguePrefix.size()).chopped(3);
    return languages;
}

QString UiLanguage::forSystem()
{
    return catalogue(QLocale::system().uiLanguages(), builtIn());
}

void UiLanguage::install(QCoreApplication& app)
{
    const QLocale locale = QLocale::system();
    const QString language = forSystem();
    if (!language.isEmpty()) {
        auto* own = new QTranslator(&app);
        if (own->load(cataloguePrefix + language, catalogueFolder))
            QCoreApplication::installTranslator(own);
        else
            delete own;
    }
    auto* qt = new QTranslator(&app);
    if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    else
        delete qt;
}
