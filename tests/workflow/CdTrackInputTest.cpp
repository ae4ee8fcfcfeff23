// The CD command's last steps end to end: a track of an image the test makes becomes the
// model's input, named as a CD track; a cancel or a failure leaves the input as it was.
#include "workflow/CdTrackInput.h"
#include "ModelTestSupport.h"
#include "app/OpResult.h"
#include "audio/CdDriveList.h"
#include "platform/CdAudioTestImage.h"
#include "support/TraceCapture.h"
#include "workflow/RingtoneModel.h"

#include <QDir>

#include <gtest/gtest.h>

using cdtest::Image;
using cdtest::ImagesVariable;
using namespace modeltest;

namespace {
class CdTrackInputTest : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
        m_images = std::make_unique<ImagesVariable>(
            QStringList{m_image.writeCue(m_files.path(), QStringLiteral("disc"))});
        CCdDriveList list;
        list.refresh();
        const int index = list.find(QStringLiteral("disc.cue"));
        ASSERT_GE(index, 0);
        m_drive = list.drives()[size_t(index)].record;
        m_model.attach(&m_owner, nullptr);
    }
    void TearDown() override {
        m_images.reset();
        ModelTest::TearDown();
    }
    // Opens a WAV file as the input the CD track is to replace.
    void openFileInput() {
        WriteToneWav(file(QStringLiteral("song.wav")), 3.0);
        ASSERT_TRUE(m_model.openInputFile(file(QStringLiteral("song.wav")),
                                          CRingtoneModel::OpenMode::UserFile, 0));
        ASSERT_EQ(m_model.getInputType(), CRingtoneModel::InputType::File);
    }

    const Image m_image{{{false, 180, 0}, {false, 226, 0}, {true, 300, 0}}};
    std::unique_ptr<ImagesVariable> m_images;
    CDREC m_drive{};
    TestOwner m_owner;
    CRingtoneModel m_model;
};
} // namespace

TEST_F(CdTrackInputTest, TheTrackBecomesTheInput) {
    openFileInput();
    CTestProgress progress;
    QString error;
    ASSERT_EQ(ExtractCdTrackAsInput(m_model, m_drive, 2, progress, error), OpSuccess);
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(m_model.getInputType(), CRingtoneModel::InputType::CdTrack);
    EXPECT_EQ(m_model.getInputName(), QStringLiteral("Audio CD track [2]"));
    EXPECT_EQ(m_model.getInputTitle(), QStringLiteral("track02"));
    EXPECT_EQ(m_model.getInputParam(), QStringLiteral("2"));
    EXPECT_TRUE(m_model.getInputFileName().isEmpty());
    EXPECT_EQ(m_model.getFormat().nSamplesPerSec, 44100u);
    EXPECT_EQ(m_model.getFormat().nChannels, 2);
    // 226 frames of 1/75 s.
    EXPECT_EQ(m_model.getDuration(), 226 * 1000 / 75);
    EXPECT_FALSE(QFile::exists(CRingtoneModel::workCdFileName()));
    const QByteArray work = ReadBytes(CRingtoneModel::workWavFileName());
    EXPECT_TRUE(work.mid(44) == m_image.frames(180, 226));
    EXPECT_TRUE(m_owner.names.contains(QStringLiteral("Audio CD track [2]")));
}

TEST_F(CdTrackInputTest, CancelOrFailureLeavesTheInputAsItWas) {
    openFileInput();
    const QByteArray before = ReadBytes(CRingtoneModel::workWavFileName());
    QString error;

    CTestProgress cancelling(2);
    EXPECT_EQ(ExtractCdTrackAsInput(m_model, m_drive, 1, cancelling, error), OpCancelled);
    EXPECT_TRUE(error.isEmpty());

    CTestProgress progress;
    EXPECT_EQ(ExtractCdTrackAsInput(m_model, m_drive, 5, progress, error), OpFailed);
    EXPECT_EQ(error, QStringLiteral("Track extraction failed."));

    const ImagesVariable gone({file(QStringLiteral("gone.cue"))});
    EXPECT_EQ(ExtractCdTrackAsInput(m_model, m_drive, 1, progress, error), OpFailed);
    EXPECT_EQ(error, QStringLiteral("Track extraction failed."));

    EXPECT_EQ(m_model.getInputType(), CRingtoneModel::InputType::File);
    EXPECT_EQ(m_model.getInputFileName(), file(QStringLiteral("song.wav")));
    EXPECT_TRUE(ReadBytes(CRingtoneModel::workWavFileName()) == before);
    EXPECT_FALSE(QFile::exists(CRingtoneModel::workCdFileName()));
}

TEST_F(CdTrackInputTest, AFailedRenameIsTracedAndRemovesTheTrackFile) {
    // A folder in the work WAV's place can be neither removed nor replaced by a file.
    ASSERT_TRUE(QDir().mkpath(CRingtoneModel::workWavFileName() + QStringLiteral("/keep")));
    const TraceCapture trace;
    CTestProgress progress;
    QString error;
    EXPECT_EQ(ExtractCdTrackAsInput(m_model, m_drive, 1, progress, error), OpFailed);
    EXPECT_TRUE(error.isEmpty());
    EXPECT_TRUE(trace.hasLine(
        "ERR", QStringLiteral("Error renaming cd temp file from %1 to %2, "
                              "error = 21")
                   .arg(CRingtoneModel::workCdFileName(), CRingtoneModel::workWavFileName())));
    EXPECT_FALSE(QFile::exists(CRingtoneModel::workCdFileName()));
    EXPECT_TRUE(m_model.getInputName().isEmpty());
}
