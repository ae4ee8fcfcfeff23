// The base of the file encoders: output file creation and the write helpers.
#include "encode/FileEncoder.h"

#include "app/OxaException.h"
#include "app/StringIds.h"
#include "app/Trace.h"
#include "util/SystemError.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

CFileEncoder::~CFileEncoder() = default;

QString CFileEncoder::withDefaultExtension(const QString& fileName, const QString& extension) {
    const qsizetype lastPart = fileName.lastIndexOf(QLatin1Char('/')) + 1;
    if (fileName.indexOf(QLatin1Char('.'), lastPart) >= 0)
        return fileName;
    return fileName + extension;
}

int CFileEncoder::createFile(const QString& fileName) {
    const QByteArray native = QFile::encodeName(fileName);
    const int handle = ::open(native.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (handle < 0)
        m_errorCode = uint32_t(errno);
    return handle;
}

void CFileEncoder::closeFile(int& handle) {
    if (handle >= 0)
        ::close(handle);
    handle = -1;
}

bool CFileEncoder::writeToFile(int handle, const void* data, uint32_t bytes, bool throwOnError) {
    const auto* next = static_cast<const char*>(data);
    uint32_t left = bytes;
    while (left > 0) {
        const ssize_t written = ::write(handle, next, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = ENOSPC;
            if (throwOnError)
                throwWriteError(bytes);
            m_errorCode = uint32_t(errno);
            return false;
        }
        next += written;
        left -= uint32_t(written);
    }
    return true;
}

namespace {
thread_local int t_lastWriteError = 0;
} // namespace

int CFileEncoder::lastWriteError() {
    return t_lastWriteError;
}

void CFileEncoder::resetLastWriteError() {
    t_lastWriteError = 0;
}

void CFileEncoder::throwWriteError(uint32_t bytes) {
    m_errorCode = uint32_t(errno);
    t_lastWriteError = int(m_errorCode);
    Trace(TRACE_ERROR, "Error writing to file: %s", SystemErrorText(int(m_errorCode)));
    throw COxaEncoderException(FormatUserText(IDS_ENC_WRITE_ERROR, (unsigned long)bytes),
                               COxaException::kGeneric);
}
