// Numbers read from text the way the settings and the command line read them.
#pragma once

#include <QString>
#include <QStringView>

// The integer at the start of the text: leading white space, an optional sign, decimal digits up
// to the first other character. 0 when there are no digits; INT_MAX or INT_MIN when it overflows.
int TextToInt(QStringView text);
// The same for a 64-bit integer.
qint64 TextToInt64(QStringView text);
// The decimal number at the start of the text: leading white space, an optional sign, digits with
// an optional '.' and fraction, an optional exponent ("e-3"); always with '.' as the decimal point.
// 0 when the text does not start with a number; an infinity when it is too large.
double TextToDouble(QStringView text);
