// The work files of a decoded input, made on a second thread while the decoder runs.
#pragma once

#include "app/UserText.h"
#include "decode/PcmSink.h"
#include "decode/WavWriter.h"

#include <QString>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class CDatFileEncoder;

// A decoder's sink that hands its PCM in blocks through a bounded queue to a writer thread, which
// writes the work WAV, feeds the visualization file (base + ".dat") and finds the peak; the
// decoding thread goes on decoding meanwhile. Both files hold the same bytes as writing the WAV
// first and reading it back for the visualization would give. Memory stays at a few blocks
// whatever the input's length. The writer thread runs from create to close (or destruction),
// which join it.
class CWorkFilePipeline : public IPcmSink {
public:
    static constexpr uint32_t kBlockBytes = 65536; // a multiple of every frame size (2 or 4 bytes)
    static constexpr size_t kQueueBlocks = 8;      // blocks waiting for the writer at most

    explicit CWorkFilePipeline(QString datBase);
    // Stops and joins the writer thread if it still runs; the files stay as they are.
    ~CWorkFilePipeline() override;
    CWorkFilePipeline(const CWorkFilePipeline&) = delete;
    CWorkFilePipeline& operator=(const CWorkFilePipeline&) = delete;

    // Keeps the work files to the first ms milliseconds of the PCM written; the sink is full
    // there. Call before create.
    void setLimit(int64_t ms);

    // Creates the work WAV and the visualization file and starts the writer thread. False when
    // either cannot be made (datError tells about the visualization file); nothing is left then.
    bool create(const QString& fileName, const WAVEFORMATEX& format) override;
    // Queues data, waiting while the queue is full; false once the writer has failed.
    bool write(const void* data, uint32_t bytes) override;
    // Hands over the last block, joins the writer thread and finishes the work WAV; false when
    // anything failed on the way.
    bool close() override;
    bool full() const override;
    uint32_t getErrorCode() const override;
    const QString& getTraceError() const override;

    // The largest absolute sample value of everything kept (see blockPeak); after close.
    int peak() const { return m_peak; }
    // Why the visualization file failed; empty when it did not. After close.
    const UserText& datError() const { return m_datError; }

private:
    using Block = std::vector<uint8_t>;

    // Queues the filling block and takes a fresh one; false once the writer has failed.
    bool pushBlock();
    // The writer thread: takes blocks until the last one and writes them to the work files.
    void writerLoop();
    // Writes one block to both files; false (the failure kept) when one could not take it.
    bool writeBlock(const Block& block);
    // Ends the writer thread: after the queued blocks when drain, else at once; then joins it.
    void stopWriter(bool drain);

    QString m_datBase;
    CWavWriter m_wav;
    std::unique_ptr<CDatFileEncoder> m_dat;
    std::thread m_writer;

    // The decoding thread's own state.
    Block m_filling;
    uint64_t m_keepBytes = UINT64_MAX; // bytes of PCM the work files take
    uint64_t m_taken = 0;              // bytes of PCM written to the sink so far
    int64_t m_limitMs = -1;

    // Shared between the two threads, under m_lock.
    mutable std::mutex m_lock;
    std::condition_variable m_queued;  // a block was queued, or the writer is to stop
    std::condition_variable m_emptied; // the writer took a block, or failed
    std::deque<Block> m_queue;
    std::vector<Block> m_spare; // blocks the writer is done with, for reuse
    bool m_closing = false;     // no more blocks come
    bool m_abandon = false;     // stop without writing the queued blocks
    bool m_failed = false;
    uint32_t m_errorCode = 0;
    QString m_traceError;

    // The writer thread's own state, read by the decoding thread after the join.
    int m_peak = 0;
    UserText m_datError;
};
