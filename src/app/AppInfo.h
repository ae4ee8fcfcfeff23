// The program's name and version as it reports them.
#pragma once

#include <QString>

// "Quillet": the caption of message boxes and the main window's title.
QString ProgramName();
// The program's version, "%d.%d.%d.%d".
QString ProgramVersion();
// The build date and time, as the start-up log writes them.
QString BuildDate();
QString BuildTime();
