// A blocking byte ring from one producer thread to one consumer thread, with a close.
#include "audio/PCRingBuffer.h"

#include "app/OxaException.h"

#include <QString>

#include <algorithm>
#include <cstring>

namespace {
[[noreturn]] void ThrowReadClosed() {
    throw COxaThrClosedException(QStringLiteral("Trying to read from a closed PC buffer"));
}
} // namespace

CPCRingBuffer::CPCRingBuffer(uint32_t capacity, bool dataFirst)
    : m_dataFirst(dataFirst), m_bytes(size_t(capacity) + 1) {}

CPCRingBuffer::~CPCRingBuffer() {
    Close();
}

uint32_t CPCRingBuffer::AvailableLocked() const {
    const auto size = uint32_t(m_bytes.size());
    return m_read <= m_write ? m_write - m_read : size - m_read + m_write;
}

uint32_t CPCRingBuffer::Write(const void* data, uint32_t count) {
    {
        std::lock_guard lock(m_mutex);
        const auto size = uint32_t(m_bytes.size());
        if (count > size - AvailableLocked() - 1)
            return 0;
        if (m_closed)
            throw COxaThrClosedException(QStringLiteral("Trying to write to a closed PC buffer"));
        const uint32_t first = std::min(count, size - m_write);
        std::memcpy(m_bytes.data() + m_write, data, first);
        std::memcpy(m_bytes.data(), static_cast<const uint8_t*>(data) + first, count - first);
        m_write = (m_write + count) % size;
    }
    m_changed.notify_one();
    return count;
}

void CPCRingBuffer::WaitFor(std::unique_lock<std::mutex>& lock, uint32_t count) {
    if (AvailableLocked() >= count)
        return;
    do {
        if (m_closed)
            ThrowReadClosed();
        m_changed.wait(lock);
        // Woken with the close and data both there: the order chosen at construction decides.
        if (m_closed && !m_dataFirst)
            ThrowReadClosed();
    } while (AvailableLocked() < count);
}

void CPCRingBuffer::CopyOut(void* buffer, uint32_t count) {
    const auto size = uint32_t(m_bytes.size());
    const uint32_t first = std::min(count, size - m_read);
    std::memcpy(buffer, m_bytes.data() + m_read, first);
    std::memcpy(static_cast<uint8_t*>(buffer) + first, m_bytes.data(), count - first);
    m_read = (m_read + count) % size;
}

uint32_t CPCRingBuffer::Read(void* buffer, uint32_t max) {
    if (max == 0)
        return 0;
    std::unique_lock lock(m_mutex);
    WaitFor(lock, 1);
    const uint32_t count = std::min(max, AvailableLocked());
    CopyOut(buffer, count);
    return count;
}

void CPCRingBuffer::ReadExact(void* buffer, uint32_t count) {
    // More than the ring can ever hold would wait for good.
    if (count >= m_bytes.size())
        throw COxaThrException(QStringLiteral("Reading more than a PC buffer holds"));
    std::unique_lock lock(m_mutex);
    WaitFor(lock, count);
    CopyOut(buffer, count);
}

uint32_t CPCRingBuffer::GetAvailable() {
    std::lock_guard lock(m_mutex);
    return AvailableLocked();
}

void CPCRingBuffer::Reset() {
    std::lock_guard lock(m_mutex);
    m_read = 0;
    m_write = 0;
}

void CPCRingBuffer::Close() {
    {
        std::lock_guard lock(m_mutex);
        m_closed = true;
    }
    m_changed.notify_all();
}
