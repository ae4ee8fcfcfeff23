// A protocol answer written line by line as a chunked HTTP response, held open in phase 2.
#pragma once

#include "HttpStream.h"
#include "Transfer.h"

#include <boost/asio/steady_timer.hpp>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CServiceLog;
class CTransferBoard;

// Writes its lines (each ended by CR LF, each after the slow pause), then, for a held
// transfer, waits for the lines the person's choice queues until one ends the answer. The wait
// also ends when the service stops (no status line) or the client goes away; an empty line is
// sent every heartbeat so a client that reads line by line can notice its own cancel. While it
// waits it costs its connection's socket and this object: no thread.
class CAnswerStream : public IHttpStream, public std::enable_shared_from_this<CAnswerStream> {
public:
    struct Settings {
        int slowMs = 0;
        int heartbeatSeconds = 0;
    };

    CAnswerStream(CTransferBoard& board, CServiceLog& log, std::string label,
                  std::vector<std::string> lines, Settings settings,
                  std::shared_ptr<CTransfer> held);
    ~CAnswerStream() override;
    CAnswerStream(const CAnswerStream&) = delete;
    CAnswerStream& operator=(const CAnswerStream&) = delete;

    void start(std::shared_ptr<IHttpChannel> channel) override;

private:
    // Does the next thing: a line, the pause before it, the wait for the person, or the end.
    void step();
    // Writes the line after the slow pause; then the next step, or the end when last.
    void writeLine(std::string line, bool last);
    void send(std::string line, bool last);
    // Waits for a queued line, the stop or the heartbeat.
    void waitForPerson();
    // The board's wake, on the strand: a line was queued or the service stops.
    void wake();
    void finish(const char* how);
    // Ends the answer and its connection at once: the client is gone.
    void fail(const char* how);
    // The held transfer ended: why, when the person's choice did not end it.
    void release(CTransfer::Outcome why, const char* how);

    CTransferBoard& m_board;
    CServiceLog& m_log;
    std::string m_label;
    std::vector<std::string> m_lines;
    size_t m_next = 0;
    Settings m_settings;
    std::shared_ptr<CTransfer> m_held;
    std::shared_ptr<IHttpChannel> m_channel;
    std::optional<boost::asio::steady_timer> m_timer;
    int m_answer = 0;
    bool m_waiting = false; // for the person, with the heartbeat timer set
    bool m_pausing = false; // the slow pause before a line
    bool m_ended = false;
    std::chrono::steady_clock::time_point m_lastWrite;
};
