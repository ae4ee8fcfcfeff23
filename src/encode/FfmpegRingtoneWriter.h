// Writes a ringtone as M4R (AAC in MP4), MP3 or Opus with FFmpeg's encoders and muxers.
#pragma once

#include "encode/LoudnessMeter.h"
#include "encode/RingtoneFormat.h"
#include "util/ReplacingFile.h"
#include "util/WinTypes.h"

#include <QString>
#include <cstdint>
#include <memory>

// Takes the ringtone's 16-bit PCM block by block, converts it to the encoder's sample format and
// rate, and muxes the packets straight into a CReplacingFile: the named file appears only at
// commit, and a writer destroyed before (a failure, a cancel) leaves nothing behind. Each packet
// is also decoded again and measured, so that the loudness of what was made is known. Failures
// throw COxaEncoderException with a message to show as it is.
class CFfmpegRingtoneWriter {
public:
    // Refuses a ringtone longer than the format takes, loads FFmpeg and sets up the encoder and
    // the muxer for format (not Ogg) with pcm's channels and rate; title goes into the file's tags.
    CFfmpegRingtoneWriter(const QString& path, RingtoneFormat format, const WAVEFORMATEX& pcm,
                          const QString& title, qint64 lengthMs);
    ~CFfmpegRingtoneWriter();
    CFfmpegRingtoneWriter(const CFfmpegRingtoneWriter&) = delete;
    CFfmpegRingtoneWriter& operator=(const CFfmpegRingtoneWriter&) = delete;

    // Encodes the whole frames of bytes of interleaved 16-bit little-endian PCM.
    void write(const void* data, uint32_t bytes);
    // Encodes what is buffered and ends the file, still under a temporary name.
    void finish();
    // Gives the finished file its name.
    void commit();
    // The loudness and true peak of the encoded stream as a decoder plays it (after finish).
    LoudnessFigures madeFigures() const;

    // Throws the program's message when format cannot be made by this build or this machine.
    static void checkAvailable(RingtoneFormat format);

private:
    struct Codec;
    std::unique_ptr<Codec> m_codec;
    CReplacingFile m_file;
};
