// The blocking queue and byte ring between a producer and a consumer thread.
#include "audio/PCQueue.h"
#include "audio/PCRingBuffer.h"

#include <gtest/gtest.h>

#include <array>
#include <future>
#include <memory>
#include <numeric>
#include <thread>
#include <vector>

namespace {

constexpr auto kBound = std::chrono::seconds(10);

// The message of the closed exception a call throws; empty when it throws none.
template <class F> QString ClosedMessage(F call) {
    try {
        call();
    } catch (const COxaThrClosedException& e) {
        return e.message();
    }
    return {};
}

TEST(PCQueueTest, ClosingKeepsOrDropsTheQueuedItemsAsBuilt) {
    CPCQueue<std::unique_ptr<int>> itemsFirst(2, true);
    EXPECT_TRUE(itemsFirst.Put(std::make_unique<int>(1)));
    EXPECT_TRUE(itemsFirst.Put(std::make_unique<int>(2)));
    EXPECT_FALSE(itemsFirst.Put(std::make_unique<int>(3))); // full
    itemsFirst.Close();
    EXPECT_EQ(ClosedMessage([&] { itemsFirst.Put(nullptr); }),
              QStringLiteral("Trying to write to a closed PC queue"));
    EXPECT_EQ(*itemsFirst.Get(), 1);
    EXPECT_EQ(*itemsFirst.Get(), 2);
    EXPECT_EQ(ClosedMessage([&] { itemsFirst.Get(); }),
              QStringLiteral("Trying to read from a closed PC queue"));

    CPCQueue<int> closeFirst(0, false);
    EXPECT_TRUE(closeFirst.Put(7));
    closeFirst.Close();
    EXPECT_FALSE(ClosedMessage([&] { closeFirst.Get(); }).isEmpty());
}

TEST(PCQueueTest, ItemsCrossThreadsInOrderAndCloseWakesTheReader) {
    CPCQueue<int> queue;
    auto consumer = std::async(std::launch::async, [&] {
        std::vector<int> got;
        try {
            for (;;)
                got.push_back(queue.Get());
        } catch (const COxaThrClosedException&) {
        }
        return got;
    });
    for (int i = 0; i < 10000; ++i)
        ASSERT_TRUE(queue.Put(i));
    queue.Close();
    ASSERT_EQ(consumer.wait_for(kBound), std::future_status::ready);
    std::vector<int> expected(10000);
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(consumer.get(), expected);
}

TEST(PCRingBufferTest, WritesWholeOrNothingAndReadsWhatIsThere) {
    CPCRingBuffer ring(10);
    std::array<uint8_t, 100> out{};
    const std::array<uint8_t, 7> seven{1, 2, 3, 4, 5, 6, 7};
    EXPECT_EQ(ring.Write(seven.data(), 7), 7u);
    EXPECT_EQ(ring.Write(seven.data(), 4), 0u);
    EXPECT_EQ(ring.Write(seven.data(), 3), 3u);
    EXPECT_EQ(ring.GetAvailable(), 10u);
    EXPECT_EQ(ring.Read(out.data(), 8), 8u);
    // The next write runs across the end of the array.
    EXPECT_EQ(ring.Write(seven.data() + 2, 5), 5u);
    EXPECT_EQ(ring.Read(out.data(), 100), 7u);
    EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 7),
              (std::vector<uint8_t>{2, 3, 3, 4, 5, 6, 7}));

    // Data still there is read after the close; then the reader is told.
    EXPECT_EQ(ring.Write(seven.data(), 2), 2u);
    ring.Close();
    EXPECT_EQ(ClosedMessage([&] { ring.Write(seven.data(), 1); }),
              QStringLiteral("Trying to write to a closed PC buffer"));
    EXPECT_EQ(ring.Read(out.data(), 100), 2u);
    EXPECT_EQ(ClosedMessage([&] { ring.Read(out.data(), 1); }),
              QStringLiteral("Trying to read from a closed PC buffer"));
}

TEST(PCRingBufferTest, ExactReadsWaitForTheProducerAndCloseReleasesThem) {
    CPCRingBuffer ring(64);
    // A producer writes a counting byte sequence in uneven pieces; exact reads get it in order.
    auto producer = std::async(std::launch::async, [&] {
        uint8_t next = 0;
        for (int written = 0; written < 50000;) {
            std::array<uint8_t, 13> piece{};
            const int size = 1 + written % 13;
            for (int i = 0; i < size; ++i)
                piece[size_t(i)] = next++;
            while (ring.Write(piece.data(), uint32_t(size)) == 0)
                std::this_thread::yield();
            written += size;
        }
    });
    uint8_t expected = 0;
    for (int read = 0; read < 49992; read += 8) {
        std::array<uint8_t, 8> block{};
        ring.ReadExact(block.data(), 8);
        for (uint8_t byte : block)
            ASSERT_EQ(byte, expected++);
    }
    ASSERT_EQ(producer.wait_for(kBound), std::future_status::ready);

    // A reader waiting for more than is there is woken by the close.
    auto waiting = std::async(std::launch::async, [&] {
        std::array<uint8_t, 32> block{};
        return ClosedMessage([&] { ring.ReadExact(block.data(), 32); });
    });
    EXPECT_EQ(waiting.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
    ring.Close();
    ASSERT_EQ(waiting.wait_for(kBound), std::future_status::ready);
    EXPECT_FALSE(waiting.get().isEmpty());
}

} // namespace
