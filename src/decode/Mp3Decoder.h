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
// first decoded frame. Progress counts compressed bytes behind a skipped ID3v2 tag.
class CMp3Decoder : public IDecoder {
public:
    static constexpr uint32_t kInputBufferSize = 80000;
    static constexpr uint32_t kInputReadLimit = 40000;
    static constexpr uint32_t kOutputBufferSize = 4096;

    CMp3Decoder();
    ~CMp3Decoder() override;

    uint32_t decodeFile(const QString& inputName, const QString& outputName,
                        IOpProgress* progress) override;

    // Length of the ID3v2 tag that the first count bytes of a file start, header included; 0 when
    // they start none.
    static uint32_t id3v2TagLength(const unsigned char* bytes, uint32_t count);
    // A libmad fixed-point sample (28 fraction bits) as a 16-bit sample: clipped to +-32767 at
    // full scale, otherwise shifted right by 13 bits without rounding.
    static int16_t convertSample(mad_fixed_t sample);

private:
    static mad_flow inputCallback(void* data, mad_stream* stream);
    static mad_flow outputCallback(void* data, const mad_header* header, mad_pcm* pcm);
    mad_flow onInput(mad_stream* stream);
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
};
