// Opening inputs into the work files, naming them, the default selection and the saved state.
#include "workflow/RingtoneModel.h"

#include "ModelTestSupport.h"
#include "app/OpResult.h"
#include "decode/InputKinds.h"
#include "decode/OggDecoder.h"
#include "decode/WavReader.h"
#include "encode/DatFileMaker.h"
#include "encode/OggFileEncoder.h"
#include "support/TestProgress.h"
#include "support/TestSupport.h"
#include "support/Tone.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace modeltest;

namespace {

class RingtoneModelTest : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
        m_model.init(&m_owner, &m_view, QString());
    }

    TestOwner m_owner;
    TestView m_view;
    CRingtoneModel m_model;
};

void ExpectEmpty(const CRingtoneModel& model) {
    EXPECT_TRUE(model.getInputName().isEmpty());
    EXPECT_TRUE(model.getInputFileName().isEmpty());
    EXPECT_TRUE(model.getWavFileName().isEmpty());
    EXPECT_EQ(model.getDuration(), 0);
    EXPECT_FALSE(model.getCut().isValid());
    EXPECT_EQ(model.getState(), CRingtoneModel::State::Idle);
}

} // namespace

TEST_F(RingtoneModelTest, OpensSixteenBitWavNamesItAndSavesTheState) {
    ExpectEmpty(m_model);
    const QString path = file(QStringLiteral("01 - My Song.wav"));
    WriteToneWav(path, 15.0, 2, 44100);
    const int resets = m_view.resets;
    ASSERT_TRUE(m_model.openInputFile(path, CRingtoneModel::OpenMode::UserFile, 0));
    EXPECT_GT(m_view.resets, resets); // the view shows all of a new input

    EXPECT_EQ(m_model.getWavFileName(), path); // a 16-bit WAV is read where it lies
    EXPECT_EQ(QFileInfo(work(QStringLiteral("temp.dat"))).size(), 1500); // one byte per 10 ms
    EXPECT_EQ(m_model.getDuration(), 15000);
    EXPECT_EQ(m_model.getInputName(), QLatin1Char('[') + path + QLatin1Char(']'));
    EXPECT_EQ(m_model.getInputTitle(), QStringLiteral("MySong"));
    EXPECT_EQ(m_owner.titles.back(), 115);
    EXPECT_TRUE(m_owner.messages.errors.isEmpty());
    uint32_t count = 0;
    ASSERT_NE(m_model.getDatValues(0, 1000, count), nullptr);
    EXPECT_EQ(count, 100u);

    m_model.saveState();
    EXPECT_EQ(m_view.stops, 1);
    const ConfigFile& config = GetConfig();
    EXPECT_EQ(config.GetInputFileName(), path);
    EXPECT_EQ(config.GetInputName(), m_model.getInputName());
    EXPECT_EQ(config.GetInputTitle(), QStringLiteral("MySong"));
    EXPECT_EQ(config.GetWavFileName(), path);
    EXPECT_EQ(config.GetCut(), QStringLiteral("3750,11250,0,0")); // the default: the middle half
}

TEST_F(RingtoneModelTest, DefaultSelectionFollowsTheInputLength) {
    const QString longer = file(QStringLiteral("long.wav"));
    WriteToneWav(longer, 60.0, 1);
    ASSERT_TRUE(m_model.openInputFile(longer, CRingtoneModel::OpenMode::UserFile, 0));
    EXPECT_EQ(m_model.getCut().start(), 10000);
    EXPECT_EQ(m_model.getCut().end(), 20000);

    // Opening a new file drops the old selection, even one that would fit.
    m_model.setCut(500, 2000);
    const QString shorter = file(QStringLiteral("short.wav"));
    WriteToneWav(shorter, 2.0, 1);
    ASSERT_TRUE(m_model.openInputFile(shorter, CRingtoneModel::OpenMode::UserFile, 0));
    EXPECT_EQ(m_model.getDuration(), 2000);
    EXPECT_FALSE(m_model.getCut().isValid());

    CCutInfo cut;
    CRingtoneModel::applyDefaultSelection(cut, 2001); // just long enough for the middle half
    EXPECT_EQ(cut.start(), 500);
    EXPECT_EQ(cut.end(), 1500);
}

