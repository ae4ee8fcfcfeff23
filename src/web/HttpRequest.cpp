// One HTTP request of a session over libcurl.
#include "web/HttpRequest.h"

#include "util/SystemError.h"

#include "web/CurlLibrary.h"
#include "web/HttpSession.h"
#include "web/InternetException.h"

#include <algorithm>
#include <cstring>

namespace {

// The longest error text handed on, as the program's messages take it.
constexpr qsizetype kMaxErrorText = 299;

} // namespace

CHttpRequest::CHttpRequest(CHttpSession& session, const QByteArray& url) : m_session(session) {
    m_easy = m_session.curl().curl_easy_init();
    if (!m_easy)
        throw CInternetException(
            QString::fromUtf8(m_session.curl().curl_easy_strerror(CURLE_OUT_OF_MEMORY)),
            int(CURLE_OUT_OF_MEMORY));
    m_session.configure(m_easy);
    m_session.curl().curl_easy_setopt(m_easy, CURLOPT_ERRORBUFFER, m_errorBuffer);
    m_session.curl().curl_easy_setopt(m_easy, CURLOPT_URL, url.constData());
    m_session.curl().curl_easy_setopt(m_easy, CURLOPT_HTTPGET, 1L);
    m_session.curl().curl_easy_setopt(m_easy, CURLOPT_FOLLOWLOCATION, 1L);
    m_session.curl().curl_easy_setopt(m_easy, CURLOPT_MAXREDIRS, 10L);
    m_session.curl().curl_easy_setopt(m_easy, CURLOPT_WRITEFUNCTION, &CHttpRequest::onWrite);
    m_session.curl().curl_easy_setopt(m_easy, CURLOPT_WRITEDATA, this);
    m_session.curl().curl_easy_setopt(m_easy, CURLOPT_HEADERFUNCTION, &CHttpRequest::onHeader);
    m_session.curl().curl_easy_setopt(m_easy, CURLOPT_HEADERDATA, this);
}

CHttpRequest::~CHttpRequest() {
    if (m_added)
        m_session.curl().curl_multi_remove_handle(m_session.multi(), m_easy);
    m_session.curl().curl_easy_cleanup(m_easy);
    m_session.curl().curl_slist_free_all(m_headers);
}

void CHttpRequest::setPost(const QList<QByteArray>& headers, const QByteArray& body, int chunkSize,
                           ChunkGate gate, ChunkSent sent) {
    // The body's size is known: no "Expect: 100-continue" round trip before it.
    addHeaders(headers + QList<QByteArray>{"Expect:"});
    m_body = body;
    m_chunkSize = std::max(chunkSize, 1);
    m_gate = std::move(gate);
    m_sentHook = std::move(sent);
    m_session.curl().curl_easy_setopt(m_easy, CURLOPT_POST, 1L);
    m_session.curl().curl_easy_setopt(m_easy, CURLOPT_FOLLOWLOCATION, 0L);
    m_session.curl().curl_easy_setopt(m_easy, CURLOPT_POSTFIELDSIZE_LARGE,
                                      curl_off_t(m_body.size()));
    m_session.curl().curl_easy_setopt(m_easy, CURLOPT_UPLOAD_BUFFERSIZE,
                                      long(std::max(m_chunkSize, 16384)));
    m_session.curl().curl_easy_setopt(m_easy, CURLOPT_READFUNCTION, &CHttpRequest::onRead);
    m_session.curl().curl_easy_setopt(m_easy, CURLOPT_READDATA, this);
}

void CHttpRequest::addHeaders(const QList<QByteArray>& headers) {
    for (const QByteArray& line : headers)
        m_headers = m_session.curl().curl_slist_append(m_headers, line.constData());
    m_session.curl().curl_easy_setopt(m_easy, CURLOPT_HTTPHEADER, m_headers);
}

qint64 CHttpRequest::contentLength() const {
    curl_off_t length = -1;
    if (m_session.curl().curl_easy_getinfo(m_easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) !=
        CURLE_OK)
        return -1;
    return qint64(length);
}

