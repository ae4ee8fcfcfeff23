// The program's exception family.
#include "app/OxaException.h"

COxaException::COxaException(const QString& message, int code)
    : COxaException(UserText(message), code) {}

COxaException::COxaException(const UserText& text, int code)
    : m_text(text), m_code(code), m_utf8(text.shown.toUtf8()) {}

COxaException::COxaException(int code, const QString& message) : COxaException(message, code) {}

COxaException::COxaException(StringId id, int code) : COxaException(LoadUserText(id.id), code) {}

COxaException::~COxaException() = default;

QString COxaException::traceText() const {
    return QStringLiteral("COxaException: %1 (%2)").arg(m_text.english, QString::number(m_code));
}

const char* COxaException::what() const noexcept {
    return m_utf8.constData();
}
