// The user-interface language: the translation file in use, remembered in Quillet.ini, and translation.
#pragma once

#include <QString>

// The text in the current language; the English text itself when the translation has none.
QString TranslateText(const QString& english);
// The language code of the translation file the translation library has loaded ("en" if odd).
QString GetCurrentLanguage();
// The language code in a translation file's name "Quillet_<lang>.tra", or empty when the name
// does not follow that form.
QString LanguageOfTraFile(const QString& path);

// LastTraFile of the [Glossa] section of Quillet.ini in the configuration folder.
QString GetLastTraFile();
void SetLastTraFile(const QString& path);
