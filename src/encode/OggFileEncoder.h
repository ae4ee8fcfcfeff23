// The OGG Vorbis file encoder: 16-bit PCM into a stereo or mono Vorbis stream on Ogg pages.
#pragma once

#include "encode/EncoderParams.h"
#include "encode/FileEncoder.h"

#include <QString>
#include <cstdint>
#include <ctime>
#include <ogg/ogg.h>
#include <vorbis/codec.h>

// Encodes in quality mode (nominal bitrate 0: true VBR at quality / 10) or at a nominal bitrate
// with bitrate management switched off. The three Vorbis headers sit alone on the first pages, so
// the audio starts on a fresh page; encode with 0 bytes, switchFile and the destructor end the
// stream with an end-of-stream page. Input: 16-bit little-endian PCM, two interleaved channels in
// STEREO mode, one in MONO mode, at the sample rate of the parameters.
class COggFileEncoder : public CFileEncoder {
public:
    // Frames handed to the analysis at a time; larger inputs are streamed in pieces of this size.
    // libvorbis shifts its whole pending buffer after every block it takes out, so pieces much
    // larger than its long block (up to 2048 frames) cost memmove time for nothing.
    static constexpr uint32_t kAnalysisFrames = 1024;

    // Validates mode and quality, creates the file (".ogg" appended when the name has no
    // extension) and writes the stream headers. Throws COxaEncoderException on failure
    // (COxaException for a null name).
    COggFileEncoder(const QString& fileName, EncoderParams params);
    // Ends the stream and closes the file; never throws.
    ~COggFileEncoder() override;

    // Encodes whole frames of data (a trailing partial frame is dropped); 0 bytes ends the stream.
    void encode(const void* data, uint32_t bytes) override;
    // Ends the current file and starts a new stream with a new serial number in fileName.
    void switchFile(const QString& fileName) override;

    bool isOpen() const { return m_handle >= 0; }
    // The serial number the logical stream of a file opened in the given second gets.
    static int serialNumberFor(std::time_t seconds);

private:
    void open(const QString& fileName);
    // Sets up the Vorbis encoder for the mode, rate and bitrate or quality; false on failure.
    bool initEncoder();
    // Puts the three header packets into the stream and writes them on their own pages.
    void writeHeaders();
    // Hands frames of 16-bit little-endian PCM to the analysis.
    void analyse(const unsigned char* pcm, uint32_t frames);
    // Writes every packet the analysis can make, page by page.
    void drainPackets();
    void writePage(const ogg_page& page);
    // Ends the stream, releases the codec state and closes the file; rethrows a write failure
    // after everything is released.
    void close();
    void releaseCodec();

    uint32_t m_mode;
    uint32_t m_sampleRate;
    uint16_t m_nominalBitrate;
    int32_t m_quality;
    bool m_streamEnded = false;

    ogg_stream_state m_stream{};
    ogg_page m_page{};
    ogg_packet m_packet{};
    vorbis_info m_info{};
    vorbis_comment m_comment{};
    vorbis_dsp_state m_dsp{};
    vorbis_block m_block{};
    int m_handle = -1;
};
