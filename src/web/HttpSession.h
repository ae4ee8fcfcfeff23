// A run of HTTP exchanges with shared settings over libcurl: agent, proxy, connect time-out.
#pragma once

#include <QByteArray>
#include <QString>
#include <curl/curl.h>

class CCurlLibrary;

// The transfers of one session run on the thread that drives them (see CHttpRequest); finished
// connections stay in the session for the next request to the same server.
class CHttpSession {
public:
    static constexpr char kAgent[] = "Quillet";
    static constexpr long kConnectTimeoutMs = 40000;

    // proxy: "host:port" or a proxy URL; empty leaves the choice to the system's proxy variables
    // (http_proxy, https_proxy, all_proxy, no_proxy). Throws CInternetException when the
    // transfer library cannot be loaded or set up.
    explicit CHttpSession(const QString& proxy);
    ~CHttpSession();
    CHttpSession(const CHttpSession&) = delete;
    CHttpSession& operator=(const CHttpSession&) = delete;

    // The libcurl the session's transfers call.
    const CCurlLibrary& curl() const { return *m_curl; }
    // Sets the session's options on a new transfer.
    void configure(CURL* easy) const;
    CURLM* multi() const { return m_multi; }

private:
    const CCurlLibrary* m_curl = nullptr;
    QByteArray m_proxy;
    CURLM* m_multi = nullptr;
};
