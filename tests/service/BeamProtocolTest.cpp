// Tests of the service's side of beaming: the upload answer, the continue chain, the held
// phase-2 answer and how the person's choices end it.
#include "ServiceTest.h"
#include "support/TestSupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <regex>

namespace {

const std::regex kToken("[0-9a-f]{32}");

} // namespace

using BeamProtocolTest = ServiceTest;

TEST_F(BeamProtocolTest, UploadOfAnOggRingtoneAnswersTokenDigestContinueAndOk) {
    CServiceProcess& service = startService();
    const std::string tone = oggTone(1500, true);
    const HttpReply reply = upload("My Song.ogg", tone);

    ASSERT_EQ(reply.code, CURLE_OK);
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.header("content-type"), "text/plain; charset=us-ascii");
    const auto lines = reply.lines();
    ASSERT_EQ(lines.size(), 4u) << reply.body;
    EXPECT_TRUE(std::regex_match(valueOf(lines, "TOKEN:"), kToken)) << lines[0];
    const QByteArray md5 =
        QCryptographicHash::hash(QByteArray::fromStdString(tone), QCryptographicHash::Md5);
    EXPECT_EQ(lines[1], "DIGEST:" + md5.toHex().toStdString());
    EXPECT_EQ(lines[2], "CONTINUE:" + service.url("/php/client-continue.php"));
    EXPECT_EQ(lines[3], "200 OK");
    // Every line ends with CR LF.
    EXPECT_EQ(reply.body.substr(reply.body.size() - 8), "200 OK\r\n");

    // The stored file holds the uploaded bytes unchanged.
    const QDir ringtones(QString::fromStdString(storeDir() + "/ringtones"));
    const QStringList stored = ringtones.entryList({"*.ogg"});
    ASSERT_EQ(stored.size(), 1);
    EXPECT_EQ(testsupport::ReadBytes(ringtones.filePath(stored[0])).toStdString(), tone);
    EXPECT_TRUE(service.waitForLog("stored ringtone"));
}

TEST_F(BeamProtocolTest, ContinueAddressesFollowTheHostHeaderOrThePublicUrl) {
    const std::string tone = oggTone();
    const std::string body = UploadBody(kBoundary, "tone.ogg", tone);
    auto headers = UploadHeaders(kBoundary, body.size());
    headers.push_back("Host: beam.test:8645");
    {
        CServiceProcess& service = startService();
        const auto lines =
            HttpPost(service.url("/php/client-upload-dgst.php"), body, headers).lines();
        EXPECT_EQ(valueOf(lines, "CONTINUE:"), "http://beam.test:8645/php/client-continue.php");
        TearDown();
    }
    CServiceProcess& service = startService({"--public-url", "https://beam.test/service/"});
    const auto lines = HttpPost(service.url("/php/client-upload-dgst.php"), body, headers).lines();
    EXPECT_EQ(valueOf(lines, "CONTINUE:"), "https://beam.test/service/php/client-continue.php");
}

