// The settings record that the ringtone extraction hands to the OGG Vorbis encoder.
#pragma once

#include <cstdint>

// Seven 32-bit words, in this order. The OGG encoder reads the mode, the sample rate, the low
// 16 bits of bitRate and the quality; the other words are filled by the extraction and not read.
struct EncoderParams {
    static constexpr uint32_t kStereo = 2; // two output channels
    static constexpr uint32_t kMono = 1;   // one output channel

    uint32_t mode = kStereo;
    uint32_t sampleRate = 44100;
    // Low 16 bits: nominal bitrate in kbit/s, 0 selects the quality mode; high 16 bits: the same.
    uint32_t bitRate = 0;
    // Low 16 bits: the same bitrate again; high 16 bits: not set.
    uint32_t bitRateAgain = 0;
    uint32_t reserved = 1;
    // -1 to 10, tenths of the Vorbis quality scale; used when the nominal bitrate is 0.
    int32_t quality = 0;
    uint32_t reservedZero = 0;
};
static_assert(sizeof(EncoderParams) == 7 * 4);
