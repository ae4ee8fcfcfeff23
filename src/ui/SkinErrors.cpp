// The messages of a skin file that cannot be used.
#include "ui/SkinErrors.h"

#include "app/StringTable.h"

QString SkinErrorText(SkinErrorId id, const QString& path) {
    return LoadString(id) + QStringLiteral(" \"") + path + QLatin1Char('"');
}