TEST_F(BeamProtocolTest, UploadsThatAreNoRingtoneAreRefusedWithTheirStatus) {
    CServiceProcess& service = startService({"--max-size", "100000"});
    const std::string tone = oggTone();

    EXPECT_EQ(upload("notes.ogg", "This is not a sound file.").body,
              "521 The ringtone is not an OGG Vorbis stream\r\n");
    EXPECT_EQ(upload("empty.ogg", "").lines(),
              std::vector<std::string>{"521 The ringtone is not an OGG Vorbis stream"});
    // A page in the middle with damaged bytes: its checksum fails and the stream has a gap.
    std::string damaged = tone;
    const size_t page = damaged.find("OggS", damaged.size() / 2);
    ASSERT_NE(page, std::string::npos);
    for (size_t i = page + 40; i < page + 60 && i < damaged.size(); ++i)
        damaged[i] = char(~damaged[i]);
    EXPECT_EQ(upload("damaged.ogg", damaged).lines(),
              std::vector<std::string>{"521 The ringtone is not an OGG Vorbis stream"});
    // The stream cut short after its headers holds no audio.
    EXPECT_EQ(upload("cut.ogg", tone.substr(0, tone.find("OggS", 200))).lines(),
              std::vector<std::string>{"521 The ringtone is not an OGG Vorbis stream"});

    // The form's own limit, and the service's limit.
    EXPECT_EQ(upload("tone.ogg", tone, "100").lines(),
              std::vector<std::string>{"522 The ringtone is larger than the service accepts"});
    EXPECT_EQ(upload("big.ogg", std::string(150000, 'x')).lines(),
              std::vector<std::string>{"522 The ringtone is larger than the service accepts"});
    // Over the limit by more than the room for the form: refused before the form is read.
    const HttpReply huge = upload("huge.ogg", std::string(1300000, 'x'));
    EXPECT_EQ(huge.status, 200);
    EXPECT_EQ(huge.lines(),
              std::vector<std::string>{"522 The ringtone is larger than the service accepts"});

    // A form without the userfile field, and a body that is no form.
    const std::string noFile = "--" + std::string(kBoundary) +
                               "\r\nContent-Disposition: form-data; name=\"MAX_FILE_SIZE\"\r\n\r\n"
                               "100\r\n--" +
                               kBoundary + "--\r\n";
    EXPECT_EQ(HttpPost(service.url("/php/client-upload-dgst.php"), noFile,
                       UploadHeaders(kBoundary, noFile.size()))
                  .lines(),
              std::vector<std::string>{"520 The upload holds no ringtone file"});
    EXPECT_EQ(HttpPost(service.url("/php/client-upload-dgst.php"), tone,
                       {"Content-type: application/ogg"})
                  .lines(),
              std::vector<std::string>{"520 The upload holds no ringtone file"});

    // Nothing refused was kept.
    EXPECT_TRUE(
        QDir(QString::fromStdString(storeDir() + "/ringtones")).entryList(QDir::Files).isEmpty());
    // The same service still takes a good ringtone.
    EXPECT_EQ(upload("tone.ogg", tone).lines().back(), "200 OK");
}

TEST_F(BeamProtocolTest, ContinueRequestsFollowTheChainOnceEach) {
    CServiceProcess& service = startService();
    const auto phase0 = upload("tone.ogg", oggTone()).lines();
    const std::string phase1Url = valueOf(phase0, "CONTINUE:") + "?" + valueOf(phase0, "TOKEN:");

    const auto phase1 = HttpGet(phase1Url).lines();
    ASSERT_EQ(phase1.size(), 3u);
    EXPECT_TRUE(std::regex_match(valueOf(phase1, "TOKEN:"), kToken));
    EXPECT_NE(valueOf(phase1, "TOKEN:"), valueOf(phase0, "TOKEN:"));
    EXPECT_EQ(phase1[1], "CONTINUE:" + service.url("/php/client-browser.php"));
    EXPECT_EQ(phase1[2], "200 OK");

    // A token leads on once; unknown tokens are refused in both continue steps.
    const std::vector<std::string> unknown{"523 Unknown or expired transfer"};
    EXPECT_EQ(HttpGet(phase1Url).lines(), unknown);
    EXPECT_EQ(HttpGet(service.url("/php/client-continue.php?0123")).lines(), unknown);
    EXPECT_EQ(HttpGet(service.url("/php/client-browser.php")).lines(), unknown);
    // The phase-0 token does not open phase 2.
    EXPECT_EQ(HttpGet(service.url("/php/client-browser.php?") + valueOf(phase0, "TOKEN:")).lines(),
              unknown);

    CAnswerReader phase2(valueOf(phase1, "CONTINUE:") + "?" + valueOf(phase1, "TOKEN:"));
    ASSERT_TRUE(phase2.waitForLines(4, CServiceProcess::kBound));
    const auto lines = phase2.lines();
    EXPECT_TRUE(std::regex_match(valueOf(lines, "TOKEN:"), kToken));
    EXPECT_EQ(lines[1], "SHOW:" + service.url("/transfer"));
    EXPECT_EQ(lines[2], "SIZE:640x480");
    EXPECT_EQ(lines[3], "102 Waiting for the user");
    // The page the program's browser opens: SHOW, "?" and the token.
    const HttpReply page = HttpGet(valueOf(lines, "SHOW:") + "?" + valueOf(lines, "TOKEN:"));
    EXPECT_EQ(page.status, 200);
    EXPECT_NE(page.body.find("<form class=\"line\" method=\"post\" action=\"/transfer/send\">"),
              std::string::npos);
}

