// Tests of the switches that make the service misbehave, of its command line, and of its stop.
#include "ServiceTest.h"

#include <csignal>

using MisbehaviourTest = ServiceTest;

TEST_F(MisbehaviourTest, FailPhaseAnswersThatPhaseWithTheChosen5xxStatus) {
    const std::string tone = oggTone();
    {
        startService({"--fail-phase", "0", "--fail-status", "512"});
        EXPECT_EQ(upload("tone.ogg", tone).body, "512 Service unavailable\r\n");
        TearDown();
    }
    {
        CServiceProcess& service = startService({"--fail-phase", "1"});
        const auto phase0 = upload("tone.ogg", tone).lines();
        ASSERT_EQ(phase0.back(), "200 OK");
        EXPECT_EQ(HttpGet(valueOf(phase0, "CONTINUE:") + "?" + valueOf(phase0, "TOKEN:")).lines(),
                  std::vector<std::string>{"503 Service unavailable"});
        EXPECT_TRUE(service.waitForLog("phase 1"));
        TearDown();
    }
    {
        // In phase 2 the browser lines come first, then the status, and the answer ends.
        startService({"--fail-phase", "2", "--fail-status", "505"});
        const auto lines = HttpGet(phase2Url(tone)).lines();
        ASSERT_EQ(lines.size(), 4u);
        EXPECT_EQ(lines[0].rfind("TOKEN:", 0), 0u);
        EXPECT_EQ(lines[1].rfind("SHOW:", 0), 0u);
        EXPECT_EQ(lines[2], "SIZE:640x480");
        EXPECT_EQ(lines[3], "505 Service unavailable");
    }
}

TEST_F(MisbehaviourTest, NoStatusEndsThatPhasesAnswerWithoutItsStatusLine) {
    const std::string tone = oggTone();
    {
        startService({"--no-status", "0"});
        const auto phase0 = upload("tone.ogg", tone).lines();
        ASSERT_EQ(phase0.size(), 3u);
        EXPECT_EQ(phase0[2].rfind("CONTINUE:", 0), 0u);
        // The chain itself still works.
        EXPECT_EQ(
            HttpGet(valueOf(phase0, "CONTINUE:") + "?" + valueOf(phase0, "TOKEN:")).lines().back(),
            "200 OK");
        TearDown();
    }
    {
        startService({"--no-status", "1"});
        const auto phase0 = upload("tone.ogg", tone).lines();
        const auto phase1 =
            HttpGet(valueOf(phase0, "CONTINUE:") + "?" + valueOf(phase0, "TOKEN:")).lines();
        ASSERT_EQ(phase1.size(), 2u);
        EXPECT_EQ(phase1[1].rfind("CONTINUE:", 0), 0u);
        TearDown();
    }
    {
        // Phase 2 sends the browser lines and ends at once.
        startService({"--no-status", "2"});
        const HttpReply phase2 = HttpGet(phase2Url(tone));
        EXPECT_EQ(phase2.code, CURLE_OK);
        const auto lines = phase2.lines();
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_EQ(lines[2], "SIZE:640x480");
    }
}

TEST_F(MisbehaviourTest, BadSizeAndMissingParametersReachTheClient) {
    const std::string tone = oggTone();
    {
        startService({"--size", "0x480"});
        CAnswerReader phase2(phase2Url(tone));
        ASSERT_TRUE(phase2.waitForLines(4, CServiceProcess::kBound));
        EXPECT_EQ(phase2.lines()[2], "SIZE:0x480");
        TearDown();
    }
    {
        // Only the token and the waiting line: the program cannot open its browser.
        CServiceProcess& service = startService({"--missing-params"});
        CAnswerReader phase2(phase2Url(tone));
        ASSERT_TRUE(phase2.waitForLines(2, CServiceProcess::kBound));
        const auto lines = phase2.lines();
        EXPECT_EQ(lines[0].rfind("TOKEN:", 0), 0u);
        EXPECT_EQ(lines[1], "102 Waiting for the user");
        // The answer is held until the client gives up.
        EXPECT_FALSE(phase2.waitForEnd(std::chrono::milliseconds(0)));
        phase2.abort();
        EXPECT_TRUE(service.waitForLog("hold ended: the client went away"));
        EXPECT_EQ(phase2.lines().size(), 2u);
    }
}

