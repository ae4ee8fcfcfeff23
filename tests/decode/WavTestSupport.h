// Helpers of the WAV and encoder tests: PCM formats, little-endian fields, trace-line capture.
#pragma once

#include "app/Trace.h"
#include "support/TestSupport.h"
#include "util/WinTypes.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <csignal>
#include <cstdint>
#include <sys/resource.h>

namespace wavtest {

// A PCM format with consistent block alignment and byte rate.
inline WAVEFORMATEX PcmFormat(uint16_t channels, uint32_t rate, uint16_t bits) {
    return MakePcmFormat(channels, rate, bits);
}

inline uint32_t Le32(const QByteArray& bytes, int at) {
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.constData()) + at;
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

inline QByteArray Le32Bytes(uint32_t value) {
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = char(value >> (8 * i));
    return bytes;
}

inline QByteArray Le16Bytes(uint16_t value) {
    QByteArray bytes(2, '\0');
    bytes[0] = char(value);
    bytes[1] = char(value >> 8);
    return bytes;
}

// Writes the trace log's error lines into a temporary folder while it lives.
class TraceCapture {
public:
    TraceCapture() {
        TraceSetDebugOutput(false);
        TraceSetPrefix(m_dir.path() + QStringLiteral("/trace"));
        TraceSetLevel(TRACE_ERROR);
    }
    ~TraceCapture() {
        TraceSetLevel(TRACE_NONE);
        TraceClose();
        TraceSetDebugOutput(true);
    }
    // Everything written so far.
    QString text() const {
        const QString name = TraceCurrentFileName();
        return name.isEmpty() ? QString() : testsupport::FromUtf16Le(testsupport::ReadBytes(name));
    }

private:
    QTemporaryDir m_dir;
};

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
