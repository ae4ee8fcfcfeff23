// The selection's rules, the fades and gain on the samples, the encoder settings, and extracting
// the ringtone file.
#include "encode/CutInfo.h"
#include "encode/FadeGain.h"

#include "ModelTestSupport.h"
#include "decode/OggDecoder.h"
#include "support/CutTestSupport.h"
#include "support/TraceCapture.h"
#include "workflow/RingtoneModel.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

using namespace modeltest;
using testsupport::Cut;

namespace {

QByteArray Samples(const std::vector<int16_t>& values) {
    QByteArray bytes;
    for (const int16_t v : values) {
        bytes.append(char(v & 0xFF));
        bytes.append(char((v >> 8) & 0xFF));
    }
    return bytes;
}

int16_t SampleAt(const QByteArray& bytes, int index) {
    return int16_t(uint8_t(bytes[2 * index]) | uint8_t(bytes[2 * index + 1]) << 8);
}

} // namespace

TEST(CutInfo, ValidateAcceptsOneToThirtySecondsAndResetsAnythingElse) {
    EXPECT_TRUE(Cut(0, 1000).isValid());
    EXPECT_TRUE(Cut(5000, 35000).isValid());
    for (const CCutInfo& bad :
         {Cut(0, 999), Cut(5000, 35001), Cut(-1, 5000), Cut(5000, 4000), Cut(3000, 3000)}) {
        EXPECT_FALSE(bad.isValid());
        EXPECT_EQ(bad, CCutInfo()); // reset: every field 0
    }
}

TEST(CutInfo, TheFadeNotBeingChangedYieldsAndFadesStayWithinTheSelection) {
    CCutInfo cut = Cut(0, 10000, 0, 5000);
    cut.setFadeIn(8000);
    EXPECT_EQ(cut.fadeOut(), 2000);
    EXPECT_EQ(cut.getFadeOutBegin(), 8000);
    cut = Cut(1000, 11000, 6000, 0);
    cut.setFadeOut(7000);
    EXPECT_EQ(cut.fadeIn(), 3000);
    // Moving the end inwards shortens the fade-out; moving the start, the fade-in.
    cut = Cut(0, 10000, 4000, 4000);
    cut.setEnd(6000);
    EXPECT_EQ(std::pair(cut.fadeIn(), cut.fadeOut()), std::pair(4000, 2000));
    cut = Cut(0, 10000, 4000, 4000);
    cut.setStart(4000);
    EXPECT_EQ(std::pair(cut.fadeIn(), cut.fadeOut()), std::pair(2000, 4000));
    // A fade longer than the selection is cut to it; a negative one to nothing.
    cut = Cut(0, 5000);
    cut.setFadeIn(9000);
    EXPECT_EQ(cut.fadeIn(), 5000);
    cut.setFadeIn(-300);
    cut.setFadeOut(-5);
    EXPECT_EQ(std::pair(cut.fadeIn(), cut.fadeOut()), std::pair(0, 0));
    // Fade edges set from times.
    cut = Cut(2000, 12000);
    cut.setFadeInEnd(3500);
    cut.setFadeOutBegin(9000);
    EXPECT_EQ(std::pair(cut.fadeIn(), cut.fadeOut()), std::pair(1500, 3000));
    EXPECT_EQ(cut.getFadeInEnd(), 3500);
}

TEST(Extraction, FadeFactorIsLinearAndIgnoresShortFades) {
    const CCutInfo cut = Cut(10000, 20000, 2000, 1000);
    // The first frame of a fade-in is silent; outside the selection nothing changes.
    const std::pair<qint64, double> factors[] = {{9999, 1.0},   {10000, 0.0},   {11000, 0.5},
                                                 {11500, 0.75}, {12000, 1.0},   {19000, 1.0},
                                                 {19500, 0.5},  {19999, 0.001}, {20000, 1.0}};
    for (const auto& [ms, factor] : factors)
        EXPECT_EQ(fadeFactor(ms, cut), factor) << ms;

    EXPECT_EQ(fadeFactor(10000, Cut(10000, 20000, 50, 99)), 1.0);
    EXPECT_EQ(fadeFactor(10050, Cut(10000, 20000, 100, 0)), 0.5);
}

