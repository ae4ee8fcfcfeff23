// Writes a ringtone in FFmpeg's formats.
#include "encode/FfmpegRingtoneWriter.h"

#include "app/OxaException.h"
#include "app/StringIds.h"
#include "app/Trace.h"
#include "decode/FfmpegLibrary.h"
#include "util/SystemError.h"

#include <algorithm>
#include <limits>

namespace {
// The exception code of a message shown as it stands.
constexpr int kShownAsIs = 1;

[[noreturn]] void Refuse(const UserText& text) {
    throw COxaEncoderException(text, kShownAsIs);
}
} // namespace

#if defined(QUILLET_WITH_FFMPEG) && QUILLET_FF_CH_LAYOUT

namespace {
// What FFmpeg makes each format with, and the bit rate (bit/s) of one channel.
struct FormatRecipe {
    const char* encoder;
    const char* muxer;
    int64_t bitRatePerChannel;
};

FormatRecipe RecipeOf(RingtoneFormat format) {
    switch (format) {
    case RingtoneFormat::M4r:
        return {"aac", "ipod", 64000};
    case RingtoneFormat::Mp3:
        return {"libmp3lame", "mp3", 96000};
    default:
        return {"libopus", "opus", 48000};
    }
}

// The encoder's rate nearest above rate among those it takes (the highest when none is above).
int EncoderRate(const AVCodec* codec, int rate) {
    const int* rates = codec->supported_samplerates;
    if (!rates)
        return rate;
    int best = 0, highest = 0;
    for (; *rates; ++rates) {
        highest = std::max(highest, *rates);
        if (*rates >= rate && (best == 0 || *rates < best))
            best = *rates;
    }
    return best ? best : highest;
}

constexpr int kIoBufferSize = 65536;

// Throws the message that file cannot be written, with the system's reason.
[[noreturn]] void RefuseWrite(const CReplacingFile& file) {
    Refuse(FormatUserText(IDS_SAVE_CANNOT_WRITE, file.Path(), SystemErrorText(file.Error())));
}
} // namespace

struct CFfmpegRingtoneWriter::Codec {
    const CFfmpegLibrary* ff = nullptr;
    CReplacingFile* file = nullptr;
    AVFormatContext* muxer = nullptr;
    AVIOContext* io = nullptr;
    AVCodecContext* encoder = nullptr;
    AVStream* stream = nullptr;
    SwrContext* resampler = nullptr;
    AVAudioFifo* fifo = nullptr;
    AVFrame* converted = nullptr; // the resampler's output, grown as blocks need
    AVFrame* frame = nullptr;     // one encoder frame
    AVPacket* packet = nullptr;
    AVCodecContext* decoder = nullptr; // plays the packets back for the meter
    SwrContext* toPcm = nullptr;       // the decoder's samples as 16-bit PCM
    AVFrame* decoded = nullptr;
    std::unique_ptr<CLoudnessMeter> meter;
    std::vector<uint8_t> pcm;
    int64_t pts = 0;
    int frameSize = 0;
    int channels = 0;
    int inputRate = 0;
    bool headerWritten = false;

