// CWavWriter: header bytes, size patching on close and destruction, failures.
#include "decode/WavWriter.h"
#include "decode/WavTestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <gtest/gtest.h>

using namespace wavtest;
using testsupport::ReadBytes;

namespace {

// The 44-byte header the writer must produce for 16-bit stereo 44100 Hz.
QByteArray StereoHeader(uint32_t riffSize, uint32_t dataSize) {
    QByteArray header("RIFF");
    header += Le32Bytes(riffSize);
    header += "WAVEfmt ";
    header += Le32Bytes(16);
    header += QByteArray::fromHex("0100"
                                  "0200"
                                  "44ac0000"
                                  "10b10200"
                                  "0400"
                                  "1000");
    header += "data";
    header += Le32Bytes(dataSize);
    return header;
}

} // namespace

TEST(WavWriter, WritesTheHeaderAndPatchesSizesOnClose) {
    QTemporaryDir dir;
    const QString name = dir.filePath("out.wav");
    WAVEFORMATEX format = MakePcmFormat(2, 44100, 16);
    format.cbSize = 0x1234; // never written

    CWavWriter writer;
    ASSERT_TRUE(writer.create(name, format));
    EXPECT_TRUE(writer.isOpen());
    // While open, both sizes are 0 on disk.
    EXPECT_EQ(ReadBytes(name), StereoHeader(0, 0));

    const QByteArray samples = QByteArray::fromHex("0102030405060708");
    ASSERT_TRUE(writer.write(samples.constData(), 4));
    ASSERT_TRUE(writer.write(samples.constData() + 4, 4));
    EXPECT_TRUE(writer.close());
    EXPECT_FALSE(writer.isOpen());
    EXPECT_EQ(ReadBytes(name), StereoHeader(44 + 8 - 8, 8) + samples);
    EXPECT_TRUE(writer.close()); // nothing to do a second time
}

TEST(WavWriter, EmptyAndOddDataSizes) {
    QTemporaryDir dir;
    CWavWriter writer;
    ASSERT_TRUE(writer.create(dir.filePath("empty.wav"), MakePcmFormat(2, 44100, 16)));
    writer.close();
    EXPECT_EQ(ReadBytes(dir.filePath("empty.wav")), StereoHeader(36, 0));

    // An odd data size keeps its size field and gets one zero pad byte, counted by RIFF.
    ASSERT_TRUE(writer.create(dir.filePath("odd.wav"), MakePcmFormat(1, 8000, 8)));
    ASSERT_TRUE(writer.write("\x81\x82\x83", 3));
    writer.close();
    const QByteArray bytes = ReadBytes(dir.filePath("odd.wav"));
    ASSERT_EQ(bytes.size(), 48);
    EXPECT_EQ(Le32(bytes, 4), 40u);
    EXPECT_EQ(Le32(bytes, 40), 3u);
    EXPECT_EQ(bytes.mid(44), QByteArray("\x81\x82\x83\x00", 4));
    // The 8-bit mono record: tag 1, 1 channel, 8000 Hz, 8000 B/s, align 1, 8 bits.
    EXPECT_EQ(bytes.mid(20, 16), QByteArray::fromHex("01000100401f0000401f000001000800"));
}

TEST(WavWriter, DestructionFinishesTheFileAndCreateReplacesAnOldOne) {
    QTemporaryDir dir;
    const QString name = dir.filePath("old.wav");
    testsupport::WriteBytes(name, QByteArray(5000, 'x'));
    {
        CWavWriter writer;
        ASSERT_TRUE(writer.create(name, MakePcmFormat(2, 44100, 16)));
        ASSERT_TRUE(writer.write("abcd", 4));
    }
    EXPECT_EQ(ReadBytes(name), StereoHeader(40, 4) + "abcd");
}

TEST(WavWriter, FailingCreateKeepsTheErrorAndLeavesNoFile) {
    QTemporaryDir dir;
    const QString name = dir.filePath("missing/out.wav");
    TraceCapture trace(TRACE_ERROR);
    CWavWriter writer;
    EXPECT_FALSE(writer.create(name, MakePcmFormat(2, 44100, 16)));
    EXPECT_FALSE(writer.isOpen());
    EXPECT_EQ(writer.getError(), "failed to open file for writing");
    EXPECT_EQ(writer.getErrorCode(), uint32_t(ENOENT));
    EXPECT_FALSE(QFile::exists(name));
    EXPECT_TRUE(trace.hasLine("ERR", "CWavWriter::create: failed to open file for writing (2)"));

    // Writing to a writer that is not open fails without touching any file.
    EXPECT_FALSE(writer.write("abcd", 4));
    EXPECT_EQ(writer.getErrorCode(), uint32_t(EBADF));
    EXPECT_TRUE(trace.hasLine("ERR", "CWavWriter::write: error writing to wav file (9)"));
}

TEST(WavWriter, FailingHeaderWriteRemovesThePartialFile) {
    // /dev/full takes the open but refuses every byte: the RIFF chunk cannot be written.
    QTemporaryDir dir;
    const QString name = dir.filePath("full.wav");
    ASSERT_TRUE(QFile::link("/dev/full", name));
    CWavWriter writer;
    EXPECT_FALSE(writer.create(name, MakePcmFormat(2, 44100, 16)));
    EXPECT_EQ(writer.getError(), "could not create the RIFF chunk");
    EXPECT_EQ(writer.getErrorCode(), uint32_t(ENOSPC));
    EXPECT_FALSE(writer.isOpen());
    EXPECT_FALSE(QFileInfo::exists(name) || QFileInfo(name).isSymLink());
}

TEST(WavWriter, CloseTellsWhenTheSizesCouldNotBeWritten) {
    // The limit lets the header and three data bytes through but not the pad byte.
    QTemporaryDir dir;
    const QString name = dir.filePath("limited.wav");
    CWavWriter writer;
    {
        FileSizeLimit limit(47);
        ASSERT_TRUE(limit.active());
        ASSERT_TRUE(writer.create(name, MakePcmFormat(1, 8000, 8)));
        ASSERT_TRUE(writer.write("abc", 3));
        EXPECT_FALSE(writer.close());
    }
    EXPECT_FALSE(writer.isOpen());
    EXPECT_EQ(writer.getErrorCode(), uint32_t(EFBIG));
    const QByteArray bytes = ReadBytes(name);
    EXPECT_EQ(bytes.size(), 47);
    EXPECT_EQ(Le32(bytes, 40), 0u); // the data size could not be patched
}
