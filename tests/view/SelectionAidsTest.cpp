// Tests of the view's editing aids: selection undo/redo, zero-crossing snapping, the loop seam.
#include "decode/ZeroCrossing.h"
#include "view/LoopSeam.h"
#include "view/SelectionHistory.h"

#include "app/ConfigFile.h"
#include "support/CutTestSupport.h"
#include "support/Tone.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using testsupport::Cut;
using testsupport::ReadDecodedWav;
using testsupport::WriteWav;

namespace {

// 16-bit mono PCM at 8000 Hz whose sample f is value(f).
template <class F> QByteArray Pcm16(int frames, F value) {
    QByteArray pcm(frames * 2, '\0');
    for (int f = 0; f < frames; ++f)
        qToLittleEndian<int16_t>(int16_t(value(f)), pcm.data() + 2 * f);
    return pcm;
}
} // namespace

TEST(SelectionAidsTest, HistoryUndoesAndRedoesCompletedEditsWithinItsDepth) {
    CSelectionHistory history(3);
    const CCutInfo none;
    history.reset(none);
    EXPECT_FALSE(history.undo());
    history.record(none); // nothing changed: no step
    EXPECT_FALSE(history.canUndo());
    const CCutInfo a = Cut(0, 5000), b = Cut(1000, 5000), c = Cut(1000, 4000, 500);
    history.record(a);
    history.record(b);
    history.record(c);
    EXPECT_EQ(history.undo(), b);
    EXPECT_EQ(history.undo(), a);
    EXPECT_EQ(history.redo(), b);
    EXPECT_EQ(history.current(), b);
    // A new edit after an undo drops what was left to redo.
    const CCutInfo d = Cut(2000, 6000);
    history.record(d);
    EXPECT_FALSE(history.redo());
    EXPECT_EQ(history.undo(), b);
    EXPECT_EQ(history.undo(), a);
    EXPECT_EQ(history.undo(), none);
    EXPECT_FALSE(history.undo());
    // Only the last three steps are kept.
    for (const CCutInfo& edit : {a, b, c, d})
        history.record(edit);
    EXPECT_EQ(history.undo(), c);
    EXPECT_EQ(history.undo(), b);
    EXPECT_EQ(history.undo(), a);
    EXPECT_FALSE(history.undo());
    history.reset(d);
    EXPECT_FALSE(history.canUndo() || history.canRedo());
}

