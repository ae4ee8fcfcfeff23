// The system's text for an error code, as error messages and trace lines quote it.
#include "util/SystemError.h"

#include <cerrno>
#include <cstring>

namespace {
// strerror_r comes in two forms: the GNU one returns the text, the POSIX one fills the buffer.
[[maybe_unused]] const char* ErrorTextOf(int result, const char* buffer) {
    return result == 0 ? buffer : nullptr;
}
[[maybe_unused]] const char* ErrorTextOf(const char* result, const char*) {
    return result;
}
} // namespace

QString SystemErrorText(int code) {
    char buffer[256] = {};
    const char* text = ErrorTextOf(strerror_r(code, buffer, sizeof buffer), buffer);
    QString message = QString::fromLocal8Bit(text ? text : "");
    while (message.endsWith(QLatin1Char('\n')) || message.endsWith(QLatin1Char('\r')))
        message.chop(1);
    return message + QString::asprintf(" (%d)", code);
}

QString LastSystemErrorText() {
    const int code = errno;
    return SystemErrorText(code);
}
