// The service's pages about Quillet itself: the help page and the start page, in English and
// German.
#pragma once

#include <cstddef>
#include <string>

struct CHttpRequest;
class CHelpPages {
public:
    enum class Language { English, German };

    // The language a request asks for: its "language" parameter ("de", "en"), else the first
    // language of its Accept-Language header that the service has, else English.
    static Language languageOf(const CHttpRequest& request);
    // How to use Quillet: open, select, fade, play, beam, the keys, where its files are.
    static std::string help(Language language);
    // The start page with the counts of ringtones received and sent.
    static std::string home(Language language, size_t ringtones, size_t deliveries);
};
