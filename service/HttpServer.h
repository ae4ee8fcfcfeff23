// The service's HTTP/1.1 server: event-driven on Boost.Beast and Boost.Asio, a few threads for
// any number of connections.
//
// Why Beast over libmicrohttpd: a held phase-2 answer is a pending asynchronous operation on its
// socket plus a small state object, woken by a post when the person chooses, with its heartbeat
// on an Asio timer; and Beast reads the header fields and the body under deadlines the server
// sets itself, so a client that sends a byte every few seconds is cut off when the whole header
// is not in within the read time-out (libmicrohttpd's connection time-out only measures silence,
// which such a client never lets pass). Both come from Debian; Beast is header-only
// (libboost-dev) and needs no library at run time.
#pragma once

#include "HttpReply.h"
#include "HttpRequest.h"

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/strand.hpp>

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

class CHttpConnection;

class CHttpServer {
public:
    using Handler = std::function<void(const CHttpRequest&, CHttpReply&)>;
    // Sees the body grow; false drops the connection at once, with a reset.
    using BodyGuard = std::function<bool(const CHttpRequest&, uint64_t received)>;
    // Called once per request when its answer has ended, with the status sent.
    using Logger = std::function<void(const CHttpRequest&, int status)>;

    struct Limits {
        // The header fields must be complete this long after the request began (or after the
        // previous answer on a kept connection); the body gets as long plus a second for every
        // kMinBodyRate bytes that arrived.
        std::chrono::milliseconds readTimeout{15000};
        // Larger bodies are not read: a route that takes them sees bodyRefused, others 413.
        uint64_t bodyLimit = 1 << 20;
        // Open connections; at the limit the server stops accepting until one closes.
        size_t maxConnections = 10000;
        // Threads serving connections: the connections wait without one; a thread is busy only
        // while a request is read, checked (an upload) and answered.
        int threads = 4;
    };
    static constexpr uint64_t kMinBodyRate = 4096;

    struct Route {
        std::string method;
        std::string path;                  // the whole path, when pattern is not set
        std::optional<std::regex> pattern; // matched against the whole path
        Handler handler;
        BodyGuard guard;
        bool takesRefusedBody = false;
    };

    CHttpServer(Limits limits, Logger logger);
    ~CHttpServer();
    CHttpServer(const CHttpServer&) = delete;
    CHttpServer& operator=(const CHttpServer&) = delete;

    // Adds a route; GET routes answer HEAD too, without the body.
    void route(Route route);
    // A GET or POST route of the whole path.
    void get(const std::string& path, Handler handler);
    void post(const std::string& path, Handler handler);
    // Fills the body of an answer of status 400 and up that its handler (or the server) left
    // empty.
    void setErrorPage(std::function<void(CHttpReply&)> page) { m_errorPage = std::move(page); }

    // Binds and listens with a long queue; the port (the one picked when port is 0), or -1.
    int listen(const std::string& host, int port);
    // Serves on the threads until stop; connections still open are then closed.
    void run();
    // Ends run; callable from any thread, before run too.
    void stop();

private:
    friend class CHttpConnection;
    // The route for the method and path (HEAD finds GET), with the pattern's groups.
    const Route* find(const std::string& method, const std::string& path,
                      std::vector<std::string>& matches) const;
    void accept();
    // A connection closed: accepting goes on when it had stopped at the limit.
    void connectionEnded();

    Limits m_limits;
    Logger m_logger;
    std::function<void(CHttpReply&)> m_errorPage;
    std::vector<Route> m_routes;
    std::atomic<size_t> m_open{0};
    std::atomic<bool> m_stopping{false};
    bool m_acceptPaused = false; // on the acceptor's strand
    // Destroyed first, in the destructor, while the rest is still there for the connections.
    std::optional<boost::asio::io_context> m_io;
    std::optional<boost::asio::strand<boost::asio::io_context::executor_type>> m_acceptStrand;
    std::optional<boost::asio::ip::tcp::acceptor> m_acceptor;
    std::optional<boost::asio::steady_timer> m_retry;
    std::vector<std::thread> m_threads;
};
