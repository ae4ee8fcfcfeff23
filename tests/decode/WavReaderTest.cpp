// CWavReader: parsing, verdicts and their texts, reading, millisecond seek.
#include "decode/WavReader.h"
#include "app/OxaException.h"
#include "decode/WavTestSupport.h"
#include "support/Tone.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <climits>
#include <gtest/gtest.h>
#include <random>

using namespace wavtest;
using namespace testsupport;

namespace {

// The reader's verdict on a file: empty when it opens, otherwise the message it throws.
QString Verdict(const QString& name) {
    try {
        CWavReader reader(name);
        return QString();
    } catch (const COxaException& e) {
        EXPECT_EQ(e.code(), 0);
        return e.message();
    }
}

QString Verdict(const QString& name, const QByteArray& bytes) {
    WriteBytes(name, bytes);
    return Verdict(name);
}

QByteArray Chunk(const char* id, const QByteArray& body, uint32_t size) {
    QByteArray chunk(id, 4);
    chunk += Le32Bytes(size);
    chunk += body;
    return chunk;
}

QByteArray Chunk(const char* id, const QByteArray& body) {
    return Chunk(id, body, uint32_t(body.size()));
}

QByteArray FmtBody(const WAVEFORMATEX& f) {
    return Le16Bytes(f.wFormatTag) + Le16Bytes(f.nChannels) + Le32Bytes(f.nSamplesPerSec) +
           Le32Bytes(f.nAvgBytesPerSec) + Le16Bytes(f.nBlockAlign) + Le16Bytes(f.wBitsPerSample);
}

QByteArray Riff(const QByteArray& chunks) {
    return Chunk("RIFF", "WAVE" + chunks);
}

} // namespace

TEST(WavReader, RoundTripsWhatTheWriterWrote) {
    QTemporaryDir dir;
    struct Case {
        uint16_t channels;
        uint32_t rate;
        uint16_t bits;
        int bytes;
    };
    for (const Case& c : {Case{1, 8000, 8, 8001}, Case{2, 11025, 8, 22050},
                          Case{1, 22050, 16, 44100}, Case{2, 44100, 16, 176400}}) {
        SCOPED_TRACE(testing::Message() << c.channels << "ch " << c.bits << "bit");
        const QString name = dir.filePath(QString::asprintf("rt%d_%d.wav", c.channels, c.bits));
        const WAVEFORMATEX format = MakePcmFormat(c.channels, c.rate, c.bits);
        const QByteArray data = RandomBytes(c.bytes, 3);
        WriteWav(name, format, data);

        CWavReader reader(name);
        ASSERT_TRUE(reader.isOpen());
        const WAVEFORMATEX* read = reader.getFormat();
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(FormatHex(*read), FormatHex(format));
        EXPECT_EQ(reader.getDataSize(), uint32_t(c.bytes));
        const int frames = c.bytes / format.nBlockAlign;
        EXPECT_EQ(reader.getFrameCount(), frames);
        EXPECT_EQ(reader.getDuration(), int(int64_t(frames) * 1000 / c.rate));

        // Read in blocks of an awkward size; the data and then the pad byte of an odd size.
        QByteArray back;
        char block[997];
        int64_t got;
        while ((got = reader.read(block, sizeof block)) > 0)
            back.append(block, int(got));
        EXPECT_EQ(back.left(c.bytes), data);
        EXPECT_EQ(back.size(), c.bytes + (c.bytes & 1));
        EXPECT_EQ(reader.read(block, sizeof block), 0);
    }
}

TEST(WavReader, SeekRoundsDownToWholeFramesAndClampsToTheData) {
    QTemporaryDir dir;
    const QString stereo = dir.filePath("stereo.wav");
    WriteWav(stereo, MakePcmFormat(2, 44100, 16),
             QByteArray(176402, '\0')); // half a frame too many
    CWavReader reader(stereo);
    EXPECT_EQ(reader.seek(0), 44);
    EXPECT_EQ(reader.seek(1), 44 + 44 * 4);      // 44 frames
    EXPECT_EQ(reader.seek(500), 44 + 22050 * 4); // 22050 frames
    EXPECT_EQ(reader.seek(999), 44 + 44055 * 4); // 44055.9 frames, truncated
    EXPECT_EQ(reader.seek(1000), 44 + 176400);   // the last whole frame
    EXPECT_EQ(reader.seek(1001), 44 + 176402);   // past the end: exactly the end of the data
    EXPECT_EQ(reader.seek(LLONG_MAX), 44 + 176402);
    EXPECT_EQ(reader.seek(-20), 44); // before the start: the start
    EXPECT_EQ(reader.seek(LLONG_MIN), 44);
    char two[2];
    reader.seek(1001);
    EXPECT_EQ(reader.read(two, 2), 0); // the pad-free end of the file

    // 12-bit mono at 1000 Hz with 2-byte blocks: bytes are truncated, then rounded down.
    const QString odd = dir.filePath("odd.wav");
    WAVEFORMATEX format = MakePcmFormat(1, 1000, 12);
    format.nBlockAlign = 2;
    WriteWav(odd, format, QByteArray(100, '\0'));
    CWavReader twelve(odd);
    EXPECT_EQ(twelve.seek(1), 44 + 0); // 1.5 bytes -> 1 -> 0
    EXPECT_EQ(twelve.seek(67), 44 + 100);
    EXPECT_EQ(twelve.seek(66), 44 + 98); // 99 bytes -> 98
}

