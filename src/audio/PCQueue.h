// A blocking queue of whole items from one producer thread to one consumer thread, with a close.
#pragma once

#include "app/OxaException.h"

#include <QString>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

// Put appends without blocking (false when the queue holds its capacity); Get blocks until an item
// or the close arrives. After Close, Put always throws COxaThrClosedException; Get delivers the
// items queued before the close and then throws when the queue was built items-first, and throws
// at once when it was built close-first. The lock is held only for bookkeeping, never while
// waiting.
template <class T> class CPCQueue {
public:
    // capacity 0 stands for 0x7FFFFFFF items.
    explicit CPCQueue(uint32_t capacity = 0, bool itemsFirst = true)
        : m_capacity(capacity == 0 ? 0x7FFFFFFF : capacity), m_itemsFirst(itemsFirst) {}
    virtual ~CPCQueue() { Close(); }
    CPCQueue(const CPCQueue&) = delete;
    CPCQueue& operator=(const CPCQueue&) = delete;

    // Queues the item; false (the item stays the caller's) when the queue is full.
    bool Put(T item) {
        {
            std::lock_guard lock(m_mutex);
            if (m_closed)
                throw COxaThrClosedException(
                    QStringLiteral("Trying to write to a closed PC queue"));
            if (m_items.size() >= m_capacity)
                return false;
            m_items.push_back(std::move(item));
        }
        m_changed.notify_one();
        return true;
    }

    // The front item, waiting for one; throws COxaThrClosedException once closed (see above).
    T Get() {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_closed || !m_items.empty(); });
        if (m_closed && (!m_itemsFirst || m_items.empty()))
            throw COxaThrClosedException(QStringLiteral("Trying to read from a closed PC queue"));
        T item = std::move(m_items.front());
        m_items.pop_front();
        return item;
    }

    // Closes the queue for good and wakes the waiting reader.
    void Close() {
        {
            std::lock_guard lock(m_mutex);
            m_closed = true;
        }
        m_changed.notify_all();
    }

private:
    const size_t m_capacity;
    const bool m_itemsFirst;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<T> m_items;
    bool m_closed = false;
};
