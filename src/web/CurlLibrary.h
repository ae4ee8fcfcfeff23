// libcurl, loaded when the first HTTP exchange starts: the functions the HTTP session and its
// requests call, as one table of pointers.
#pragma once

#include <QString>
#include <curl/curl.h>

#define QUILLET_CURL_FUNCTIONS(X)                                                                  \
    X(curl_global_init)                                                                            \
    X(curl_global_cleanup)                                                                         \
    X(curl_easy_init)                                                                              \
    X(curl_easy_cleanup)                                                                           \
    X(curl_easy_setopt)                                                                            \
    X(curl_easy_strerror)                                                                          \
    X(curl_easy_getinfo)                                                                           \
    X(curl_multi_init)                                                                             \
    X(curl_multi_cleanup)                                                                          \
    X(curl_multi_add_handle)                                                                       \
    X(curl_multi_remove_handle)                                                                    \
    X(curl_multi_perform)                                                                          \
    X(curl_multi_poll)                                                                             \
    X(curl_multi_info_read)                                                                        \
    X(curl_multi_strerror)                                                                         \
    X(curl_slist_append)                                                                           \
    X(curl_slist_free_all)

// Loads libcurl with dlopen, so that commands without HTTP exchanges do not link it and the many
// libraries it brings (TLS, Kerberos, LDAP) at every start.
class CCurlLibrary {
public:
#define QUILLET_CURL_POINTER(name) decltype(&::name) name = nullptr;
    QUILLET_CURL_FUNCTIONS(QUILLET_CURL_POINTER)
#undef QUILLET_CURL_POINTER

    // The process's table, loaded at the first call; null when that failed, with error (when
    // given) telling what could not be loaded. Safe to call from any thread.
    static const CCurlLibrary* system(QString* error = nullptr);
};