TEST(WavReader, DataSizeBeyondTheFileEndsWhereTheFileDoes) {
    QTemporaryDir dir;
    const QString name = dir.filePath("lies.wav");
    WriteWav(name, MakePcmFormat(2, 44100, 16), RandomBytes(4000, 3));
    QByteArray bytes = ReadBytes(name);
    bytes.replace(40, 4, Le32Bytes(0xFFFFFFF0u));
    bytes.replace(4, 4, Le32Bytes(0xFFFFFFFFu));
    WriteBytes(name, bytes);

    CWavReader reader(name);
    EXPECT_EQ(reader.getDataSize(), 4000u);
    EXPECT_EQ(reader.getFrameCount(), 1000);
    EXPECT_EQ(reader.getDuration(), 22);
    std::vector<char> buffer(100000);
    EXPECT_EQ(reader.read(buffer.data(), int64_t(buffer.size())), 4000);
    EXPECT_EQ(QByteArray(buffer.data(), 4000), RandomBytes(4000, 3));
    EXPECT_EQ(reader.read(buffer.data(), int64_t(buffer.size())), 0);
    EXPECT_EQ(reader.seek(1000), 44 + 4000);
    EXPECT_EQ(reader.read(buffer.data(), 16), 0);

    // Cut anywhere in its data, a file reports the whole frames it still holds.
    for (int cut : {44, 45, 47, 48, 1000, 3999, 4043}) {
        WriteBytes(name, bytes.left(cut));
        CWavReader shorter(name);
        EXPECT_EQ(shorter.getDataSize(), uint32_t(cut - 44)) << cut;
        EXPECT_EQ(shorter.getFrameCount(), (cut - 44) / 4) << cut;
    }

    // The extensible header with PCM inside reads as PCM; with another sub-format it stays as is.
    QByteArray extensible = bytes.left(12) + "fmt " + Le32Bytes(40) + bytes.mid(20, 16) +
                            Le16Bytes(22) + Le16Bytes(16) + Le32Bytes(3) + Le16Bytes(1) +
                            QByteArray::fromHex("000000001000800000aa00389b71") + bytes.mid(36);
    extensible.replace(20, 2, Le16Bytes(0xFFFE));
    WriteBytes(name, extensible);
    EXPECT_EQ(CWavReader(name).getFormat()->wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(CWavReader(name).getDataSize(), 4000u);
    extensible[44] = 3; // IEEE float
    WriteBytes(name, extensible);
    EXPECT_EQ(CWavReader(name).getFormat()->wFormatTag, 0xFFFE);
}

TEST(WavReader, ReadingRunsOnPastTheDataChunk) {
    QTemporaryDir dir;
    const QString name = dir.filePath("tail.wav");
    const WAVEFORMATEX format = MakePcmFormat(1, 8000, 8);
    const QByteArray list = Chunk("LIST", "INFOISFT" + Le32Bytes(4) + "abc");
    // Chunks before "fmt " and between it and "data" are skipped, odd sizes with their pad.
    WriteBytes(name, Riff(Chunk("JUNK", "xyz", 3) + QByteArray(1, '\0') +
                          Chunk("fmt ", FmtBody(format)) + Chunk("fact", Le32Bytes(5)) +
                          Chunk("data", "12345") + QByteArray(1, '\0') + list));
    CWavReader reader(name);
    EXPECT_EQ(reader.getDataSize(), 5u);
    EXPECT_EQ(reader.getDataOffset(), 12u + 12u + 24u + 12u + 8u);
    char buffer[64];
    const int64_t got = reader.read(buffer, sizeof buffer);
    EXPECT_EQ(QByteArray(buffer, int(got)), "12345" + QByteArray(1, '\0') + list);
}

TEST(WavReader, ClosedReaderAnswersWithNothingAndReopens) {
    QTemporaryDir dir;
    const QString name = dir.filePath("c.wav");
    WriteWav(name, MakePcmFormat(1, 8000, 16), RandomBytes(64, 3));
    CWavReader reader(name);
    reader.close();
    EXPECT_FALSE(reader.isOpen());
    EXPECT_EQ(reader.getFormat(), nullptr);
    char buffer[8];
    EXPECT_EQ(reader.read(buffer, 8), -1);
    EXPECT_EQ(reader.seek(0), -1);
    ASSERT_TRUE(reader.open());
    EXPECT_TRUE(reader.open());
    EXPECT_EQ(reader.getDataSize(), 64u);
    EXPECT_EQ(reader.read(buffer, 8), 8);
}

TEST(WavReader, VerdictsOnFilesThatAreNotWaveFiles) {
    QTemporaryDir dir;
    const QString name = dir.filePath("bad.wav");
    const WAVEFORMATEX format = MakePcmFormat(2, 44100, 16);
    const QByteArray fmt = Chunk("fmt ", FmtBody(format));
    const QByteArray good = Riff(fmt + Chunk("data", "abcd"));
    ASSERT_EQ(Verdict(name, good), QString());

    const QString notWave = "not a wave file";
    EXPECT_EQ(Verdict(name, QByteArray()), notWave);
    EXPECT_EQ(Verdict(name, "RIFF"), notWave);
    EXPECT_EQ(Verdict(name, QByteArray(good).replace(0, 4, "RIFX")), notWave);
    EXPECT_EQ(Verdict(name, QByteArray(good).replace(8, 4, "AVI ")), notWave);
    EXPECT_EQ(Verdict(name, RandomBytes(4096, 7)), notWave);
    // A RIFF chunk of another form before the wave file is passed over.
    EXPECT_EQ(Verdict(name, Chunk("RIFF", "AVI xy") + good), QString());

    EXPECT_EQ(Verdict(name, good.left(12)), "couldn't get format chunk");
    EXPECT_EQ(Verdict(name, Riff(Chunk("data", "abcd") + fmt).replace(4, 4, Le32Bytes(16))),
              "couldn't get format chunk"); // "fmt " lies beyond the RIFF chunk's size
    EXPECT_EQ(Verdict(name, Riff(Chunk("fmt", FmtBody(format)) + Chunk("data", "abcd"))),
              "couldn't get format chunk"); // "fmt\0" is not "fmt "
    EXPECT_EQ(Verdict(name, good.left(12 + 8 + 10)), "error reading format");
    EXPECT_EQ(Verdict(name, good.left(12 + 8 + 18)), "couldn't get data chunk");
    EXPECT_EQ(Verdict(name, Riff(fmt + Chunk("DATA", "abcd"))), "couldn't get data chunk");
    // A data chunk header cut after its identifier is not a chunk.
    EXPECT_EQ(Verdict(name, good.left(12 + 24 + 6)), "couldn't get data chunk");
    EXPECT_EQ(Verdict(name, good.left(12 + 24 + 8)), QString());
}

TEST(WavReader, VerdictsOnFilesThatCannotBeOpened) {
    QTemporaryDir dir;
    const QString missing = dir.filePath("none.wav");
    EXPECT_EQ(Verdict(missing), "error opening file " + missing + ": the file was not found");
    const QString noFolder = dir.filePath("nofolder/x.wav");
    EXPECT_EQ(Verdict(noFolder),
              "error opening file " + noFolder + ": the directory path is incorrect.");
    const QString folder = dir.filePath("folder.wav");
    ASSERT_TRUE(QDir().mkdir(folder));
    EXPECT_EQ(Verdict(folder),
              "error opening file " + folder + ": the file is protected and cannot be opened.");
    EXPECT_EQ(CWavReader::openErrorText(271), "the number of files simultaneously open is at a "
                                              "maximum level. The system has run out of available "
                                              "file handles.");
    EXPECT_EQ(CWavReader::openErrorText(259), "error code = 259");
}

TEST(WavReader, DamagedHeadersNeverCrash) {
    // Every cut and many random byte changes of a good header: opened or refused, nothing else.
    QTemporaryDir dir;
    const QString name = dir.filePath("damaged.wav");
    WriteWav(name, MakePcmFormat(2, 22050, 16), RandomBytes(200, 3));
    const QByteArray good = ReadBytes(name);
    for (int size = 0; size < good.size(); ++size) {
        const QString verdict = Verdict(name, good.left(size));
        EXPECT_EQ(verdict.isEmpty(), size >= 44) << size;
    }
    std::mt19937 random(11);
    int opened = 0;
    for (int round = 0; round < 400; ++round) {
        QByteArray bytes = good;
        for (int changes = 1 + int(random() % 4); changes > 0; --changes)
            bytes[int(random() % 48)] = char(random());
        WriteBytes(name, bytes);
        try {
            CWavReader reader(name);
            ++opened;
            char buffer[512];
            reader.seek(int64_t(random() % 5000) - 100);
            while (reader.read(buffer, sizeof buffer) > 0) {
            }
            EXPECT_GE(reader.getFrameCount(), 0);
            EXPECT_GE(reader.getDuration(), 0);
        } catch (const COxaException& e) {
            EXPECT_FALSE(e.message().isEmpty());
        }
    }
    EXPECT_GT(opened, 0);
}
