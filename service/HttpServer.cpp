#include "HttpServer.h"

#include "HttpConnection.h"

#include <boost/asio/post.hpp>

namespace asio = boost::asio;
using tcp = asio::ip::tcp;

namespace {
// After a failed accept (no descriptor left, say), the next try waits this long.
constexpr auto kAcceptRetry = std::chrono::milliseconds(100);
} // namespace

CHttpServer::CHttpServer(Limits limits, Logger logger)
    : m_limits(limits), m_logger(std::move(logger)) {
    m_io.emplace(m_limits.threads);
    m_acceptStrand.emplace(asio::make_strand(*m_io));
    m_acceptor.emplace(*m_acceptStrand);
    m_retry.emplace(*m_acceptStrand);
}

CHttpServer::~CHttpServer() {
    stop();
    for (std::thread& thread : m_threads)
        thread.join();
    // The connections go with the context's pending work; they find m_stopping set.
    m_retry.reset();
    m_acceptor.reset();
    m_acceptStrand.reset();
    m_io.reset();
}

void CHttpServer::route(Route route) {
    m_routes.push_back(std::move(route));
}

void CHttpServer::get(const std::string& path, Handler handler) {
    route({"GET", path, std::nullopt, std::move(handler), nullptr, false});
}

void CHttpServer::post(const std::string& path, Handler handler) {
    route({"POST", path, std::nullopt, std::move(handler), nullptr, false});
}

const CHttpServer::Route* CHttpServer::find(const std::string& method, const std::string& path,
                                            std::vector<std::string>& matches) const {
    const std::string_view wanted = method == "HEAD" ? std::string_view("GET") : method;
    for (const Route& route : m_routes) {
        if (route.method != wanted)
            continue;
        if (!route.pattern) {
            if (route.path == path)
                return &route;
            continue;
        }
        std::smatch found;
        if (std::regex_match(path, found, *route.pattern)) {
            matches.assign(found.begin(), found.end());
            return &route;
        }
    }
    return nullptr;
}

int CHttpServer::listen(const std::string& host, int port) {
    boost::system::error_code ec;
    tcp::endpoint endpoint;
    // An address, or a name such as localhost.
    if (const auto address = asio::ip::make_address(host, ec); !ec) {
        endpoint = tcp::endpoint(address, static_cast<unsigned short>(port));
    } else {
        tcp::resolver resolver(*m_io);
        const auto found = resolver.resolve(host, std::to_string(port), ec);
        if (ec || found.empty())
            return -1;
        endpoint = found.begin()->endpoint();
    }
    m_acceptor->open(endpoint.protocol(), ec);
    if (!ec)
        m_acceptor->set_option(asio::socket_base::reuse_address(true), ec);
    if (!ec)
        m_acceptor->bind(endpoint, ec);
    if (!ec)
        m_acceptor->listen(asio::socket_base::max_listen_connections, ec);
    if (ec) {
        m_acceptor->close(ec);
        return -1;
    }
    return m_acceptor->local_endpoint(ec).port();
}

void CHttpServer::run() {
    asio::post(*m_acceptStrand, [this] { accept(); });
    for (int i = 1; i < m_limits.threads; ++i)
        m_threads.emplace_back([this] { m_io->run(); });
    m_io->run();
    for (std::thread& thread : m_threads)
        thread.join();
    m_threads.clear();
}

void CHttpServer::stop() {
    m_stopping = true;
    m_io->stop();
}

void CHttpServer::accept() {
    if (m_stopping)
        return;
    m_acceptor->async_accept(
        asio::make_strand(*m_io), [this](boost::system::error_code ec, tcp::socket socket) {
            if (m_stopping || ec == asio::error::operation_aborted)
                return;
            if (ec) {
                m_retry->expires_after(kAcceptRetry);
                m_retry->async_wait([this](boost::system::error_code waited) {
                    if (!waited)
                        accept();
                });
                return;
            }
            ++m_open;
            std::make_shared<CHttpConnection>(std::move(socket), *this)->start();
            if (m_open < m_limits.maxConnections)
                accept();
            else
                m_acceptPaused = true;
        });
}

void CHttpServer::connectionEnded() {
    const size_t open = --m_open;
    if (open + 1 < m_limits.maxConnections || m_stopping)
        return;
    asio::post(*m_acceptStrand, [this] {
        if (m_acceptPaused && m_open < m_limits.maxConnections) {
            m_acceptPaused = false;
            accept();
        }
    });
}