TEST_F(RingtoneModelTest, DecodesMp3AndWmaIntoTheWorkWav) {
    const QString tempIn = work(QStringLiteral("temp.in"));
    ASSERT_TRUE(m_model.openInputFile(Fixture("tone-stereo-44k.mp3"),
                                      CRingtoneModel::OpenMode::UserFile, 0));
    EXPECT_EQ(m_model.getWavFileName(), tempIn);
    EXPECT_EQ(m_model.getInputTitle(), QStringLiteral("tonestereok"));
    const DecodedWav wav = ReadDecodedWav(tempIn);
    EXPECT_EQ(FormatHex(wav.format), FormatHex(MakePcmFormat(2, 44100, 16)));
    EXPECT_GT(wav.frames(), 44100u * 19 / 10);
    EXPECT_TRUE(QFileInfo::exists(work(QStringLiteral("temp.dat"))));

#ifdef QUILLET_WITH_FFMPEG
    ASSERT_TRUE(m_model.openInputFile(Fixture("tone.wma"), CRingtoneModel::OpenMode::UserFile, 0));
    EXPECT_EQ(m_model.getWavFileName(), tempIn);
    EXPECT_NEAR(double(m_model.getDuration()), 2000.0, 100.0);
#else
    EXPECT_FALSE(m_model.openInputFile(Fixture("tone.wma"), CRingtoneModel::OpenMode::UserFile, 0));
    EXPECT_EQ(m_owner.messages.errors.value(0), LoadString(187));
#endif
}

TEST_F(RingtoneModelTest, DecodingWritesTheWorkFilesAsReadingTheDecodedWavBackWould) {
    // 12 s of stereo: some 30 blocks through the writer thread's bounded queue.
    const QString ogg = file(QStringLiteral("long.ogg"));
    testsupport::WriteOgg(ogg, testsupport::SinePcm(44100, 12 * 44100, 440, {0.61, 0.61}), 2,
                          44100);
    GetConfig().SetNormalizationPercent(100);
    ASSERT_TRUE(m_model.openInputFile(ogg, CRingtoneModel::OpenMode::UserFile, 0));

    const QString plain = file(QStringLiteral("plain"));
    COggDecoder decoder;
    testsupport::CTestProgress progress;
    ASSERT_EQ(decoder.decodeFile(ogg, plain + QStringLiteral(".wav"), &progress), OpSuccess);
    CWavReader reader(plain + QStringLiteral(".wav"));
    int peak = 0;
    UserText error;
    ASSERT_EQ(createDatFile(reader, plain, progress, peak, error), OpSuccess);
    EXPECT_EQ(testsupport::ReadBytes(work(QStringLiteral("temp.in"))),
              testsupport::ReadBytes(plain + QStringLiteral(".wav")));
    EXPECT_EQ(testsupport::ReadBytes(work(QStringLiteral("temp.dat"))),
              testsupport::ReadBytes(plain + QStringLiteral(".dat")));
    EXPECT_GT(peak, 19000);
    EXPECT_DOUBLE_EQ(m_model.getNormalizationGain(), CRingtoneModel::normalizationGain(100, peak));
}

