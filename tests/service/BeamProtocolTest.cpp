// Tests of the service's side of beaming: the upload answer, the continue chain, the held
// phase-2 answer and how the person's choices end it.
#include "ServiceTest.h"

#include <QCryptographicHash>
#include <QDir>
#include <regex>

namespace {

const std::regex kToken("[0-9a-f]{32}");
const std::string kWaiting = "102 Waiting for the user";

} // namespace

using BeamProtocolTest = ServiceTest;

TEST_F(BeamProtocolTest, UploadOfAnOggRingtoneAnswersTokenDigestContinueAndOk) {
    CServiceProcess& service = startService();
    const std::string tone = ringtone(1500, 2);
    const HttpReply reply = upload("My Song.ogg", tone);
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.header("content-type"), "text/plain; charset=us-ascii");
    const auto lines = reply.lines();
    ASSERT_EQ(lines.size(), 4u) << reply.body;
    EXPECT_TRUE(std::regex_match(valueOf(lines, "TOKEN:"), kToken)) << lines[0];
    const QByteArray md5 =
        QCryptographicHash::hash(QByteArray::fromStdString(tone), QCryptographicHash::Md5);
    EXPECT_EQ(lines[1], "DIGEST:" + md5.toHex().toStdString());
    EXPECT_EQ(lines[2], "CONTINUE:" + service.url("/php/client-continue.php"));
    EXPECT_EQ(reply.body.substr(reply.body.size() - 8), "200 OK\r\n"); // lines end with CR LF
    // The stored file holds the uploaded bytes unchanged.
    const QDir ringtones(QString::fromStdString(storeDir() + "/ringtones"));
    const QStringList stored = ringtones.entryList({"*.ogg"});
    ASSERT_EQ(stored.size(), 1);
    EXPECT_EQ(testsupport::ReadBytes(ringtones.filePath(stored[0])).toStdString(), tone);
    EXPECT_TRUE(service.waitForLog("stored ringtone"));
}

TEST_F(BeamProtocolTest, ContinueAddressesFollowTheHostHeaderOrThePublicUrl) {
    const std::string body = uploadBody("tone.ogg", ringtone());
    auto headers = uploadHeaders(body.size());
    headers.push_back("Host: beam.test:8645");
    for (const auto& [switches, expected] :
         std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{}, "http://beam.test:8645/php/client-continue.php"},
             {{"--public-url", "https://beam.test/service/"},
              "https://beam.test/service/php/client-continue.php"}}) {
        CServiceProcess& service = startService(switches);
        EXPECT_EQ(valueOf(HttpPost(service.url(kUpload), body, headers).lines(), "CONTINUE:"),
                  expected);
        TearDown();
    }
}