TEST(Extraction, ApplyFadesScalesEveryChannelByFadeAndGain) {
    // 1000 frames per second: frame i of the block lies at millisecond i of the cut.
    const WAVEFORMATEX stereo = MakePcmFormat(2, 1000, 16);
    const CCutInfo cut = Cut(0, 10000, 2000, 0);
    std::vector<int16_t> values(2 * 6000, 20000);
    values[2 * 5000 + 1] = -3;
    QByteArray block = Samples(values);
    applyFades(block.data(), uint32_t(block.size()), 0, 0, cut, stereo, 1.5);
    EXPECT_EQ(SampleAt(block, 0), 0);
    EXPECT_EQ(SampleAt(block, 2 * 1000), 15000); // the middle of the fade-in, times 1.5
    EXPECT_EQ(SampleAt(block, 2 * 4000), 30000);
    EXPECT_EQ(SampleAt(block, 2 * 5000 + 1), -4); // -4.5 truncated toward zero

    // A later block knows its place from the bytes before it; no gain when it is 0.
    QByteArray later = Samples(std::vector<int16_t>(2 * 10, 20000));
    applyFades(later.data(), uint32_t(later.size()), 0, 500 * 4, cut, stereo, 0.0);
    EXPECT_EQ(SampleAt(later, 0), 5000);     // millisecond 500: a quarter of the fade-in
    EXPECT_EQ(SampleAt(later, 2 * 4), 5040); // millisecond 504

    // Beyond 16 bits the samples are clipped; mono blocks have one sample per frame.
    const CCutInfo plain = Cut(0, 5000, 0, 0);
    QByteArray loud = Samples({30000, -30000, 100});
    applyFades(loud.data(), uint32_t(loud.size()), 0, 0, plain, MakePcmFormat(1, 1000, 16), 1.5);
    EXPECT_EQ(SampleAt(loud, 0), 32767);
    EXPECT_EQ(SampleAt(loud, 1), -32768);
    EXPECT_EQ(SampleAt(loud, 2), 150);
}

TEST(Extraction, EncoderParametersFollowTheInputsChannelsAndRate) {
    EXPECT_EQ(encoderParamsFromBitRate(0, MakePcmFormat(2, 44100, 16)).mode,
              EncoderParams::kStereo);
    const EncoderParams mono = encoderParamsFromBitRate(192, MakePcmFormat(1, 22050, 16));
    EXPECT_EQ(mono.mode, EncoderParams::kMono);
    EXPECT_EQ(mono.sampleRate, 22050u);
}

namespace {

class ExtractionModelTest : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
        m_model.init(&m_owner, nullptr, QString());
    }

    // Opens a 10 s stereo 48 kHz tone of 1000 Hz at amplitude 20000 (peak 20000).
    void openTone() {
        const QString path = file(QStringLiteral("tone.wav"));
        WriteWav(path, MakePcmFormat(2, 48000, 16),
                 SinePcm(48000, 480000, 1000, {20000 / 32767.0, 20000 / 32767.0}));
        ASSERT_TRUE(m_model.openInputFile(path, CRingtoneModel::OpenMode::UserFile, 0));
    }

    // Decodes the extracted ringtone back into a WAV file.
    DecodedWav decodeRingtone() {
        const QString wav = file(QStringLiteral("decoded.wav"));
        COggDecoder decoder;
        IOpProgress progress;
        EXPECT_EQ(decoder.decodeFile(upl(), wav, &progress), 0u);
        return ReadDecodedWav(wav);
    }

    // The nominal bitrate the ringtone file announces, in bit/s.
    long nominalBitrate() {
        OggVorbis_File vf;
        if (ov_fopen(upl().toLocal8Bit().constData(), &vf) != 0)
            return -1;
        const long rate = ov_info(&vf, -1)->bitrate_nominal;
        ov_clear(&vf);
        return rate;
    }

    QString upl() const { return work(QStringLiteral("temp.upl")); }

    TestOwner m_owner;
    CRingtoneModel m_model;
};

} // namespace