TEST_F(BeamProtocolTest, SendingToAPhoneEndsTheHeldAnswerWith200) {
    CServiceProcess& service = startService();
    CAnswerReader phase2(phase2Url(oggTone()));
    ASSERT_TRUE(phase2.waitForLines(4, CServiceProcess::kBound));
    const std::string token = valueOf(phase2.lines(), "TOKEN:");

    // A number that is none shows the form again; the answer goes on waiting.
    const HttpReply refused =
        HttpPostForm(service.url("/transfer/send"), {{"token", token}, {"phone", "call me"}});
    EXPECT_EQ(refused.status, 200);
    EXPECT_NE(refused.body.find("Please enter a phone number"), std::string::npos);
    EXPECT_NE(refused.body.find("value=\"call me\""), std::string::npos);
    EXPECT_EQ(phase2.lines().size(), 4u);

    const HttpReply sent = HttpPostForm(service.url("/transfer/send"),
                                        {{"token", token}, {"phone", "+44 (7700) 900-123"}});
    EXPECT_EQ(sent.status, 303);
    EXPECT_EQ(sent.header("location"), "/transfer?" + token);
    ASSERT_TRUE(phase2.waitForEnd(CServiceProcess::kBound));
    EXPECT_EQ(phase2.result(), CURLE_OK);
    const auto lines = phase2.lines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[4], "200 Ringtone sent");

    // The page tells what happened, and a second send changes nothing.
    EXPECT_NE(HttpGet(service.url("/transfer?") + token).body.find("sent to +447700900123"),
              std::string::npos);
    EXPECT_EQ(
        HttpPostForm(service.url("/transfer/send"), {{"token", token}, {"phone", "12345"}}).status,
        303);
    const std::string inbox = HttpGet(service.url("/inbox?phone=%2B447700900123")).body;
    EXPECT_NE(inbox.find("tone.ogg"), std::string::npos);
    EXPECT_EQ(HttpGet(service.url("/inbox?phone=12345")).body.find("tone.ogg"), std::string::npos);
}

TEST_F(BeamProtocolTest, CancellingOnThePageEndsTheHeldAnswerWith500) {
    CServiceProcess& service = startService();
    CAnswerReader phase2(phase2Url(oggTone()));
    ASSERT_TRUE(phase2.waitForLines(4, CServiceProcess::kBound));
    const std::string token = valueOf(phase2.lines(), "TOKEN:");

    EXPECT_EQ(HttpPostForm(service.url("/transfer/cancel"), {{"token", token}}).status, 303);
    ASSERT_TRUE(phase2.waitForEnd(CServiceProcess::kBound));
    EXPECT_EQ(phase2.result(), CURLE_OK);
    EXPECT_EQ(phase2.lines().back(), "500 Transfer cancelled by the user");
    EXPECT_EQ(phase2.lines().size(), 5u);

    // Sending after the cancel delivers nothing.
    HttpPostForm(service.url("/transfer/send"), {{"token", token}, {"phone", "5550100"}});
    EXPECT_NE(HttpGet(service.url("/transfer?") + token).body.find("The transfer was cancelled"),
              std::string::npos);
    EXPECT_NE(HttpGet(service.url("/inbox")).body.find("No ringtones received yet."),
              std::string::npos);
    EXPECT_EQ(HttpPostForm(service.url("/transfer/cancel"), {{"token", "feed"}}).status, 404);
}

