// The block loop of the steps that read a whole WAV file's data into a file of their own.
#pragma once

#include "app/UserText.h"
#include "util/WinTypes.h"

#include <QString>
#include <cstdint>
#include <utility>

class CWavReader;
class IOpProgress;

// Reads the reader's data from where it stands in blocks, checking for a cancel before each, and
// hands every block to consume; removes the destination file unless the whole copy succeeded.
// A step derives from it and names itself for the trace log.
class CWavBlockCopy {
public:
    static constexpr int64_t kBlockBytes = 100000; // bytes read per step

    virtual ~CWavBlockCopy() = default;
    CWavBlockCopy(const CWavBlockCopy&) = delete;
    CWavBlockCopy& operator=(const CWavBlockCopy&) = delete;

    // Runs the step: an OpResult 0, 1 (cancelled) or 2 (failed; errorText tells why when known).
    int run(CWavReader& reader, IOpProgress& progress, UserText& errorText);

protected:
    // How a step shows in the progress and the trace log.
    struct Step {
        const char* name;     // "<name> canceled", "<name>: out of memory"
        const char* doing;    // "error <doing>: <reason>" for a failure thrown as COxaException
        int textId;           // the progress text
        bool quietReadErrors; // a failed read: "<name>: error reading from wav file" and no text
        QString destination;  // removed unless the step succeeds
    };
    explicit CWavBlockCopy(Step step) : m_step(std::move(step)) {}

    // Allocates the step's own buffers (may throw std::bad_alloc).
    virtual void reserve() {}
    // Makes the destination for the reader's format; throws COxaException on failure.
    virtual void begin(const WAVEFORMATEX& format) = 0;
    // Takes one block; false when it failed (traced, errorText set when known). May throw
    // COxaException.
    virtual bool consume(const uint8_t* data, uint32_t bytes, UserText& errorText) = 0;
    // Ends the destination after the loop whatever its result; the result of the step.
    virtual int finish(int result, UserText& errorText) {
        (void)errorText;
        return result;
    }

private:
    // Reads the next block; -1 after a failed read that ends the step quietly.
    int64_t readBlock(CWavReader& reader, uint8_t* buffer, int64_t bytes);

    Step m_step;
};

// Converts 8-bit PCM from reader (at the start of its data) into the 16-bit WAV destination.
// An OpResult 0, 1 or 2 (errorText tells why when known); the destination is removed unless 0.
int convertWavFrom8Bit(CWavReader& reader, const QString& destination, IOpProgress& progress,
                       UserText& errorText);
