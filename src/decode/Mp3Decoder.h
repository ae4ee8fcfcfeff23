// The MP3 decoder: MPEG audio layers I to III through libmad into a 16-bit PCM WAV file.
#pragma once

#include "decode/IDecoder.h"

#include <QFile>
#include <QString>
#include <cstdint>
#include <mad.h>
#include <memory>

// Runs libmad's synchronous decoder over the input: compressed data goes in through the input
// callback in pieces of at most 40000 bytes, each decoded frame comes out through the output
// callback and is written in whole-frame pieces of at most 4096 bytes. The WAV format follows the
// first decoded frame. Progress counts compressed bytes behind a skipped ID3v2 tag. A start time
// makes it pass over the frames before it by their headers alone, decode a few frames before it to
// fill libmad's bit reservoir and filters, and write from the start time's sample on: the same
// samples a decode from the beginning gives there, as long as that drops no damaged frame before.
class CMp3Decoder : public IDecoder {
public:
    static constexpr uint32_t kInputBufferSize = 80000;
    static constexpr uint32_t kInputReadLimit = 40000;
    static constexpr uint32_t kOutputBufferSize = 4096;
    // Milliseconds decoded, unwritten, before a start time. The bit reservoir reaches back 511
    // bytes (255 in MPEG-2), some eleven frames at the lowest bitrates; then layer III's overlap
    // needs one frame more and the synthesis filter less than one.
    static constexpr uint32_t kWarmUpMs = 500;

    CMp3Decoder();
    ~CMp3Decoder() override;

    uint32_t decodeFile(const QString& inputName, const QString& outputName,
                        IOpProgress* progress) override;
    bool setStartTime(int64_t ms) override;

    // Length of the ID3v2 tag that the first count bytes of a file start, header included; 0 when
    // they start none.
    static uint32_t id3v2TagLength(const unsigned char* bytes, uint32_t count);
    // A libmad fixed-point sample (28 fraction bits) as a 16-bit sample: clipped to +-32767 at
    // full scale, otherwise shifted right by 13 bits without rounding.
    static int16_t convertSample(mad_fixed_t sample);

private:
    // One run of libmad over the input from dataOffset (behind the ID3v2 tag); its result.
    int runDecoder(qint64 dataOffset);
    static mad_flow inputCallback(void* data, mad_stream* stream);
    static mad_flow headerCallback(void* data, const mad_header* header);
    static mad_flow outputCallback(void* data, const mad_header* header, mad_pcm* pcm);
    mad_flow onInput(mad_stream* stream);
    // Counts the frame's samples and passes over it when it ends before the warm-up frames.
    mad_flow onHeader(const mad_header* header);
    mad_flow onOutput(const mad_pcm* pcm);
    // Checks the progress object for a cancel and remembers it.
    bool checkCanceled();
    bool createOutput(const mad_pcm* pcm);
    void appendSample(mad_fixed_t sample);

    QFile m_input;
    QString m_outputName;
    bool m_headerWritten = false;
    std::unique_ptr<unsigned char[]> m_inputBuffer;
    uint32_t m_inputFill = 0;
    std::unique_ptr<unsigned char[]> m_outputBuffer;
    uint32_t m_outputFill = 0;
    uint32_t m_bytesRead = 0;
    IOpProgress* m_progress = nullptr;
    bool m_cancelled = false;
    int64_t m_requestedStart = 0; // ms, whole seconds
    // Positions in samples per channel from the first frame, counted by frame headers.
    uint32_t m_sampleRate = 0;    // of the first frame; 0 before it
    uint64_t m_headerSamples = 0; // the end of the last frame whose header was read
    uint64_t m_frameStart = 0;    // the start of the frame being decoded
    uint64_t m_decodeFrom = 0;    // frames ending before this are not decoded
    uint64_t m_outputFrom = 0;    // the first sample written
};
