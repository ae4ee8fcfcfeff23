// The failure of an HTTP transfer: the transfer library's error text and code.
#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// Thrown by the HTTP session and its requests when a transfer cannot go on: the connection could
// not be made, was dropped, or the address was refused by the transfer library.
class CInternetException : public std::exception {
public:
    CInternetException(const QString& message, int code)
        : m_message(message), m_code(code), m_utf8(message.toUtf8()) {}

    const QString& message() const { return m_message; }
    // The transfer library's error code (a CURLcode or CURLMcode).
    int code() const { return m_code; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    int m_code;
    QByteArray m_utf8;
};
