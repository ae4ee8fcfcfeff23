// Track extraction from CD images the tests make: the table in both forms, the WAV sample for
// sample, the session gap before a data track, the drive list, and every failure's trace line.
#include "audio/CdRipper.h"
#include "app/OpResult.h"
#include "audio/CdDriveList.h"
#include "platform/CdAudioTestImage.h"
#include "support/TestProgress.h"
#include "support/Tone.h"
#include "support/TraceCapture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

#include <unistd.h>

using namespace Qt::StringLiterals;

using cdtest::Image;
using cdtest::ImagesVariable;

namespace {
using namespace testsupport;

// The drive of the list whose name is name.
CDREC Drive(const QString& name) {
    CCdDriveList list;
    list.refresh();
    const int index = list.find(name);
    EXPECT_GE(index, 0) << name.toStdString();
    return index >= 0 ? list.drives()[size_t(index)].record : CDREC{};
}

CDTOC Toc(const CDREC& drive) {
    CDTOC lba{};
    CDTOC msf{};
    EXPECT_TRUE(CCdRipper::readToc(drive, lba, msf));
    return lba;
}

// The audio bytes of a WAV file in the fixed CD format.
QByteArray WavAudio(const QString& path) {
    const DecodedWav wav = ReadDecodedWav(path);
    EXPECT_TRUE(wav.valid);
    EXPECT_EQ(FormatHex(wav.format), FormatHex(MakePcmFormat(2, 44100, 16)));
    return wav.data;
}

class CdRipperTest : public ::testing::Test {
protected:
    // Audio tracks of 200, 157 and 180 frames, then a data track of 300 frames behind a gap.
    void makeDisc(int dataGap) {
        m_images.reset();
        m_image = std::make_unique<Image>(std::vector<cdtest::Track>{
            {false, 200, 0}, {false, 157, 0}, {false, 180, 0}, {true, 300, dataGap}});
        m_images = std::make_unique<ImagesVariable>(
            QStringList{m_image->writeCue(m_dir.path(), u"disc"_s)});
    }
    QString destination() const { return m_dir.filePath(u"tempcd.wav"_s); }
    // Rips a track of the named drive's disc into destination(); the result.
    auto rip(const QString& driveName, int track) {
        const CDREC drive = Drive(driveName);
        CTestProgress progress;
        QString error;
        return CCdRipper::ripTrack(drive, Toc(drive), track, destination(), progress, error);
    }

    QTemporaryDir m_dir;
    std::unique_ptr<Image> m_image;
    std::unique_ptr<ImagesVariable> m_images;
};
} // namespace

TEST_F(CdRipperTest, TableRulesAndBothAddressForms) {
    makeDisc(0);
    CDTOC lba{};
    CDTOC msf{};
    ASSERT_TRUE(CCdRipper::readToc(Drive(u"disc.cue"_s), lba, msf));
    EXPECT_EQ(CCdRipper::startFrame(lba.tracks[1]), 200);
    EXPECT_EQ(msf.tracks[1].addr[2], 4); // 00:04:50
    EXPECT_EQ(CCdRipper::audioTrackCount(lba), 3);
    EXPECT_FALSE(CCdRipper::isDataTrack(lba.tracks[0]));
    EXPECT_TRUE(CCdRipper::isDataTrack(lba.tracks[3]));
    // Only the low three bits count: copy permitted (2) makes an entry no data track.
    TOCTRACK entry{};
    entry.ADR = 0x1C;
    EXPECT_TRUE(CCdRipper::isDataTrack(entry));
    entry.ADR = 0x16;
    EXPECT_FALSE(CCdRipper::isDataTrack(entry));
}

