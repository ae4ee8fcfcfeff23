// Tests of the pages a person sees: the transfer page, the ringtone files and the inbox.
#include "ServiceTest.h"

using PagesTest = ServiceTest;

TEST_F(PagesTest, TransferPagePlaysTheRingtoneAndOffersItsDownloadLink) {
    CServiceProcess& service = startService();
    const std::string tone = ringtone(2000, 2);
    CAnswerReader phase2(phase2Url(tone));
    const std::string token = heldToken(phase2);

    const HttpReply page = HttpGet(service.url("/transfer?") + token);
    EXPECT_EQ(page.status, 200);
    EXPECT_EQ(page.header("content-type"), "text/html; charset=utf-8");
    EXPECT_EQ(page.body.rfind("<!DOCTYPE html>\n<html lang=\"en\">", 0), 0u);
    // The player, the facts of the stream, the download link and the cancel button.
    const size_t src = page.body.find("<audio controls preload=\"auto\" src=\"/ringtones/");
    ASSERT_NE(src, std::string::npos);
    const size_t start = page.body.find('"', src + 35) + 1;
    const std::string fileUrl = page.body.substr(start, page.body.find('"', start) - start);
    EXPECT_TRUE(fileUrl.ends_with("/tone.ogg")) << fileUrl;
    EXPECT_TRUE(Contains(page.body, "0:02.0 &middot; 2 channels, 22050 Hz"));
    EXPECT_TRUE(
        Contains(page.body, "<a href=\"" + fileUrl +
                                "?client_direct_download=1\">Download to your computer</a>"));
    EXPECT_TRUE(Contains(page.body, "action=\"/transfer/cancel\""));
    EXPECT_TRUE(Contains(page.body, "<input type=\"hidden\" name=\"token\" value=\"" + token));
    EXPECT_TRUE(Contains(page.body, "window.external.xxyyzz === \"Wibble\""));

    // The program fetches the link without its query; a browser gets it as an attachment.
    const HttpReply file = HttpGet(service.url(fileUrl));
    EXPECT_EQ(file.status, 200);
    EXPECT_EQ(file.header("content-type"), "audio/ogg");
    EXPECT_EQ(file.body, tone);
    EXPECT_TRUE(file.header("content-disposition").empty());
    const HttpReply download = HttpGet(service.url(fileUrl + "?client_direct_download=1"));
    EXPECT_EQ(download.body, tone);
    EXPECT_EQ(download.header("content-disposition"),
              "attachment; filename=\"tone.ogg\"; filename*=UTF-8''tone.ogg");

    EXPECT_EQ(HttpGet(service.url("/ringtones/0123456789abcdef/tone.ogg")).status, 404);
    const HttpReply unknown = HttpGet(service.url("/transfer?feedfeed"));
    EXPECT_EQ(unknown.status, 404);
    EXPECT_TRUE(Contains(unknown.body, "unknown or has expired"));
    const HttpReply nowhere = HttpGet(service.url("/nowhere"));
    EXPECT_EQ(nowhere.status, 404);
    EXPECT_TRUE(Contains(nowhere.body, "There is no page at this address."));
}

