// CWavFileEncoder: output names, the file it finishes, switching files, failures.
#include "encode/WavFileEncoder.h"
#include "app/OxaException.h"
#include "decode/WavReader.h"
#include "decode/WavTestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <gtest/gtest.h>

using namespace wavtest;
using testsupport::ReadBytes;
using testsupport::ThrownMessage;

TEST(WavFileEncoder, NamesWithoutExtensionGetWav) {
    QTemporaryDir dir;
    const WAVEFORMATEX format = MakePcmFormat(1, 8000, 16);
    ASSERT_TRUE(QDir(dir.path()).mkdir("a.b"));
    const QString plain = dir.filePath("a.b/tone");
    const QString upl = dir.filePath("tone.upl");
    const QString hidden = dir.filePath(".tone");
    {
        CWavFileEncoder a(plain, &format);
        CWavFileEncoder b(upl, &format);
        CWavFileEncoder c(hidden, &format);
        EXPECT_EQ(a.getFileName(), plain + ".wav");
        EXPECT_EQ(b.getFileName(), upl);
        EXPECT_EQ(c.getFileName(), hidden);
    }
    EXPECT_EQ(ReadBytes(plain + ".wav").size(), 44);
    EXPECT_EQ(ReadBytes(upl).size(), 44);
    EXPECT_EQ(CFileEncoder::withDefaultExtension("x", ".ogg"), "x.ogg");
    EXPECT_EQ(CFileEncoder::withDefaultExtension("dir.d/x.", ".ogg"), "dir.d/x.");
}

TEST(WavFileEncoder, EncodedBlocksReadBackAndSwitchFileFinishesTheFirst) {
    QTemporaryDir dir;
    const WAVEFORMATEX format = MakePcmFormat(2, 44100, 16);
    QByteArray pcm(44100 * 4, '\0');
    for (int i = 0; i < pcm.size(); ++i)
        pcm[i] = char(i * 13);
    {
        CWavFileEncoder encoder(dir.filePath("one"), &format);
        encoder.encode(pcm.constData(), 1000);
        encoder.encode(pcm.constData() + 1000, uint32_t(pcm.size() - 1000));
        encoder.switchFile(dir.filePath("two.wav"));
        EXPECT_EQ(encoder.getFileName(), dir.filePath("two.wav"));
        encoder.encode(pcm.constData(), 400);
    }
    CWavReader one(dir.filePath("one.wav"));
    EXPECT_EQ(one.getDuration(), 1000);
    EXPECT_EQ(one.getFormat()->nChannels, 2);
    QByteArray back(pcm.size(), '\0');
    EXPECT_EQ(one.read(back.data(), back.size()), pcm.size());
    EXPECT_EQ(back, pcm);
    CWavReader two(dir.filePath("two.wav"));
    EXPECT_EQ(two.getDataSize(), 400u);
    EXPECT_EQ(ReadBytes(dir.filePath("two.wav")).mid(44), pcm.left(400));
}

TEST(WavFileEncoder, Failures) {
    QTemporaryDir dir;
    const WAVEFORMATEX format = MakePcmFormat(2, 44100, 16);
    const QString missing = dir.filePath("missing/out");
    EXPECT_EQ(ThrownMessage([&] { CWavFileEncoder encoder(missing, &format); }),
              "Error creating WAV file \"" + missing + ".wav\"");
    EXPECT_FALSE(QFile::exists(missing + ".wav"));

    CWavFileEncoder encoder(dir.filePath("ok"), &format);
    EXPECT_THROW(encoder.switchFile(missing), COxaFileException);
    EXPECT_EQ(encoder.getErrorCode(), uint32_t(ENOENT));
    EXPECT_EQ(ReadBytes(dir.filePath("ok.wav")).size(), 44); // finished before the switch
    EXPECT_EQ(ThrownMessage([&] { encoder.encode("abcd", 4); }),
              "Error writing 4 bytes to WAV file");

    // A file size limit makes the system refuse the data after the header.
    FileSizeLimit limit(1000);
    ASSERT_TRUE(limit.active());
    CWavFileEncoder limited(dir.filePath("big"), &format);
    const QByteArray pcm(4000, '\0');
    EXPECT_EQ(ThrownMessage([&] { limited.encode(pcm.constData(), uint32_t(pcm.size())); }),
              "Error writing 4000 bytes to WAV file");
    EXPECT_EQ(limited.getErrorCode(), uint32_t(EFBIG));
}
