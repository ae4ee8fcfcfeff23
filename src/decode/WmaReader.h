// Reads the audio of a Windows Media (ASF: WMA, WMV) file with FFmpeg as 16-bit interleaved PCM.
#pragma once

#include "util/WinTypes.h"

#include <QString>
#include <cstdint>
#include <vector>

class CFfmpegLibrary;
struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct SwrContext;

// Opens a file with FFmpeg's ASF demuxer, decodes its first audio stream and converts only the
// sample format: the PCM keeps the stream's own rate and channel count. Delivers the file's packets
// in order as time-stamped samples; video and other streams come as samples without data. Errors
// are FFmpeg's error codes (negative), which CFfmpegLibrary::errorText turns into texts. Exists
// only in builds with FFmpeg (QUILLET_WITH_FFMPEG).
class CWmaReader {
public:
    // One packet of the file; times in 100-ns units. Audio samples carry their PCM, which stays
    // valid until the next call of nextSample.
    struct Sample {
        bool audio = false;
        int64_t time = 0;
        int64_t duration = 0;
        const uint8_t* data = nullptr;
        uint32_t size = 0;
    };

    // A reader that calls FFmpeg through ff, which must outlive it.
    explicit CWmaReader(const CFfmpegLibrary& ff);
    ~CWmaReader();
    CWmaReader(const CWmaReader&) = delete;
    CWmaReader& operator=(const CWmaReader&) = delete;

    // Opens fileName as an ASF file and reads its header; 0 or an error code.
    int open(const QString& fileName);
    // Picks the first audio stream and opens its decoder: 0, AVERROR_STREAM_NOT_FOUND when the file
    // has no audio, AVERROR_DECODER_NOT_FOUND when FFmpeg cannot decode it, or another error code.
    int openAudio();
    // The format of the delivered PCM (valid after openAudio): 16-bit PCM, the stream's channels
    // and rate.
    const WAVEFORMATEX& getFormat() const { return m_wave; }
    // The audio codec's name, for trace lines.
    QString getCodecName() const;
    // The media duration in 100-ns units that the file's header gives; -1 when it gives none.
    int64_t getDuration() const;
    // The next sample: 0, AVERROR_EOF after the last one, or an error code. The end of the input
    // (a file cut off inside a packet included) drains the decoder into a last audio sample.
    int nextSample(Sample& sample);
    // Frees everything; the destructor calls it.
    void close();

private:
    // Sends a packet (null: the end of the stream) to the decoder and converts every frame it
    // gives into m_pcm. A damaged packet is skipped.
    int decodePacket(const AVPacket* packet);
    int convertFrame();
    int configureConverter();
    int64_t toUnits(int64_t time) const;

    const CFfmpegLibrary& m_ff;
    AVFormatContext* m_format = nullptr;
    AVCodecContext* m_codec = nullptr;
    SwrContext* m_converter = nullptr;
    AVPacket* m_packet = nullptr;
    AVFrame* m_frame = nullptr;
    int m_audioStream = -1;
    WAVEFORMATEX m_wave{};
    // What the converter was set up for: the decoded frames' sample format, rate and channels.
    int m_converterFormat = -1;
    int m_converterRate = 0;
    int m_converterChannels = 0;
    std::vector<uint8_t> m_pcm;
    int64_t m_lastAudioEnd = 0;
    bool m_drained = false;
};