TEST_F(RingtoneModelTest, ADecodeRangeGivesTheSamplesOfTheWholeDecodeThere) {
    // A minute of MP3 (the two-second fixture thirty times over) and 12 s of OGG Vorbis.
    const QString mp3 = file(QStringLiteral("long.mp3"));
    WriteBytes(mp3,
               ReadBytes(testsupport::Fixture(QStringLiteral("tone-stereo-44k.mp3"))).repeated(30));
    const QString ogg = file(QStringLiteral("long.ogg"));
    testsupport::WriteOgg(ogg, testsupport::SinePcm(44100, 12 * 44100, 440, {0.61, 0.61}), 2,
                          44100);
    const QString workWav = work(QStringLiteral("temp.in"));
    // Opens path whole and then from from to to: the stretch starts at offset and holds the
    // whole decode's samples there, up to to or the input's end.
    const auto expectStretch = [&](const QString& path, qint64 from, qint64 to, qint64 offset) {
        m_model.setDecodeRange(0, -1);
        ASSERT_TRUE(m_model.openInputFile(path, CRingtoneModel::OpenMode::UserFile, 0));
        const qint64 duration = m_model.getDuration();
        const QByteArray whole = testsupport::ReadDecodedWav(workWav).data;
        m_model.setDecodeRange(from, to);
        ASSERT_TRUE(m_model.openInputFile(path, CRingtoneModel::OpenMode::UserFile, 0));
        EXPECT_EQ(m_model.getInputOffset(), offset);
        EXPECT_EQ(m_model.getDuration(), std::min(to, duration) - offset);
        const QByteArray part = testsupport::ReadDecodedWav(workWav).data;
        const qint64 first = offset * 441 / 10 * 4; // bytes of 44.1 kHz stereo
        EXPECT_TRUE(part == whole.mid(first, (to - offset) * 441 / 10 * 4))
            << path.toStdString() << " from " << from;
    };
    expectStretch(mp3, 41500, 52000, 41000);
    expectStretch(mp3, 300, 5000, 0);        // too close to the start for a later one
    expectStretch(mp3, 90000, 95000, 61000); // beyond the end: the last second
    expectStretch(ogg, 5999, 9000, 5000);
    expectStretch(ogg, 20000, 30000, 11000);
}

TEST_F(RingtoneModelTest, RefusesUnsupportedInputsWithTheirMessages) {
    const QString flac = file(QStringLiteral("track.flac"));
    WriteBytes(flac, QByteArray(100, 'x'));
    EXPECT_FALSE(m_model.openInputFile(flac, CRingtoneModel::OpenMode::UserFile, 0));
    ASSERT_EQ(m_owner.messages.errors.size(), 1);
    EXPECT_EQ(m_owner.messages.errors[0],
              QStringLiteral("Cannot open file %1: unsupported extension.").arg(flac));
    EXPECT_FALSE(m_model.openInputFile(flac, CRingtoneModel::OpenMode::Reopen, 0)); // silently
    EXPECT_EQ(m_owner.messages.errors.size(), 1);
    ExpectEmpty(m_model);

    const QString deep = file(QStringLiteral("deep.wav"));
    WriteWav(deep, MakePcmFormat(2, 44100, 24), QByteArray(6000, '\1'));
    EXPECT_FALSE(m_model.openInputFile(deep, CRingtoneModel::OpenMode::UserFile, 0));
    EXPECT_EQ(m_owner.messages.errors.value(1),
              QStringLiteral("Unsupported wave file, only 8 or 16 bit PCM files are supported"));
    ExpectEmpty(m_model);

    const QString noAudio = file(QStringLiteral("zeros.mp3"));
    WriteBytes(noAudio, QByteArray(10000, '\0'));
    EXPECT_FALSE(m_model.openInputFile(noAudio, CRingtoneModel::OpenMode::UserFile, 0));
    EXPECT_EQ(m_owner.messages.errors.value(2), QStringLiteral("Invalid file!"));
    EXPECT_FALSE(QFileInfo::exists(work(QStringLiteral("temp.in"))));

    const QString missing = file(QStringLiteral("missing.wav"));
    EXPECT_FALSE(m_model.openInputFile(missing, CRingtoneModel::OpenMode::UserFile, 0));
    EXPECT_EQ(m_owner.messages.errors.value(3),
              QStringLiteral("Could not open file: error opening file %1: the file was not found.")
                  .arg(missing));
    EXPECT_EQ(m_model.getState(), CRingtoneModel::State::Idle);

    // A decoder's failure shows its own text, or the generic one when it has none.
    const QString missingMp3 = file(QStringLiteral("missing.mp3"));
    EXPECT_FALSE(m_model.openInputFile(missingMp3, CRingtoneModel::OpenMode::UserFile, 0));
    EXPECT_EQ(m_owner.messages.errors.value(4),
              QStringLiteral("Error decoding file %1.").arg(missingMp3));
#ifdef QUILLET_WITH_FFMPEG
    EXPECT_FALSE(
        m_model.openInputFile(Fixture("video-only.asf"), CRingtoneModel::OpenMode::UserFile, 0));
    EXPECT_EQ(m_owner.messages.errors.value(5), QStringLiteral("Stream not found"));
#endif
    ExpectEmpty(m_model);

    for (const char* name : {"a.wav", "b.Ogg", "c.WMA", "d.wmv", "e.asf"})
        EXPECT_TRUE(isSupportedExtension(QLatin1String(name))) << name;
    for (const char* name : {"track.flac", "noextension", "a.mp3.txt", "temp.in", "mp3"})
        EXPECT_FALSE(isSupportedExtension(QLatin1String(name))) << name;
}