    ~Codec() {
        if (!ff)
            return;
        ff->av_packet_free(&packet);
        ff->av_frame_free(&decoded);
        ff->swr_free(&toPcm);
        ff->avcodec_free_context(&decoder);
        ff->av_frame_free(&frame);
        ff->av_frame_free(&converted);
        if (fifo)
            ff->av_audio_fifo_free(fifo);
        ff->swr_free(&resampler);
        ff->avcodec_free_context(&encoder);
        if (io) {
            ff->av_freep(&io->buffer);
            ff->avio_context_free(&io);
        }
        if (muxer)
            ff->avformat_free_context(muxer);
    }

#if LIBAVFORMAT_VERSION_MAJOR >= 61
    using IoBytes = const uint8_t*;
#else
    using IoBytes = uint8_t*;
#endif
    static int writeBytes(void* opaque, IoBytes bytes, int size) {
        auto* file = static_cast<CReplacingFile*>(opaque);
        const auto block = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes), size);
        return file->Write(block) ? size : AVERROR(file->Error() ? file->Error() : EIO);
    }
    static int64_t seekTo(void* opaque, int64_t offset, int whence) {
        if (whence & AVSEEK_SIZE)
            return -1; // the muxers do without the size
        return static_cast<CReplacingFile*>(opaque)->Seek(offset, whence & ~AVSEEK_FORCE);
    }

    // Throws the encoder failure message for what FFmpeg's call returned, when below 0.
    void check(int result, const char* what) const {
        if (result >= 0)
            return;
        Trace(TRACE_ERROR, "FFmpeg %s failed: %s", what, ff->errorText(result));
        if (file->Error() != 0)
            RefuseWrite(*file);
        Refuse(FormatUserText(IDS_FORMAT_ENCODER_FAILED, ff->errorText(result)));
    }

    // Gives frame room for count samples in the encoder's format.
    void allocate(AVFrame* target, int count) {
        ff->av_frame_unref(target);
        target->nb_samples = count;
        target->format = encoder->sample_fmt;
        target->sample_rate = encoder->sample_rate;
        check(ff->av_channel_layout_copy(&target->ch_layout, &encoder->ch_layout), "layout");
        check(ff->av_frame_get_buffer(target, 0), "frame buffer");
    }

    // Sends count samples from the FIFO (0: the end of the stream) and muxes the packets.
    void encodeFrame(int count) {
        AVFrame* input = nullptr;
        if (count > 0) {
            allocate(frame, count);
            ff->av_audio_fifo_read(fifo, reinterpret_cast<void**>(frame->data), count);
            frame->pts = pts;
            pts += count;
            input = frame;
        }
        check(ff->avcodec_send_frame(encoder, input), "encoding");
        for (;;) {
            const int got = ff->avcodec_receive_packet(encoder, packet);
            if (got == AVERROR(EAGAIN) || got == AVERROR_EOF)
                return;
            check(got, "encoding");
            measure(packet);
            ff->av_packet_rescale_ts(packet, encoder->time_base, stream->time_base);
            packet->stream_index = stream->index;
            check(ff->av_interleaved_write_frame(muxer, packet), "writing");
        }
    }

    // Sets up the decoder that plays the stream's packets back, and the meter.
    void openMonitor() {
        const AVCodec* codec = ff->avcodec_find_decoder(stream->codecpar->codec_id);
        decoder = ff->avcodec_alloc_context3(codec);
        decoded = ff->av_frame_alloc();
        if (!decoder || !decoded)
            throw std::bad_alloc();
        check(ff->avcodec_parameters_to_context(decoder, stream->codecpar), "decoder");
        check(ff->avcodec_open2(decoder, codec, nullptr), "decoder");
    }

    // Decodes packet (null: the end) and measures the samples it gives.
    void measure(const AVPacket* packet) {
        check(ff->avcodec_send_packet(decoder, packet), "decoding");
        for (;;) {
            const int got = ff->avcodec_receive_frame(decoder, decoded);
            if (got == AVERROR(EAGAIN) || got == AVERROR_EOF)
                return;
            check(got, "decoding");
            if (!toPcm) {
                // A decoder may play at another rate than the encoder's (Opus always at 48 kHz).
                WAVEFORMATEX format{};
                format.nChannels = uint16_t(decoded->ch_layout.nb_channels);
                format.nSamplesPerSec = uint32_t(decoded->sample_rate);
                meter = std::make_unique<CLoudnessMeter>(format);
                check(ff->swr_alloc_set_opts2(&toPcm, &decoded->ch_layout, AV_SAMPLE_FMT_S16,
                                              decoded->sample_rate, &decoded->ch_layout,
                                              AVSampleFormat(decoded->format), decoded->sample_rate,
                                              0, nullptr),
                      "resampler");
                check(ff->swr_init(toPcm), "resampler");
            }
            const int played = decoded->ch_layout.nb_channels;
            pcm.resize(size_t(decoded->nb_samples) * 2 * size_t(played));
            uint8_t* out[1] = {pcm.data()};
            const int frames = ff->swr_convert(toPcm, out, decoded->nb_samples,
                                               const_cast<const uint8_t**>(decoded->extended_data),
                                               decoded->nb_samples);
            check(frames, "resampling");
            meter->add(pcm.data(), uint32_t(frames) * 2 * uint32_t(played));
            ff->av_frame_unref(decoded);
        }
    }

    // Resamples inFrames frames (null input: what the resampler holds back) into the FIFO and
    // encodes every whole frame there.
    void convert(const uint8_t* input, int inFrames) {
        const int room = ff->swr_get_out_samples(resampler, inFrames);
        if (room > 0 && (!converted->data[0] || converted->nb_samples < room))
            allocate(converted, room);
        const uint8_t* planes[1] = {input};
        const int got = ff->swr_convert(resampler, converted->data, std::max(room, 0),
                                        input ? planes : nullptr, inFrames);
        check(got, "resampling");
        if (got > 0 &&
            ff->av_audio_fifo_write(fifo, reinterpret_cast<void**>(converted->data), got) < got)
            throw std::bad_alloc();
        while (ff->av_audio_fifo_size(fifo) >= frameSize)
            encodeFrame(frameSize);
    }
};

