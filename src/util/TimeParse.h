// Reads a time given by a person: milliseconds, or [hh:]mm:ss[.mmm].
#pragma once

#include <QString>
#include <QtGlobal>

// "15000" is 15000 ms; "1:05" is 65000 ms; "01:02:03.5" is 3723500 ms. Minutes and seconds after
// the first field must be below 60. False (ms unchanged) for anything else, negative times
// included.
bool ParseMilliseconds(const QString& text, qint64& ms);