TEST_F(CdRipperTest, RipsATrackSampleForSampleWithProgress) {
    makeDisc(0);
    const CDREC drive = Drive(u"disc.cue"_s);
    CTestProgress progress;
    QString error;
    ASSERT_EQ(CCdRipper::ripTrack(drive, Toc(drive), 1, destination(), progress, error), OpSuccess);
    EXPECT_TRUE(error.isEmpty());
    // 200 frames: seven reads of 26 and one of 18.
    EXPECT_TRUE(WavAudio(destination()) == m_image->frames(0, 200));
    EXPECT_EQ(progress.calls("text "), std::vector<std::string>{"text 133"});
    EXPECT_EQ(progress.ranges(), std::vector<uint32_t>{200});
    EXPECT_EQ(progress.positions(), (std::vector<uint32_t>{26, 52, 78, 104, 130, 156, 182, 200}));

    // 157 frames leave one frame after six whole reads: the loop stops one frame short.
    ASSERT_EQ(CCdRipper::ripTrack(drive, Toc(drive), 2, destination(), progress, error), OpSuccess);
    EXPECT_TRUE(WavAudio(destination()) == m_image->frames(200, 156));
}

TEST_F(CdRipperTest, TheLastTrackBeforeAGapOrTheLeadOut) {
    // Without a gap the track before the data track is ripped whole.
    makeDisc(0);
    ASSERT_EQ(rip(u"disc.cue"_s, 3), OpSuccess);
    EXPECT_TRUE(WavAudio(destination()) == m_image->frames(357, 180));
    // With the gap of a second session the track ends 11250 frames before the data track.
    makeDisc(11250);
    ASSERT_EQ(CCdRipper::startFrame(Toc(Drive(u"disc.cue"_s)).tracks[3]), 357 + 180 + 11250);
    ASSERT_EQ(rip(u"disc.cue"_s, 3), OpSuccess);
    EXPECT_TRUE(WavAudio(destination()) == m_image->frames(357, 180));
    // The last track of an audio disc stops before the lead-out's last frame.
    const Image audioOnly({{false, 160, 0}, {false, 170, 0}});
    const ImagesVariable images({audioOnly.writeCue(m_dir.path(), u"audio"_s)});
    ASSERT_EQ(rip(u"audio.cue"_s, 2), OpSuccess);
    EXPECT_TRUE(WavAudio(destination()) == audioOnly.frames(160, 169));
}

TEST_F(CdRipperTest, FailuresLeaveNoFileAndTraceTheirLine) {
    makeDisc(0);
    const TraceCapture trace;
    const CDREC drive = Drive(u"disc.cue"_s);
    const CDTOC toc = Toc(drive);
    CTestProgress progress;
    QString error;

    EXPECT_EQ(CCdRipper::ripTrack(drive, toc, 99, destination(), progress, error), OpFailed);
    EXPECT_TRUE(trace.hasLine("ERR", "ripTrack : invalid track number 99"));
    EXPECT_EQ(CCdRipper::ripTrack(drive, toc, 7, destination(), progress, error), OpFailed);
    EXPECT_TRUE(trace.hasLine("ERR", "ripTrack : track not found 7"));
    EXPECT_FALSE(QFile::exists(destination()));

    // A table whose lead-out follows track 1 at once leaves no audio frame.
    CDTOC tiny{};
    tiny.firstTrack = tiny.lastTrack = 1;
    tiny.tracks[0] = TOCTRACK{0, 0x10, 1, 0, {0, 0, 0, 0}};
    tiny.tracks[1] = TOCTRACK{0, 0x10, 170, 0, {0, 0, 0, 1}};
    EXPECT_EQ(CCdRipper::ripTrack(drive, tiny, 1, destination(), progress, error), OpFailed);
    EXPECT_TRUE(trace.hasLine("ERR", "ripTrack : lastAudioFrame = 0"));
    EXPECT_FALSE(QFile::exists(destination()));

    // The writer's system error text when the WAV cannot be made.
    const QString nowhere = m_dir.filePath(u"no/such/folder/tempcd.wav"_s);
    EXPECT_EQ(CCdRipper::ripTrack(drive, toc, 1, nowhere, progress, error), OpFailed);
    EXPECT_EQ(error, u"No such file or directory (2)"_s);

    // A drive that cannot be opened.
    const ImagesVariable gone({m_dir.filePath(u"gone.cue"_s)});
    const CDREC missing = Drive(u"gone.cue"_s);
    error.clear();
    EXPECT_EQ(CCdRipper::ripTrack(missing, toc, 1, destination(), progress, error), OpFailed);
    EXPECT_TRUE(trace.hasLine("ERR", "ripTrack : error opening cdrom gone.cue"));
    EXPECT_TRUE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(destination()));
}

