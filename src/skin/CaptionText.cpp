// Word and path ellipsis of captions.
#include "skin/CaptionText.h"

#include <QFontMetrics>

namespace {
const QString Dots = QStringLiteral("...");
}

QString ElideEnd(const QString& text, const QFontMetrics& metrics, int width) {
    if (metrics.horizontalAdvance(text) <= width)
        return text;
    for (qsizetype n = text.size() - 1; n > 0; --n) {
        const QString candidate = text.left(n) + Dots;
        if (metrics.horizontalAdvance(candidate) <= width)
            return candidate;
    }
    return Dots;
}

QString ElidePath(const QString& text, const QFontMetrics& metrics, int width) {
    if (metrics.horizontalAdvance(text) <= width)
        return text;
    const qsizetype slash =
        qMax(text.lastIndexOf(QLatin1Char('/')), text.lastIndexOf(QLatin1Char('\\')));
    if (slash < 0)
        return ElideEnd(text, metrics, width);
    const QString tail = text.mid(slash); // the separator and the name
    for (qsizetype n = slash - 1; n >= 0; --n) {
        const QString candidate = text.left(n) + Dots + tail;
        if (metrics.horizontalAdvance(candidate) <= width)
            return candidate;
    }
    return ElideEnd(Dots + tail, metrics, width);
}
