// The file dialogs' filters from the string table's lists.
#include "ui/FileDialogFilter.h"

#include <QStringList>

QString FileDialogFilter(const QString& list) {
    const QStringList parts = list.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        QString patterns = parts[i + 1];
        if (patterns == QLatin1String("*.*"))
            patterns = QStringLiteral("*");
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}
