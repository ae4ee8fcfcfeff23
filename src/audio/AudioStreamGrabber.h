// The PCM sink interface: whatever takes blocks of sound as they come (the playback queue, the
// recorder's file writer).
#pragma once

#include <cstdint>

class IAudioStreamGrabber {
public:
    virtual ~IAudioStreamGrabber() = default;
    // Takes bytes of PCM; the result is the sink's own and may be ignored.
    virtual int ProcessBuffer(const void* data, uint32_t bytes) = 0;
};
