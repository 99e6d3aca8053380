#pragma once
// Qt's own texts (file dialogs, standard buttons, the overwrite question) in the program's
// language. The program speaks Korean; TERMWISE_LOCALE (e.g. "en_US") picks another.
#include <QLocale>

// The locale the program runs in: TERMWISE_LOCALE when set, else Korean.
QLocale ProgramLocale();
// Makes the locale the default and installs Qt's translations for it (once per process).
// False when no translation file for it was found (Qt then speaks English).
bool InstallQtTranslations(const QLocale& locale);