CFfmpegRingtoneWriter::CFfmpegRingtoneWriter(const QString& path, RingtoneFormat format,
                                             const WAVEFORMATEX& pcm, const QString& title,
                                             qint64 lengthMs)
    : m_codec(std::make_unique<Codec>()), m_file(path) {
    const qint64 limit = formatLengthLimit(format);
    if (limit > 0 && lengthMs > limit)
        Refuse(FormatUserText(IDS_FORMAT_TOO_LONG, formatName(format).toUpper(), int(limit / 1000),
                              QString::number(lengthMs / 1000.0, 'f', 1)));
    checkAvailable(format);
    Codec& c = *m_codec;
    c.ff = CFfmpegLibrary::system();
    c.ff->av_log_set_level(AV_LOG_QUIET); // failures reach the person as the program's messages
    c.file = &m_file;
    c.channels = pcm.nChannels;
    c.inputRate = int(pcm.nSamplesPerSec);
    const FormatRecipe recipe = RecipeOf(format);
    const AVCodec* codec = c.ff->avcodec_find_encoder_by_name(recipe.encoder);
    c.check(c.ff->avformat_alloc_output_context2(&c.muxer, nullptr, recipe.muxer, nullptr),
            "muxer");
    c.encoder = c.ff->avcodec_alloc_context3(codec);
    c.frame = c.ff->av_frame_alloc();
    c.converted = c.ff->av_frame_alloc();
    c.packet = c.ff->av_packet_alloc();
    if (!c.encoder || !c.frame || !c.converted || !c.packet)
        throw std::bad_alloc();
    c.encoder->sample_fmt = codec->sample_fmts ? codec->sample_fmts[0] : AV_SAMPLE_FMT_S16;
    c.encoder->sample_rate = EncoderRate(codec, c.inputRate);
    c.ff->av_channel_layout_default(&c.encoder->ch_layout, c.channels);
    c.encoder->bit_rate = recipe.bitRatePerChannel * c.channels;
    c.encoder->time_base = AVRational{1, c.encoder->sample_rate};
    if (c.muxer->oformat->flags & AVFMT_GLOBALHEADER)
        c.encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    c.check(c.ff->avcodec_open2(c.encoder, codec, nullptr), "opening the encoder");
    c.frameSize = c.encoder->frame_size > 0 ? c.encoder->frame_size : 1024;

    c.stream = c.ff->avformat_new_stream(c.muxer, nullptr);
    if (!c.stream)
        throw std::bad_alloc();
    c.stream->time_base = c.encoder->time_base;
    c.check(c.ff->avcodec_parameters_from_context(c.stream->codecpar, c.encoder), "parameters");
    c.openMonitor();
    // MP4 and MP3 keep the container's tags, Ogg the stream's.
    const QByteArray titleText = title.toUtf8();
    c.check(c.ff->av_dict_set(&c.muxer->metadata, "title", titleText.constData(), 0), "tags");
    c.check(c.ff->av_dict_set(&c.stream->metadata, "title", titleText.constData(), 0), "tags");

    AVChannelLayout inputLayout{};
    c.ff->av_channel_layout_default(&inputLayout, c.channels);
    c.check(c.ff->swr_alloc_set_opts2(&c.resampler, &c.encoder->ch_layout, c.encoder->sample_fmt,
                                      c.encoder->sample_rate, &inputLayout, AV_SAMPLE_FMT_S16,
                                      c.inputRate, 0, nullptr),
            "resampler");
    c.check(c.ff->swr_init(c.resampler), "resampler");
    c.fifo = c.ff->av_audio_fifo_alloc(c.encoder->sample_fmt, c.channels, c.frameSize);
    if (!c.fifo)
        throw std::bad_alloc();

    if (!m_file.Open())
        RefuseWrite(m_file);
    auto* buffer = static_cast<unsigned char*>(c.ff->av_malloc(kIoBufferSize));
    c.io = buffer ? c.ff->avio_alloc_context(buffer, kIoBufferSize, 1, &m_file, nullptr,
                                             &Codec::writeBytes, &Codec::seekTo)
                  : nullptr;
    if (!c.io) {
        c.ff->av_freep(&buffer);
        throw std::bad_alloc();
    }
    c.muxer->pb = c.io;
    c.muxer->flags |= AVFMT_FLAG_CUSTOM_IO;
    c.check(c.ff->avformat_write_header(c.muxer, nullptr), "writing");
    c.headerWritten = true;
}

