// The user-interface language: the translation file in use, remembered in Quillet.ini, and
// translation.
#pragma once

#include "platform/glossa/Glossa.h"

#include <QString>

// The text in the current language; the English text itself when the translation has none.
QString TranslateText(const QString& english);
// The language code of the translation file the translation library has loaded ("en" if odd).
QString GetCurrentLanguage();
// The language code in a translation file's name "Quillet_<lang>.tra", or empty when the name
// does not follow that form.
QString LanguageOfTraFile(const QString& path);

// Quillet.ini in the configuration folder.
QString GetLanguageMemoryPath();
// LastTraFile of the [Glossa] section of Quillet.ini in the configuration folder.
QString GetLastTraFile();
// False when Quillet.ini cannot be written (the failure is in the trace log).
bool SetLastTraFile(const QString& path);

// The block the translation library starts with: zeroed, the two paths and the fixed values.
GLStartParams MakeStartParams(const QString& traFile, const QString& iniFile);
// Starts the translation library with the translation file and the library's settings file
// (Quillet.ini) and registers the calling thread as the user-interface thread. Returns whether the
// translation file was loaded; the texts stay English when not.
bool StartLanguage(const QString& traFile, const QString& iniFile);
// The language chosen at run time: the configuration's language (not from the command line), the
// library switched to the language's translation file, which becomes LastTraFile. Returns whether
// the library could load the file.
bool SwitchLanguage(const QString& lang);
