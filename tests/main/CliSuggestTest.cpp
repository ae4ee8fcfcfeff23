// quillet-cli suggest on a synthesized song: the suggestion lands on a start of its chorus.
#include "main/CliTestSupport.h"
#include "support/Tone.h"

#include <QRegularExpression>

#include <cmath>
#include <numbers>

namespace {
using CliSuggest = CliTest;

// A stereo song at 22050 Hz of parts of chords (frequencies in Hz, each at the amplitude; no
// frequencies: silence), each part lasting its seconds.
struct Part {
    double seconds;
    std::vector<double> frequencies;
    double amplitude;
};
QByteArray Song(const std::vector<Part>& parts) {
    QByteArray pcm;
    for (const Part& part : parts) {
        const int frames = int(part.seconds * 22050);
        for (int i = 0; i < frames; ++i) {
            double value = 0;
            for (const double f : part.frequencies)
                value += part.amplitude * std::sin(2 * std::numbers::pi * f * i / 22050);
            const auto sample = int16_t(std::lround(value * 32767));
            for (int channel = 0; channel < 2; ++channel) {
                pcm.append(char(sample & 0xFF));
                pcm.append(char((sample >> 8) & 0xFF));
            }
        }
    }
    return pcm;
}

// The start of the selection a command printed, in seconds; -1 without one.
double SelectionStart(const QByteArray& out) {
    const QRegularExpressionMatch m =
        QRegularExpression("Selection: (\\d+):(\\d+):(\\d+\\.\\d+) to").match(QString(out));
    return m.hasMatch() ? m.captured(1).toDouble() * 3600 + m.captured(2).toDouble() * 60 +
                              m.captured(3).toDouble()
                        : -1;
}
} // namespace

TEST_F(CliSuggest, TheSuggestionStartsWhereAChorusDoes) {
    const Part silence{3, {}, 0}, intro{6, {220}, 0.02}, verse{12, {220, 261.6, 329.6}, 0.1},
        bridge{10, {293.7, 349.2, 440}, 0.3}; // louder than the chorus, but heard once
    // The chorus: C, G, F and A minor, 3.5 s each.
    const std::vector<Part> chorus = {{3.5, {261.6, 329.6, 392}, 0.25},
                                      {3.5, {196, 246.9, 293.7}, 0.25},
                                      {3.5, {174.6, 220, 261.6}, 0.25},
                                      {3.5, {220, 261.6, 329.6}, 0.25}};
    std::vector<Part> song = {silence, intro, verse};
    song.insert(song.end(), chorus.begin(), chorus.end()); // at 21 s
    song.push_back(verse);
    song.insert(song.end(), chorus.begin(), chorus.end()); // at 47 s
    song.push_back(bridge);
    song.insert(song.end(), chorus.begin(), chorus.end()); // at 71 s
    song.push_back(silence);
    WAVEFORMATEX format{WAVE_FORMAT_PCM, 2, 22050, 88200, 4, 16, 0};
    const QString wav = temp.filePath("song.wav");
    WriteWav(wav, format, Song(song));

    const auto nearAChorus = [](double start) {
        return std::abs(start - 21) <= 0.5 || std::abs(start - 47) <= 0.5 ||
               std::abs(start - 71) <= 0.5;
    };
    ASSERT_EQ(Run({"open", wav}).exitCode, 0);
    for (const char* length : {"0:12", "8000"}) {
        const RunResult r = Run({"suggest", "--length", length});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(nearAChorus(SelectionStart(r.out))) << r.out.toStdString();
        EXPECT_TRUE(r.out.contains("fade-in 200 ms, fade-out 1000 ms")) << r.out.toStdString();
    }
    EXPECT_TRUE(Config().contains(
        QString("\nCut=%1,").arg(std::lround(SelectionStart(Run({"info"}).out) * 1000))));

    // Opening proposes 10 s to 20 s unless the suggestion is asked for.
    EXPECT_EQ(SelectionStart(Run({"open", wav}).out), 10.0);
    ASSERT_EQ(Run({"settings", "SuggestOnOpen", "1"}).exitCode, 0);
    const RunResult opened = Run({"open", wav});
    EXPECT_TRUE(nearAChorus(SelectionStart(opened.out))) << opened.out.toStdString();
    EXPECT_TRUE(opened.out.contains("(00:00:20.000)")) << opened.out.toStdString();

    EXPECT_EQ(Run({"suggest", "--length", "31000"}).err,
              "quillet-cli: The ringtone cannot be larger than 30 seconds.\n");
}