TEST_F(BeamProtocolTest, PaymentSends450AndTheAnswerGoesOn) {
    CServiceProcess& service = startService({"--payment"});
    CAnswerReader phase2(phase2Url(oggTone()));
    ASSERT_TRUE(phase2.waitForLines(4, CServiceProcess::kBound));
    const std::string token = valueOf(phase2.lines(), "TOKEN:");

    const std::string page = HttpGet(service.url("/transfer?") + token).body;
    EXPECT_NE(page.find("action=\"/transfer/pay\""), std::string::npos);
    EXPECT_EQ(page.find("action=\"/transfer/send\""), std::string::npos);
    // Sending before paying is refused on the page.
    EXPECT_NE(HttpPostForm(service.url("/transfer/send"), {{"token", token}, {"phone", "5550100"}})
                  .body.find("Please pay before sending."),
              std::string::npos);

    EXPECT_EQ(HttpPostForm(service.url("/transfer/pay"), {{"token", token}}).status, 303);
    ASSERT_TRUE(phase2.waitForLines(5, CServiceProcess::kBound));
    EXPECT_EQ(phase2.lines()[4], "450 Payment done");
    // Paying again sends nothing more; the send form is there now.
    HttpPostForm(service.url("/transfer/pay"), {{"token", token}});
    EXPECT_NE(HttpGet(service.url("/transfer?") + token).body.find("action=\"/transfer/send\""),
              std::string::npos);

    HttpPostForm(service.url("/transfer/cancel"), {{"token", token}});
    ASSERT_TRUE(phase2.waitForEnd(CServiceProcess::kBound));
    const auto lines = phase2.lines();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[5], "500 Transfer cancelled by the user");
}

TEST_F(BeamProtocolTest, ClientGoingAwayEndsTheHoldAndClosesTheTransfer) {
    CServiceProcess& service = startService();
    std::string token;
    {
        CAnswerReader phase2(phase2Url(oggTone()));
        ASSERT_TRUE(phase2.waitForLines(4, CServiceProcess::kBound));
        token = valueOf(phase2.lines(), "TOKEN:");
    } // the reader closes its connection
    EXPECT_TRUE(service.waitForLog("hold ended: the client went away"));
    EXPECT_NE(HttpGet(service.url("/transfer?") + token).body.find("no longer waiting"),
              std::string::npos);
    EXPECT_EQ(HttpPostForm(service.url("/transfer/send"), {{"token", token}, {"phone", "5550100"}})
                  .status,
              303);
    EXPECT_NE(HttpGet(service.url("/inbox")).body.find("No ringtones received yet."),
              std::string::npos);
}

TEST_F(BeamProtocolTest, HeldAnswersSendEmptyLinesAndEndIndependently) {
    CServiceProcess& service = startService({"--heartbeat", "1"});
    const std::string tone = oggTone();
    // A client that accepts compression still gets each line as it is written.
    CAnswerReader first(phase2Url(tone), true);
    CAnswerReader second(phase2Url(tone));
    ASSERT_TRUE(first.waitForLines(4, CServiceProcess::kBound));
    ASSERT_TRUE(second.waitForLines(4, CServiceProcess::kBound));
    // The heartbeat: an empty line after the waiting line.
    ASSERT_TRUE(first.waitForLines(5, CServiceProcess::kBound));
    EXPECT_EQ(first.lines()[4], "");

    HttpPostForm(service.url("/transfer/send"),
                 {{"token", valueOf(second.lines(), "TOKEN:")}, {"phone", "5550100"}});
    ASSERT_TRUE(second.waitForEnd(CServiceProcess::kBound));
    EXPECT_EQ(second.lines().back(), "200 Ringtone sent");
    EXPECT_FALSE(first.waitForEnd(std::chrono::milliseconds(0)));

    HttpPostForm(service.url("/transfer/cancel"), {{"token", valueOf(first.lines(), "TOKEN:")}});
    ASSERT_TRUE(first.waitForEnd(CServiceProcess::kBound));
    EXPECT_EQ(first.lines().back(), "500 Transfer cancelled by the user");
}
