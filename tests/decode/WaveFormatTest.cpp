// CWaveFormat: sample access through the format it copied.
#include "decode/WaveFormat.h"
#include "decode/WavTestSupport.h"

#include <gtest/gtest.h>

TEST(WaveFormat, SampleValuesOf8And16BitFrames) {
    const CWaveFormat mono8(MakePcmFormat(1, 8000, 8));
    const uint8_t bytes8[] = {0x80, 0x00, 0xFF, 0x7F};
    EXPECT_EQ(mono8.getSampleValue(bytes8, 0, 0), 0);
    EXPECT_EQ(mono8.getSampleValue(bytes8, 1, 0), -128);
    EXPECT_EQ(mono8.getSampleValue(bytes8, 2, 0), 127);
    EXPECT_EQ(mono8.getSampleValue(bytes8, 3, 0), -1);
    EXPECT_EQ(mono8.getSampleValue(bytes8, 0, 1), 0); // no second channel

    const CWaveFormat stereo16(MakePcmFormat(2, 44100, 16));
    // Frames: (1000, -1000), (-32768, 32767), (-1, 256).
    const uint8_t bytes16[] = {0xE8, 0x03, 0x18, 0xFC, 0x00, 0x80,
                               0xFF, 0x7F, 0xFF, 0xFF, 0x00, 0x01};
    EXPECT_EQ(stereo16.getSampleValue(bytes16, 0, 0), 1000);
    EXPECT_EQ(stereo16.getSampleValue(bytes16, 0, 1), -1000);
    EXPECT_EQ(stereo16.getSampleValue(bytes16, 1, 0), -32768);
    EXPECT_EQ(stereo16.getSampleValue(bytes16, 1, 1), 32767);
    EXPECT_EQ(stereo16.getSampleValue(bytes16, 2, 0), -1);
    EXPECT_EQ(stereo16.getSampleValue(bytes16, 2, 1), 256);
    EXPECT_EQ(stereo16.getSampleValue(bytes16, 2, 2), 0);
    EXPECT_DOUBLE_EQ(stereo16.getAverageSampleValue(bytes16, 0), 0.0);
    EXPECT_DOUBLE_EQ(stereo16.getAverageSampleValue(bytes16, 1), -0.5);
    EXPECT_DOUBLE_EQ(stereo16.getAverageSampleValue(bytes16, 2), 127.5);

    // Other widths give 0; no channels give an average of 0.
    const CWaveFormat mono24(MakePcmFormat(1, 44100, 24));
    EXPECT_EQ(mono24.getSampleValue(bytes16, 0, 0), 0);
    const CWaveFormat none;
    EXPECT_DOUBLE_EQ(none.getAverageSampleValue(bytes16, 0), 0.0);

    // A format that is not PCM steps through frames by its block alignment (a copy keeps it).
    WAVEFORMATEX padded = MakePcmFormat(1, 8000, 16);
    padded.wFormatTag = 3;
    padded.nBlockAlign = 4;
    const CWaveFormat source(padded);
    const CWaveFormat wide(source);
    EXPECT_EQ(wide.getSampleValue(bytes16, 1, 0), -32768);
    EXPECT_EQ(wide.getSampleValue(bytes16, 2, 0), -1);
}
