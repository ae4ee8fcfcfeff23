// A run of HTTP exchanges with shared settings over libcurl.
#include "web/HttpSession.h"

#include "web/CurlLibrary.h"
#include "web/InternetException.h"

CHttpSession::CHttpSession(const QString& proxy) : m_proxy(proxy.trimmed().toUtf8()) {
    QString error;
    m_curl = CCurlLibrary::system(&error);
    if (!m_curl)
        throw CInternetException(error, int(CURLE_FAILED_INIT));
    const CCurlLibrary& curl = *m_curl;
    const CURLcode init = curl.curl_global_init(CURL_GLOBAL_DEFAULT);
    if (init != CURLE_OK)
        throw CInternetException(QString::fromUtf8(curl.curl_easy_strerror(init)), int(init));
    m_multi = curl.curl_multi_init();
    if (!m_multi) {
        curl.curl_global_cleanup();
        throw CInternetException(QString::fromUtf8(curl.curl_multi_strerror(CURLM_OUT_OF_MEMORY)),
                                 int(CURLM_OUT_OF_MEMORY));
    }
}

CHttpSession::~CHttpSession() {
    const CCurlLibrary& curl = *m_curl;
    curl.curl_multi_cleanup(m_multi);
    curl.curl_global_cleanup();
}

void CHttpSession::configure(CURL* easy) const {
    const CCurlLibrary& curl = *m_curl;
    curl.curl_easy_setopt(easy, CURLOPT_USERAGENT, kAgent);
    curl.curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, kConnectTimeoutMs);
    curl.curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl.curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    // Time-outs must not raise signals in a program with threads.
    curl.curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    if (!m_proxy.isEmpty())
        curl.curl_easy_setopt(easy, CURLOPT_PROXY, m_proxy.constData());
}