TEST_F(CdRipperTest, CancelAndReadErrorsRemoveThePartialFile) {
    makeDisc(0);
    const TraceCapture trace;
    const CDREC drive = Drive(u"disc.cue"_s);
    const CDTOC toc = Toc(drive);
    QString error;

    CTestProgress cancelling;
    cancelling.cancelAtPos = 52; // after two reads
    EXPECT_EQ(CCdRipper::ripTrack(drive, toc, 1, destination(), cancelling, error), OpCancelled);
    EXPECT_EQ(cancelling.positions().size(), 2u);
    EXPECT_FALSE(QFile::exists(destination()));

    // The image loses all but its first 100 frames while a long track is read: every attempt
    // fails once the reads pass what is left.
    const Image longDisc({{false, 3000, 0}});
    const ImagesVariable images({longDisc.writeCue(m_dir.path(), u"long"_s)});
    const CDREC longDrive = Drive(u"long.cue"_s);
    const CDTOC longToc = Toc(longDrive);
    CTestProgress damaging;
    const QByteArray bin = m_dir.filePath(u"long.bin"_s).toLocal8Bit();
    damaging.onPos = [&](uint32_t) { ASSERT_EQ(::truncate(bin.constData(), 100 * 2352), 0); };
    EXPECT_EQ(CCdRipper::ripTrack(longDrive, longToc, 1, destination(), damaging, error), OpFailed);
    EXPECT_TRUE(trace.hasLine("ERR", "error reading from cd"));
    EXPECT_FALSE(QFile::exists(destination()));
}

TEST_F(CdRipperTest, DriveListPicksTheFirstDiscWithAudio) {
    // Nine audio tracks and a data track 10 behind a session gap, after a missing image and a
    // disc of data only.
    std::vector<cdtest::Track> tracks(9, cdtest::Track{false, 160, 0});
    tracks.push_back({true, 200, 11250});
    const Image enhanced(tracks);
    const Image dataOnly({{true, 300, 0}});
    const ImagesVariable images({m_dir.filePath(u"missing.cue"_s),
                                 dataOnly.writeCue(m_dir.path(), u"data"_s),
                                 enhanced.writeCue(m_dir.path(), u"enhanced"_s)});
    CCdDriveList list;
    list.refresh();
    const int missing = list.find(u"missing.cue"_s);
    const int data = list.find(m_dir.filePath(u"data.cue"_s));
    const int audio = list.find(u"enhanced.cue"_s);
    ASSERT_GE(missing, 0);
    ASSERT_EQ(data, missing + 1);
    ASSERT_EQ(audio, missing + 2);
    EXPECT_EQ(list.find(u"nothing.cue"_s), -1);
    if (missing == 0) {
        EXPECT_EQ(list.defaultIndex(), audio);
    }
    EXPECT_FALSE(list.drives()[size_t(missing)].tocRead);

    const CDTOC& toc = list.drives()[size_t(audio)].toc;
    const QStringList lines = CCdDriveList::trackLines(toc);
    ASSERT_EQ(lines.size(), 10);
    EXPECT_EQ(lines[8], u"Track 09 (audio)"_s);
    EXPECT_EQ(lines[9], u"Track 10 (data)"_s);

    EXPECT_EQ(CCdRipper::startFrame(toc.tracks[9]) - 11250, 9 * 160);
}
