// CDatFileEncoder: the sampling grid across buffers and files, the value of a frame, failures.
#include "encode/DatFileEncoder.h"
#include "app/OxaException.h"
#include "decode/WavTestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <vector>

using namespace wavtest;
using testsupport::ReadBytes;
using testsupport::ThrownMessage;

namespace {

// Deterministic 16-bit samples covering the whole range, negative ones included.
std::vector<int16_t> Noise(size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<int16_t> samples(count);
    for (int16_t& s : samples)
        s = int16_t(random());
    return samples;
}

// The values the visualization file must hold, worked out from the samples independently.
QByteArray ExpectedValues(const std::vector<int16_t>& samples, int channels, int step) {
    QByteArray values;
    const size_t frames = samples.size() / size_t(channels);
    for (size_t frame = 0; frame < frames; frame += size_t(step)) {
        const int left = int(std::floor(samples[frame * channels] / 256.0));
        if (channels == 1) {
            values.append(char(left));
        } else {
            const int right = int(std::floor(samples[frame * channels + 1] / 256.0));
            values.append(char(int(std::floor((left + right) / 2.0))));
        }
    }
    return values;
}

// Feeds samples to the encoder in buffers of the given frame counts, cycling through them.
void Feed(CFileEncoder& encoder, const std::vector<int16_t>& samples, int channels,
          const std::vector<size_t>& frameCounts) {
    size_t at = 0;
    for (size_t i = 0; at < samples.size(); ++i) {
        const size_t count =
            std::min(frameCounts[i % frameCounts.size()] * size_t(channels), samples.size() - at);
        encoder.encode(samples.data() + at, uint32_t(count * 2));
        at += count;
    }
}

} // namespace

TEST(DatFileEncoder, ValuesDoNotDependOnBufferSizes) {
    QTemporaryDir dir;
    struct Case {
        int channels;
        uint32_t rate;
    };
    for (const Case& c : {Case{2, 44100}, Case{1, 44100}, Case{1, 48000}, Case{2, 22050}}) {
        SCOPED_TRACE(testing::Message() << c.channels << "ch " << c.rate);
        const WAVEFORMATEX format = MakePcmFormat(uint16_t(c.channels), c.rate, 16);
        const std::vector<int16_t> samples = Noise(size_t(c.rate) * 10 * c.channels, c.rate);
        const QByteArray expected = ExpectedValues(samples, c.channels, int(c.rate / 100));

        const std::vector<std::vector<size_t>> splits = {
            {size_t(c.rate) * 10}, {1}, {3, 440, 441, 442, 7, 1000}, {881}, {17, 4410, 2}};
        for (size_t i = 0; i < splits.size(); ++i) {
            const QString base =
                dir.filePath(QString::asprintf("v%d_%u_%zu", c.channels, c.rate, i));
            {
                CDatFileEncoder encoder(base, &format);
                EXPECT_EQ(encoder.getFileName(), base + ".dat");
                Feed(encoder, samples, c.channels, splits[i]);
            }
            EXPECT_EQ(ReadBytes(base + ".dat"), expected) << "split " << i;
        }
    }
}

TEST(DatFileEncoder, FrameValuesAreHighBytesAndTheFloorOfTheirMean) {
    QTemporaryDir dir;
    // 100 Hz: every frame is a value.
    const WAVEFORMATEX stereo = MakePcmFormat(2, 100, 16);
    const int16_t frames[] = {
        -256,   0,      // -1 and 0: floor(-0.5) = -1
        -768,   512,    // -3 and 2: -1
        768,    -512,   // 3 and -2: 0
        -32768, -32512, // -128 and -127: -128
        32767,  32767,  // 127 and 127: 127
        -1,     255,    // high bytes -1 and 0: -1
        -32768, 32767,  // -128 and 127: -1
    };
    const QString base = dir.filePath("stereo");
    {
        CDatFileEncoder encoder(base, &stereo);
        encoder.encode(frames, sizeof frames);
    }
    EXPECT_EQ(ReadBytes(base + ".dat"), QByteArray::fromHex("ffff0080 7fffff"));

    const WAVEFORMATEX mono = MakePcmFormat(1, 100, 16);
    const int16_t samples[] = {-1, 0x7FFF, -32768, 0x00FF, 0x0100, -257};
    {
        CDatFileEncoder encoder(base, &mono);
        encoder.encode(samples, sizeof samples);
        encoder.encode(samples, 0); // nothing to add
        encoder.encode(samples, 1); // less than a frame
    }
    EXPECT_EQ(ReadBytes(base + ".dat"), QByteArray::fromHex("ff7f800001fe"));
}

