// Reads time ranges of the visualization file back, caching the last one.
#include "encode/DatValues.h"

#include "app/Trace.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Milliseconds as a count of values, truncated toward zero.
int64_t ValueCount(double milliseconds) {
    return int64_t(milliseconds / CDatValues::kMillisecondsPerValue);
}

} // namespace

CDatValues::CDatValues() : m_values(kCapacity, 0) {}

void CDatValues::setSource(const QString& datFileName, int64_t totalLength) {
    m_fileName = datFileName;
    m_totalLength = totalLength;
    m_cachedStart = 0;
    m_cachedEnd = 0;
    m_cachedCount = 0;
}

const int8_t* CDatValues::getDatValues(int64_t start, int64_t end, uint32_t& count) {
    count = 0;
    if (m_totalLength <= 0)
        return m_values.data();
    if (ValueCount(double(end) - double(start)) >= int64_t(kCapacity))
        return m_values.data();
    if (start >= end)
        return m_values.data();
    if (start == m_cachedStart && end == m_cachedEnd) {
        count = m_cachedCount;
        return m_values.data();
    }
    const QByteArray native = QFile::encodeName(m_fileName);
    const int handle = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (handle < 0) {
        Trace(TRACE_ERROR, "couldn't open dat file %s", m_fileName);
        return m_values.data();
    }
    std::fill(m_values.begin(), m_values.end(), int8_t(0));
    count = readRange(handle, start, end);
    ::close(handle);
    m_cachedStart = start;
    m_cachedEnd = end;
    m_cachedCount = count;
    return m_values.data();
}

uint32_t CDatValues::readRange(int handle, int64_t start, int64_t end) {
    const int64_t s = std::max<int64_t>(start, 0);
    const int64_t e = std::min(end, m_totalLength);
    const int64_t fileOffset = ValueCount(double(s));
    const int64_t bufferOffset = std::min<int64_t>(ValueCount(double(s - start)), kCapacity);
    const int64_t length =
        std::clamp<int64_t>(ValueCount(double(e - s)), 0, kCapacity - bufferOffset);

    if (::lseek(handle, off_t(fileOffset), SEEK_SET) != off_t(fileOffset)) {
        Trace(TRACE_ERROR, "couldn't set pointer into dat file %s", m_fileName);
        return 0;
    }
    int64_t done = 0;
    while (done < length) {
        const ssize_t got =
            ::read(handle, m_values.data() + bufferOffset + done, size_t(length - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            Trace(TRACE_ERROR, "couldn't read dat from file %s", m_fileName);
            return 0;
        }
        if (got == 0)
            break;
        done += got;
    }
    if (done < length)
        Trace(TRACE_ERROR, "couldn't read enough bytes from dat file %s", m_fileName);
    return uint32_t(ValueCount(double(std::max(start, e) - start)));
}
