// The OGG Vorbis file encoder.
#include "encode/OggFileEncoder.h"

#include "app/OxaException.h"
#include "app/StringIds.h"
#include "app/Trace.h"
#include "util/SystemError.h"
#include "util/VectorState.h"

#include <QFile>
#include <algorithm>
#include <exception>
#include <random>
#include <vorbis/vorbisenc.h>

COggFileEncoder::COggFileEncoder(const QString& fileName, EncoderParams params)
    : m_mode(params.mode), m_sampleRate(params.sampleRate),
      m_nominalBitrate(uint16_t(params.bitRate & 0xFFFF)), m_quality(params.quality) {
    if (m_mode != EncoderParams::kMono && m_mode != EncoderParams::kStereo)
        throw COxaEncoderException(FormatUserText(IDS_OGG_INVALID_MODE, long(m_mode),
                                                  long(EncoderParams::kStereo),
                                                  long(EncoderParams::kMono)));
    if (m_nominalBitrate == 0 && (m_quality < -1 || m_quality > 10))
        throw COxaEncoderException(FormatUserText(IDS_OGG_INVALID_QUALITY, long(m_quality)));
    open(fileName);
}

COggFileEncoder::~COggFileEncoder() {
    if (!isOpen())
        return;
    try {
        close();
    } catch (const std::exception& e) {
        TraceException(e, TRACE_ERROR, "COggFileEncoder: could not finish %s", m_fileName);
    }
}

int COggFileEncoder::serialNumberFor(std::time_t seconds) {
    std::minstd_rand generator(static_cast<std::minstd_rand::result_type>(seconds));
    return static_cast<int>(generator());
}

void COggFileEncoder::open(const QString& fileName) {
    if (fileName.isNull())
        throw COxaException(StringId{IDS_OGG_NO_FILE_NAME});
    m_fileName = withDefaultExtension(fileName, QStringLiteral(".ogg"));
    m_handle = createFile(m_fileName);
    if (m_handle < 0) {
        Trace(TRACE_ERROR, "Error creating OGG file %s, error: %s", m_fileName,
              SystemErrorText(int(m_errorCode)));
        throw COxaEncoderException(FormatUserText(IDS_OGG_CANNOT_CREATE, m_fileName));
    }

    m_stream = {};
    m_page = {};
    m_packet = {};
    m_info = {};
    m_comment = {};
    m_dsp = {};
    m_block = {};
    m_streamEnded = false;
    vorbis_info_init(&m_info);
    if (!initEncoder()) {
        vorbis_info_clear(&m_info);
        closeFile(m_handle);
        QFile::remove(m_fileName); // nothing but an empty file was made
        throw COxaEncoderException(StringId{IDS_OGG_ENCODER_INIT_FAILED});
    }
    vorbis_comment_init(&m_comment);
    vorbis_analysis_init(&m_dsp, &m_info);
    vorbis_block_init(&m_dsp, &m_block);
    ogg_stream_init(&m_stream, serialNumberFor(std::time(nullptr)));

    try {
        writeHeaders();
    } catch (...) {
        releaseCodec();
        closeFile(m_handle);
        throw;
    }
}

bool COggFileEncoder::initEncoder() {
    const long channels = m_mode == EncoderParams::kStereo ? 2 : 1;
    const long rate = long(m_sampleRate);
    if (m_nominalBitrate == 0)
        return vorbis_encode_init_vbr(&m_info, channels, rate, float(m_quality / 10.0)) == 0;
    return vorbis_encode_setup_managed(&m_info, channels, rate, -1, long(m_nominalBitrate) * 1000,
                                       -1) == 0 &&
           vorbis_encode_ctl(&m_info, OV_ECTL_RATEMANAGE_AVG, nullptr) == 0 &&
           // The average alone leaves bit-rate management on, which encodes every block at all
           // of its levels; switching it off encodes the same stream about four times faster.
           vorbis_encode_ctl(&m_info, OV_ECTL_RATEMANAGE2_SET, nullptr) == 0 &&
           vorbis_encode_setup_init(&m_info) == 0;
}

