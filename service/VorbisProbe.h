// Checks that bytes hold a sound OGG Vorbis stream by decoding all of it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// What the first logical stream of a checked file holds.
struct VorbisStreamInfo {
    int channels = 0;
    long rate = 0;
    int64_t frames = 0;
    int64_t durationMs = 0;
};

class CVorbisProbe {
public:
    // Opens the bytes with vorbisfile and decodes every packet. True with info filled for a
    // stream that decodes from start to end; false with the reason otherwise.
    static bool probe(std::string_view bytes, VorbisStreamInfo& info, std::string& reason);
};
