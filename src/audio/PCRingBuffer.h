// A blocking byte ring from one producer thread to one consumer thread, with a close.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

// A byte buffer that a producer writes and a consumer reads, possibly blocking.
class CPCBuffer {
public:
    virtual ~CPCBuffer() = default;
    // Copies all count bytes in, or none (result 0) when they do not fit.
    virtual uint32_t Write(const void* data, uint32_t count) = 0;
    // Copies 1 to max bytes out, waiting while the buffer is empty.
    virtual uint32_t Read(void* buffer, uint32_t max) = 0;
    // Copies exactly count bytes out, waiting until that many are there.
    virtual void ReadExact(void* buffer, uint32_t count) = 0;
    virtual uint32_t GetAvailable() = 0;
    // Drops the content.
    virtual void Reset() = 0;
    // Closes the buffer for good and wakes the waiting reader.
    virtual void Close() = 0;
};

// A ring of capacity bytes (one more in the array, so that equal positions mean empty). A write
// that does not fit writes nothing; after Close a write throws COxaThrClosedException, and a read
// that finds too little data throws it too. A reader woken by a write and the close together
// takes the data when the ring was built data-first, and throws when it was built close-first.
// No allocation after construction; the lock is held only for bookkeeping and copying.
class CPCRingBuffer : public CPCBuffer {
public:
    explicit CPCRingBuffer(uint32_t capacity, bool dataFirst = true);
    ~CPCRingBuffer() override;

    uint32_t Write(const void* data, uint32_t count) override;
    uint32_t Read(void* buffer, uint32_t max) override;
    void ReadExact(void* buffer, uint32_t count) override;
    uint32_t GetAvailable() override;
    void Reset() override;
    void Close() override;

private:
    uint32_t AvailableLocked() const;
    // Waits under lock until at least count bytes are there; throws when closed first.
    void WaitFor(std::unique_lock<std::mutex>& lock, uint32_t count);
    // Copies count bytes out from the read position and advances it.
    void CopyOut(void* buffer, uint32_t count);

    const bool m_dataFirst;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<uint8_t> m_bytes;
    uint32_t m_read = 0;
    uint32_t m_write = 0;
    bool m_closed = false;
};
