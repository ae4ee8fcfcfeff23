// One client connection of the HTTP server: reads requests under deadlines, runs their handlers
// and writes the answers, streamed ones included.
#pragma once

#include "HttpServer.h"
#include "HttpStream.h"

#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/http/parser.hpp>
#include <boost/beast/http/string_body.hpp>

#include <array>
#include <memory>
#include <optional>

// Lives as long as an operation on its socket is pending; everything runs on its strand.
class CHttpConnection : public IHttpChannel, public std::enable_shared_from_this<CHttpConnection> {
public:
    CHttpConnection(boost::asio::ip::tcp::socket socket, CHttpServer& server);
    ~CHttpConnection() override;

    // Starts reading the first request.
    void start();

    boost::asio::any_io_executor executor() override;
    void write(std::string bytes, std::function<void(bool)> done) override;
    void finish() override;
    void abort() override;
    void watchPeer(std::function<void()> gone) override;

private:
    using Parser = boost::beast::http::request_parser<boost::beast::http::string_body>;

    void readHeader();
    void onHeader(boost::beast::error_code ec);
    void readBody();
    void onBody(boost::beast::error_code ec);
    // The body is in (or refused): runs the handler and answers.
    void dispatch();
    void send(CHttpReply reply);
    // An answer of the server's own.
    void sendError(int status);
    // The body is too large to read: the route's answer or 413, then the connection closes.
    void refuseBody();
    // The answer has been written: logged, then the next request or the end.
    void answered(int status);
    // Closes after the answer: the rest of what the client sends is read and dropped for a
    // while, so the answer is not lost to a reset.
    void lingerAndClose();
    // Reads and drops until the client closes or the deadline passes.
    void drain();
    void close();

    CHttpServer& m_server;
    boost::beast::tcp_stream m_stream;
    boost::beast::flat_buffer m_buffer;
    std::optional<Parser> m_parser;
    CHttpRequest m_request;
    const CHttpServer::Route* m_route = nullptr;
    bool m_head = false;      // a HEAD request: the answer without its body
    bool m_keepAlive = false; // the next request may follow on this connection
    bool m_chunked = true;    // a streamed answer is sent in chunks (else ended by the close)
    std::chrono::steady_clock::time_point m_bodyStart;
    std::shared_ptr<IHttpStream> m_streamed; // the streamed answer under way
    std::shared_ptr<std::string> m_out;      // the bytes being written
    std::array<char, 512> m_drain{};         // for the watch and the lingering close
    bool m_watching = false;                 // a read waits for the client to go away
    bool m_closed = false;
};
