// The grammar of the service's answer lines.
#include "web/AnswerLine.h"

#include <climits>

bool CAnswerLine::keyword(const QString& line, const char* keyword, QString& value) {
    const QLatin1StringView name(keyword);
    if (!line.startsWith(name, Qt::CaseInsensitive))
        return false;
    value = line.mid(name.size());
    return true;
}

bool CAnswerLine::status(const QString& line, int& code, QString& text) {
    if (line.size() < 4 || line[3] != QLatin1Char(' '))
        return false;
    const int number = leadingInt(QStringView(line).left(3));
    if (number < 100 || number > 999)
        return false;
    code = number;
    text = line.mid(4);
    return true;
}

bool CAnswerLine::size(const QString& value, int& width, int& height) {
    const qsizetype x = value.indexOf(QLatin1Char('x'));
    if (x < 0)
        return false;
    const int w = leadingInt(value);
    const int h = leadingInt(QStringView(value).mid(x + 1));
    if (w == 0 || h == 0)
        return false;
    width = w;
    height = h;
    return true;
}

int CAnswerLine::leadingInt(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        negative = text[i++] == QLatin1Char('-');
    long long value = 0;
    for (; i < text.size() && text[i].isDigit() && text[i].unicode() < 0x80; ++i)
        value = qMin<long long>(value * 10 + (text[i].unicode() - '0'), 1LL + INT_MAX);
    if (negative)
        return value > INT_MAX ? INT_MIN : int(-value);
    return value > INT_MAX ? INT_MAX : int(value);
}
