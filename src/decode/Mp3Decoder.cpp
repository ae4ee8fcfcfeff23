#include "decode/Mp3Decoder.h"

#include "app/IOpProgress.h"
#include "app/OpResult.h"
#include "app/StringIds.h"
#include "app/StringTable.h"
#include "app/Trace.h"

#include <algorithm>
#include <cstring>
#include <exception>

namespace {
constexpr mad_fixed_t kFullScale = 0x10000000; // 1.0 in libmad's fixed point
constexpr uint32_t kId3HeaderSize = 10;
} // namespace

CMp3Decoder::CMp3Decoder() = default;
CMp3Decoder::~CMp3Decoder() = default;

uint32_t CMp3Decoder::id3v2TagLength(const unsigned char* bytes, uint32_t count) {
    if (count < kId3HeaderSize || std::memcmp(bytes, "ID3", 3) != 0)
        return 0;
    if (bytes[3] == 0xFF || bytes[4] == 0xFF)
        return 0;
    for (int i = 6; i < 10; ++i) {
        if (bytes[i] >= 0x80)
            return 0;
    }
    // A 28-bit synchsafe size (seven bits per byte) that leaves out the 10-byte header.
    return (uint32_t(bytes[6]) << 21) + (uint32_t(bytes[7]) << 14) + (uint32_t(bytes[8]) << 7) +
           uint32_t(bytes[9]) + kId3HeaderSize;
}

int16_t CMp3Decoder::convertSample(mad_fixed_t sample) {
    if (sample >= kFullScale)
        return 32767;
    if (sample <= -kFullScale)
        return -32767;
    return static_cast<int16_t>(sample >> (MAD_F_FRACBITS + 1 - 16));
}

uint32_t CMp3Decoder::decodeFile(const QString& inputName, const QString& outputName,
                                 IOpProgress* progress) {
    m_progress = progress;
    m_input.setFileName(inputName);
    if (!m_input.open(QIODevice::ReadOnly)) {
        Trace(TRACE_ERROR, "error opening mp3 file %s", inputName);
        return OpFailed;
    }

    const qint64 fileSize = m_input.size();
    unsigned char head[kId3HeaderSize];
    const qint64 headRead = m_input.read(reinterpret_cast<char*>(head), kId3HeaderSize);
    const uint32_t startOffset = headRead > 0 ? id3v2TagLength(head, uint32_t(headRead)) : 0;

    m_progress->SetRange(uint32_t(std::max<qint64>(fileSize - startOffset, 0)));
    m_progress->Show(true);

    m_outputName = outputName;
    m_inputBuffer = std::make_unique<unsigned char[]>(kInputBufferSize);
    m_outputBuffer = std::make_unique<unsigned char[]>(kOutputBufferSize);
    m_startTime = m_requestedStart;
    int runResult = runDecoder(startOffset);
    // A start at or beyond the last frame's end wrote nothing: the last second before it instead.
    if (runResult == 0 && !m_headerWritten && m_headerSamples > 0 &&
        m_outputFrom >= m_headerSamples) {
        m_startTime = int64_t((m_headerSamples - 1) / m_sampleRate) * 1000;
        runResult = runDecoder(startOffset);
    }

    m_inputBuffer.reset();
    m_outputBuffer.reset();
    m_input.close();
    output().close();

    if (runResult != 0) {
        Trace(TRACE_ERROR, "error decoding file %s; code = %d", inputName, runResult);
        QFile::remove(outputName);
        if (m_cancelled)
            return OpCancelled;
        if (m_errorCode != 0)
            m_errorText = systemErrorText(m_errorCode);
        return OpFailed;
    }
    if (!m_headerWritten) {
        Trace(TRACE_ERROR, "no audio info found in file %s", inputName);
        QFile::remove(outputName);
        m_errorText = LoadString(IDS_MP3_INVALID_FILE);
        return OpInvalidFile;
    }
    return OpSuccess;
}

bool CMp3Decoder::setStartTime(int64_t ms) {
    m_requestedStart = std::max<int64_t>(ms, 0) / 1000 * 1000;
    return true;
}

int CMp3Decoder::runDecoder(qint64 dataOffset) {
    m_input.seek(dataOffset);
    m_inputFill = 0;
    m_outputFill = 0;
    m_bytesRead = 0;
    m_headerWritten = false;
    m_cancelled = false;
    m_sampleRate = 0;
    m_headerSamples = 0;
    m_frameStart = 0;
    m_decodeFrom = 0;
    m_outputFrom = 0;
    mad_decoder decoder;
    mad_decoder_init(&decoder, this, &CMp3Decoder::inputCallback, &CMp3Decoder::headerCallback,
                     nullptr, &CMp3Decoder::outputCallback, nullptr, nullptr);
    const int result = mad_decoder_run(&decoder, MAD_DECODER_MODE_SYNC);
    mad_decoder_finish(&decoder);
    return result;
}

