#include "app/ui/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

QLocale ProgramLocale()
{
    const QString chosen = qEnvironmentVariable("TERMWISE_LOCALE");
    if (!chosen.isEmpty())
        return QLocale(chosen);
    return QLocale(QLocale::Korean, QLocale::SouthKorea);
}

bool InstallQtTranslations(const QLocale& locale)
{
    static bool installed = false;
    QLocale::setDefault(locale);
    if (installed || !QCoreApplication::instance())
        return installed;
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    // "qt" pulls in qtbase and the other modules' files that exist (Debian's qt6-translations-l10n).
    for (const QString& name : {QStringLiteral("qt"), QStringLiteral("qtbase")}) {
        auto* translator = new QTranslator(QCoreApplication::instance());
        if (translator->load(locale, name, QStringLiteral("_"), folder) &&
            QCoreApplication::installTranslator(translator)) {
            installed = true;
            if (name == QStringLiteral("qt"))
                break;
            continue;
        }
        delete translator;
    }
    return installed;
}
