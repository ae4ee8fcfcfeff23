// The playback queue over a sound device.
#include "audio/WaveOut.h"

#include "audio/AudioCore.h"

#include <algorithm>
#include <cstring>

CWaveOut::~CWaveOut() {
    reset();
}

int CWaveOut::open(const WAVEFORMATEX& format, int bufferCount, uint32_t bufferSize,
                   const QString& device, QString& errorText) {
    bufferCount = std::clamp(bufferCount, 1, kMaxBuffers);
    m_free = std::make_unique<std::counting_semaphore<kMaxBuffers>>(bufferCount);
    std::unique_ptr<IPcmStream> stream =
        CAudioCore::instance().openStream(device, AudioDirection::Render, format, errorText);
    if (!stream)
        return 1;
    m_bufferSize = bufferSize;
    m_headers.assign(size_t(bufferCount), WAVEHDR{});
    m_blocks.assign(size_t(bufferCount), std::vector<char>(bufferSize));
    m_fill.assign(size_t(bufferCount), 0);
    for (int i = 0; i < bufferCount; ++i) {
        m_headers[size_t(i)].lpData = m_blocks[size_t(i)].data();
        m_headers[size_t(i)].dwBufferLength = bufferSize;
        m_headers[size_t(i)].dwFlags = WHDR_PREPARED;
    }
    std::lock_guard lock(m_mutex);
    m_stream = std::move(stream);
    if (m_resetting.load())
        m_stream->stop();
    else
        m_thread = std::thread(&CWaveOut::deviceLoop, this);
    return 0;
}

int CWaveOut::ProcessBuffer(const void* data, uint32_t bytes) {
    auto* p = static_cast<const char*>(data);
    while (bytes > 0 && !m_headers.empty()) {
        if (m_needsSlot) {
            m_free->acquire();
            m_needsSlot = false;
        }
        const size_t index = size_t(m_current);
        const uint32_t n = std::min(bytes, m_bufferSize - m_fill[index]);
        std::memcpy(m_blocks[index].data() + m_fill[index], p, n);
        m_fill[index] += n;
        p += n;
        bytes -= n;
        if (m_fill[index] < m_bufferSize)
            break;
        m_headers[index].dwBufferLength = m_bufferSize;
        m_fill[index] = 0;
        queue(m_headers[index]);
        m_needsSlot = true;
        m_current = (m_current + 1) % int(m_headers.size());
    }
    return 0;
}

void CWaveOut::drain() {
    if (m_headers.empty())
        return;
    const size_t index = size_t(m_current);
    if (!m_needsSlot) {
        m_headers[index].dwBufferLength = m_fill[index];
        m_fill[index] = 0;
        queue(m_headers[index]);
        m_needsSlot = true;
        m_current = (m_current + 1) % int(m_headers.size());
    }
    const auto count = std::ptrdiff_t(m_headers.size());
    for (std::ptrdiff_t i = 0; i < count; ++i)
        m_free->acquire();
    // Every buffer is with the device (or back from a reset): let it play out.
    if (!m_resetting.load())
        m_stream->drain();
    m_free->release(count);
}

void CWaveOut::reset() {
    std::lock_guard resetLock(m_resetMutex);
    IPcmStream* stream = nullptr;
    std::thread thread;
    {
        std::lock_guard lock(m_mutex);
        m_resetting.store(true);
        stream = m_stream.get();
        thread = std::move(m_thread);
    }
    m_queued.notify_all();
    if (stream)
        stream->stop();
    if (thread.joinable())
        thread.join();
}

void CWaveOut::queue(WAVEHDR& header) {
    {
        std::lock_guard lock(m_mutex);
        if (!m_resetting.load()) {
            header.dwFlags &= ~WHDR_DONE;
            header.dwFlags |= WHDR_INQUEUE;
            m_queue.push_back(&header);
            m_queued.notify_one();
            return;
        }
    }
    m_free->release();
}

void CWaveOut::deviceLoop() {
    for (;;) {
        WAVEHDR* header = nullptr;
        {
            std::unique_lock lock(m_mutex);
            m_queued.wait(lock, [this] { return !m_queue.empty() || m_resetting.load(); });
            if (m_resetting.load())
                break;
            header = m_queue.front();
        }
        const bool written = m_stream->write(header->lpData, header->dwBufferLength);
        if (written)
            m_bytesPlayed.fetch_add(header->dwBufferLength);
        else if (!m_resetting.load())
            m_failed.store(true);
        {
            std::lock_guard lock(m_mutex);
            m_queue.pop_front();
            header->dwFlags = (header->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
        }
        m_free->release();
    }
    // Reset: every buffer still queued comes back at once.
    std::ptrdiff_t returned = 0;
    {
        std::lock_guard lock(m_mutex);
        returned = std::ptrdiff_t(m_queue.size());
        for (WAVEHDR* header : m_queue)
            header->dwFlags = (header->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
        m_queue.clear();
    }
    if (returned > 0)
        m_free->release(returned);
}
