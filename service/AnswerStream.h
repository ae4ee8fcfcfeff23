// A protocol answer written line by line as a chunked HTTP response, held open in phase 2.
#pragma once

#include "ConnectionSocket.h"
#include "Transfer.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace httplib {
class DataSink;
struct Response;
} // namespace httplib

class CServiceLog;
class CTransferBoard;

// Writes its lines (each ended by CR LF, each after the slow pause), then, for a held
// transfer, waits for the lines the person's choice queues until one ends the answer. The wait
// also ends when the service stops (no status line) or the client goes away; an empty line is
// sent every heartbeat so a client that reads line by line can notice its own cancel.
class CAnswerStream {
public:
    struct Settings {
        int slowMs = 0;
        int heartbeatSeconds = 0;
    };

    CAnswerStream(CTransferBoard& board, CServiceLog& log, std::string label,
                  std::vector<std::string> lines, Settings settings,
                  std::shared_ptr<CTransfer> held, CConnectionSocket socket);
    ~CAnswerStream();
    CAnswerStream(const CAnswerStream&) = delete;
    CAnswerStream& operator=(const CAnswerStream&) = delete;

    // Makes the stream the response's body.
    static void attach(httplib::Response& response, std::shared_ptr<CAnswerStream> stream);

private:
    // One step of writing; false aborts the connection.
    bool provide(httplib::DataSink& sink);
    bool hold(httplib::DataSink& sink);
    bool writeLine(httplib::DataSink& sink, const std::string& line);
    void finish(httplib::DataSink& sink, const char* how);
    // The held transfer ended: why, when the person's choice did not end it.
    void release(CTransfer::Outcome why, const char* how);

    CTransferBoard& m_board;
    CServiceLog& m_log;
    std::string m_label;
    std::vector<std::string> m_lines;
    size_t m_next = 0;
    Settings m_settings;
    std::shared_ptr<CTransfer> m_held;
    CConnectionSocket m_socket;
    bool m_finished = false;
    std::chrono::steady_clock::time_point m_lastWrite;
};
