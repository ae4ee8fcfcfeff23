#include "AnswerStream.h"

#include "ServiceLog.h"
#include "TransferBoard.h"

#include <httplib.h>

using Clock = std::chrono::steady_clock;

namespace {
// How often a held answer looks at its connection while it waits.
constexpr auto kWatchInterval = std::chrono::milliseconds(200);
} // namespace

CAnswerStream::CAnswerStream(CTransferBoard& board, CServiceLog& log, std::string label,
                             std::vector<std::string> lines, Settings settings,
                             std::shared_ptr<CTransfer> held, CConnectionSocket socket)
    : m_board(board), m_log(log), m_label(std::move(label)), m_lines(std::move(lines)),
      m_settings(settings), m_held(std::move(held)), m_socket(socket), m_lastWrite(Clock::now()) {
    m_board.answerStarted();
}

CAnswerStream::~CAnswerStream() {
    // The library gave up on the response (a failed write, or the server stopping).
    if (!m_finished) {
        release(m_board.stopping() ? CTransfer::Outcome::Stopped : CTransfer::Outcome::ClientLeft,
                "broken off");
        m_board.answerFinished();
    }
}

void CAnswerStream::attach(httplib::Response& response, std::shared_ptr<CAnswerStream> stream) {
    response.set_chunked_content_provider(
        "text/plain; charset=us-ascii",
        [stream](size_t, httplib::DataSink& sink) { return stream->provide(sink); });
}

bool CAnswerStream::provide(httplib::DataSink& sink) {
    if (m_next < m_lines.size()) {
        if (m_settings.slowMs > 0 && !m_board.pause(std::chrono::milliseconds(m_settings.slowMs))) {
            release(CTransfer::Outcome::Stopped, "ended by the stop");
            finish(sink, "ended by the stop");
            return true;
        }
        if (!writeLine(sink, m_lines[m_next++])) {
            release(CTransfer::Outcome::ClientLeft, "could not be written");
            return false;
        }
        return true;
    }
    if (!m_held) {
        finish(sink, "complete");
        return true;
    }
    return hold(sink);
}

bool CAnswerStream::hold(httplib::DataSink& sink) {
    std::string line;
    bool last = false;
    switch (m_board.nextLine(*m_held, line, last, Clock::now() + kWatchInterval)) {
    case CTransferBoard::Wait::Line:
        if (m_settings.slowMs > 0 && !m_board.pause(std::chrono::milliseconds(m_settings.slowMs))) {
            release(CTransfer::Outcome::Stopped, "ended by the stop");
            finish(sink, "ended by the stop");
            return true;
        }
        if (!writeLine(sink, line)) {
            release(CTransfer::Outcome::ClientLeft, "could not be written");
            return false;
        }
        if (last) {
            release(CTransfer::Outcome::Open, "ended by the person");
            finish(sink, "complete");
        }
        return true;
    case CTransferBoard::Wait::Stopping:
        release(CTransfer::Outcome::Stopped, "ended by the stop");
        finish(sink, "ended by the stop");
        return true;
    case CTransferBoard::Wait::Timeout:
        break;
    }
    if (m_socket.peerClosed()) {
        release(CTransfer::Outcome::ClientLeft, "ended: the client went away");
        return false;
    }
    const auto heartbeat = std::chrono::seconds(m_settings.heartbeatSeconds);
    if (m_settings.heartbeatSeconds > 0 && Clock::now() - m_lastWrite >= heartbeat &&
        !writeLine(sink, "")) {
        release(CTransfer::Outcome::ClientLeft, "ended: the client went away");
        return false;
    }
    return true;
}

bool CAnswerStream::writeLine(httplib::DataSink& sink, const std::string& line) {
    const std::string bytes = line + "\r\n";
    m_lastWrite = Clock::now();
    if (!line.empty())
        m_log.line(m_label + " > " + line);
    return sink.write(bytes.data(), bytes.size());
}

void CAnswerStream::finish(httplib::DataSink& sink, const char* how) {
    sink.done();
    m_finished = true;
    m_log.line(m_label + " answer " + how);
    m_board.answerFinished();
}

void CAnswerStream::release(CTransfer::Outcome why, const char* how) {
    if (!m_held)
        return;
    m_board.release(*m_held, why);
    m_held.reset();
    if (why != CTransfer::Outcome::Open)
        m_log.line(m_label + " hold " + how);
}
