// Writes the visualization file: one signed byte per 10 ms of 16-bit PCM, drawn as the waveform.
#pragma once

#include "encode/FileEncoder.h"
#include "util/WinTypes.h"

// Samples the first frame of every nSamplesPerSec / 100 frames and writes its high byte (stereo:
// the floor of the mean of both channels' high bytes) to "<name>.dat". The sampling grid runs on
// across buffers of any size and across switchFile.
class CDatFileEncoder : public CFileEncoder {
public:
    // format must describe 16-bit PCM with one or two channels. Throws COxaEncoderException when
    // format or fileName is missing or the file cannot be created.
    CDatFileEncoder(const QString& fileName, const WAVEFORMATEX* format);
    ~CDatFileEncoder() override;

    void encode(const void* data, uint32_t bytes) override;
    void switchFile(const QString& fileName) override;

private:
    void open(const QString& fileName);

    int m_handle = -1;
    WAVEFORMATEX m_format{};
    uint32_t m_position = 0; // the next frame to sample, counted from the start of the next buffer
    uint32_t m_step = 0;     // frames per value
};
