// One field of a MIME header.
#include "web/MimeHeaderLine.h"

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The end of a quoted parameter value that opens at start: the quote that is followed only by
// blanks up to the next ";" or the end (so that a quote inside the value does not end it).
qsizetype quotedValueEnd(const QByteArray& value, qsizetype start) {
    for (qsizetype i = start + 1; i < value.size(); ++i) {
        if (value[i] != '"')
            continue;
        qsizetype j = i + 1;
        while (j < value.size() && isBlank(value[j]))
            ++j;
        if (j == value.size() || value[j] == ';')
            return i + 1;
    }
    return value.size();
}

} // namespace

CMimeHeaderLine::Span CMimeHeaderLine::FindParameter(const QByteArray& attribute) const {
    qsizetype i = 0;
    while (i < m_value.size()) {
        // The next parameter begins after a ";" that stands outside quotes.
        if (m_value[i] == '"') {
            i = quotedValueEnd(m_value, i);
            continue;
        }
        if (m_value[i++] != ';')
            continue;
        while (i < m_value.size() && isBlank(m_value[i]))
            ++i;
        const qsizetype equals = m_value.indexOf('=', i);
        const qsizetype next = m_value.indexOf(';', i);
        if (equals < 0 || (next >= 0 && next < equals))
            continue;
        if (m_value.mid(i, equals - i).trimmed().compare(attribute, Qt::CaseInsensitive) != 0) {
            i = equals + 1;
            continue;
        }
        qsizetype first = equals + 1;
        while (first < m_value.size() && isBlank(m_value[first]))
            ++first;
        qsizetype end = first;
        if (first < m_value.size() && m_value[first] == '"') {
            end = quotedValueEnd(m_value, first);
        } else {
            while (end < m_value.size() && m_value[end] != ';')
                ++end;
            while (end > first && isBlank(m_value[end - 1]))
                --end;
        }
        return Span{first, end - first};
    }
    return Span{};
}

void CMimeHeaderLine::SetFieldParameter(const QByteArray& attribute, const QByteArray& value) {
    QByteArray quoted = value;
    if (!value.startsWith('"'))
        quoted.prepend('"');
    if (!(value.size() >= 2 && value.endsWith('"')))
        quoted.append('"');
    const Span span = FindParameter(attribute);
    if (span.first >= 0)
        m_value.replace(span.first, span.length, quoted);
    else
        m_value += "; " + attribute + '=' + quoted;
}

QByteArray CMimeHeaderLine::GetFieldParameter(const QByteArray& attribute) const {
    const Span span = FindParameter(attribute);
    if (span.first < 0)
        return {};
    QByteArray value = m_value.mid(span.first, span.length);
    if (value.startsWith('"'))
        value.remove(0, 1);
    if (value.endsWith('"'))
        value.chop(1);
    return value;
}