mad_flow CMp3Decoder::inputCallback(void* data, mad_stream* stream) {
    return static_cast<CMp3Decoder*>(data)->onInput(stream);
}

mad_flow CMp3Decoder::headerCallback(void* data, const mad_header* header) {
    return static_cast<CMp3Decoder*>(data)->onHeader(header);
}

mad_flow CMp3Decoder::outputCallback(void* data, const mad_header* header, mad_pcm* pcm) {
    (void)header;
    return static_cast<CMp3Decoder*>(data)->onOutput(pcm);
}

bool CMp3Decoder::checkCanceled() {
    if (!m_progress->IsCanceled())
        return false;
    Trace(TRACE_DEBUG, "mp3 decoding canceled");
    m_cancelled = true;
    return true;
}

mad_flow CMp3Decoder::onInput(mad_stream* stream) {
    if (checkCanceled())
        return MAD_FLOW_BREAK;
    try {
        // Keep what libmad has not consumed yet (a frame cut off at the end of the last piece).
        if (stream->next_frame != nullptr) {
            const auto kept = uint32_t(m_inputBuffer.get() + m_inputFill - stream->next_frame);
            std::memmove(m_inputBuffer.get(), stream->next_frame, kept);
            m_inputFill = kept;
        }
        const qint64 got = m_input.read(reinterpret_cast<char*>(m_inputBuffer.get()) + m_inputFill,
                                        kInputReadLimit - m_inputFill);
        if (got < 0)
            return MAD_FLOW_BREAK;
        if (got == 0)
            return MAD_FLOW_STOP;
        m_inputFill += uint32_t(got);
        mad_stream_buffer(stream, m_inputBuffer.get(), m_inputFill);
        m_bytesRead += uint32_t(got);
        return MAD_FLOW_CONTINUE;
    } catch (const std::exception&) {
        Trace(TRACE_DETAIL, "Unknown decoding exception.");
        return MAD_FLOW_BREAK;
    }
}

mad_flow CMp3Decoder::onHeader(const mad_header* header) {
    const uint32_t frameSamples = 32 * MAD_NSBSAMPLES(header);
    if (m_sampleRate == 0) {
        m_sampleRate = header->samplerate;
        m_outputFrom = uint64_t(m_startTime / 1000) * m_sampleRate;
        const uint64_t warmUp = uint64_t(m_sampleRate) * kWarmUpMs / 1000;
        m_decodeFrom = m_outputFrom > warmUp ? m_outputFrom - warmUp : 0;
    }
    m_frameStart = m_headerSamples;
    m_headerSamples += frameSamples;
    return m_headerSamples <= m_decodeFrom ? MAD_FLOW_IGNORE : MAD_FLOW_CONTINUE;
}

bool CMp3Decoder::createOutput(const mad_pcm* pcm) {
    const WAVEFORMATEX format = MakePcmFormat(uint16_t(pcm->channels), pcm->samplerate, 16);
    if (!output().create(m_outputName, format)) {
        m_errorCode = output().getErrorCode();
        return false;
    }
    m_headerWritten = true;
    return true;
}

void CMp3Decoder::appendSample(mad_fixed_t sample) {
    const auto value = uint16_t(convertSample(sample));
    m_outputBuffer[m_outputFill++] = uint8_t(value & 0xFF);
    m_outputBuffer[m_outputFill++] = uint8_t(value >> 8);
}

mad_flow CMp3Decoder::onOutput(const mad_pcm* pcm) {
    if (checkCanceled())
        return MAD_FLOW_BREAK;
    // The warm-up frames are decoded for the state they leave behind, not written.
    const uint64_t unwritten = m_outputFrom > m_frameStart ? m_outputFrom - m_frameStart : 0;
    if (unwritten >= pcm->length)
        return MAD_FLOW_CONTINUE;
    if (!m_headerWritten && !createOutput(pcm))
        return MAD_FLOW_BREAK;

    // Whole sample frames only: 4096 is a multiple of the 4 bytes of a stereo frame.
    for (auto i = unsigned(unwritten); i < pcm->length; ++i) {
        appendSample(pcm->samples[0][i]);
        if (pcm->channels == 2)
            appendSample(pcm->samples[1][i]);
        if (m_outputFill >= kOutputBufferSize || i + 1 == pcm->length) {
            const bool written = output().write(m_outputBuffer.get(), m_outputFill);
            m_outputFill = 0;
            if (!written) {
                m_errorCode = output().getErrorCode();
                return MAD_FLOW_BREAK;
            }
        }
    }
    m_progress->SetPos(m_bytesRead);
    return output().full() ? MAD_FLOW_STOP : MAD_FLOW_CONTINUE;
}
