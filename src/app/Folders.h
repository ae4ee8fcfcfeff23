// Where the program finds its own files (translations, skins) and keeps its data.
#pragma once

#include <QString>

// Every folder returned here ends with '/'.

// The folder of the running executable, determined once per process.
QString GetExecutableFolder();
// The folder of Skins/: the executable folder, its parent when it is a "Release/" folder,
// or "../share/quillet/" when the executable lies in the bin/ folder of an installed tree.
QString GetProgramFolder();
// The program folder that the given executable folder implies (the rule above, for any folder).
QString ProgramFolderFor(const QString& executableFolder);
// The folder of the translation files: the executable folder, or the installed data folder.
QString GetTranslationFolder();
// $XDG_DATA_HOME/Brindle/Quillet/, created (mode 0700) if missing.
QString GetSharedDataFolder();

QString GetTraFilePath(const QString& lang);
QString GetDefaultTraFilePath();
bool TraFileExists(const QString& lang);
QString GetSkinPath(const QString& name);
QString GetDefaultSkinPath();

// Adds a trailing '/' when the path has none.
QString WithTrailingSlash(const QString& folder);