TEST_F(RingtoneModelTest, UnwritableWorkFilesFailWithTheirMessage) {
    // The visualization file cannot be created where a folder stands in its way.
    ASSERT_TRUE(QDir().mkdir(work(QStringLiteral("temp.dat"))));
    const QString good = file(QStringLiteral("good.wav"));
    WriteToneWav(good, 3.0, 1);
    EXPECT_FALSE(m_model.openInputFile(good, CRingtoneModel::OpenMode::UserFile, 0));
    EXPECT_EQ(m_owner.messages.errors.value(0),
              QStringLiteral("Could not open file: error creating DAT file \"%1\".")
                  .arg(work(QStringLiteral("temp.dat"))));
    ExpectEmpty(m_model);
    EXPECT_TRUE(QFileInfo(work(QStringLiteral("temp.dat"))).isDir());
}

TEST_F(RingtoneModelTest, ConvertsEightBitWavIntoSixteenBitWorkWav) {
    const QString path = file(QStringLiteral("eight.wav"));
    QByteArray bytes(16000, char(0x80)); // 2 s of mono 8 kHz
    bytes[0] = char(0x80);
    bytes[1] = char(0xFF);
    bytes[2] = char(0x00);
    bytes[3] = char(0x81);
    WriteWav(path, MakePcmFormat(1, 8000, 8), bytes);
    ASSERT_TRUE(m_model.openInputFile(path, CRingtoneModel::OpenMode::UserFile, 0));

    const QString tempIn = work(QStringLiteral("temp.in"));
    EXPECT_EQ(m_model.getWavFileName(), tempIn);
    EXPECT_EQ(m_model.getDuration(), 2000);
    const DecodedWav wav = ReadDecodedWav(tempIn);
    EXPECT_EQ(FormatHex(wav.format), FormatHex(MakePcmFormat(1, 8000, 16)));
    ASSERT_EQ(wav.frames(), 16000u);
    EXPECT_EQ(std::vector({wav.sample(0, 0), wav.sample(1, 0), wav.sample(2, 0), wav.sample(3, 0)}),
              std::vector<int16_t>({0, 32512, -32768, 256}));
}

TEST_F(RingtoneModelTest, PeakGivesTheNormalizationGain) {
    const QString quiet = file(QStringLiteral("quiet.wav"));
    WriteToneWav(quiet, 3.0, 2, 8000, 50 / 32767.0);
    GetConfig().SetNormalizationPercent(100);
    ASSERT_TRUE(m_model.openInputFile(quiet, CRingtoneModel::OpenMode::UserFile, 0));
    EXPECT_EQ(m_model.getNormalizationGain(), 0.0);

    QByteArray pcm(8000 * 2 * 2, '\0');
    pcm[6] = char(0x00); // one sample of -16384 on the right channel
    pcm[7] = char(0xC0);
    const QString loud = file(QStringLiteral("loud.wav"));
    WriteWav(loud, MakePcmFormat(2, 8000, 16), pcm);
    ASSERT_TRUE(m_model.openInputFile(loud, CRingtoneModel::OpenMode::UserFile, 0));
    EXPECT_DOUBLE_EQ(m_model.getNormalizationGain(), 32767.0 / 16384.0);

    const unsigned char edge[] = {0x00, 0x80, 0xFF, 0x7F, 0x01, 0x00};
    EXPECT_EQ(blockPeak(edge, sizeof edge), 32768);
    EXPECT_DOUBLE_EQ(CRingtoneModel::normalizationGain(50, 32767), 0.5);
    EXPECT_EQ(CRingtoneModel::normalizationGain(50, 99), 0.0);
    EXPECT_EQ(CRingtoneModel::normalizationGain(100.01, 20000), 0.0);
}

