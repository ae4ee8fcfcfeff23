// The Windows records the program's formats rely on, with their field names and byte layouts.
#pragma once

#include <cstdint>

#pragma pack(push, 1)

// A local calendar time as Windows reports it; 16 bytes.
struct SYSTEMTIME {
    uint16_t wYear;
    uint16_t wMonth;
    uint16_t wDayOfWeek;
    uint16_t wDay;
    uint16_t wHour;
    uint16_t wMinute;
    uint16_t wSecond;
    uint16_t wMilliseconds;
};
static_assert(sizeof(SYSTEMTIME) == 16);

// The wave-format record of the Windows multimedia headers; 18 bytes, little-endian on disk.
struct WAVEFORMATEX {
    uint16_t wFormatTag;
    uint16_t nChannels;
    uint32_t nSamplesPerSec;
    uint32_t nAvgBytesPerSec;
    uint16_t nBlockAlign;
    uint16_t wBitsPerSample;
    uint16_t cbSize;
};
static_assert(sizeof(WAVEFORMATEX) == 18);

#pragma pack(pop)

constexpr uint16_t WAVE_FORMAT_PCM = 1;

// A PCM format whose block alignment and byte rate follow from its channels, rate and width.
constexpr WAVEFORMATEX MakePcmFormat(uint16_t channels, uint32_t rate, uint16_t bits) {
    const auto blockAlign = uint16_t(channels * bits / 8);
    return WAVEFORMATEX{WAVE_FORMAT_PCM, channels, rate, rate * blockAlign, blockAlign, bits, 0};
}

// One buffer handed to a sound device, as the playback and capture rings keep them.
struct WAVEHDR {
    char* lpData = nullptr;
    uint32_t dwBufferLength = 0;
    uint32_t dwBytesRecorded = 0;
    uintptr_t dwUser = 0;
    uint32_t dwFlags = 0;
    uint32_t dwLoops = 0;
    WAVEHDR* lpNext = nullptr;
    uintptr_t reserved = 0;
};

constexpr uint32_t WHDR_DONE = 0x00000001;
constexpr uint32_t WHDR_PREPARED = 0x00000002;
constexpr uint32_t WHDR_BEGINLOOP = 0x00000004;
constexpr uint32_t WHDR_ENDLOOP = 0x00000008;
constexpr uint32_t WHDR_INQUEUE = 0x00000010;
