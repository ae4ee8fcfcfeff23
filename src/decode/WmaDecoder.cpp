#include "decode/WmaDecoder.h"

#include "app/IOpProgress.h"
#include "app/OpResult.h"
#include "app/StringIds.h"
#include "app/StringTable.h"
#include "app/Trace.h"
#include "decode/WmaReader.h"

#include <QFile>
#include <algorithm>

#ifdef QUILLET_WITH_FFMPEG
extern "C" {
#include <libavutil/error.h>
}
#endif

namespace {
constexpr int64_t kUnitsPerMillisecond = 10000; // media times count 100-ns units
} // namespace

CWmaDecoder::CWmaDecoder() = default;
CWmaDecoder::~CWmaDecoder() = default;

uint32_t CWmaDecoder::decodeFile(const QString& inputName, const QString& outputName,
                                 IOpProgress* progress) {
    RunState state;
    progress->Show(true);
#ifdef QUILLET_WITH_FFMPEG
    {
        IPcmSink& writer = output();
        CWmaReader reader;
        run(reader, writer, inputName, outputName, progress, state);
        reader.close();
        writer.close();
    }
#else
    (void)inputName;
    Trace(TRACE_ERROR, "CWmaDecoder: this build has no FFmpeg; Windows Media files cannot be read");
    state.missing = true;
#endif

    uint32_t result = OpSuccess;
    if (state.cancelled) {
        result = OpCancelled;
    } else if (state.missing) {
        m_errorText = LoadString(IDS_COMPONENTS_MISSING);
        result = OpComponentsMissing;
    } else if (state.failed) {
        if (m_errorCode != 0)
            m_errorText = systemErrorText(m_errorCode);
#ifdef QUILLET_WITH_FFMPEG
        else if (state.error != 0)
            m_errorText = CWmaReader::errorText(state.error);
#endif
        result = OpFailed;
    }
    if (result != OpSuccess)
        QFile::remove(outputName);
    return result;
}

#ifdef QUILLET_WITH_FFMPEG

bool CWmaDecoder::openInput(CWmaReader& reader, const QString& inputName, RunState& state) {
    int r = reader.open(inputName);
    if (r == AVERROR_DEMUXER_NOT_FOUND) {
        Trace(TRACE_ERROR, "CWmaDecoder: FFmpeg has no ASF demuxer");
        state.missing = true;
        return false;
    }
    if (r < 0) {
        Trace(TRACE_ERROR, "CWmaDecoder: error opening file %s, error = %x", inputName, r);
        state.failed = true;
        state.error = r;
        return false;
    }
    r = reader.openAudio();
    if (r == AVERROR_DECODER_NOT_FOUND) {
        Trace(TRACE_ERROR, "CWmaDecoder: FFmpeg has no decoder for the audio codec %s",
              reader.getCodecName());
        state.missing = true;
        return false;
    }
    if (r == AVERROR_STREAM_NOT_FOUND)
        Trace(TRACE_ERROR, "CWmaDecoder: Could not find an audio stream in the specified file");
    if (r < 0) {
        Trace(TRACE_ERROR, "CWmaDecoder: error getting audio output, error = %x", r);
        state.failed = true;
        state.error = r;
        return false;
    }
    return true;
}

void CWmaDecoder::run(CWmaReader& reader, IPcmSink& writer, const QString& inputName,
                      const QString& outputName, IOpProgress* progress, RunState& state) {
    if (!openInput(reader, inputName, state))
        return;
    const WAVEFORMATEX& format = reader.getFormat();
    Trace(TRACE_DEBUG, "CWmaDecoder: %s, %d channels, %d Hz", reader.getCodecName(),
          int(format.nChannels), int(format.nSamplesPerSec));
    if (!writer.create(outputName, format)) {
        Trace(TRACE_ERROR, "CWmaDecoder: error creating %s: %s (%u)", outputName,
              writer.getTraceError(), writer.getErrorCode());
        state.failed = true;
        return;
    }
    const int64_t duration = reader.getDuration();
    const auto range = uint32_t(duration > 0 ? duration / kUnitsPerMillisecond : 0);
    progress->SetRange(range);
    copySamples(reader, writer, progress, range, state);
}

void CWmaDecoder::copySamples(CWmaReader& reader, IPcmSink& writer, IOpProgress* progress,
                              uint32_t range, RunState& state) {
    int64_t lastSampleEnd = 0;
    int64_t lastAudioSampleEnd = 0;
    CWmaReader::Sample sample;
    for (;;) {
        if (progress->IsCanceled()) {
            Trace(TRACE_ERROR, "wma decoding canceled");
            state.cancelled = true;
            return;
        }
        const int r = reader.nextSample(sample);
        if (r == AVERROR_EOF) {
            Trace(TRACE_DEBUG,
                  "CWmaDecoder: no more samples: lastAudioSampleEndTime = %lld , "
                  "lastSampleEndTime = %lld , mediaDuration = %lld",
                  (long long)lastAudioSampleEnd, (long long)lastSampleEnd,
                  (long long)reader.getDuration());
            return;
        }
        if (r < 0) {
            Trace(TRACE_ERROR, "CWmaDecoder: GetNextSample failed, error = %x", r);
            state.failed = true;
            state.error = r;
            return;
        }
        lastSampleEnd = std::max(lastSampleEnd, sample.time + sample.duration);
        if (!sample.audio)
            continue; // video and other streams
        lastAudioSampleEnd = sample.time + sample.duration;
        if (sample.size > 0 && !writer.write(sample.data, sample.size)) {
            m_errorCode = writer.getErrorCode();
            state.failed = true;
            return;
        }
        // Progress stands at the end of the piece just written, never beyond the range.
        auto position = uint32_t(lastAudioSampleEnd / kUnitsPerMillisecond);
        if (range > 0 && position > range)
            position = range;
        progress->SetPos(position);
        if (writer.full())
            return;
    }
}

#endif // QUILLET_WITH_FFMPEG
