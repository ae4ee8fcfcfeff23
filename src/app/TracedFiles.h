// The folder and file-name helpers of the program that write what they did to the trace log.
#pragma once

#include <QString>

// True when the folder exists or was created (one level: its parent must exist); traces why not.
bool AssureDirExists(const QString& path);
// A new name in the user's temporary folder (see MakeTempFilePath); false, traced, without one.
bool GetTempFilePath(const QString& extension, QString& path);
// "yyyymmdd_hhmmss_mmm" of one unique local time, traced at the debug level.
QString GetUniqueTimeBasedFileName();
