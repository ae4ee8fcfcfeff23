// The grammar of the service's answer lines: keywords with values, status lines, browser sizes.
#pragma once

#include <QString>

class CAnswerLine {
public:
    // True when line starts with keyword, compared without regard to case; value is the rest of
    // the line after the keyword, not trimmed.
    static bool keyword(const QString& line, const char* keyword, QString& value);
    // A status line: at least four characters, the first three a decimal number from 100 to 999,
    // the fourth a space; text is what follows the space.
    static bool status(const QString& line, int& code, QString& text);
    // A browser size "<width>x<height>": both numbers, read as decimal integers from the start
    // and from just after the first "x", must be non-zero.
    static bool size(const QString& value, int& width, int& height);
    // The decimal integer at the start of text, after blanks and an optional sign, as far as its
    // digits go (0 when there are none); saturated to the range of int.
    static int leadingInt(QStringView text);
};
