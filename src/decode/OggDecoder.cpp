// The OGG Vorbis decoder.
#include "decode/OggDecoder.h"

#include "app/IOpProgress.h"
#include "app/OpResult.h"
#include "app/OxaException.h"
#include "app/StringIds.h"
#include "app/StringTable.h"
#include "app/Trace.h"
#include "util/VectorState.h"
#include "util/WinTypes.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <vector>

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

namespace {

// The four file callbacks vorbisfile reads the input through; the data source is a FILE*.
size_t ReadCallback(void* buffer, size_t size, size_t count, void* source) {
    return std::fread(buffer, size, count, static_cast<FILE*>(source));
}

int SeekCallback(void* source, ogg_int64_t offset, int whence) {
    return fseeko(static_cast<FILE*>(source), off_t(offset), whence);
}

int CloseCallback(void* source) {
    return std::fclose(static_cast<FILE*>(source));
}

long TellCallback(void* source) {
    return long(ftello(static_cast<FILE*>(source)));
}

// The 16-bit PCM format of a stream with the given channel count and rate.
WAVEFORMATEX PcmFormat(int channels, long rate) {
    return MakePcmFormat(uint16_t(channels), uint32_t(rate), 16);
}

} // namespace

bool COggDecoder::setStartTime(int64_t ms) {
    m_requestedStart = std::max<int64_t>(ms, 0) / 1000 * 1000;
    return true;
}

int64_t COggDecoder::startAt(OggVorbis_File& vorbisFile, long rate) {
    if (m_requestedStart == 0)
        return 0;
    const ogg_int64_t total = ov_pcm_total(&vorbisFile, -1);
    if (total <= 0)
        throw COxaDecoderException(QStringLiteral("cannot seek in the ogg file"));
    ogg_int64_t from = m_requestedStart / 1000 * rate;
    if (from >= total)
        from = (total - 1) / rate * rate;
    if (ov_pcm_seek(&vorbisFile, from) != 0)
        throw COxaDecoderException(QStringLiteral("cannot seek in the ogg file"));
    return from / rate * 1000;
}

uint32_t COggDecoder::decodeFile(const QString& inputName, const QString& outputName,
                                 IOpProgress* progress) {
    m_errorCode = 0;
    m_errorText.clear();
    FILE* input = std::fopen(QFile::encodeName(inputName).constData(), "rb");
    if (input == nullptr) {
        Trace(TRACE_ERROR, "failed to open input file: %s; error = %s\n", inputName,
              std::strerror(errno));
        return OpFailed;
    }

    std::vector<char> block(kBlockSize);
    uint32_t result = OpSuccess;
    OggVorbis_File vorbisFile{};
    bool inputOwnedByVorbis = false;
    IPcmSink& writer = output();
    try {
        const ov_callbacks callbacks{ReadCallback, SeekCallback, CloseCallback, TellCallback};
        if (ov_open_callbacks(input, &vorbisFile, nullptr, 0, callbacks) < 0)
            throw COxaDecoderException(QStringLiteral("failed to open file as vorbis file"));
        inputOwnedByVorbis = true;

        if (ov_streams(&vorbisFile) != 1) {
            result = OpNotSupported;
            m_errorText = LoadString(IDS_OGG_MULTIPLE_STREAMS);
            throw COxaDecoderException(
                QStringLiteral("cannot open ogg files with multiple streams"));
        }

        progress->SetRange(uint32_t(ov_raw_total(&vorbisFile, 0)));
        progress->Show(true);

        const vorbis_info* info = ov_info(&vorbisFile, 0);
        m_startTime = startAt(vorbisFile, info->rate);
        if (!writer.create(outputName, PcmFormat(info->channels, info->rate))) {
            m_errorCode = writer.getErrorCode();
            throw COxaDecoderException(QStringLiteral("error creating dest wav file"));
        }

        for (;;) {
            if (progress->IsCanceled()) {
                Trace(TRACE_DEBUG, "ogg decoding canceled");
                result = OpCancelled;
                break;
            }
            int bitstream = 0;
            ClearUpperVectorState(); // libvorbis's SSE code is several times slower without it
            const long count = ov_read(&vorbisFile, block.data(), kBlockSize, 0, 2, 1, &bitstream);
            if (count < 0)
                throw COxaDecoderException(QStringLiteral("error reading ogg file"));
            if (count == 0)
                break;
            if (bitstream != 0)
                throw COxaDecoderException(
                    QStringLiteral("only one logical bitstream currently supported"));
            if (!writer.write(block.data(), uint32_t(count))) {
                m_errorCode = writer.getErrorCode();
                result = OpFailed;
                break;
            }
            progress->SetPos(uint32_t(ov_raw_tell(&vorbisFile)));
            if (writer.full())
                break;
        }
    } catch (const std::exception& e) {
        if (result == OpSuccess)
            result = OpFailed;
        const auto* oxa = dynamic_cast<const COxaException*>(&e);
        Trace(TRACE_ERROR, "COggDecoder::decodeFile failed: %s",
              oxa ? oxa->traceMessage() : QString::fromLocal8Bit(e.what()));
    }

    ov_clear(&vorbisFile); // closes the input through the close callback once vorbisfile owns it
    if (!inputOwnedByVorbis)
        std::fclose(input);
    if (!writer.close() && result == OpSuccess)
        result = OpFailed;

    if (result == OpSuccess)
        return result;
    if (m_errorCode != 0)
        m_errorText = systemErrorText(m_errorCode);
    QFile::remove(outputName);
    return result;
}