TEST_F(MisbehaviourTest, SlowAnswersComeWholeAndTheStopCutsThemShort) {
    const std::string tone = oggTone();
    {
        startService({"--slow", "150"});
        const auto phase0 = upload("tone.ogg", tone).lines();
        ASSERT_EQ(phase0.size(), 4u);
        EXPECT_EQ(phase0[3], "200 OK");
        TearDown();
    }
    {
        // A pause longer than any test: no line comes before the stop, which ends the answer.
        CServiceProcess& service = startService({"--slow", "600000"});
        CAnswerReader phase1(service.url("/php/client-continue.php?0123"));
        ASSERT_TRUE(phase1.waitForHeaders(CServiceProcess::kBound));
        EXPECT_EQ(service.stop(SIGTERM), 0);
        ASSERT_TRUE(phase1.waitForEnd(CServiceProcess::kBound));
        EXPECT_EQ(phase1.result(), CURLE_OK);
        EXPECT_TRUE(phase1.lines().empty());
    }
}

TEST_F(MisbehaviourTest, DropUploadResetsTheConnectionDuringTheUpload) {
    CServiceProcess& service = startService({"--drop-upload", "65536"});
    // Random bytes after an OGG start: large enough that the drop comes while it is sent.
    std::string large = oggTone();
    for (size_t i = 0; large.size() < 2000000; ++i)
        large.push_back(char((i * 2654435761u) >> 13));
    const HttpReply dropped = upload("large.ogg", large);
    EXPECT_NE(dropped.code, CURLE_OK);
    EXPECT_TRUE(dropped.body.empty());
    EXPECT_TRUE(service.waitForLog("dropped the connection after"));

    // An upload smaller than the limit goes through.
    EXPECT_EQ(upload("tone.ogg", oggTone()).lines().back(), "200 OK");
}

TEST_F(MisbehaviourTest, SigtermAndSigintStopPromptlyWhileAnAnswerIsHeld) {
    for (const int signal : {SIGTERM, SIGINT}) {
        CServiceProcess& service = startService();
        CAnswerReader phase2(phase2Url(oggTone()));
        ASSERT_TRUE(phase2.waitForLines(4, CServiceProcess::kBound));

        EXPECT_EQ(service.stop(signal), 0);
        ASSERT_TRUE(phase2.waitForEnd(CServiceProcess::kBound));
        // The held answer ended properly, without a status line.
        EXPECT_EQ(phase2.result(), CURLE_OK);
        EXPECT_EQ(phase2.lines().size(), 4u);
        EXPECT_EQ(phase2.lines().back(), "102 Waiting for the user");
        EXPECT_NE(service.log().back().find("stopped"), std::string::npos);
        EXPECT_TRUE(
            service.waitForLog(signal == SIGINT ? "stopping on SIGINT" : "stopping on SIGTERM"));
        m_service.reset();
    }
}

TEST_F(MisbehaviourTest, CommandLineHelpAndUsageErrors) {
    const auto help = CServiceProcess::run({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* option : {"--port", "--host", "--store", "--fail-phase", "--fail-status",
                               "--no-status", "--missing-params", "--slow", "--drop-upload",
                               "--size", "--payment", "--heartbeat", "521 The ringtone is not"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    EXPECT_EQ(CServiceProcess::run({"--version"}).out.rfind("quillet-service ", 0), 0u);

    for (const std::vector<std::string>& wrong :
         std::vector<std::vector<std::string>>{{"--port", "http"},
                                               {"--fail-phase", "3"},
                                               {"--fail-status", "404"},
                                               {"--frobnicate"},
                                               {"--payment=yes"},
                                               {"--public-url", "beam.test"},
                                               {"--port"}}) {
        const auto run = CServiceProcess::run(wrong);
        EXPECT_EQ(run.status, 2) << wrong[0];
        EXPECT_EQ(run.err.rfind("quillet-service: ", 0), 0u) << run.err;
    }

    // A port that is taken is reported, not shared.
    CServiceProcess& service = startService();
    const auto taken =
        CServiceProcess::run({"--port", std::to_string(service.port()), "--store", storeDir()});
    EXPECT_EQ(taken.status, 1);
    EXPECT_NE(taken.err.find("cannot listen on 127.0.0.1:" + std::to_string(service.port())),
              std::string::npos)
        << taken.err;
}