TEST(SelectionAidsTest, ZeroCrossingIsTheNearestRisingOneWithinReach) {
    QTemporaryDir dir;
    const QString mono = dir.filePath(u"mono.wav"_s);
    // -100 except positive runs of 20 frames from frames 400 (50 ms), 483 (60.4 ms: 61 is the
    // first whole millisecond after it) and 1200 (150 ms); a falling edge after each.
    const auto value = [](int f) {
        for (const int rise : {400, 483, 1200})
            if (f >= rise && f < rise + 20)
                return 100;
        return -100;
    };
    WriteWav(mono, MakePcmFormat(1, 8000, 16), Pcm16(2000, value));
    // {t, crossing or -1 for none}
    const struct {
        qint64 t, at;
    } cases[] = {{50, 50},   {55, 50},   {56, 61}, {71, 61}, {72, -1},
                 {140, 150}, {160, 150}, {0, -1},  {249, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(FindRisingZeroCrossing(mono, c.t, 10).value_or(-1), c.at) << c.t;

    // 8-bit stereo: the sum of both channels crosses, the left channel alone never does.
    QByteArray stereo(2 * 800, char(128));
    for (int f = 0; f < 800; ++f) {
        stereo[2 * f] = char(128 + 50);
        stereo[2 * f + 1] = char(128 + (f < 240 ? -60 : -40));
    }
    const QString eight = dir.filePath(u"eight.wav"_s);
    WriteWav(eight, MakePcmFormat(2, 8000, 8), stereo);
    EXPECT_EQ(FindRisingZeroCrossing(eight, 25, 10), 30);

    // Files it cannot use give none.
    WriteWav(dir.filePath(u"wide.wav"_s), MakePcmFormat(1, 8000, 24), QByteArray(300, '\1'));
    QFile::copy(mono, dir.filePath(u"cut.wav"_s));
    QFile::resize(dir.filePath(u"cut.wav"_s), 30);
    for (const QString name : {u"missing.wav"_s, u"wide.wav"_s, u"cut.wav"_s})
        EXPECT_FALSE(FindRisingZeroCrossing(dir.filePath(name), 50, 10)) << name.toStdString();
}

TEST(SelectionAidsTest, LoopSeamIsTheFadedEndFollowedByTheFadedStart) {
    QTemporaryDir dir;
    const QString input = dir.filePath(u"work.wav"_s);
    // Each sample holds its own time in milliseconds, so the seam shows where it came from.
    WriteWav(input, MakePcmFormat(1, 8000, 16), Pcm16(80000, [](int f) { return f / 8; }));
    const QString seam = dir.filePath(u"seam.wav"_s);
    const CCutInfo cut = Cut(1000, 9000, 500, 1000);

    ASSERT_TRUE(MakeLoopSeamWav(input, cut, seam, 0));
    testsupport::DecodedWav wav = ReadDecodedWav(seam);
    ASSERT_TRUE(wav.valid);
    EXPECT_EQ(wav.frames(), 32000u);
    // {frame of the seam, sample}: 7000 ms before the fade-out, 8500 ms at half of it, the last
    // frame near its end; then 1000 ms at the start of the fade-in, 1250 ms halfway, 2000 ms.
    const struct {
        uint32_t frame;
        int sample;
    } plain[] = {{0, 7000}, {12000, 4250}, {15999, 8}, {16000, 0}, {18000, 625}, {24000, 2000}};
    for (const auto& p : plain)
        EXPECT_EQ(wav.sample(p.frame, 0), p.sample) << p.frame;
    // With the normalisation gain, and for a selection shorter than two seconds.
    ASSERT_TRUE(MakeLoopSeamWav(input, Cut(3000, 4500), seam, 1.5));
    wav = ReadDecodedWav(seam);
    EXPECT_EQ(wav.frames(), 24000u);
    EXPECT_EQ(wav.sample(0, 0), 4500);
    EXPECT_EQ(wav.sample(12000, 0), 4500);

    // Failures leave no file behind, an older one included.
    WriteWav(dir.filePath(u"eight.wav"_s), MakePcmFormat(1, 8000, 8), QByteArray(8000, '\x80'));
    const struct {
        QString input;
        CCutInfo cut;
        QString out;
    } failures[] = {{dir.filePath(u"missing.wav"_s), cut, seam},
                    {input, CCutInfo(), seam},
                    {dir.filePath(u"eight.wav"_s), Cut(0, 1000), seam},
                    {input, cut, dir.filePath(u"no/such/folder/seam.wav"_s)}};
    for (const auto& f : failures) {
        WriteWav(seam, MakePcmFormat(1, 8000, 16), QByteArray(2, '\0'));
        EXPECT_FALSE(MakeLoopSeamWav(f.input, f.cut, f.out, 0)) << f.input.toStdString();
        EXPECT_FALSE(QFile::exists(f.out)) << f.out.toStdString();
    }
}

TEST(SelectionAidsTest, EditingAidSettingsAndTheirDefaults) {
    ConfigFile config(false);
    EXPECT_TRUE(!config.GetSnapToZeroCrossing() && config.GetUndoSelectionEdits() &&
                config.GetKeyboardEditing() && config.GetLoopSeamPreview());
    config.SetSnapToZeroCrossing(true);
    config.SetValue(u"KeyboardEditing"_s, u"yes"_s); // not a flag: the default
    EXPECT_TRUE(config.GetSnapToZeroCrossing() && config.GetKeyboardEditing());
}