TEST_F(PagesTest, NamesAreShownAsEscapedUtf8AndTheInboxListsWhatEachPhoneGot) {
    CServiceProcess& service = startService();
    const std::string tone = ringtone();

    // Latin-1 bytes, as the program sends a name in its 8-bit code page.
    CAnswerReader latin1(phase2Url(tone, "Ch\xE9ri <live>.ogg"));
    const std::string latin1Token = heldToken(latin1);
    const std::string page = HttpGet(service.url("/transfer?") + latin1Token).body;
    EXPECT_TRUE(Contains(page, "<div class=\"name\">Ch\xC3\xA9ri &lt;live&gt;.ogg</div>"));
    EXPECT_TRUE(Contains(page, "/Ch_ri__live_.ogg\""));
    choose("send", latin1Token, "555 0100");
    ASSERT_TRUE(latin1.waitForEnd(CServiceProcess::kBound));

    // UTF-8 bytes with a folder and another extension: the base name with ".ogg".
    CAnswerReader utf8(phase2Url(tone, "C:\\Music\\Caf\xC3\xA9.mp3"));
    ASSERT_TRUE(utf8.waitForLines(4, CServiceProcess::kBound));
    choose("send", valueOf(utf8.lines(), "TOKEN:"), "+1-555-0199");
    ASSERT_TRUE(utf8.waitForEnd(CServiceProcess::kBound));

    const std::string inbox = HttpGet(service.url("/inbox?phone=555-0100")).body;
    EXPECT_TRUE(Contains(inbox, "<h1>Inbox of 5550100</h1>"));
    EXPECT_TRUE(Contains(inbox, ">Ch\xC3\xA9ri &lt;live&gt;.ogg</div>"));
    EXPECT_FALSE(Contains(inbox, "Caf\xC3\xA9"));
    EXPECT_TRUE(Contains(inbox, "<audio controls preload=\"none\" src=\"/ringtones/"));

    const std::string all = HttpGet(service.url("/inbox")).body;
    EXPECT_TRUE(Contains(all, "<h1>All inboxes</h1>"));
    EXPECT_TRUE(Contains(all, "<a href=\"/inbox?phone=5550100\">5550100</a>"));
    EXPECT_TRUE(Contains(all, "<a href=\"/inbox?phone=%2B15550199\">+15550199</a>"));
    // Newest first.
    EXPECT_LT(all.find(">Caf\xC3\xA9.ogg</div>"), all.find(">Ch\xC3\xA9ri"));

    EXPECT_TRUE(
        Contains(HttpGet(service.url("/inbox?phone=999")).body, "No ringtones received yet."));
    EXPECT_TRUE(
        Contains(HttpGet(service.url("/inbox?phone=abc")).body, "That is not a phone number"));
    EXPECT_TRUE(
        Contains(HttpGet(service.url("/")).body, "2 ringtone(s) received, 2 sent to phones."));
}

TEST_F(PagesTest, TheInboxSurvivesARestartOnTheSameStore) {
    CServiceProcess& first = startService();
    CAnswerReader phase2(phase2Url(ringtone()));
    ASSERT_TRUE(phase2.waitForLines(4, CServiceProcess::kBound));
    choose("send", valueOf(phase2.lines(), "TOKEN:"), "+1 555 0100");
    ASSERT_TRUE(phase2.waitForEnd(CServiceProcess::kBound));
    EXPECT_EQ(first.stop(SIGTERM), 0);

    CServiceProcess& second = startService();
    const std::string inbox = HttpGet(second.url("/inbox?phone=%2B15550100")).body;
    EXPECT_TRUE(Contains(inbox, ">tone.ogg</div>"));
    EXPECT_TRUE(Contains(inbox, "1 channel") || Contains(inbox, "mono"));
    EXPECT_TRUE(
        Contains(HttpGet(second.url("/")).body, "1 ringtone(s) received, 1 sent to phones."));
}

TEST_F(PagesTest, HelpAndStartPagesSpeakEnglishAndGerman) {
    CServiceProcess& service = startService();
    const HttpReply help = HttpGet(service.url("/help?version=0.1.0.0"));
    EXPECT_EQ(help.status, 200);
    EXPECT_EQ(help.body.rfind("<!DOCTYPE html>\n<html lang=\"en\">", 0), 0u);
    for (const char* text :
         {"<h2>Open a sound</h2>", "<h2>Select the ringtone</h2>", "<h2>Fade in and out</h2>",
          "<h2>Play</h2>", "<h2>Beam it to a phone", "<td>Ctrl+Shift+Z, Ctrl+Y</td>",
          "<td>[ and ]</td>", "<td>Shift+Left, Shift+Right</td>", "<td>L</td>", "<td>S</td>",
          "Brindle/Quillet/", "config.ini"})
        EXPECT_TRUE(Contains(help.body, text)) << text;
    const HttpReply hilfe = HttpGet(service.url("/help?language=de"));
    EXPECT_EQ(hilfe.body.rfind("<!DOCTYPE html>\n<html lang=\"de\">", 0), 0u);
    EXPECT_TRUE(Contains(hilfe.body, "<h2>Auf ein Telefon senden</h2>"));
    EXPECT_TRUE(Contains(hilfe.body, "<td>Strg+Umschalt+Z, Strg+Y</td>"));

    EXPECT_TRUE(Contains(HttpGet(service.url("/")).body, "0 ringtone(s) received"));
    const HttpReply start = HttpGet(service.url("/?language=de"));
    EXPECT_TRUE(Contains(start.body, "<h1>Quillet-Sendedienst</h1>"));
    EXPECT_TRUE(Contains(start.body, "0 Klingelton/-töne empfangen, 0 an Telefone gesendet."));
}