TEST_F(RingtoneModelTest, CancelInEachStepLeavesNoPartialFileAndNoInput) {
    const QString good = file(QStringLiteral("good.wav"));
    WriteToneWav(good, 15.0, 2, 8000);
    ASSERT_TRUE(m_model.openInputFile(good, CRingtoneModel::OpenMode::UserFile, 0));
    const int errors = int(m_owner.messages.errors.size());

    // Decoding: the MP3 decoder asks at once.
    m_owner.cancelAtCall = 0;
    EXPECT_FALSE(m_model.openInputFile(Fixture("tone-stereo-44k.mp3"),
                                       CRingtoneModel::OpenMode::UserFile, 0));
    EXPECT_FALSE(QFileInfo::exists(work(QStringLiteral("temp.in"))));
    ExpectEmpty(m_model);

    // Conversion of 8-bit PCM: two blocks of 100000 bytes, cancelled before the second.
    const QString eight = file(QStringLiteral("eight.wav"));
    WriteWav(eight, MakePcmFormat(1, 8000, 8), QByteArray(150000, char(0x90)));
    m_owner.cancelAtCall = 1;
    EXPECT_FALSE(m_model.openInputFile(eight, CRingtoneModel::OpenMode::UserFile, 0));
    EXPECT_FALSE(QFileInfo::exists(work(QStringLiteral("temp.in"))));
    ExpectEmpty(m_model);

    // The visualization file: 15 s of 8 kHz stereo is 480000 bytes, cancelled in the third block.
    QFile::remove(work(QStringLiteral("temp.dat")));
    m_owner.cancelAtCall = 2;
    EXPECT_FALSE(m_model.openInputFile(good, CRingtoneModel::OpenMode::UserFile, 0));
    EXPECT_FALSE(QFileInfo::exists(work(QStringLiteral("temp.dat"))));
    ExpectEmpty(m_model);
    EXPECT_EQ(m_owner.messages.errors.size(), errors); // cancel is never shown

    // Cancelled halfway through decoding, when the writer thread has written blocks of both work
    // files: neither is left, so the next start finds nothing to reopen without a name.
    m_owner.cancelAtCall = 40; // one check per MP3 frame of 4608 bytes
    EXPECT_FALSE(m_model.openInputFile(Fixture("tone-stereo-44k.mp3"),
                                       CRingtoneModel::OpenMode::UserFile, 0));
    EXPECT_FALSE(QFileInfo::exists(work(QStringLiteral("temp.in"))));
    EXPECT_FALSE(QFileInfo::exists(work(QStringLiteral("temp.dat"))));
    ExpectEmpty(m_model);
    m_owner.cancelAtCall = -1;
    EXPECT_TRUE(m_model.openInputFile(good, CRingtoneModel::OpenMode::UserFile, 0));
}

TEST_F(RingtoneModelTest, NamesCdTracksAndRebuildsStoredNames) {
    const QString track = work(QStringLiteral("tempcd.wav"));
    EXPECT_EQ(CRingtoneModel::workCdFileName(), track);
    WriteToneWav(track, 5.0, 2); // a ripped track's names: the CD tests of quillet-cli

    // Reopening takes the names from the configuration, rebuilt from type and parameter.
    ConfigFile& config = GetConfig();
    config.SetInputType(3);
    config.SetInputParam(QStringLiteral("Line In"));
    config.SetInputName(QStringLiteral("stale"));
    config.SetInputTitle(QString());
    config.SetInputFileName(QStringLiteral("/music/Rec 1.wav"));
    ASSERT_TRUE(m_model.openInputFile(track, CRingtoneModel::OpenMode::Reopen, 0));
    EXPECT_EQ(m_model.getInputName(), QStringLiteral("Recorded from [Line In]"));
    EXPECT_EQ(m_owner.names.last(), QStringLiteral("Recorded from [Line In]"));
    EXPECT_EQ(m_model.getInputTitle(), QStringLiteral("Rec"));
    EXPECT_FALSE(m_model.getCut().isValid()); // mode 2 leaves the selection to the caller

    config.SetInputType(7);
    config.SetInputName(QString());
    ASSERT_TRUE(m_model.openInputFile(track, CRingtoneModel::OpenMode::Reopen, 0));
    EXPECT_EQ(m_model.getInputType(), CRingtoneModel::InputType::File);
    EXPECT_EQ(m_model.getInputName(), QStringLiteral("[/music/Rec 1.wav]"));

    EXPECT_EQ(CRingtoneModel::titleFromFileName(QStringLiteral("/x/Über_Ärger2.wav")),
              QStringLiteral("ÜberÄrger"));
    EXPECT_EQ(CRingtoneModel::titleFromFileName(QStringLiteral("/x/123.mp3")),
              QStringLiteral("ringtone"));
}

