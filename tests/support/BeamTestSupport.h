// Helpers of the beaming tests: a scripted server, a browser, the person's choices on the page,
// and a ringtone to send.
#pragma once

#include "support/HttpClient.h"
#include "support/ServiceProcess.h"
#include "support/TestProgress.h"
#include "support/TestSupport.h"
#include "support/Tone.h"
#include "web/IBrowser.h"

#include <QRandomGenerator>
#include <QtEndian>
#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <condition_variable>
#include <iterator>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <sys/time.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace beamtest {

using testsupport::CTestProgress;

// How long a test waits for any one event before it gives up.
constexpr int kBoundMs = int(CServiceProcess::kBound.count());
constexpr char kUploadPath[] = "/php/client-upload-dgst.php";

// Writes an OGG Vorbis ringtone of white noise at 22050 Hz (noise keeps it large: many upload
// chunks) and returns its bytes.
inline std::string MakeRingtone(const QString& path, int ms, int channels = 2) {
    QRandomGenerator random(7);
    QByteArray pcm(ms * 22050 / 1000 * channels * 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < pcm.size(); i += 2)
        qToLittleEndian(qint16(random.bounded(-12000, 12000)), pcm.data() + i);
    testsupport::WriteOgg(path, pcm, channels, 22050);
    return testsupport::ReadBytes(path).toStdString();
}

// The address of the service's upload.
inline QString UploadUrl(const CServiceProcess& service) {
    return QString::fromStdString(service.url(kUploadPath));
}

// A port of 127.0.0.1 on which nothing listens.
inline int UnusedPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    bind(fd, reinterpret_cast<sockaddr*>(&address), size);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    close(fd);
    return ntohs(address.sin_port);
}

// An HTTP server on 127.0.0.1 for answers the service never gives: each connection carries one
// request, which is recorded and answered with the next scripted answer text, in which "{base}"
// stands for "http://127.0.0.1:<port>". The answer "{hold}" never answers: the connection stays
// open and silent until the server goes away.
class CScriptedServer {
public:
    struct Request {
        std::string head; // request line and header fields, up to the empty line
        std::string body;
    };

    explicit CScriptedServer(std::vector<std::string> answers) : m_answers(std::move(answers)) {
        m_listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        bind(m_listener, reinterpret_cast<sockaddr*>(&address), size);
        listen(m_listener, 8);
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &size);
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { serve(); });
    }
    // Shutting the listener down ends the wait in accept.
    ~CScriptedServer() {
        m_stopping = true;
        shutdown(m_listener, SHUT_RDWR);
        m_thread.join();
        close(m_listener);
    }
    int port() const { return m_port; }
    std::vector<Request> requests() const {
        const std::lock_guard lock(m_mutex);
        return m_requests;
    }

private:
    void serve() {
        for (size_t next = 0;; ++next) {
            const int connection = accept(m_listener, nullptr, nullptr);
            if (connection < 0)
                return;
            const timeval bound{kBoundMs / 1000, 0};
            setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &bound, sizeof bound);
            std::string data;
            char buffer[4096];
            size_t headEnd = std::string::npos;
            size_t length = 0;
            for (ssize_t got; (got = recv(connection, buffer, sizeof buffer, 0)) > 0;) {
                data.append(buffer, size_t(got));
                if (headEnd == std::string::npos &&
                    (headEnd = data.find("\r\n\r\n")) != std::string::npos) {
                    std::string lower = data.substr(0, headEnd);
                    for (char& c : lower)
                        c = char(std::tolower(static_cast<unsigned char>(c)));
                    if (const size_t field = lower.find("\r\ncontent-length:");
                        field != std::string::npos)
                        length = std::stoul(lower.substr(field + 17));
                }
                if (headEnd != std::string::npos && data.size() >= headEnd + 4 + length)
                    break;
            }
            std::string answer = next < m_answers.size() ? m_answers[next] : std::string();
            if (answer == "{hold}") {
                while (!m_stopping)
                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
                close(connection);
                return;
            }
            const std::string base = "http://127.0.0.1:" + std::to_string(m_port);
            for (size_t at; (at = answer.find("{base}")) != std::string::npos;)
                answer.replace(at, 6, base);
            const std::string reply = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: "
                                      "close\r\nContent-Length: " +
                                      std::to_string(answer.size()) + "\r\n\r\n" + answer;
            if (headEnd != std::string::npos) {
                const std::lock_guard lock(m_mutex);
                m_requests.push_back({data.substr(0, headEnd), data.substr(headEnd + 4)});
            }
            send(connection, reply.data(), reply.size(), MSG_NOSIGNAL);
            close(connection);
        }
    }

    std::vector<std::string> m_answers;
    std::atomic<bool> m_stopping{false};
    int m_listener = -1;
    int m_port = 0;
    mutable std::mutex m_mutex;
    std::vector<Request> m_requests;
    std::thread m_thread;
};

// A browser that records what it is asked; closing it acts as the window's browser does.
class CTestBrowser : public IBrowser {
public:
    struct Opened {
        QString url;
        BrowserPlacement placement;
    };

    QPoint HostOrigin() const override { return {120, 80}; }
    void Open(const QString& url, const BrowserPlacement& placement,
              IOpProgress* progress) override {
        record(url, placement, progress);
    }
    void Hide() override { ++hides; }
    bool IsClosed() const override { return m_closed; }
    void ResetClosed() override { m_closed = false; }

    // The person closes the browser window.
    void Close() {
        IOpProgress* progress = nullptr;
        {
            const std::lock_guard lock(m_mutex);
            progress = m_progress;
        }
        m_closed = true;
        if (progress) {
            progress->SetTextId(125);
            progress->Show(true);
        }
    }
    bool waitForOpen() {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::milliseconds(kBoundMs),
                                  [this] { return !m_opened.empty(); });
    }
    std::vector<Opened> opened() const {
        const std::lock_guard lock(m_mutex);
        return m_opened;
    }

    std::atomic<int> hides{0};

protected:
    void record(const QString& url, const BrowserPlacement& placement, IOpProgress* progress) {
        const std::lock_guard lock(m_mutex);
        m_opened.push_back({url, placement});
        m_progress = progress;
        m_changed.notify_all();
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Opened> m_opened;
    IOpProgress* m_progress = nullptr;
    std::atomic<bool> m_closed{false};
};

// The person's choices on the transfer page at the address (its query is the page token), as
// its forms send them.
inline void SendToPhone(const QString& page, const std::string& phone) {
    HttpPostForm(page.section(QLatin1Char('?'), 0, 0).toStdString() + "/send",
                 {{"token", page.section(QLatin1Char('?'), 1).toStdString()}, {"phone", phone}});
}
inline void PageAction(const QString& page, const char* action) {
    HttpPostForm(page.section(QLatin1Char('?'), 0, 0).toStdString() + "/" + action,
                 {{"token", page.section(QLatin1Char('?'), 1).toStdString()}});
}

} // namespace beamtest
