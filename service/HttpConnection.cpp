#include "HttpConnection.h"

#include <boost/asio/write.hpp>
#include <boost/beast/http/error.hpp>
#include <boost/beast/http/read.hpp>
#include <boost/beast/http/status.hpp>

#include <limits>
#include <strings.h>

namespace asio = boost::asio;
namespace http = boost::beast::http;
using boost::beast::error_code;

namespace {

// Room for the request line and header fields.
constexpr uint32_t kHeaderLimit = 16 * 1024;
// The interim answer to "Expect: 100-continue": the body may come.
constexpr std::string_view kContinue = "HTTP/1.1 100 Continue\r\n\r\n";

// The text of "HTTP/1.1 CODE REASON".
std::string StatusLine(int status) {
    const auto reason = http::obsolete_reason(static_cast<http::status>(status));
    return "HTTP/1.1 " + std::to_string(status) + " " + std::string(reason.data(), reason.size()) +
           "\r\n";
}

} // namespace

CHttpConnection::CHttpConnection(asio::ip::tcp::socket socket, CHttpServer& server)
    : m_server(server), m_stream(std::move(socket)) {
    error_code ec;
    const auto remote = m_stream.socket().remote_endpoint(ec);
    const auto local = m_stream.socket().local_endpoint(ec);
    m_request.remoteAddress = remote.address().to_string();
    m_request.remotePort = remote.port();
    m_request.localAddress = local.address().to_string();
    m_request.localPort = local.port();
}

CHttpConnection::~CHttpConnection() {
    m_server.connectionEnded();
}

void CHttpConnection::start() {
    readHeader();
}

asio::any_io_executor CHttpConnection::executor() {
    return m_stream.get_executor();
}

void CHttpConnection::readHeader() {
    m_request.method.clear();
    m_request.target.clear();
    m_parser.emplace();
    m_parser->header_limit(kHeaderLimit);
    // The limit is checked here, so that a body too large is refused by an answer.
    m_parser->body_limit(std::numeric_limits<uint64_t>::max());
    m_stream.expires_after(m_server.m_limits.readTimeout);
    http::async_read_header(
        m_stream, m_buffer, *m_parser,
        [self = shared_from_this()](error_code ec, size_t) { self->onHeader(ec); });
}

void CHttpConnection::onHeader(error_code ec) {
    // A request the parser refuses gets 400; a client that left or did not send its request in
    // time is closed on.
    const bool malformed =
        ec.category() == http::make_error_code(http::error::bad_target).category() &&
        ec != http::error::end_of_stream && ec != http::error::partial_message;
    if (malformed) {
        m_keepAlive = false;
        return sendError(400);
    }
    if (ec)
        return close();
    const auto& message = m_parser->get();
    CHttpRequest& request = m_request;
    request.method = std::string(message.method_string());
    request.target = std::string(message.target());
    request.headers.clear();
    for (const auto& field : message)
        request.headers.emplace_back(std::string(field.name_string()), std::string(field.value()));
    request.body.clear();
    request.bodyRefused = false;
    request.matches.clear();
    request.parseTarget();
    m_head = request.method == "HEAD";
    m_keepAlive = message.keep_alive();
    m_chunked = message.version() >= 11;
    m_route = m_server.find(request.method, request.path, request.matches);

    const auto length = m_parser->content_length();
    const bool tooLarge = length && *length > m_server.m_limits.bodyLimit;
    if (!m_route) {
        // A body of a request that nothing answers is not read.
        m_keepAlive = m_keepAlive && m_parser->is_done();
        return sendError(404);
    }
    if (tooLarge)
        return refuseBody();
    if (m_parser->is_done())
        return dispatch();
    m_bodyStart = std::chrono::steady_clock::now();
    const std::string expect = request.header("Expect");
    if (strcasecmp(expect.c_str(), "100-continue") != 0)
        return readBody();
    asio::async_write(m_stream, asio::buffer(kContinue.data(), kContinue.size()),
                      [self = shared_from_this()](error_code written, size_t) {
                          if (written)
                              return self->close();
                          self->readBody();
                      });
}

void CHttpConnection::readBody() {
    const uint64_t received = m_parser->get().body().size();
    m_stream.expires_at(m_bodyStart + m_server.m_limits.readTimeout +
                        std::chrono::seconds(received / CHttpServer::kMinBodyRate));
    http::async_read_some(m_stream, m_buffer, *m_parser,
                          [self = shared_from_this()](error_code ec, size_t) { self->onBody(ec); });
}

void CHttpConnection::onBody(error_code ec) {
    if (ec)
        return close();
    const uint64_t received = m_parser->get().body().size();
    if (received > m_server.m_limits.bodyLimit)
        return refuseBody();
    if (m_route->guard && !m_route->guard(m_request, received)) {
        // A reset: no more bytes are read or written on the connection.
        error_code ignored;
        m_stream.socket().set_option(asio::socket_base::linger(true, 0), ignored);
        return close();
    }
    if (!m_parser->is_done())
        return readBody();
    dispatch();
}

void CHttpConnection::refuseBody() {
    m_keepAlive = false;
    if (!m_route->takesRefusedBody)
        return sendError(413);
    m_request.bodyRefused = true;
    dispatch();
}