void COggFileEncoder::writeHeaders() {
    ogg_packet identification{};
    ogg_packet comment{};
    ogg_packet codebooks{};
    vorbis_analysis_headerout(&m_dsp, &m_comment, &identification, &comment, &codebooks);
    ogg_stream_packetin(&m_stream, &identification);
    ogg_stream_packetin(&m_stream, &comment);
    ogg_stream_packetin(&m_stream, &codebooks);
    while (ogg_stream_flush(&m_stream, &m_page) != 0)
        writePage(m_page);
}

void COggFileEncoder::encode(const void* data, uint32_t bytes) {
    ClearUpperVectorState(); // libvorbis's SSE code is several times slower without it
    if (!isOpen() || (m_streamEnded && bytes != 0))
        throw COxaEncoderException(StringId{IDS_OGG_INVALID_STATE});
    if (bytes == 0) {
        if (m_streamEnded)
            return;
        m_streamEnded = true;
        vorbis_analysis_wrote(&m_dsp, 0);
        drainPackets();
        return;
    }
    const uint32_t channels = m_mode == EncoderParams::kStereo ? 2 : 1;
    const uint32_t frames = bytes / (2 * channels);
    const auto* bytePointer = static_cast<const unsigned char*>(data);
    for (uint32_t done = 0; done < frames;) {
        const uint32_t count = std::min(frames - done, kAnalysisFrames);
        analyse(bytePointer + size_t(done) * 2 * channels, count);
        drainPackets();
        done += count;
    }
}

void COggFileEncoder::analyse(const unsigned char* pcm, uint32_t frames) {
    float** buffer = vorbis_analysis_buffer(&m_dsp, int(frames));
    const auto sampleAt = [pcm](size_t index) {
        return float(int16_t(uint16_t(pcm[2 * index] | (pcm[2 * index + 1] << 8))) / 32768.0);
    };
    if (m_mode == EncoderParams::kStereo) {
        for (uint32_t i = 0; i < frames; ++i) {
            buffer[0][i] = sampleAt(size_t(i) * 2);
            buffer[1][i] = sampleAt(size_t(i) * 2 + 1);
        }
    } else {
        for (uint32_t i = 0; i < frames; ++i)
            buffer[0][i] = sampleAt(i);
    }
    vorbis_analysis_wrote(&m_dsp, int(frames));
}

void COggFileEncoder::drainPackets() {
    while (vorbis_analysis_blockout(&m_dsp, &m_block) == 1) {
        vorbis_analysis(&m_block, nullptr);
        vorbis_bitrate_addblock(&m_block);
        while (vorbis_bitrate_flushpacket(&m_dsp, &m_packet) != 0) {
            ogg_stream_packetin(&m_stream, &m_packet);
            while (ogg_stream_pageout(&m_stream, &m_page) != 0) {
                writePage(m_page);
                if (ogg_page_eos(&m_page))
                    break;
            }
        }
    }
}

void COggFileEncoder::writePage(const ogg_page& page) {
    writeToFile(m_handle, page.header, uint32_t(page.header_len), true);
    writeToFile(m_handle, page.body, uint32_t(page.body_len), true);
}

void COggFileEncoder::close() {
    std::exception_ptr failure;
    try {
        encode(nullptr, 0);
    } catch (...) {
        failure = std::current_exception();
    }
    releaseCodec();
    closeFile(m_handle);
    if (failure)
        std::rethrow_exception(failure);
}

void COggFileEncoder::releaseCodec() {
    ogg_stream_clear(&m_stream);
    vorbis_block_clear(&m_block);
    vorbis_dsp_clear(&m_dsp);
    vorbis_comment_clear(&m_comment);
    vorbis_info_clear(&m_info);
}

void COggFileEncoder::switchFile(const QString& fileName) {
    if (!isOpen())
        throw COxaEncoderException(StringId{IDS_OGG_INVALID_STATE});
    close();
    open(fileName);
}