void CHttpRequest::start() {
    const CURLMcode code = m_session.curl().curl_multi_add_handle(m_session.multi(), m_easy);
    if (code != CURLM_OK)
        throwMultiError(code);
    m_added = true;
}

bool CHttpRequest::wait(const std::function<bool()>& ready,
                        const std::function<bool()>& interrupt) {
    for (;;) {
        perform();
        if (m_ended || ready())
            return true;
        if (interrupt && interrupt())
            return false;
        const CURLMcode code =
            m_session.curl().curl_multi_poll(m_session.multi(), nullptr, 0, kPollMs, nullptr);
        if (code != CURLM_OK)
            throwMultiError(code);
    }
}

QByteArray CHttpRequest::take(qsizetype max) {
    const QByteArray part = m_received.left(max);
    m_received.remove(0, part.size());
    return part;
}

void CHttpRequest::throwIfFailed() const {
    if (!m_ended || m_result == CURLE_OK)
        return;
    QString text = QString::fromUtf8(m_errorBuffer).trimmed();
    if (text.isEmpty())
        text = QString::fromUtf8(m_session.curl().curl_easy_strerror(m_result));
    // The system's own reason, where there is one ("Connection refused").
    long osError = 0;
    if (m_session.curl().curl_easy_getinfo(m_easy, CURLINFO_OS_ERRNO, &osError) == CURLE_OK &&
        osError != 0)
        text += QStringLiteral(" (") + SystemErrorText(int(osError)) + QLatin1Char(')');
    throw CInternetException(text.left(kMaxErrorText), int(m_result));
}

void CHttpRequest::perform() {
    int running = 0;
    const CURLMcode code = m_session.curl().curl_multi_perform(m_session.multi(), &running);
    if (code != CURLM_OK)
        throwMultiError(code);
    int left = 0;
    while (CURLMsg* message = m_session.curl().curl_multi_info_read(m_session.multi(), &left)) {
        if (message->msg == CURLMSG_DONE && message->easy_handle == m_easy) {
            m_ended = true;
            m_result = message->data.result;
        }
    }
}

void CHttpRequest::throwMultiError(CURLMcode code) const {
    throw CInternetException(QString::fromUtf8(m_session.curl().curl_multi_strerror(code)),
                             int(code));
}

size_t CHttpRequest::onWrite(char* data, size_t size, size_t count, void* self) {
    auto* request = static_cast<CHttpRequest*>(self);
    request->m_received.append(data, qsizetype(size * count));
    request->m_answerStarted = true;
    return size * count;
}

size_t CHttpRequest::onHeader(char* data, size_t size, size_t count, void* self) {
    auto* request = static_cast<CHttpRequest*>(self);
    const QByteArray line(data, qsizetype(size * count));
    if (line.startsWith("HTTP/")) {
        // "HTTP/1.1 200 OK": the status of the header block that begins here.
        const QList<QByteArray> fields = line.simplified().split(' ');
        request->m_headerStatus = fields.size() > 1 ? fields[1].toLong() : 0;
    } else if (line.trimmed().isEmpty()) {
        // The end of a header block: an interim answer (1xx) goes on to the real one.
        if (request->m_headerStatus >= 200)
            request->m_answerStarted = true;
    }
    return size * count;
}

size_t CHttpRequest::onRead(char* buffer, size_t size, size_t count, void* self) {
    auto* request = static_cast<CHttpRequest*>(self);
    const qint64 remaining = request->m_body.size() - request->m_sent;
    if (remaining <= 0)
        return 0;
    if (request->m_gate && !request->m_gate()) {
        request->m_stoppedByGate = true;
        return CURL_READFUNC_ABORT;
    }
    const auto chunk = size_t(std::min<qint64>(remaining, request->m_chunkSize));
    const size_t bytes = std::min(chunk, size * count);
    std::memcpy(buffer, request->m_body.constData() + request->m_sent, bytes);
    request->m_sent += qint64(bytes);
    if (request->m_sentHook)
        request->m_sentHook(request->m_sent);
    return bytes;
}