void CHttpConnection::dispatch() {
    if (!m_request.bodyRefused) {
        m_request.body = m_parser->release().body();
        m_request.parseBody();
    }
    CHttpReply reply;
    try {
        m_route->handler(m_request, reply);
    } catch (const std::exception&) {
        reply = CHttpReply();
        reply.status = 500;
    }
    // The body is not kept while the answer is written or held.
    std::string().swap(m_request.body);
    send(std::move(reply));
}

void CHttpConnection::sendError(int status) {
    CHttpReply reply;
    reply.status = status;
    send(std::move(reply));
}

void CHttpConnection::send(CHttpReply reply) {
    if (reply.close)
        m_keepAlive = false;
    if (reply.status >= 400 && reply.body.empty() && !reply.stream && m_server.m_errorPage)
        m_server.m_errorPage(reply);
    // A HEAD request gets the head alone: a streamed answer does not start.
    if (m_head)
        reply.stream.reset();
    if (m_request.method == "GET" && !reply.stream)
        reply.applyRange(m_request.header("Range"));
    const bool streamed = reply.stream != nullptr;
    if (streamed && !m_chunked)
        m_keepAlive = false;

    std::string head = StatusLine(reply.status);
    if (!reply.contentType.empty())
        head += "Content-Type: " + reply.contentType + "\r\n";
    for (const auto& [name, value] : reply.headers)
        head += name + ": " + value + "\r\n";
    if (!streamed)
        head += "Content-Length: " + std::to_string(reply.body.size()) + "\r\n";
    else if (m_chunked)
        head += "Transfer-Encoding: chunked\r\n";
    head += m_keepAlive ? "\r\n" : "Connection: close\r\n\r\n";
    if (!streamed && !m_head)
        head += reply.body;
    m_out = std::make_shared<std::string>(std::move(head));

    const int status = reply.status;
    if (streamed) {
        m_streamed = std::move(reply.stream);
        m_stream.expires_never();
        return asio::async_write(m_stream, asio::buffer(*m_out),
                                 [self = shared_from_this()](error_code ec, size_t) {
                                     if (ec)
                                         return self->abort();
                                     self->m_streamed->start(self);
                                 });
    }
    m_stream.expires_after(m_server.m_limits.readTimeout);
    asio::async_write(m_stream, asio::buffer(*m_out),
                      [self = shared_from_this(), status](error_code ec, size_t) {
                          if (ec)
                              return self->close();
                          self->answered(status);
                      });
}

void CHttpConnection::answered(int status) {
    m_out.reset();
    if (m_server.m_logger)
        m_server.m_logger(m_request, status);
    if (m_keepAlive && !m_server.m_stopping)
        return readHeader();
    // The watch still reads: nothing more is waited for.
    if (m_watching)
        return close();
    lingerAndClose();
}

void CHttpConnection::write(std::string bytes, std::function<void(bool)> done) {
    if (m_closed)
        return done(false);
    if (m_chunked) {
        char size[20];
        const int length = std::snprintf(size, sizeof size, "%zx\r\n", bytes.size());
        bytes.insert(0, size, size_t(length));
        bytes += "\r\n";
    }
    m_out = std::make_shared<std::string>(std::move(bytes));
    asio::async_write(m_stream, asio::buffer(*m_out),
                      [self = shared_from_this(), done = std::move(done)](error_code ec, size_t) {
                          done(!ec && !self->m_closed);
                      });
}

void CHttpConnection::finish() {
    auto stream = std::move(m_streamed);
    if (!m_chunked || m_closed)
        return answered(200);
    m_out = std::make_shared<std::string>("0\r\n\r\n");
    asio::async_write(m_stream, asio::buffer(*m_out),
                      [self = shared_from_this()](error_code ec, size_t) {
                          if (ec)
                              return self->close();
                          self->answered(200);
                      });
}

void CHttpConnection::abort() {
    m_streamed.reset();
    if (m_server.m_logger)
        m_server.m_logger(m_request, 200);
    close();
}

void CHttpConnection::watchPeer(std::function<void()> gone) {
    // What the client sends while it waits is not read as a request: the connection closes
    // after the answer.
    m_keepAlive = false;
    m_watching = true;
    m_stream.async_read_some(
        asio::buffer(m_drain),
        [self = shared_from_this(), gone = std::move(gone)](error_code ec, size_t) mutable {
            if (self->m_closed || !self->m_streamed)
                return;
            if (ec)
                return gone();
            self->watchPeer(std::move(gone));
        });
}

void CHttpConnection::lingerAndClose() {
    if (m_closed)
        return;
    error_code ignored;
    m_stream.socket().shutdown(asio::ip::tcp::socket::shutdown_send, ignored);
    m_stream.expires_after(m_server.m_limits.readTimeout);
    drain();
}

void CHttpConnection::drain() {
    m_stream.async_read_some(asio::buffer(m_drain),
                             [self = shared_from_this()](error_code ec, size_t) {
                                 if (ec)
                                     return self->close();
                                 self->drain();
                             });
}

void CHttpConnection::close() {
    if (m_closed)
        return;
    m_closed = true;
    m_streamed.reset();
    error_code ignored;
    m_stream.socket().shutdown(asio::ip::tcp::socket::shutdown_both, ignored);
    m_stream.close();
}
