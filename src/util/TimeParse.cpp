// Reads a time given by a person.
#include "util/TimeParse.h"

#include <QRegularExpression>

bool ParseMilliseconds(const QString& text, qint64& ms) {
    static const QRegularExpression plain(QStringLiteral("^\\d{1,12}$"));
    static const QRegularExpression clock(
        QStringLiteral("^(?:(\\d{1,6}):)?(\\d{1,6}):(\\d{1,2})(?:\\.(\\d{1,3}))?$"));
    if (plain.match(text).hasMatch()) {
        ms = text.toLongLong();
        return true;
    }
    const QRegularExpressionMatch m = clock.match(text);
    if (!m.hasMatch())
        return false;
    const bool hasHours = m.capturedLength(1) > 0;
    const qint64 hours = hasHours ? m.captured(1).toLongLong() : 0;
    const qint64 minutes = m.captured(2).toLongLong();
    const qint64 seconds = m.captured(3).toLongLong();
    if (seconds >= 60 || (hasHours && minutes >= 60))
        return false;
    QString fraction = m.captured(4);
    fraction = fraction.leftJustified(3, QLatin1Char('0'));
    ms = ((hours * 60 + minutes) * 60 + seconds) * 1000 + fraction.toLongLong();
    return true;
}