TEST_F(BeamProtocolTest, UploadsThatAreNoRingtoneAreRefusedWithTheirStatus) {
    startService({"--max-size", "100000"});
    const std::string tone = ringtone();
    const std::vector<std::string> noOgg{"521 The ringtone is not an OGG Vorbis stream"};
    const std::vector<std::string> tooLarge{"522 The ringtone is larger than the service accepts"};
    const std::vector<std::string> noFile{"520 The upload holds no ringtone file"};

    EXPECT_EQ(upload("notes.ogg", "This is not a sound file.").body, noOgg[0] + "\r\n");
    EXPECT_EQ(upload("empty.ogg", "").lines(), noOgg);
    // A page in the middle with damaged bytes: its checksum fails and the stream has a gap.
    std::string damaged = ringtone(3000);
    const size_t page = damaged.find("OggS", damaged.size() / 2);
    ASSERT_NE(page, std::string::npos);
    for (size_t i = page + 40; i < page + 60 && i < damaged.size(); ++i)
        damaged[i] = char(~damaged[i]);
    EXPECT_EQ(upload("damaged.ogg", damaged).lines(), noOgg);
    // The stream cut short after its headers holds no audio.
    EXPECT_EQ(upload("cut.ogg", tone.substr(0, tone.find("OggS", 200))).lines(), noOgg);

    // The form's own limit, the service's limit, and a body too large to read at all.
    EXPECT_EQ(upload("tone.ogg", tone, "100").lines(), tooLarge);
    EXPECT_EQ(upload("big.ogg", std::string(150000, 'x')).lines(), tooLarge);
    const HttpReply huge = upload("huge.ogg", std::string(1300000, 'x'));
    EXPECT_EQ(huge.status, 200);
    EXPECT_EQ(huge.lines(), tooLarge);

    // A form without the userfile field, and a body that is no form.
    std::string sizeOnly = uploadBody("x", "");
    sizeOnly.resize(sizeOnly.rfind("\r\n--", sizeOnly.find("\"userfile\"")));
    EXPECT_EQ(postUpload(sizeOnly + "\r\n--" + kBoundary + "--\r\n").lines(), noFile);
    EXPECT_EQ(HttpPost(m_service->url(kUpload), tone, {"Content-type: application/ogg"}).lines(),
              noFile);

    // Nothing refused was kept, and the same service still takes a good ringtone.
    EXPECT_TRUE(
        QDir(QString::fromStdString(storeDir() + "/ringtones")).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(upload("tone.ogg", tone).lines().back(), "200 OK");
}

TEST_F(BeamProtocolTest, ContinueRequestsFollowTheChainOnceEach) {
    CServiceProcess& service = startService();
    const auto phase0 = upload("tone.ogg", ringtone()).lines();
    const auto phase1 = HttpGet(next(phase0)).lines();
    ASSERT_EQ(phase1.size(), 3u);
    EXPECT_TRUE(std::regex_match(valueOf(phase1, "TOKEN:"), kToken));
    EXPECT_NE(valueOf(phase1, "TOKEN:"), valueOf(phase0, "TOKEN:"));
    EXPECT_EQ(phase1[1], "CONTINUE:" + service.url("/php/client-browser.php"));
    EXPECT_EQ(phase1[2], "200 OK");

    // A token leads on once; unknown tokens are refused in both continue steps, and the phase-0
    // token does not open phase 2.
    const std::vector<std::string> unknown{"523 Unknown or expired transfer"};
    for (const std::string& url :
         {next(phase0), service.url("/php/client-continue.php?0123"),
          service.url("/php/client-browser.php"),
          service.url("/php/client-browser.php?") + valueOf(phase0, "TOKEN:")})
        EXPECT_EQ(HttpGet(url).lines(), unknown) << url;

    CAnswerReader phase2(next(phase1));
    ASSERT_TRUE(phase2.waitForLines(4, CServiceProcess::kBound));
    const auto lines = phase2.lines();
    EXPECT_TRUE(std::regex_match(valueOf(lines, "TOKEN:"), kToken));
    EXPECT_EQ(lines[1], "SHOW:" + service.url("/transfer"));
    EXPECT_EQ(lines[2], "SIZE:640x480");
    EXPECT_EQ(lines[3], kWaiting);
    // The page the program's browser opens: SHOW, "?" and the token.
    const HttpReply page = HttpGet(valueOf(lines, "SHOW:") + "?" + valueOf(lines, "TOKEN:"));
    EXPECT_EQ(page.status, 200);
    EXPECT_TRUE(
        Contains(page.body, "<form class=\"line\" method=\"post\" action=\"/transfer/send\">"));
}

TEST_F(BeamProtocolTest, SendingToAPhoneEndsTheHeldAnswerWith200) {
    CServiceProcess& service = startService();
    CAnswerReader phase2(phase2Url(ringtone()));
    const std::string token = heldToken(phase2);
    const auto send = [&](const std::string& phone) { return choose("send", token, phone); };

    // A number that is none shows the form again; the answer goes on waiting.
    const HttpReply refused = send("call me");
    EXPECT_EQ(refused.status, 200);
    EXPECT_TRUE(Contains(refused.body, "Please enter a phone number"));
    EXPECT_TRUE(Contains(refused.body, "value=\"call me\""));
    EXPECT_EQ(phase2.lines().size(), 4u);

    const HttpReply sent = send("+44 (7700) 900-123");
    EXPECT_EQ(sent.status, 303);
    EXPECT_EQ(sent.header("location"), "/transfer?" + token);
    ASSERT_TRUE(phase2.waitForEnd(CServiceProcess::kBound));
    EXPECT_EQ(phase2.result(), CURLE_OK);
    EXPECT_EQ(phase2.lines(),
              (std::vector<std::string>{phase2.lines()[0], phase2.lines()[1], "SIZE:640x480",
                                        kWaiting, "200 Ringtone sent"}));

    // The page tells what happened, and a second send changes nothing.
    EXPECT_TRUE(Contains(HttpGet(service.url("/transfer?") + token).body, "sent to +447700900123"));
    EXPECT_EQ(send("12345").status, 303);
    EXPECT_TRUE(Contains(HttpGet(service.url("/inbox?phone=%2B447700900123")).body, "tone.ogg"));
    EXPECT_FALSE(Contains(HttpGet(service.url("/inbox?phone=12345")).body, "tone.ogg"));
}

TEST_F(BeamProtocolTest, CancelOrAClientGoingAwayEndsTheTransferWithoutDelivery) {
    CServiceProcess& service = startService();
    CAnswerReader phase2(phase2Url(ringtone()));
    const std::string cancelled = heldToken(phase2);
    EXPECT_EQ(choose("cancel", cancelled).status, 303);
    ASSERT_TRUE(phase2.waitForEnd(CServiceProcess::kBound));
    EXPECT_EQ(phase2.result(), CURLE_OK);
    EXPECT_EQ(phase2.lines().size(), 5u);
    EXPECT_EQ(phase2.lines().back(), "500 Transfer cancelled by the user");
    EXPECT_EQ(choose("cancel", "feed").status, 404);

    std::string gone;
    {
        CAnswerReader away(phase2Url(ringtone()));
        ASSERT_TRUE(away.waitForLines(4, CServiceProcess::kBound));
        gone = valueOf(away.lines(), "TOKEN:");
    } // the reader closes its connection
    EXPECT_TRUE(service.waitForLog("hold ended: the client went away"));

    // Sending afterwards delivers nothing; the pages say why.
    for (const std::string& token : {cancelled, gone})
        choose("send", token, "5550100");
    EXPECT_TRUE(Contains(HttpGet(service.url("/transfer?") + cancelled).body,
                         "The transfer was cancelled"));
    EXPECT_TRUE(Contains(HttpGet(service.url("/transfer?") + gone).body, "no longer waiting"));
    EXPECT_TRUE(Contains(HttpGet(service.url("/inbox")).body, "No ringtones received yet."));
}

TEST_F(BeamProtocolTest, PaymentSends450AndTheAnswerGoesOn) {
    CServiceProcess& service = startService({"--payment"});
    CAnswerReader phase2(phase2Url(ringtone()));
    const std::string token = heldToken(phase2);
    const std::string page = service.url("/transfer?") + token;

    EXPECT_TRUE(Contains(HttpGet(page).body, "action=\"/transfer/pay\""));
    EXPECT_FALSE(Contains(HttpGet(page).body, "action=\"/transfer/send\""));
    EXPECT_TRUE(Contains(choose("send", token, "5550100").body, "Please pay before sending."));

    // Paying twice sends one 450 line; the send form is there now.
    EXPECT_EQ(choose("pay", token).status, 303);
    choose("pay", token);
    EXPECT_TRUE(Contains(HttpGet(page).body, "action=\"/transfer/send\""));
    choose("cancel", token);
    ASSERT_TRUE(phase2.waitForEnd(CServiceProcess::kBound));
    const auto lines = phase2.lines();
    EXPECT_EQ(std::vector(lines.begin() + 3, lines.end()),
              (std::vector<std::string>{kWaiting, "450 Payment done",
                                        "500 Transfer cancelled by the user"}));
}

TEST_F(BeamProtocolTest, HeldAnswersSendEmptyLinesAndEndIndependently) {
    startService({"--heartbeat", "1"});
    const std::string tone = ringtone();
    // A client that accepts compression still gets each line as it is written.
    CAnswerReader first(phase2Url(tone), true);
    CAnswerReader second(phase2Url(tone));
    ASSERT_TRUE(second.waitForLines(4, CServiceProcess::kBound));
    // The heartbeat: an empty line after the waiting line.
    ASSERT_TRUE(first.waitForLines(5, CServiceProcess::kBound));
    EXPECT_EQ(first.lines()[3], kWaiting);
    EXPECT_EQ(first.lines()[4], "");

    choose("send", valueOf(second.lines(), "TOKEN:"), "5550100");
    ASSERT_TRUE(second.waitForEnd(CServiceProcess::kBound));
    EXPECT_EQ(second.lines().back(), "200 Ringtone sent");
    EXPECT_FALSE(first.waitForEnd(std::chrono::milliseconds(0)));

    choose("cancel", valueOf(first.lines(), "TOKEN:"));
    ASSERT_TRUE(first.waitForEnd(CServiceProcess::kBound));
    EXPECT_EQ(first.lines().back(), "500 Transfer cancelled by the user");
}