TEST(DatFileEncoder, SwitchFileCarriesTheGridIntoTheNextFile) {
    QTemporaryDir dir;
    const WAVEFORMATEX format = MakePcmFormat(2, 44100, 16);
    const std::vector<int16_t> samples = Noise(44100 * 2 * 3, 5);
    const QByteArray expected = ExpectedValues(samples, 2, 441);
    const size_t split = 44100 * 2 + 2 * 300; // a switch in the middle of a step
    {
        CDatFileEncoder encoder(dir.filePath("first"), &format);
        encoder.encode(samples.data(), uint32_t(split * 2));
        encoder.switchFile(dir.filePath("second"));
        EXPECT_EQ(encoder.getFileName(), dir.filePath("second.dat"));
        encoder.encode(samples.data() + split, uint32_t((samples.size() - split) * 2));
    }
    const QByteArray first = ReadBytes(dir.filePath("first.dat"));
    EXPECT_EQ(first.size(), 101);
    EXPECT_EQ(first + ReadBytes(dir.filePath("second.dat")), expected);
}

TEST(DatFileEncoder, Failures) {
    QTemporaryDir dir;
    const WAVEFORMATEX format = MakePcmFormat(2, 44100, 16);
    EXPECT_EQ(ThrownMessage([&] { CDatFileEncoder encoder(dir.filePath("a"), nullptr); }),
              "DAT: NULL waveformatex as parameter");
    EXPECT_EQ(ThrownMessage([&] { CDatFileEncoder encoder(QString(), &format); }),
              "NULL DAT file name as parameter");

    TraceCapture trace(TRACE_ERROR);
    const QString missing = dir.filePath("missing/a");
    EXPECT_EQ(ThrownMessage([&] { CDatFileEncoder encoder(missing, &format); }),
              "error creating DAT file \"" + missing + ".dat\"");
    EXPECT_FALSE(QFile::exists(missing + ".dat"));
    EXPECT_TRUE(trace.hasLine("ERR", "Error creating DAT file " + missing +
                                         ".dat, error: No such file or directory (2)"));

    // A failed switch leaves the encoder closed for good.
    CDatFileEncoder encoder(dir.filePath("b"), &format);
    EXPECT_EQ(ThrownMessage([&] { encoder.switchFile(missing); }),
              "error creating DAT file \"" + missing + ".dat\"");
    EXPECT_EQ(encoder.getErrorCode(), uint32_t(ENOENT));
    const int16_t frame[2] = {0, 0};
    EXPECT_EQ(ThrownMessage([&] { encoder.encode(frame, 4); }), "invalid DAT file state");
    EXPECT_EQ(ThrownMessage([&] { encoder.switchFile(dir.filePath("c")); }),
              "invalid DAT file state");
}

TEST(DatFileEncoder, WriteFailureThrowsWithTheValueCount) {
    // The ".dat" name leads to /dev/full, which refuses every byte.
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::link("/dev/full", dir.filePath("full.dat")));
    const WAVEFORMATEX format = MakePcmFormat(1, 44100, 16);
    TraceCapture trace(TRACE_ERROR);
    CDatFileEncoder encoder(dir.filePath("full"), &format);
    const std::vector<int16_t> samples(44100);
    EXPECT_EQ(ThrownMessage([&] { encoder.encode(samples.data(), uint32_t(samples.size() * 2)); }),
              "Error writing 100 bytes to file");
    EXPECT_EQ(encoder.getErrorCode(), uint32_t(ENOSPC));
    EXPECT_TRUE(trace.hasLine("ERR", "Error writing to file: No space left on device (28)"));
}
