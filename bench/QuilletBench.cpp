// quillet-bench: times the program's decoders and its OGG encoder on whole files.
#include "app/IOpProgress.h"
#include "app/OpResult.h"
#include "app/OxaException.h"
#include "decode/IDecoder.h"
#include "decode/Mp3Decoder.h"
#include "decode/OggDecoder.h"
#include "decode/WavReader.h"
#include "decode/WmaDecoder.h"
#include "encode/EncoderParams.h"
#include "encode/OggFileEncoder.h"

#include <QFile>
#include <QFileInfo>
#include <QString>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <vector>

namespace {

// The block size in which the extraction streams the cut into the encoder.
constexpr uint32_t kEncodeBlockSize = 65536;

enum ExitCode : int { ExitOk = 0, ExitFailed = 1, ExitUsage = 2 };

void printUsage(std::FILE* stream) {
    std::fputs("usage: quillet-bench decode IN.(mp3|ogg|wma|wmv|asf) OUT.wav\n"
               "       quillet-bench encode IN.wav OUT.ogg [--quality Q | --bitrate B]\n"
               "decode runs the program's decoder for IN's extension into a 16-bit PCM WAV file;\n"
               "encode streams the WAV in 65536-byte blocks into the OGG Vorbis encoder\n"
               "(default quality 0; B in kbit/s). Prints the elapsed time on standard error.\n",
               stream);
}

// The decoder the input pipeline uses for a file with this extension, or null.
std::unique_ptr<IDecoder> decoderFor(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("mp3"))
        return std::make_unique<CMp3Decoder>();
    if (suffix == QLatin1String("ogg"))
        return std::make_unique<COggDecoder>();
    if (suffix == QLatin1String("wma") || suffix == QLatin1String("wmv") ||
        suffix == QLatin1String("asf"))
        return std::make_unique<CWmaDecoder>();
    return nullptr;
}

// Milliseconds since start.
long long elapsedMs(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start)
        .count();
}

int runDecode(const QString& inputName, const QString& outputName) {
    std::unique_ptr<IDecoder> decoder = decoderFor(inputName);
    if (!decoder) {
        std::fprintf(stderr, "quillet-bench: no decoder for %s\n", qPrintable(inputName));
        return ExitUsage;
    }
    IOpProgress progress; // reports nowhere and never cancels
    const auto start = std::chrono::steady_clock::now();
    const uint32_t result = decoder->decodeFile(inputName, outputName, &progress);
    const long long ms = elapsedMs(start);
    if (result != OpSuccess) {
        const QString text = decoder->getErrorText();
        std::fprintf(stderr, "quillet-bench: decoding %s failed with result %u%s%s\n",
                     qPrintable(inputName), result, text.isEmpty() ? "" : ": ", qPrintable(text));
        return ExitFailed;
    }
    std::fprintf(stderr, "decoded %s in %lld ms\n", qPrintable(inputName), ms);
    return ExitOk;
}

// The encoder settings the extraction builds for a work WAV of this format.
EncoderParams paramsFor(const WAVEFORMATEX& format, int quality, uint32_t bitRate) {
    EncoderParams params;
    params.mode = format.nChannels == 2 ? EncoderParams::kStereo : EncoderParams::kMono;
    params.sampleRate = format.nSamplesPerSec;
    params.bitRate = (bitRate << 16) | bitRate;
    params.bitRateAgain = bitRate;
    params.reserved = 1;
    params.quality = quality;
    params.reservedZero = 0;
    return params;
}

// Streams the data of reader into encoder block by block; the bytes encoded.
uint64_t streamInto(CWavReader& reader, COggFileEncoder& encoder) {
    const int64_t startPos = reader.seek(0);
    if (startPos < 0)
        throw COxaException(QStringLiteral("wav seek failed"));
    const uint64_t length = reader.getDataSize();
    std::vector<unsigned char> block(kEncodeBlockSize);
    uint64_t done = 0;
    while (done < length) {
        const int64_t got = reader.read(block.data(), kEncodeBlockSize);
        if (got <= 0)
            break;
        const uint64_t take = std::min<uint64_t>(uint64_t(got), length - done);
        encoder.encode(block.data(), uint32_t(take));
        done += take;
    }
    return done;
}

int runEncode(const QString& inputName, const QString& outputName, int quality, uint32_t bitRate) {
    const auto start = std::chrono::steady_clock::now();
    uint64_t bytes = 0;
    QString written; // the encoder's output file once it exists
    try {
        CWavReader reader(inputName);
        const WAVEFORMATEX& format = *reader.getFormat();
        if (format.wFormatTag != WAVE_FORMAT_PCM || format.wBitsPerSample != 16 ||
            format.nChannels < 1 || format.nChannels > 2) {
            std::fprintf(stderr, "quillet-bench: %s is not 16-bit mono or stereo PCM\n",
                         qPrintable(inputName));
            return ExitFailed;
        }
        COggFileEncoder encoder(outputName, paramsFor(format, quality, bitRate));
        written = encoder.getFileName();
        bytes = streamInto(reader, encoder);
    } catch (const std::exception& e) {
        // The encoder has finished and closed its file by now; a failed run leaves none.
        if (!written.isEmpty())
            QFile::remove(written);
        std::fprintf(stderr, "quillet-bench: encoding %s failed: %s\n", qPrintable(inputName),
                     e.what());
        return ExitFailed;
    }
    std::fprintf(stderr, "encoded %llu bytes of %s in %lld ms\n",
                 static_cast<unsigned long long>(bytes), qPrintable(inputName), elapsedMs(start));
    return ExitOk;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        printUsage(stdout);
        return ExitOk;
    }
    if (argc < 4) {
        printUsage(stderr);
        return ExitUsage;
    }
    const QString command = QString::fromLocal8Bit(argv[1]);
    const QString inputName = QString::fromLocal8Bit(argv[2]);
    const QString outputName = QString::fromLocal8Bit(argv[3]);
    if (command == QLatin1String("decode") && argc == 4)
        return runDecode(inputName, outputName);
    if (command != QLatin1String("encode")) {
        printUsage(stderr);
        return ExitUsage;
    }
    int quality = 0;
    uint32_t bitRate = 0;
    for (int i = 4; i < argc; i += 2) {
        const QString option = QString::fromLocal8Bit(argv[i]);
        if (i + 1 >= argc) {
            printUsage(stderr);
            return ExitUsage;
        }
        bool ok = false;
        const int value = QString::fromLocal8Bit(argv[i + 1]).toInt(&ok);
        if (ok && option == QLatin1String("--quality")) {
            quality = value;
        } else if (ok && option == QLatin1String("--bitrate") && value > 0 && value <= 0xFFFF) {
            bitRate = uint32_t(value);
        } else {
            printUsage(stderr);
            return ExitUsage;
        }
    }
    return runEncode(inputName, outputName, quality, bitRate);
}
