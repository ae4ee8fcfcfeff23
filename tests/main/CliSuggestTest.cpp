// quillet-cli suggest on a synthesized song: the suggestion lands on a start of its chorus.
#include "main/CliTestSupport.h"
#include "support/Tone.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {
using CliSuggest = CliTest;

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
    const QString wav = temp.filePath("song.wav");
    const std::vector<double> choruses = WriteChorusSong(wav);

    const auto nearAChorus = [&](double start) {
        return std::ranges::any_of(choruses,
                                   [start](double c) { return std::abs(start - c) <= 0.5; });
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
