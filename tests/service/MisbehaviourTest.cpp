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

namespace {

// A connection to the service that sends text as it is asked to.
struct RawClient {
    explicit RawClient(int port) : fd(socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(uint16_t(port));
        connected = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~RawClient() { close(fd); }
    bool send(const std::string& text) const {
        return ::send(fd, text.data(), text.size(), MSG_NOSIGNAL) == ssize_t(text.size());
    }
    // Reads until the text has come (true) or the connection ends or waitMs pass (false).
    bool readUntil(const std::string& text, int waitMs) {
        for (pollfd watch{fd, POLLIN, 0}; received.find(text) == std::string::npos;) {
            if (poll(&watch, 1, waitMs) != 1)
                return false;
            char buffer[4096];
            const ssize_t got = recv(fd, buffer, sizeof buffer, 0);
            ended = got <= 0;
            if (ended)
                return false;
            received.append(buffer, size_t(got));
        }
        return true;
    }
    int fd;
    bool connected = false;
    bool ended = false;
    std::string received;
};

} // namespace

TEST_F(MisbehaviourTest, HeldAnswersTakeNoThreadAndSlowClientsAreCutOff) {
    const int bound = int(CServiceProcess::kBound.count());
    const std::string waiting = "102 Waiting for the user\r\n";
    CServiceProcess& service = startService({"--read-timeout", "500"});
    const std::string tone = ringtone(200);
    const std::string request = " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    // Far more held answers than a thread per connection could serve.
    std::vector<std::unique_ptr<RawClient>> held;
    for (int i = 0; i < 100; ++i) {
        const std::string url = phase2Url(tone);
        ASSERT_EQ(url.find(service.url("/php/")), 0u) << "transfer " << i << " was not served";
        auto& client = held.emplace_back(std::make_unique<RawClient>(service.port()));
        ASSERT_TRUE(client->send("GET " + url.substr(url.find("/php/")) + request));
        ASSERT_TRUE(client->readUntil(waiting, bound)) << i << client->received;
    }
    // A slow client: a byte of its request every 100 ms; the service closes on it once the
    // header fields are not complete within the read time-out (the loop's bound is far beyond).
    RawClient slow(service.port());
    const std::string slowRequest = "GET /help" + request;
    size_t sent = 0;
    while (sent < slowRequest.size() - 2 && !slow.ended && slow.send(slowRequest.substr(sent++, 1)))
        slow.readUntil("\n", 100);
    EXPECT_TRUE(slow.ended) << "the slow client was not cut off";
    EXPECT_TRUE(slow.received.empty()) << slow.received;

    // Pages still answer, and every held answer still ends on its person's choice.
    EXPECT_TRUE(Contains(HttpGet(service.url("/")).body, "100 ringtone(s) received"));
    const std::string token =
        valueOf(HttpReply{CURLE_OK, 200, held[42]->received}.lines(), "TOKEN:");
    EXPECT_EQ(choose("cancel", token).status, 303);
    EXPECT_TRUE(held[42]->readUntil("500 Transfer cancelled by the user\r\n", bound));
    EXPECT_TRUE(held[41]->received.ends_with(waiting + "\r\n"));
}
