// The work files of a decoded input, made on a second thread.
#include "encode/WorkFilePipeline.h"

#include "app/OxaException.h"
#include "app/Trace.h"
#include "encode/DatFileEncoder.h"
#include "encode/DatFileMaker.h"

#include <QFile>
#include <algorithm>

CWorkFilePipeline::CWorkFilePipeline(QString datBase) : m_datBase(std::move(datBase)) {}

CWorkFilePipeline::~CWorkFilePipeline() {
    stopWriter(false);
}

void CWorkFilePipeline::setLimit(int64_t ms) {
    m_limitMs = ms;
}

bool CWorkFilePipeline::create(const QString& fileName, const WAVEFORMATEX& format) {
    stopWriter(false);
    m_peak = 0;
    m_taken = 0;
    m_datError = UserText();
    m_failed = false;
    m_closing = false;
    m_abandon = false;
    m_errorCode = 0;
    m_traceError.clear();
    m_keepBytes = UINT64_MAX;
    if (m_limitMs >= 0) {
        // Whole frames, rounded up, so that the work WAV lasts at least the limit.
        const uint64_t frames = (uint64_t(m_limitMs) * format.nSamplesPerSec + 999) / 1000;
        m_keepBytes = frames * format.nBlockAlign;
    }
    if (!m_wav.create(fileName, format))
        return false;
    try {
        m_dat = std::make_unique<CDatFileEncoder>(m_datBase, &format);
    } catch (const COxaException& e) {
        Trace(TRACE_ERROR, "error creating dat file: %s", e.traceMessage());
        m_datError = e.text();
        m_wav.close();
        QFile::remove(fileName);
        return false;
    }
    m_filling.clear();
    m_filling.reserve(kBlockBytes);
    m_writer = std::thread(&CWorkFilePipeline::writerLoop, this);
    return true;
}

bool CWorkFilePipeline::write(const void* data, uint32_t bytes) {
    const auto* p = static_cast<const uint8_t*>(data);
    const uint64_t room = m_keepBytes - std::min(m_taken, m_keepBytes);
    const auto kept = uint32_t(std::min<uint64_t>(bytes, room));
    m_taken += bytes;
    for (uint32_t done = 0; done < kept;) {
        const auto count = uint32_t(std::min<size_t>(kept - done, kBlockBytes - m_filling.size()));
        m_filling.insert(m_filling.end(), p + done, p + done + count);
        done += count;
        if (m_filling.size() == kBlockBytes && !pushBlock())
            return false;
    }
    std::lock_guard lock(m_lock);
    return !m_failed;
}

bool CWorkFilePipeline::pushBlock() {
    std::unique_lock lock(m_lock);
    m_emptied.wait(lock, [this] { return m_queue.size() < kQueueBlocks || m_failed; });
    if (m_failed)
        return false;
    m_queue.push_back(std::move(m_filling));
    if (!m_spare.empty()) {
        m_filling = std::move(m_spare.back());
        m_spare.pop_back();
    } else {
        m_filling = Block();
    }
    m_filling.clear();
    m_filling.reserve(kBlockBytes);
    lock.unlock();
    m_queued.notify_one();
    return true;
}

bool CWorkFilePipeline::full() const {
    return m_taken >= m_keepBytes;
}

uint32_t CWorkFilePipeline::getErrorCode() const {
    std::lock_guard lock(m_lock);
    return m_errorCode != 0 ? m_errorCode : m_wav.getErrorCode();
}

const QString& CWorkFilePipeline::getTraceError() const {
    std::lock_guard lock(m_lock);
    return m_traceError.isEmpty() ? m_wav.getTraceError() : m_traceError;
}

void CWorkFilePipeline::writerLoop() {
    for (;;) {
        Block block;
        {
            std::unique_lock lock(m_lock);
            m_queued.wait(lock, [this] { return !m_queue.empty() || m_closing || m_abandon; });
            if (m_abandon || m_queue.empty())
                return;
            block = std::move(m_queue.front());
            m_queue.pop_front();
        }
        m_emptied.notify_one();
        const bool written = writeBlock(block);
        std::lock_guard lock(m_lock);
        m_spare.push_back(std::move(block));
        if (!written) {
            m_failed = true;
            m_emptied.notify_one();
            return;
        }
    }
}

bool CWorkFilePipeline::writeBlock(const Block& block) {
    const auto bytes = uint32_t(block.size());
    if (!m_wav.write(block.data(), bytes)) {
        std::lock_guard lock(m_lock);
        m_errorCode = m_wav.getErrorCode();
        m_traceError = m_wav.getTraceError();
        return false;
    }
    try {
        m_dat->encode(block.data(), bytes);
    } catch (const COxaException& e) {
        Trace(TRACE_ERROR, "error creating dat file: %s", e.traceMessage());
        m_datError = e.text();
        return false;
    }
    m_peak = std::max(m_peak, blockPeak(block.data(), bytes));
    return true;
}

void CWorkFilePipeline::stopWriter(bool drain) {
    if (!m_writer.joinable())
        return;
    {
        std::lock_guard lock(m_lock);
        m_closing = true;
        m_abandon = !drain;
    }
    m_queued.notify_one();
    m_writer.join();
}

bool CWorkFilePipeline::close() {
    if (!m_writer.joinable())
        return m_wav.close();
    bool ok = m_filling.empty() || pushBlock();
    stopWriter(true);
    {
        std::lock_guard lock(m_lock);
        ok = ok && !m_failed;
    }
    m_dat.reset();
    return m_wav.close() && ok;
}