CFfmpegRingtoneWriter::~CFfmpegRingtoneWriter() = default;

void CFfmpegRingtoneWriter::write(const void* data, uint32_t bytes) {
    const int frames = int(bytes / (2 * uint32_t(m_codec->channels)));
    if (frames > 0)
        m_codec->convert(static_cast<const uint8_t*>(data), frames);
}

void CFfmpegRingtoneWriter::finish() {
    Codec& c = *m_codec;
    c.convert(nullptr, 0);
    if (c.ff->av_audio_fifo_size(c.fifo) > 0)
        c.encodeFrame(c.ff->av_audio_fifo_size(c.fifo));
    c.encodeFrame(0);
    c.measure(nullptr);
    c.check(c.ff->av_write_trailer(c.muxer), "writing");
    c.ff->avio_flush(c.io);
    if (c.io->error < 0)
        c.check(c.io->error, "writing");
}

LoudnessFigures CFfmpegRingtoneWriter::madeFigures() const {
    constexpr double kSilence = -std::numeric_limits<double>::infinity();
    return m_codec->meter ? m_codec->meter->figures()
                          : LoudnessFigures{kSilence, kSilence, kSilence};
}

void CFfmpegRingtoneWriter::commit() {
    if (!m_file.Commit())
        RefuseWrite(m_file);
}

void CFfmpegRingtoneWriter::checkAvailable(RingtoneFormat format) {
    QString error;
    const CFfmpegLibrary* ff = CFfmpegLibrary::system(&error);
    const FormatRecipe recipe = RecipeOf(format);
    if (ff && !ff->avcodec_find_encoder_by_name(recipe.encoder))
        error = QStringLiteral("no encoder %1").arg(QLatin1String(recipe.encoder));
    if (!error.isEmpty())
        Refuse(FormatUserText(IDS_FORMAT_UNAVAILABLE, formatName(format).toUpper(), error));
}

#else // without FFmpeg (or with one too old for its channel layouts): OGG Vorbis only

struct CFfmpegRingtoneWriter::Codec {};

CFfmpegRingtoneWriter::CFfmpegRingtoneWriter(const QString& path, RingtoneFormat format,
                                             const WAVEFORMATEX&, const QString&, qint64)
    : m_file(path) {
    checkAvailable(format);
}

CFfmpegRingtoneWriter::~CFfmpegRingtoneWriter() = default;

void CFfmpegRingtoneWriter::write(const void*, uint32_t) {}

void CFfmpegRingtoneWriter::finish() {}

void CFfmpegRingtoneWriter::commit() {}

LoudnessFigures CFfmpegRingtoneWriter::madeFigures() const {
    return {};
}

void CFfmpegRingtoneWriter::checkAvailable(RingtoneFormat format) {
    Refuse(FormatUserText(IDS_FORMAT_NEEDS_FFMPEG, formatName(format).toUpper()));
}

#endif
