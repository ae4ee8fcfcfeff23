// Numbers read from text the way the settings and the command line read them.
#include "util/NumberText.h"

#include <QByteArray>

#include <clocale>
#include <cstdlib>
#include <limits>
#include <locale.h>

namespace {

bool IsDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Index of the first character after the leading white space.
qsizetype SkipSpace(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    return i;
}

// Reads an optional sign at i; returns true for '-'.
bool ReadSign(QStringView text, qsizetype& i) {
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        return text[i++] == QLatin1Char('-');
    return false;
}

// The leading integer, saturated at the limits of T.
template <class T> T LeadingInteger(QStringView text) {
    qsizetype i = SkipSpace(text);
    const bool negative = ReadSign(text, i);
    // Accumulate towards the negative side, which holds one value more than the positive one.
    constexpr T minimum = std::numeric_limits<T>::min();
    T value = 0;
    bool overflow = false;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        const int digit = text[i].unicode() - '0';
        if (overflow)
            continue;
        if (value < (minimum + digit) / 10) {
            overflow = true;
            continue;
        }
        value = value * 10 - digit;
    }
    if (overflow)
        return negative ? minimum : std::numeric_limits<T>::max();
    if (negative)
        return value;
    return value == minimum ? std::numeric_limits<T>::max() : T(-value);
}

} // namespace

int TextToInt(QStringView text) {
    return LeadingInteger<int>(text);
}

qint64 TextToInt64(QStringView text) {
    return LeadingInteger<qint64>(text);
}

double TextToDouble(QStringView text) {
    qsizetype i = SkipSpace(text);
    QByteArray number;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        number += char(text[i++].unicode());
    int digits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i, ++digits)
        number += char(text[i].unicode());
    if (i < text.size() && text[i] == QLatin1Char('.')) {
        number += '.';
        for (++i; i < text.size() && IsDigit(text[i]); ++i, ++digits)
            number += char(text[i].unicode());
    }
    if (digits == 0)
        return 0.0;
    // An exponent counts only when at least one digit follows its letter and sign.
    if (i < text.size() && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        QByteArray exponent("e");
        if (j < text.size() && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-')))
            exponent += char(text[j++].unicode());
        if (j < text.size() && IsDigit(text[j])) {
            for (; j < text.size() && IsDigit(text[j]); ++j)
                exponent += char(text[j].unicode());
            number += exponent;
        }
    }
    // The C locale's conversion, whatever LC_NUMERIC the process runs under.
    const locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", locale_t(nullptr));
    if (cLocale == locale_t(nullptr))
        return number.toDouble();
    const double value = strtod_l(number.constData(), nullptr, cLocale);
    freelocale(cLocale);
    return value;
}
