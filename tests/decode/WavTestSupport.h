// Helpers of the WAV and encoder tests: little-endian fields and a limit on written file sizes.
#pragma once

#include "support/TestSupport.h"
#include "support/TraceCapture.h"
#include "util/WinTypes.h"

#include <QByteArray>
#include <QtEndian>
#include <csignal>
#include <cstdint>
#include <sys/resource.h>

namespace wavtest {

// The little-endian 32-bit field of bytes at the offset.
inline uint32_t Le32(const QByteArray& bytes, int at) {
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

// The four little-endian bytes of a value.
inline QByteArray Le32Bytes(uint32_t value) {
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

// The two little-endian bytes of a value.
inline QByteArray Le16Bytes(uint16_t value) {
    QByteArray bytes(2, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

// Limits the size of files the process may write while it lives: writes beyond fail with EFBIG.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = m_old;
        limited.rlim_cur = bytes;
        m_active = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    bool active() const { return m_active; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_active = false;
};

} // namespace wavtest