TEST_F(ExtractionModelTest, RingtoneCarriesFadesAndGain) {
    GetConfig().SetNormalizationPercent(91.55); // 32767 * 91.55 / 20000 / 100 = 1.49991
    openTone();
    const double gain = m_model.getNormalizationGain();
    EXPECT_NEAR(gain, 1.5, 0.001);
    m_model.setCut(2000, 8000);
    m_model.cut().setFadeIn(2000);
    m_model.cutChanged();

    CTestProgress progress;
    ASSERT_EQ(m_model.extractFile(progress), 0);
    EXPECT_EQ(m_model.getRingtoneFileName(), upl());
    EXPECT_EQ(progress.calls("text "), std::vector<std::string>{"text 110"});
    EXPECT_EQ(progress.ranges(), std::vector<uint32_t>{6000u * 48 * 4});

    const DecodedWav wav = decodeRingtone();
    EXPECT_EQ(FormatHex(wav.format), FormatHex(MakePcmFormat(2, 48000, 16)));
    ASSERT_NEAR(double(wav.frames()), 6.0 * 48000, 48.0);
    // Two periods (2 ms) around each point: the middle of the selection and of the fade-in.
    const double full = 20000 * gain / 32768;
    EXPECT_NEAR(ToneLevel(wav, 0, 1000, 3000 * 48 - 48, 96), full, full * 0.05);
    EXPECT_NEAR(ToneLevel(wav, 1, 1000, 3000 * 48 - 48, 96), full, full * 0.05);
    EXPECT_NEAR(ToneLevel(wav, 0, 1000, 1000 * 48 - 48, 96), full / 2, full * 0.05);
    EXPECT_LT(ToneLevel(wav, 0, 1000, 0, 48 * 5), full * 0.05);
    EXPECT_TRUE(m_owner.messages.errors.isEmpty());
}

TEST_F(ExtractionModelTest, ReusesTheRingtoneUntilTheSelectionChanges) {
    openTone();
    m_model.setCut(1000, 3000);
    CTestProgress first;
    ASSERT_EQ(m_model.extractFile(first), 0);
    ASSERT_EQ(first.ranges().size(), 1u);

    CTestProgress second;
    ASSERT_EQ(m_model.extractFile(second), 0);
    EXPECT_TRUE(second.calls().empty()); // nothing encoded

    m_model.setCut(1000, 3500);
    EXPECT_TRUE(m_model.getRingtoneFileName().isEmpty());
    CTestProgress third;
    ASSERT_EQ(m_model.extractFile(third), 0);
    EXPECT_EQ(third.ranges(), std::vector<uint32_t>{2500u * 48 * 4});

    m_model.clearCut();
    CTestProgress none;
    EXPECT_EQ(m_model.extractFile(none), 2); // no selection: failed, but nothing shown
    EXPECT_TRUE(m_owner.messages.errors.isEmpty());
}

TEST_F(ExtractionModelTest, BitRateSettingChoosesQualityOrNominalBitrate) {
    openTone();
    const auto extractWith = [&](int bitRate) {
        GetConfig().SetBitRate(bitRate);
        m_model.setCut(1000, 3000);
        CTestProgress progress;
        EXPECT_EQ(m_model.extractFile(progress), 0);
        return nominalBitrate();
    };
    EXPECT_EQ(extractWith(192), 128000);
    EXPECT_EQ(extractWith(64), 64000);
    const long quality0 = extractWith(0);
    const long quality2 = extractWith(5);
    EXPECT_GT(quality0, 0);
    EXPECT_GT(quality2, quality0);
    EXPECT_EQ(extractWith(2), quality2);
}

TEST_F(ExtractionModelTest, CancelAndFailureLeaveNoRingtoneFile) {
    TraceCapture trace(TRACE_ERROR);
    openTone();
    m_model.setCut(1000, 6000); // 960000 bytes: many blocks
    CTestProgress cancelling(3);
    EXPECT_EQ(m_model.extractFile(cancelling), 1);
    EXPECT_FALSE(QFileInfo::exists(upl()));
    EXPECT_TRUE(m_model.getRingtoneFileName().isEmpty());
    EXPECT_TRUE(m_owner.messages.errors.isEmpty());

    CTestProgress again;
    EXPECT_EQ(m_model.extractFile(again), 0);
    EXPECT_TRUE(QFileInfo::exists(upl()));

    // The work WAV is gone: the extraction fails with its message and forgets the old file.
    QFile::remove(m_model.getWavFileName());
    m_model.setCut(1000, 5000);
    CTestProgress failing;
    EXPECT_EQ(m_model.extractFile(failing), 2);
    EXPECT_EQ(m_owner.messages.errors, QStringList{QStringLiteral("Ringtone extraction failed.")});
    EXPECT_FALSE(QFileInfo::exists(upl()));
    EXPECT_TRUE(m_model.getRingtoneFileName().isEmpty());
    EXPECT_TRUE(trace.hasLine(
        "ERR", QStringLiteral("error extracting: error opening file %1: the file was not found")
                   .arg(file(QStringLiteral("tone.wav")))));
}
