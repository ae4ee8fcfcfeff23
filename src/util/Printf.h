// printf-style formatting of program text, where QString and QByteArray arguments stand for "%s".
#pragma once

#include <QByteArray>
#include <QString>

namespace printf_detail {
// Passes numbers and pointers through and turns program strings into UTF-8 for "%s".
template <class T> struct Arg {
    const T& value;
    const T& get() const { return value; }
};
template <> struct Arg<QString> {
    QByteArray utf8;
    explicit Arg(const QString& s) : utf8(s.toUtf8()) {}
    const char* get() const { return utf8.constData(); }
};
template <> struct Arg<QByteArray> {
    const QByteArray& bytes;
    const char* get() const { return bytes.constData(); }
};
} // namespace printf_detail

// QString::asprintf with program strings accepted for "%s".
template <class... Args> QString Sprintf(const char* format, const Args&... args) {
    return QString::asprintf(format, printf_detail::Arg<Args>{args}.get()...);
}

// The same with a format that is itself program text (a translated string-table entry).
template <class... Args> QString Sprintf(const QString& format, const Args&... args) {
    return Sprintf(format.toUtf8().constData(), args...);
}
