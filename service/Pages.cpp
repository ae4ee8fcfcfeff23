#include "Pages.h"

#include "ServicePaths.h"
#include "WebText.h"

namespace {

constexpr const char* kStyle = R"(
:root { color-scheme: light; }
* { box-sizing: border-box; }
body { margin: 0; font: 15px/1.45 system-ui, "Segoe UI", Roboto, "Helvetica Neue", Arial,
       sans-serif; color: #1d2430; background: #f3f5f9; }
header { background: #1f3a66; padding: 10px 20px; display: flex; gap: 18px; }
header a { color: #fff; text-decoration: none; font-weight: 600; }
main { max-width: 640px; margin: 0 auto; padding: 14px 20px; }
h1 { font-size: 20px; margin: 0 0 10px; }
h2 { font-size: 16px; margin: 0 0 6px; }
p { margin: 0 0 8px; }
.card { background: #fff; border: 1px solid #dde3ec; border-radius: 8px; padding: 12px 14px;
        margin-bottom: 10px; }
.name { font-weight: 600; overflow-wrap: anywhere; }
.meta { color: #5b6677; font-size: 13px; }
audio { display: block; width: 100%; margin-top: 8px; }
form.line { display: flex; gap: 8px; align-items: center; margin: 0; }
form.line label { white-space: nowrap; }
input[type=tel] { flex: 1; min-width: 0; padding: 7px 9px; font: inherit;
                  border: 1px solid #b9c3d3; border-radius: 6px; }
button { padding: 7px 16px; font: inherit; border-radius: 6px; border: 1px solid #1f5bd8;
         background: #2a6df4; color: #fff; cursor: pointer; }
button:hover { background: #1f5bd8; }
button.secondary { background: #fff; color: #1f3a66; border-color: #b9c3d3; }
button.secondary:hover { background: #eef2f8; }
.actions { display: flex; justify-content: space-between; align-items: center; gap: 12px; }
.error { color: #b3261e; margin: 8px 0 0; }
.done { border-color: #9fd3a8; background: #f0faf2; }
.closed { border-color: #e3c48d; background: #fdf8ee; }
ul.inbox { list-style: none; padding: 0; margin: 0; }
a { color: #1f5bd8; }
td { padding: 2px 14px 2px 0; vertical-align: top; }
td:first-child { white-space: nowrap; font-weight: 600; }
)";

} // namespace

std::string CPages::page(const std::string& title, const std::string& body, bool withHeader,
                         const std::string& language) {
    std::string html = "<!DOCTYPE html>\n<html lang=\"" + language +
                       "\">\n<head>\n<meta charset=\"utf-8\">\n"
                       "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                       "<title>" +
                       CWebText::escapeHtml(title) + "</title>\n<style>" + kStyle +
                       "</style>\n</head>\n<body>\n";
    if (withHeader)
        html += std::string("<header><a href=\"/\">Quillet beaming service</a><a href=\"") +
                CServicePaths::kInbox + "\">Inbox</a><a href=\"" + CServicePaths::kHelp +
                "\">Help</a></header>\n";
    return html + "<main>\n" + body + "</main>\n</body>\n</html>\n";
}

namespace {

std::string Esc(const std::string& text) {
    return CWebText::escapeHtml(CWebText::toUtf8(text));
}

std::string TokenField(const std::string& token) {
    return "<input type=\"hidden\" name=\"token\" value=\"" + CWebText::escapeHtml(token) + "\">";
}

std::string RingtoneFacts(const StoredRingtone& ringtone) {
    const auto& stream = ringtone.stream;
    return CWebText::formatDuration(stream.durationMs) + " &middot; " +
           (stream.channels == 1 ? std::string("mono")
                                 : std::to_string(stream.channels) + " channels") +
           ", " + std::to_string(stream.rate) + " Hz &middot; " +
           CWebText::formatSize(ringtone.size);
}

std::string DownloadLink(const StoredRingtone& ringtone) {
    return "<a href=\"" + CWebText::escapeHtml(CPages::downloadUrl(ringtone)) +
           "\">Download to your computer</a>";
}

// What the page says once the transfer is no longer open.
std::string OutcomeText(const CTransfer& transfer) {
    switch (transfer.outcome) {
    case CTransfer::Outcome::Sent:
        return "<div class=\"card done\"><h2>Sent</h2><p>Your ringtone was sent to " +
               Esc(transfer.phone) + ". You can close this window.</p></div>\n";
    case CTransfer::Outcome::Cancelled:
        return "<div class=\"card closed\"><h2>Cancelled</h2><p>The transfer was cancelled. "
               "Nothing was sent.</p></div>\n";
    case CTransfer::Outcome::Stopped:
        return "<div class=\"card closed\"><h2>Closed</h2><p>The service stopped before the "
               "transfer was finished.</p></div>\n";
    case CTransfer::Outcome::ClientLeft:
    case CTransfer::Outcome::Ended:
    case CTransfer::Outcome::Open:
        break;
    }
    return "<div class=\"card closed\"><h2>Closed</h2><p>Quillet is no longer waiting for this "
           "transfer. Beam the ringtone again to send it.</p></div>\n";
}

} // namespace

std::string CPages::ringtoneUrl(const StoredRingtone& ringtone) {
    return std::string(CServicePaths::kRingtones) + "/" + ringtone.id + "/" +
           CWebText::addressFileName(ringtone.fileName);
}

std::string CPages::downloadUrl(const StoredRingtone& ringtone) {
    return ringtoneUrl(ringtone) + "?" + CServicePaths::kDirectDownload + "=1";
}

std::string CPages::transfer(const TransferPageData& data) {
    const CTransfer& transfer = data.transfer;
    std::string body = "<h1>Send your ringtone</h1>\n<div class=\"card\">\n<div class=\"name\">" +
                       Esc(data.ringtone.fileName) + "</div>\n<div class=\"meta\">" +
                       RingtoneFacts(data.ringtone) +
                       "</div>\n<audio controls preload=\"auto\" src=\"" +
                       CWebText::escapeHtml(ringtoneUrl(data.ringtone)) +
                       "\">Your browser cannot play OGG Vorbis.</audio>\n</div>\n";
    const bool open = transfer.outcome == CTransfer::Outcome::Open && transfer.held;
    const std::string error =
        data.error.empty() ? ""
                           : "<p class=\"error\">" + CWebText::escapeHtml(data.error) + "</p>\n";
    if (!open) {
        body += OutcomeText(transfer);
        body += "<p>" + DownloadLink(data.ringtone) + "</p>\n";
    } else if (data.paymentNeeded && !transfer.paid) {
        body += std::string("<div class=\"card\">\n<h2>Payment</h2>\n<p>Sending a ringtone to a "
                            "phone costs 0.99. This is a pretend payment: nothing is "
                            "charged.</p>\n<form class=\"line\" method=\"post\" action=\"") +
                CServicePaths::kPay + "\">" + TokenField(data.token) +
                "<button type=\"submit\">Pay 0.99</button></form>\n" + error + "</div>\n";
    } else {
        body += "<div class=\"card\">\n<h2>Send it to your phone</h2>\n";
        if (transfer.paid)
            body += "<p class=\"meta\">Payment received.</p>\n";
        body += std::string("<form class=\"line\" method=\"post\" action=\"") +
                CServicePaths::kSend + "\">" + TokenField(data.token) +
                "<label for=\"phone\">Phone number</label><input type=\"tel\" id=\"phone\" "
                "name=\"phone\" required autofocus autocomplete=\"tel\" "
                "placeholder=\"+44 7700 900123\" value=\"" +
                Esc(data.phoneTyped) + "\"><button type=\"submit\">Send</button></form>\n" + error +
                "</div>\n";
    }
    if (open) {
        body += "<div class=\"actions\">" + DownloadLink(data.ringtone) +
                "<form method=\"post\" action=\"" + CServicePaths::kCancel + "\">" +
                TokenField(data.token) +
                "<button type=\"submit\" class=\"secondary\">Cancel</button></form></div>\n";
    }
    // The program's browser offers an external object that answers xxyyzz; a plain browser
    // gets a word on what the page is for.
    body += "<p id=\"outside\" class=\"meta\" hidden>This page belongs to a ringtone beamed "
            "from Quillet.</p>\n<script>\n"
            "(function () {\n  var inside = false;\n"
            "  try { inside = window.external && window.external.xxyyzz === \"Wibble\"; } "
            "catch (e) {}\n"
            "  if (!inside) document.getElementById(\"outside\").hidden = false;\n})();\n"
            "</script>\n";
    return page("Send your ringtone", body, false);
}

std::string CPages::inbox(const std::string& phone, const std::string& typed,
                          const std::vector<Delivery>& deliveries, const std::string& error) {
    std::string body = "<h1>" +
                       (phone.empty() ? std::string("All inboxes") : "Inbox of " + Esc(phone)) +
                       "</h1>\n<div class=\"card\"><form class=\"line\" method=\"get\" action=\"" +
                       CServicePaths::kInbox +
                       "\"><label for=\"phone\">Phone number</label><input type=\"tel\" "
                       "id=\"phone\" name=\"phone\" value=\"" +
                       Esc(typed) + "\"><button type=\"submit\">Show</button></form>\n";
    if (!error.empty())
        body += "<p class=\"error\">" + CWebText::escapeHtml(error) + "</p>\n";
    body += "</div>\n";
    if (deliveries.empty())
        body += "<p>No ringtones received yet.</p>\n";
    else
        body += "<ul class=\"inbox\">\n";
    for (const Delivery& delivery : deliveries) {
        const StoredRingtone& ringtone = delivery.ringtone;
        body += "<li class=\"card\"><div class=\"name\">" + Esc(ringtone.fileName) +
                "</div>\n<div class=\"meta\">To <a href=\"" + CServicePaths::kInbox +
                "?phone=" + CWebText::escapeHtml(CWebText::encodeUrl(delivery.phone)) + "\">" +
                Esc(delivery.phone) + "</a> on " + CWebText::formatTime(delivery.sentAt) +
                " &middot; " + RingtoneFacts(ringtone) +
                "</div>\n<audio controls preload=\"none\" src=\"" +
                CWebText::escapeHtml(ringtoneUrl(ringtone)) + "\"></audio>\n<p>" +
                DownloadLink(ringtone) + "</p></li>\n";
    }
    if (!deliveries.empty())
        body += "</ul>\n";
    return page(phone.empty() ? "All inboxes" : "Inbox of " + CWebText::toUtf8(phone), body, true);
}

std::string CPages::home(const HomeWords& words) {
    const std::string body = "<h1>" + words.title + "</h1>\n<div class=\"card\">\n<p>" +
                             words.intro + "</p>\n<p class=\"meta\">" + words.counts +
                             "</p>\n<p><a href=\"" + CServicePaths::kInbox + "\">" +
                             words.inboxLink + "</a>" + words.afterLink + "</p>\n</div>\n";
    return page(words.title, body, true, words.language);
}

std::string CPages::message(const std::string& title, const std::string& text) {
    return page(title,
                "<h1>" + CWebText::escapeHtml(title) + "</h1>\n<div class=\"card\"><p>" +
                    CWebText::escapeHtml(text) + "</p></div>\n",
                true);
}
