// One HTTP request of a session: a GET, or a POST whose body goes out in chunks; the answer is
// collected as it arrives.
#pragma once

#include <QByteArray>
#include <QList>
#include <curl/curl.h>
#include <functional>

class CHttpSession;

// The transfer runs only while its owner waits on it (wait), on the owner's thread, so the
// callbacks below run on that thread too. Connecting, sending and receiving all happen inside
// wait, which also asks an interrupt test at least every kPollMs milliseconds.
class CHttpRequest {
public:
    static constexpr int kPollMs = 100;

    // Asked before each chunk of the body; false stops the upload.
    using ChunkGate = std::function<bool()>;
    // Told the count of body bytes handed over after each chunk.
    using ChunkSent = std::function<void(qint64 sent)>;

    // A GET of url (redirects followed). Throws CInternetException when it cannot be set up.
    CHttpRequest(CHttpSession& session, const QByteArray& url);
    // Leaves the session; a transfer still running is dropped with its connection.
    ~CHttpRequest();
    CHttpRequest(const CHttpRequest&) = delete;
    CHttpRequest& operator=(const CHttpRequest&) = delete;

    // Makes the request a POST of body with exactly these extra header lines (no CRLF), sent in
    // chunks of at most chunkSize bytes. Call before start.
    void setPost(const QList<QByteArray>& headers, const QByteArray& body, int chunkSize,
                 ChunkGate gate, ChunkSent sent);
    // Adds extra header lines (no CRLF). Call before start.
    void addHeaders(const QList<QByteArray>& headers);
    // Hands the request to the session; the transfer goes on inside wait.
    void start();

    // Drives the transfer until ready() holds (true), or until interrupt() holds (false).
    bool wait(const std::function<bool()>& ready, const std::function<bool()>& interrupt);

    // Bytes of the body handed to the transfer so far.
    qint64 bytesSent() const { return m_sent; }
    // The server's answer to the request has begun (its status and header have come).
    bool answerStarted() const { return m_answerStarted; }
    // The status of the answer's last header block (0 before it came).
    long status() const { return m_headerStatus; }
    // The answer's Content-Length, -1 when it sent none.
    qint64 contentLength() const;
    // The transfer has ended, well or not.
    bool ended() const { return m_ended; }
    // The chunk gate stopped the upload.
    bool stoppedByGate() const { return m_stoppedByGate; }
    // Answer bytes received and not yet taken.
    qsizetype available() const { return m_received.size(); }
    // Takes up to max bytes of the answer received so far.
    QByteArray take(qsizetype max);
    // Throws CInternetException when the transfer ended in an error.
    void throwIfFailed() const;

private:
    static size_t onWrite(char* data, size_t size, size_t count, void* self);
    static size_t onHeader(char* data, size_t size, size_t count, void* self);
    static size_t onRead(char* buffer, size_t size, size_t count, void* self);
    // Lets libcurl work, then collects the end of the transfer.
    void perform();
    [[noreturn]] void throwMultiError(CURLMcode code) const;

    CHttpSession& m_session;
    CURL* m_easy = nullptr;
    curl_slist* m_headers = nullptr;
    bool m_added = false;
    char m_errorBuffer[CURL_ERROR_SIZE] = {};

    QByteArray m_body;
    qint64 m_sent = 0;
    int m_chunkSize = 0;
    ChunkGate m_gate;
    ChunkSent m_sentHook;
    bool m_stoppedByGate = false;

    long m_headerStatus = 0; // status of the header block being received
    bool m_answerStarted = false;
    bool m_ended = false;
    CURLcode m_result = CURLE_OK;
    QByteArray m_received;
};
