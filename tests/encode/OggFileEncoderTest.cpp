// Tests of the OGG Vorbis file encoder: validations, page layout, stream contents, file switching.
#include "encode/OggFileEncoder.h"

#include "app/OxaException.h"
#include "support/TestSupport.h"
#include "support/Tone.h"
#include "support/TraceCapture.h"
#include "util/SystemError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <cstring>
#include <ctime>
#include <gtest/gtest.h>
#include <vector>
#include <vorbis/vorbisfile.h>

using namespace Qt::StringLiterals;

using testsupport::ReadBytes;
using testsupport::ThrownMessage;

namespace {

// 16-bit PCM of a sine tone, the same on every channel.
QByteArray SineTone(int channels, int rate, int frames, double frequency, double amplitude) {
    return testsupport::SinePcm(rate, frames, frequency, std::vector<double>(channels, amplitude));
}

EncoderParams Params(uint32_t mode, uint32_t rate, uint16_t bitrate, int32_t quality) {
    EncoderParams params;
    params.mode = mode;
    params.sampleRate = rate;
    params.bitRate = (uint32_t(bitrate) << 16) | bitrate; // as the extraction fills it
    params.bitRateAgain = bitrate;
    params.quality = quality;
    return params;
}

// Feeds pcm to the encoder in pieces of the given size.
void EncodeInPieces(COggFileEncoder& encoder, const QByteArray& pcm, int piece) {
    for (int done = 0; done < pcm.size(); done += piece)
        encoder.encode(pcm.constData() + done, uint32_t(std::min(piece, int(pcm.size()) - done)));
}

// One Ogg page of a file.
struct Page {
    bool bos, eos, continued;
    int64_t granule;
    uint32_t serial;
    long sequence;
    int packetsEnding; // packets that end on this page
    int segments, lastLacing;
};

// The pages of a whole file as libogg reads them, which checks every page's checksum. Bytes
// skipped between pages or a page cut short fail the test.
std::vector<Page> ParsePages(const QByteArray& file) {
    ogg_sync_state sync;
    ogg_sync_init(&sync);
    std::memcpy(ogg_sync_buffer(&sync, long(file.size())), file.constData(), size_t(file.size()));
    ogg_sync_wrote(&sync, long(file.size()));
    std::vector<Page> pages;
    ogg_page page;
    qsizetype used = 0;
    for (int found; (found = ogg_sync_pageout(&sync, &page)) != 0;) {
        if (found < 0) {
            ADD_FAILURE() << "bytes skipped before page " << pages.size();
            break;
        }
        pages.push_back(
            {ogg_page_bos(&page) != 0, ogg_page_eos(&page) != 0, ogg_page_continued(&page) != 0,
             ogg_page_granulepos(&page), uint32_t(ogg_page_serialno(&page)), ogg_page_pageno(&page),
             ogg_page_packets(&page), page.header[26], page.header[26 + page.header[26]]});
        used += page.header_len + page.body_len;
    }
    EXPECT_EQ(used, file.size()) << "the last page is cut short";
    ogg_sync_clear(&sync);
    return pages;
}

// What vorbisfile reads from a file.
struct StreamInfo {
    bool opened = false;
    int channels = 0;
    long rate = 0;
    long bitrateNominal = 0;
    int64_t frames = -1;
};

StreamInfo ReadStreamInfo(const QString& path) {
    StreamInfo result;
    OggVorbis_File file{};
    if (ov_fopen(QFile::encodeName(path).constData(), &file) != 0)
        return result;
    result.opened = true;
    const vorbis_info* info = ov_info(&file, 0);
    result.channels = info->channels;
    result.rate = info->rate;
    result.bitrateNominal = info->bitrate_nominal;
    result.frames = ov_pcm_total(&file, -1);
    ov_clear(&file);
    return result;
}

// Checks the layout of a whole encoder output file: the identification header alone on the first
// page, the other two headers ending exactly at the end of a page, the audio on fresh pages, one
// serial, consecutive page numbers, valid checksums and the end-of-stream mark on the last page
// only. Returns the serial number.
uint32_t ExpectWellFormedStream(const QString& path, int64_t frames) {
    const std::vector<Page> pages = ParsePages(ReadBytes(path));
    EXPECT_GE(pages.size(), 3u);
    if (pages.size() < 3)
        return 0;

    EXPECT_EQ(pages[0].segments, 1); // the identification header alone on the first page
    int headerPackets = 0;
    size_t firstAudioPage = 0;
    for (size_t i = 0; i < pages.size() && headerPackets < 3; ++i) {
        EXPECT_EQ(pages[i].granule, 0) << "header page " << i;
        headerPackets += pages[i].packetsEnding;
        firstAudioPage = i + 1;
    }
    EXPECT_EQ(headerPackets, 3) << "the headers share no page with audio";
    EXPECT_LT(pages[firstAudioPage - 1].lastLacing, 255);

    for (size_t i = 0; i < pages.size(); ++i) {
        EXPECT_EQ(pages[i].serial, pages[0].serial) << "page " << i;
        EXPECT_EQ(size_t(pages[i].sequence), i);
        EXPECT_EQ(pages[i].eos, i + 1 == pages.size()) << "page " << i;
        EXPECT_EQ(pages[i].bos, i == 0) << "page " << i;
    }
    if (firstAudioPage < pages.size()) {
        EXPECT_FALSE(pages[firstAudioPage].continued);
    }
    EXPECT_EQ(pages.back().granule, frames);
    return pages[0].serial;
}

class OggFileEncoderTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

TEST_F(OggFileEncoderTest, RefusesBadModeQualityAndNameWithTheirMessages) {
    const QString badMode = u"OGG: Invalid mode for OGG encoder (%1). Only STEREO (2) and MONO (1) "
                            u"mode supported"_s;
    const QString badQuality =
        u"OGG: Invalid quality for OGG encoder (%1). Valid values are between -1 and 10."_s;
    const QString missing = path("no/such/folder/tone");
    // A rate or a bitrate libvorbisenc has no setup for: the encoder cannot start.
    const QString noSetup = u"OGG: Error initializing vorbis encoder"_s;
    const struct {
        QString name;
        EncoderParams params;
        QString message;
    } cases[] = {
        {path("a"), Params(0, 44100, 0, 3), badMode.arg(0)},
        {path("a"), Params(3, 44100, 0, 3), badMode.arg(3)},
        {path("a"), Params(2, 44100, 0, 11), badQuality.arg(11)},
        {path("a"), Params(1, 44100, 0, -2), badQuality.arg(-2)},
        {QString(), Params(2, 44100, 0, 3), u"OGG: NULL paramater for file name"_s},
        {missing, Params(2, 44100, 0, 3), u"error creating OGG file \"%1.ogg\""_s.arg(missing)},
        {path("b"), Params(2, 0, 0, 3), noSetup},
        {path("b"), Params(2, 44100, 2000, 3), noSetup},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ThrownMessage([&] { COggFileEncoder(c.name, c.params); }), c.message);
    EXPECT_TRUE(QDir(m_dir.path()).isEmpty()); // no file left behind

    // With a nominal bitrate the quality is not looked at.
    COggFileEncoder encoder(path("d"), Params(2, 44100, 96, 11));
    EXPECT_TRUE(encoder.isOpen());
}

TEST_F(OggFileEncoderTest, StereoQualityStreamHasHeaderPagesAudioAndEndOfStream) {
    const int frames = 44100 + 123;
    const QByteArray pcm = SineTone(2, 44100, frames, 1000.0, 0.5);
    {
        COggFileEncoder encoder(path("tone"), Params(2, 44100, 0, 3));
        EncodeInPieces(encoder, pcm, 10002); // pieces that do not end on whole frames
    }
    // The pieces split frames, and a trailing partial frame of each piece is dropped.
    const int framesKept = (pcm.size() / 10002) * (10002 / 4) + (pcm.size() % 10002) / 4;
    ExpectWellFormedStream(path("tone.ogg"), framesKept);

    const StreamInfo info = ReadStreamInfo(path("tone.ogg"));
    ASSERT_TRUE(info.opened);
    EXPECT_EQ(info.channels, 2);
    EXPECT_EQ(info.rate, 44100);
    EXPECT_EQ(info.frames, framesKept);
}

TEST_F(OggFileEncoderTest, MonoAndBitrateModesSetUpTheStreamAsAsked) {
    const QByteArray mono = SineTone(1, 22050, 22050, 440.0, 0.3);
    {
        COggFileEncoder encoder(path("mono.ogg"), Params(1, 22050, 0, 5));
        EncodeInPieces(encoder, mono, 4096);
        encoder.encode(mono.constData(), 3); // one frame and a dropped half
    }
    ExpectWellFormedStream(path("mono.ogg"), 22050 + 1);
    StreamInfo info = ReadStreamInfo(path("mono.ogg"));
    EXPECT_EQ(info.channels, 1);
    EXPECT_EQ(info.rate, 22050);
    EXPECT_EQ(info.frames, 22050 + 1);

    const QByteArray stereo = SineTone(2, 48000, 48000, 440.0, 0.3);
    {
        COggFileEncoder encoder(path("managed.ogg"), Params(2, 48000, 64, 0));
        encoder.encode(stereo.constData(), uint32_t(stereo.size()));
    }
    ExpectWellFormedStream(path("managed.ogg"), 48000);
    info = ReadStreamInfo(path("managed.ogg"));
    EXPECT_EQ(info.channels, 2);
    EXPECT_EQ(info.rate, 48000);
    EXPECT_EQ(info.bitrateNominal, 64000);

    // The quality is a tenth of the Vorbis scale: -1 and 10 make streams of very different sizes.
    for (int quality : {-1, 10}) {
        COggFileEncoder encoder(path(u"q%1.ogg"_s.arg(quality)), Params(2, 48000, 0, quality));
        encoder.encode(stereo.constData(), uint32_t(stereo.size()));
    }
    const qint64 low = QFile(path("q-1.ogg")).size();
    const qint64 high = QFile(path("q10.ogg")).size();
    EXPECT_GT(high, 2 * low);
    EXPECT_LT(ReadStreamInfo(path("q-1.ogg")).bitrateNominal, 64000);
    EXPECT_GT(ReadStreamInfo(path("q10.ogg")).bitrateNominal, 400000);
}

TEST_F(OggFileEncoderTest, EmptyRunStillMakesAValidStream) {
    {
        COggFileEncoder encoder(path("empty"), Params(2, 44100, 0, 0));
        encoder.encode(nullptr, 0);
        encoder.encode(nullptr, 0); // the stream is ended once
        EXPECT_EQ(ThrownMessage([&] { encoder.encode("abcd", 4); }), "OGG: invalid file state");
    }
    // The identification page, the page of the other two headers, the end-of-stream page.
    EXPECT_EQ(ParsePages(ReadBytes(path("empty.ogg"))).size(), 3u);
    ExpectWellFormedStream(path("empty.ogg"), 0);
    EXPECT_TRUE(ReadStreamInfo(path("empty.ogg")).opened);
}

TEST_F(OggFileEncoderTest, SwitchFileFinishesTheFirstFileAndStartsANewStream) {
    const QByteArray pcm = SineTone(2, 44100, 22050, 1000.0, 0.5);
    COggFileEncoder encoder(path("first.ogg"), Params(2, 44100, 0, 0));
    encoder.encode(pcm.constData(), uint32_t(pcm.size()));
    // Wait for the clock's next second, so that the new stream's serial number is a new one.
    const std::time_t first = std::time(nullptr);
    while (std::time(nullptr) == first)
        QThread::msleep(20);
    encoder.switchFile(path("second"));
    EXPECT_EQ(encoder.getFileName(), path("second.ogg"));
    encoder.encode(pcm.constData(), 4 * 1000);

    // The first file is complete before the encoder is done.
    const uint32_t firstSerial = ExpectWellFormedStream(path("first.ogg"), 22050);

    encoder.encode(nullptr, 0);
    const uint32_t secondSerial = ExpectWellFormedStream(path("second.ogg"), 1000);
    EXPECT_NE(firstSerial, secondSerial);
}

TEST_F(OggFileEncoderTest, FailedSwitchLeavesAClosedEncoderThatDiesQuietly) {
    const QByteArray pcm = SineTone(1, 44100, 4410, 1000.0, 0.5);
    const TraceCapture trace(TRACE_ERROR);
    {
        COggFileEncoder encoder(path("kept"), Params(1, 44100, 0, 0));
        encoder.encode(pcm.constData(), uint32_t(pcm.size()));
        const QString missing = path("gone/next.ogg");
        EXPECT_EQ(ThrownMessage([&] { encoder.switchFile(missing); }),
                  u"error creating OGG file \"%1\""_s.arg(missing));
        EXPECT_EQ(encoder.getErrorCode(), uint32_t(ENOENT));
        EXPECT_FALSE(encoder.isOpen());
        EXPECT_EQ(ThrownMessage([&] { encoder.encode(pcm.constData(), 4); }),
                  "OGG: invalid file state");
        EXPECT_EQ(ThrownMessage([&] { encoder.switchFile(path("again")); }),
                  "OGG: invalid file state");
    }
    EXPECT_TRUE(trace.hasLine("ERR", u"Error creating OGG file %1, error: %2"_s.arg(
                                         path("gone/next.ogg"), SystemErrorText(ENOENT))));
    ExpectWellFormedStream(path("kept.ogg"), 4410);
    EXPECT_FALSE(QFile::exists(path("again.ogg")));
}

TEST_F(OggFileEncoderTest, FullDiskFailsOnTheFirstHeaderPage) {
    ASSERT_TRUE(QFile::exists(u"/dev/full"_s));
    ASSERT_TRUE(QFile::link(u"/dev/full"_s, path("full.ogg")));
    // The first page is the 28-byte page header followed by the 30-byte identification header.
    EXPECT_EQ(ThrownMessage([&] { COggFileEncoder(path("full.ogg"), Params(2, 44100, 0, 0)); }),
              "Error writing 28 bytes to file");

    // Switching onto the full disk: the first file is finished, the encoder is left closed.
    {
        COggFileEncoder encoder(path("fine.ogg"), Params(2, 44100, 0, 0));
        EXPECT_EQ(ThrownMessage([&] { encoder.switchFile(path("full.ogg")); }),
                  "Error writing 28 bytes to file");
        EXPECT_EQ(encoder.getErrorCode(), uint32_t(ENOSPC));
        EXPECT_FALSE(encoder.isOpen());
    }
    ExpectWellFormedStream(path("fine.ogg"), 0);
}

} // namespace