TEST_F(RingtoneModelTest, StartUpReopensTheWorkWavAndRestoresOrReplacesTheCut) {
    const QString path = file(QStringLiteral("Fifteen.mp3.wav"));
    WriteToneWav(path, 15.0, 1);
    ASSERT_TRUE(m_model.openInputFile(path, CRingtoneModel::OpenMode::UserFile, 0));
    m_model.saveState();

    const auto restart = [&](const char* cut) {
        GetConfig().SetValue(QStringLiteral("Cut"), QLatin1String(cut));
        TestOwner owner;
        CRingtoneModel model;
        model.init(&owner, nullptr, QString()); // no view at all
        EXPECT_EQ(model.getWavFileName(), path);
        EXPECT_EQ(model.getInputName(), QLatin1Char('[') + path + QLatin1Char(']'));
        EXPECT_EQ(model.getInputTitle(), QStringLiteral("Fifteen"));
        EXPECT_EQ(owner.names.last(), model.getInputName());
        EXPECT_TRUE(owner.messages.errors.isEmpty());
        return model.getCut();
    };
    // A stored cut beyond the input, too long or damaged gives way to the default selection.
    for (const char* bad : {"5000,20000,0,0", "5000,40000,0,0", "2000,9000,500"})
        EXPECT_EQ(restart(bad), restart("3750,11250,0,0")) << bad;
    const CCutInfo cut = restart("2000,9000,500,700");
    EXPECT_EQ(std::tuple(cut.start(), cut.end(), cut.fadeIn(), cut.fadeOut()),
              std::tuple(2000, 9000, 500, 700));

    // The command-line file wins over the stored work WAV; a stored cut that fits it applies.
    GetConfig().SetCut(500, 2500, 0, 0);
    const QString other = file(QStringLiteral("other.wav"));
    WriteToneWav(other, 4.0, 1);
    TestOwner owner;
    CRingtoneModel model;
    model.init(&owner, nullptr, other);
    EXPECT_EQ(model.getWavFileName(), other);
    EXPECT_EQ(model.getCut().start(), 500);
    EXPECT_EQ(model.getCut().end(), 2500);

    // A stored work WAV that is gone leaves the model empty, without a message.
    QFile::remove(path);
    TestOwner empty;
    CRingtoneModel none;
    none.init(&empty, nullptr, QString());
    ExpectEmpty(none);
    EXPECT_TRUE(empty.messages.errors.isEmpty());
}

TEST_F(RingtoneModelTest, SelectionChangesRefreshTheOwner) {
    const QString path = file(QStringLiteral("ten.wav"));
    WriteToneWav(path, 10.0, 1);
    ASSERT_TRUE(m_model.openInputFile(path, CRingtoneModel::OpenMode::UserFile, 0));
    const int refreshes = m_owner.refreshes;
    m_model.setCut(1000, 6000);
    EXPECT_EQ(m_owner.refreshes, refreshes + 1);
    EXPECT_TRUE(m_model.getCut().isValid());
    EXPECT_EQ(m_model.getCutAt(5999), &m_model.getCut());
    EXPECT_EQ(m_model.getCutAt(6000), nullptr);
    m_model.setCut(1000, 40000); // too long: refused
    EXPECT_FALSE(m_model.getCut().isValid());
    m_model.setCut(1000, 6000);
    m_model.clearCut();
    EXPECT_FALSE(m_model.getCut().isValid());
    EXPECT_EQ(m_model.getCutAt(2000), nullptr);
    EXPECT_EQ(m_owner.refreshes, refreshes + 4);

    m_model.closeInput(true);
    ExpectEmpty(m_model);
    EXPECT_TRUE(m_owner.names.last().isEmpty());
    uint32_t count = 7;
    m_model.getDatValues(0, 1000, count);
    EXPECT_EQ(count, 0u);
}
