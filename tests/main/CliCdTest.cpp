// quillet-cli's CD commands on a CD image the test makes: the track list and a ripped track.
#include "main/CliTestSupport.h"
#include "platform/CdAudioTestImage.h"

using CliCd = CliTest;

TEST_F(CliCd, ListsTheImageAndRipsATrackIntoTheInputExactly) {
    // 312 frames are twelve whole reads of 26 frames: the track rips complete.
    const cdtest::Image image({{false, 312, 0}, {false, 200, 0}});
    const QString cue = image.writeCue(temp.path(), "disc");
    const QString work = this->work();
    auto run = [&](const QStringList& args) {
        return RunProgram("quillet-cli", Args(QStringList{"cd"} + args),
                          Env() << "QUILLET_CD_IMAGES=" + cue);
    };

    RunResult r = run({"list"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("disc.cue")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("\n  Track 01 (audio)\n  Track 02 (audio)\n"))
        << r.out.toStdString();

    r = run({"rip", "1", "--drive", cue});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Input: Audio CD track [1]\n")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("Title: track01\n"));
    const QByteArray wav = ReadBytes(work + "/temp.in");
    ASSERT_GT(wav.size(), 44);
    EXPECT_EQ(wav.mid(44), cdtest::AudioFrames(0, 312)); // sample for sample what the disc holds
    EXPECT_FALSE(QFile::exists(work + "/tempcd.wav"));

    // Failures keep the ripped input and say why.
    r = run({"rip", "7"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("Track extraction failed.")) << r.err.toStdString();
    r = run({"rip", "one"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("Not a track number: one"));
    r = run({"rip", "1", "--drive", "no such drive"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("There is no CD drive named no such drive."));
    EXPECT_EQ(ReadBytes(work + "/temp.in"), wav);
}
