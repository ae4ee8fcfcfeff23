#include "decode/WmaReader.h"

#ifdef QUILLET_WITH_FFMPEG

#include "app/Trace.h"
#include "decode/FfmpegLibrary.h"

#include <QFile>
#include <algorithm>

namespace {
constexpr AVRational kHundredNanoseconds{1, 10000000};
// Damaged frames of one packet after which the rest of the packet is given up.
constexpr int kMaxDamagedFrames = 64;

#if QUILLET_FF_CH_LAYOUT
int channelCount(const AVCodecParameters* par) {
    return par->ch_layout.nb_channels;
}
int channelCount(const AVFrame* frame) {
    return frame->ch_layout.nb_channels;
}

// A frame's layout, or the default one for its channel count when the order is unknown.
AVChannelLayout layoutOf(const CFfmpegLibrary& ff, const AVFrame* frame, int channels) {
    AVChannelLayout layout{};
    if (channelCount(frame) == channels && frame->ch_layout.order != AV_CHANNEL_ORDER_UNSPEC &&
        ff.av_channel_layout_copy(&layout, &frame->ch_layout) == 0)
        return layout;
    ff.av_channel_layout_default(&layout, channels);
    return layout;
}

int allocConverter(const CFfmpegLibrary& ff, SwrContext** converter, const AVFrame* frame,
                   int outChannels, int outRate) {
    AVChannelLayout in = layoutOf(ff, frame, channelCount(frame));
    AVChannelLayout out = layoutOf(ff, frame, outChannels);
    const int r =
        ff.swr_alloc_set_opts2(converter, &out, AV_SAMPLE_FMT_S16, outRate, &in,
                               AVSampleFormat(frame->format), frame->sample_rate, 0, nullptr);
    ff.av_channel_layout_uninit(&in);
    ff.av_channel_layout_uninit(&out);
    return r;
}
#else
int channelCount(const AVCodecParameters* par) {
    return par->channels;
}
int channelCount(const AVFrame* frame) {
    return frame->channels;
}

int64_t maskOf(const CFfmpegLibrary& ff, const AVFrame* frame, int channels) {
    if (channelCount(frame) == channels && frame->channel_layout != 0)
        return int64_t(frame->channel_layout);
    return ff.av_get_default_channel_layout(channels);
}

int allocConverter(const CFfmpegLibrary& ff, SwrContext** converter, const AVFrame* frame,
                   int outChannels, int outRate) {
    *converter =
        ff.swr_alloc_set_opts(*converter, maskOf(ff, frame, outChannels), AV_SAMPLE_FMT_S16,
                              outRate, maskOf(ff, frame, channelCount(frame)),
                              AVSampleFormat(frame->format), frame->sample_rate, 0, nullptr);
    return *converter ? 0 : AVERROR(ENOMEM);
}
#endif
} // namespace

CWmaReader::CWmaReader(const CFfmpegLibrary& ff) : m_ff(ff) {}

CWmaReader::~CWmaReader() {
    close();
}

int CWmaReader::open(const QString& fileName) {
    close();
    // FFmpeg writes its own diagnostics to the terminal unless told not to.
    m_ff.av_log_set_level(AV_LOG_QUIET);
    const AVInputFormat* asf = m_ff.av_find_input_format("asf");
    if (!asf)
        return AVERROR_DEMUXER_NOT_FOUND;
    // The name is a local file, never a URL of another protocol.
    const QByteArray url = "file:" + QFile::encodeName(fileName);
    AVDictionary* options = nullptr;
    m_ff.av_dict_set(&options, "protocol_whitelist", "file", 0);
    int r = m_ff.avformat_open_input(&m_format, url.constData(), asf, &options);
    m_ff.av_dict_free(&options);
    if (r < 0) {
        // The ASF header parser answers a damaged header with a bare -1 (EPERM).
        return r == AVERROR(EPERM) ? AVERROR_INVALIDDATA : r;
    }
    r = m_ff.avformat_find_stream_info(m_format, nullptr);
    return r < 0 ? r : 0;
}

int CWmaReader::openAudio() {
    for (unsigned i = 0; i < m_format->nb_streams; ++i) {
        if (m_format->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_AUDIO) {
            m_audioStream = int(i);
            break;
        }
    }
    if (m_audioStream < 0)
        return AVERROR_STREAM_NOT_FOUND;
    const AVStream* stream = m_format->streams[m_audioStream];
    const AVCodecParameters* par = stream->codecpar;
    const AVCodec* codec = m_ff.avcodec_find_decoder(par->codec_id);
    if (!codec)
        return AVERROR_DECODER_NOT_FOUND;
    const int channels = channelCount(par);
    if (channels <= 0 || channels > 64 || par->sample_rate <= 0)
        return AVERROR_INVALIDDATA;

    m_codec = m_ff.avcodec_alloc_context3(codec);
    m_packet = m_ff.av_packet_alloc();
    m_frame = m_ff.av_frame_alloc();
    if (!m_codec || !m_packet || !m_frame)
        return AVERROR(ENOMEM);
    int r = m_ff.avcodec_parameters_to_context(m_codec, par);
    if (r < 0)
        return r;
    m_codec->pkt_timebase = stream->time_base;
    r = m_ff.avcodec_open2(m_codec, codec, nullptr);
    if (r < 0)
        return r;

    m_wave = MakePcmFormat(uint16_t(channels), uint32_t(par->sample_rate), 16);
    return 0;
}

