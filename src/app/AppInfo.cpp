// The program's name and version.
#include "app/AppInfo.h"

#include "Version.h"

QString ProgramName() { return QStringLiteral("Quillet"); }

QString ProgramVersion() {
    return QString::asprintf("%d.%d.%d.%d", QUILLET_VERSION_MAJOR, QUILLET_VERSION_MINOR,
                             QUILLET_VERSION_PATCH, QUILLET_VERSION_TWEAK);
}

QString BuildDate() { return QStringLiteral(__DATE__); }
QString BuildTime() { return QStringLiteral(__TIME__); }
