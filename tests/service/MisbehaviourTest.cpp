// Tests of the switches that make the service misbehave, of its command line, and of its stop.
#include "ServiceTest.h"

using MisbehaviourTest = ServiceTest;

TEST_F(MisbehaviourTest, FailAndNoStatusSwitchesChangeTheAnswerOfTheirPhaseOnly) {
    const std::string tone = ringtone();
    const struct {
        std::vector<std::string> switches;
        std::vector<size_t> lines; // of the answers of the phases run, in order
        std::string last;          // the last line of the last answer
    } cases[] = {
        {{"--fail-phase", "0", "--fail-status", "512"}, {1}, "512 Service unavailable"},
        {{"--fail-phase", "1"}, {4, 1}, "503 Service unavailable"},
        {{"--fail-phase", "2", "--fail-status", "505"}, {4, 3, 4}, "505 Service unavailable"},
        {{"--no-status", "0"}, {3, 3}, "200 OK"}, // the chain itself still works
        {{"--no-status", "1"}, {4, 2}, "CONTINUE:"},
        {{"--no-status", "2"}, {4, 3, 3}, "SIZE:640x480"}, // browser lines, then the end
    };
    for (const auto& c : cases) {
        startService(c.switches);
        std::vector<std::vector<std::string>> answers{upload("tone.ogg", tone).lines()};
        while (answers.size() < c.lines.size())
            answers.push_back(HttpGet(next(answers.back())).lines());
        std::vector<size_t> sizes;
        for (const auto& answer : answers)
            sizes.push_back(answer.size());
        EXPECT_EQ(sizes, c.lines) << c.switches[0] << c.switches[1];
        EXPECT_EQ(answers.back().back().rfind(c.last, 0), 0u) << answers.back().back();
        TearDown();
    }
}

TEST_F(MisbehaviourTest, SigtermAndSigintStopPromptlyWhileAnAnswerIsHeld) {
    for (const int signal : {SIGTERM, SIGINT}) {
        CServiceProcess& service = startService();
        CAnswerReader phase2(phase2Url(ringtone()));
        ASSERT_TRUE(phase2.waitForLines(4, CServiceProcess::kBound));
        EXPECT_EQ(service.stop(signal), 0);
        ASSERT_TRUE(phase2.waitForEnd(CServiceProcess::kBound));
        // The held answer ended properly, without a status line.
        EXPECT_EQ(phase2.result(), CURLE_OK);
        EXPECT_EQ(phase2.lines().size(), 4u);
        EXPECT_EQ(phase2.lines().back(), "102 Waiting for the user");
        EXPECT_TRUE(
            service.waitForLog(signal == SIGINT ? "stopping on SIGINT" : "stopping on SIGTERM"));
        EXPECT_TRUE(Contains(service.log().back(), "stopped"));
    }
}

TEST_F(MisbehaviourTest, CommandLineHelpAndUsageErrors) {
    const auto run = [](const QStringList& args) {
        return testsupport::RunProgram(QStringLiteral("quillet-service"), args);
    };
    const testsupport::RunResult help = run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* option : {"--port", "--host", "--store", "--fail-phase", "--fail-status",
                               "--no-status", "--missing-params", "--slow", "--drop-upload",
                               "--size", "--payment", "--heartbeat", "521 The ringtone is not"})
        EXPECT_TRUE(help.out.contains(option)) << option;
    EXPECT_TRUE(run({"--version"}).out.startsWith("quillet-service "));

    for (const QStringList& wrong : {QStringList{"--port", "http"},
                                     {"--fail-phase", "3"},
                                     {"--fail-status", "404"},
                                     {"--frobnicate"},
                                     {"--payment=yes"},
                                     {"--public-url", "beam.test"},
                                     {"--port"}}) {
        const testsupport::RunResult r = run(wrong);
        EXPECT_EQ(r.exitCode, 2) << wrong.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith("quillet-service: ")) << r.err.toStdString();
    }

    // A port that is taken is reported, not shared.
    const QString port = QString::number(startService().port());
    const testsupport::RunResult taken =
        run({"--port", port, "--store", QString::fromStdString(storeDir())});
    EXPECT_EQ(taken.exitCode, 1);
    EXPECT_TRUE(taken.err.contains("cannot listen on 127.0.0.1:" + port.toUtf8()))
        << taken.err.toStdString();
}