QString CWmaReader::getCodecName() const {
    if (m_audioStream < 0)
        return QString();
    return QString::fromUtf8(
        m_ff.avcodec_get_name(m_format->streams[m_audioStream]->codecpar->codec_id));
}

int64_t CWmaReader::getDuration() const {
    // A duration guessed from the bit rate is not one the file gives.
    if (!m_format || m_format->duration == AV_NOPTS_VALUE || m_format->duration <= 0 ||
        m_format->duration_estimation_method == AVFMT_DURATION_FROM_BITRATE)
        return -1;
    return m_ff.av_rescale_q(m_format->duration, AV_TIME_BASE_Q, kHundredNanoseconds);
}

int64_t CWmaReader::toUnits(int64_t time) const {
    if (time == AV_NOPTS_VALUE)
        return 0;
    const AVRational base = m_format->streams[m_packet->stream_index]->time_base;
    return m_ff.av_rescale_q(time, base, kHundredNanoseconds);
}

int CWmaReader::nextSample(Sample& sample) {
    sample = Sample{};
    m_pcm.clear();
    if (m_drained)
        return AVERROR_EOF;
    int r = m_ff.av_read_frame(m_format, m_packet);
    if (r < 0) {
        // A file cut off inside a packet ends where its data ends.
        const bool atEnd = r == AVERROR_EOF || (m_format->pb && m_ff.avio_feof(m_format->pb));
        if (!atEnd)
            return r;
        m_drained = true;
        r = decodePacket(nullptr);
        if (r < 0)
            return r;
        if (m_pcm.empty())
            return AVERROR_EOF;
        sample.audio = true;
        sample.time = m_lastAudioEnd;
    } else {
        const int64_t pts = m_packet->pts != AV_NOPTS_VALUE ? m_packet->pts : m_packet->dts;
        sample.time = std::max<int64_t>(toUnits(pts), 0);
        sample.duration = std::max<int64_t>(toUnits(m_packet->duration), 0);
        sample.audio = m_packet->stream_index == m_audioStream;
        r = sample.audio ? decodePacket(m_packet) : 0;
        if (sample.audio)
            m_lastAudioEnd = sample.time + sample.duration;
        m_ff.av_packet_unref(m_packet);
        if (r < 0)
            return r;
    }
    sample.data = m_pcm.data();
    sample.size = uint32_t(m_pcm.size());
    return 0;
}

int CWmaReader::decodePacket(const AVPacket* packet) {
    // A damaged packet or frame is skipped as a player would; only running out of memory fails.
    int r = m_ff.avcodec_send_packet(m_codec, packet);
    if (r == AVERROR(ENOMEM))
        return r;
    if (r < 0 && r != AVERROR_EOF) {
        Trace(TRACE_WARNING, "CWmaReader: damaged audio packet skipped (%s)", m_ff.errorText(r));
        return 0;
    }
    for (int damaged = 0; damaged < kMaxDamagedFrames;) {
        r = m_ff.avcodec_receive_frame(m_codec, m_frame);
        if (r == AVERROR(EAGAIN) || r == AVERROR_EOF)
            return 0;
        if (r == AVERROR(ENOMEM))
            return r;
        if (r < 0) {
            Trace(TRACE_WARNING, "CWmaReader: damaged audio frame skipped (%s)", m_ff.errorText(r));
            ++damaged;
            continue;
        }
        r = convertFrame();
        m_ff.av_frame_unref(m_frame);
        if (r < 0)
            return r;
    }
    return 0;
}

int CWmaReader::configureConverter() {
    m_ff.swr_free(&m_converter);
    m_converterFormat = -1;
    int r =
        allocConverter(m_ff, &m_converter, m_frame, m_wave.nChannels, int(m_wave.nSamplesPerSec));
    if (r < 0)
        return r;
    r = m_ff.swr_init(m_converter);
    if (r < 0)
        return r;
    m_converterFormat = m_frame->format;
    m_converterRate = m_frame->sample_rate;
    m_converterChannels = channelCount(m_frame);
    return 0;
}

int CWmaReader::convertFrame() {
    // Only the sample format changes; a stream that changes its rate or channels on the way is
    // brought back to those of its start.
    if (!m_converter || m_frame->format != m_converterFormat ||
        m_frame->sample_rate != m_converterRate || channelCount(m_frame) != m_converterChannels) {
        const int r = configureConverter();
        if (r < 0)
            return r;
    }
    const int capacity = m_ff.swr_get_out_samples(m_converter, m_frame->nb_samples);
    if (capacity < 0)
        return capacity;
    const size_t used = m_pcm.size();
    m_pcm.resize(used + size_t(capacity) * m_wave.nBlockAlign);
    uint8_t* out = m_pcm.data() + used;
    const int converted =
        m_ff.swr_convert(m_converter, &out, capacity,
                         const_cast<const uint8_t**>(m_frame->extended_data), m_frame->nb_samples);
    if (converted < 0) {
        m_pcm.resize(used);
        return converted;
    }
    m_pcm.resize(used + size_t(converted) * m_wave.nBlockAlign);
    return 0;
}

void CWmaReader::close() {
    m_ff.swr_free(&m_converter);
    m_ff.av_frame_free(&m_frame);
    m_ff.av_packet_free(&m_packet);
    m_ff.avcodec_free_context(&m_codec);
    m_ff.avformat_close_input(&m_format);
    m_audioStream = -1;
    m_converterFormat = -1;
    m_pcm.clear();
    m_lastAudioEnd = 0;
    m_drained = false;
}

#endif // QUILLET_WITH_FFMPEG
