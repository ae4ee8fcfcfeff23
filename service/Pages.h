// The HTML pages of the service: the transfer page the program's browser shows, the inbox, the
// start page and the message pages.
#pragma once

#include "RingtoneStore.h"
#include "Transfer.h"

#include <string>
#include <vector>

// What the transfer page shows.
struct TransferPageData {
    std::string token; // the page token
    StoredRingtone ringtone;
    CTransfer transfer;
    bool paymentNeeded = false;
    std::string phoneTyped; // the number to show in the form again
    std::string error;      // a message above the form
};

// What the start page says, in one language.
struct HomeWords {
    std::string title;
    std::string intro;     // what the service does
    std::string counts;    // the ringtones received and sent
    std::string inboxLink; // the text of the link to the inbox
    std::string afterLink; // HTML that ends the link's paragraph
    std::string language;  // the page's language tag
};

class CPages {
public:
    // The page a person finishes the transfer on: play, pay (with --payment), send, download,
    // cancel; after the choice, what became of the transfer.
    static std::string transfer(const TransferPageData& data);
    // The ringtones sent to one phone (phone not empty) or to every phone, newest first.
    static std::string inbox(const std::string& phone, const std::string& typed,
                             const std::vector<Delivery>& deliveries, const std::string& error);
    // The start page in the words of one language.
    static std::string home(const HomeWords& words);
    static std::string message(const std::string& title, const std::string& text);
    // A whole page: the style, the title, the header with the service's links when asked for,
    // and the body, in the language of the tag.
    static std::string page(const std::string& title, const std::string& body, bool withHeader,
                            const std::string& language = "en");

    // The address of a stored ringtone's bytes.
    static std::string ringtoneUrl(const StoredRingtone& ringtone);
    // The same with the query that makes the program download it itself.
    static std::string downloadUrl(const StoredRingtone& ringtone);
};
