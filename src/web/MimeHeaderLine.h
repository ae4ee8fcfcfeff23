// One field of a MIME header: its name, its value (parameters included) and the value's charset.
#pragma once

#include <QByteArray>

class CMimeHeaderLine {
public:
    CMimeHeaderLine() = default;
    CMimeHeaderLine(const QByteArray& name, const QByteArray& value, const QByteArray& charset = {})
        : m_name(name), m_value(value), m_charset(charset) {}

    const QByteArray& GetName() const { return m_name; }
    const QByteArray& GetValue() const { return m_value; }
    const QByteArray& GetCharset() const { return m_charset; }
    void SetName(const QByteArray& name) { m_name = name; }
    void SetValue(const QByteArray& value) { m_value = value; }
    void SetCharset(const QByteArray& charset) { m_charset = charset; }

    // Sets the parameter attribute="value": the value gets an opening double quote unless it
    // begins with one and a closing one unless it is two or more bytes long and ends with one.
    // A parameter of that name already in the value is changed where it stands; otherwise
    // "; attribute=value" is appended.
    void SetFieldParameter(const QByteArray& attribute, const QByteArray& value);
    // The value of the parameter without its enclosing quotes; empty when there is none.
    QByteArray GetFieldParameter(const QByteArray& attribute) const;

    // Where the parameter's value stands in the field value: [first, first + length); first is -1
    // when the field has no such parameter. Parameters follow the ";" separators.
    struct Span {
        qsizetype first = -1;
        qsizetype length = 0;
    };
    Span FindParameter(const QByteArray& attribute) const;

private:
    QByteArray m_name;
    QByteArray m_value;
    QByteArray m_charset;
};
