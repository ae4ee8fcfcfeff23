#include "AnswerStream.h"

#include "ServiceLog.h"
#include "TransferBoard.h"

#include <boost/asio/post.hpp>

using Clock = std::chrono::steady_clock;

CAnswerStream::CAnswerStream(CTransferBoard& board, CServiceLog& log, std::string label,
                             std::vector<std::string> lines, Settings settings,
                             std::shared_ptr<CTransfer> held)
    : m_board(board), m_log(log), m_label(std::move(label)), m_lines(std::move(lines)),
      m_settings(settings), m_held(std::move(held)), m_lastWrite(Clock::now()) {}

CAnswerStream::~CAnswerStream() {
    // The connection went away before the answer ended (the server stopping, say).
    if (m_ended)
        return;
    release(m_board.stopping() ? CTransfer::Outcome::Stopped : CTransfer::Outcome::ClientLeft,
            "broken off");
    if (m_answer)
        m_board.answerFinished(m_answer);
}

void CAnswerStream::start(std::shared_ptr<IHttpChannel> channel) {
    m_channel = std::move(channel);
    const auto executor = m_channel->executor();
    m_timer.emplace(executor);
    std::weak_ptr<CAnswerStream> weak = weak_from_this();
    m_answer = m_board.answerStarted(
        [executor, weak] {
            boost::asio::post(executor, [weak] {
                if (const auto self = weak.lock())
                    self->wake();
            });
        },
        m_held.get());
    if (m_held)
        m_channel->watchPeer([self = shared_from_this()] {
            if (self->m_ended)
                return;
            self->release(CTransfer::Outcome::ClientLeft, "ended: the client went away");
            self->fail(nullptr);
        });
    step();
}

void CAnswerStream::step() {
    if (m_ended)
        return;
    if (m_next < m_lines.size())
        return writeLine(m_lines[m_next++], false);
    if (!m_held)
        return finish("complete");
    std::string line;
    bool last = false;
    switch (m_board.nextLine(*m_held, line, last)) {
    case CTransferBoard::Wait::Line:
        return writeLine(std::move(line), last);
    case CTransferBoard::Wait::Stopping:
        release(CTransfer::Outcome::Stopped, "ended by the stop");
        return finish("ended by the stop");
    case CTransferBoard::Wait::Empty:
        return waitForPerson();
    }
}

void CAnswerStream::writeLine(std::string line, bool last) {
    if (m_settings.slowMs <= 0)
        return send(std::move(line), last);
    m_pausing = true;
    m_timer->expires_after(std::chrono::milliseconds(m_settings.slowMs));
    m_timer->async_wait([self = shared_from_this(), line = std::move(line),
                         last](boost::system::error_code) mutable {
        self->m_pausing = false;
        if (self->m_ended)
            return;
        // The timer is cancelled only by the stop.
        if (self->m_board.stopping()) {
            self->release(CTransfer::Outcome::Stopped, "ended by the stop");
            return self->finish("ended by the stop");
        }
        self->send(std::move(line), last);
    });
}

void CAnswerStream::send(std::string line, bool last) {
    m_lastWrite = Clock::now();
    if (!line.empty())
        m_log.line(m_label + " > " + line);
    m_channel->write(line + "\r\n", [self = shared_from_this(), last](bool written) {
        if (self->m_ended)
            return;
        if (!written) {
            self->release(CTransfer::Outcome::ClientLeft, "could not be written");
            return self->fail("could not be written");
        }
        if (!last)
            return self->step();
        self->release(CTransfer::Outcome::Open, "ended by the person");
        self->finish("complete");
    });
}

void CAnswerStream::waitForPerson() {
    m_waiting = true;
    const bool beats = m_settings.heartbeatSeconds > 0;
    m_timer->expires_at(beats ? m_lastWrite + std::chrono::seconds(m_settings.heartbeatSeconds)
                              : Clock::time_point::max());
    m_timer->async_wait([self = shared_from_this()](boost::system::error_code ec) {
        if (ec || !self->m_waiting || self->m_ended)
            return; // woken: the wake has taken the next step
        self->m_waiting = false;
        self->send("", false);
    });
}

void CAnswerStream::wake() {
    if (m_ended)
        return;
    if (m_waiting) {
        m_waiting = false;
        m_timer->cancel();
        step();
    } else if (m_pausing && m_board.stopping()) {
        m_timer->cancel();
    }
    // Otherwise a write is under way, and the step after it looks at the board.
}

void CAnswerStream::finish(const char* how) {
    m_ended = true;
    m_log.line(m_label + " answer " + how);
    m_board.answerFinished(m_answer);
    m_timer->cancel();
    std::exchange(m_channel, nullptr)->finish();
}

void CAnswerStream::fail(const char* how) {
    if (m_ended)
        return;
    m_ended = true;
    if (how)
        m_log.line(m_label + " answer " + how);
    m_board.answerFinished(m_answer);
    m_timer->cancel();
    std::exchange(m_channel, nullptr)->abort();
}

void CAnswerStream::release(CTransfer::Outcome why, const char* how) {
    if (!m_held)
        return;
    m_board.release(*m_held, why);
    m_held.reset();
    if (why != CTransfer::Outcome::Open)
        m_log.line(m_label + " hold " + how);
}
