// Reads the answer of an HTTP request line by line, each line as soon as it has arrived.
#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <functional>

class CHttpRequest;

// Lines end at LF; every CR is dropped; the bytes are read as Latin-1. While it waits for the
// server, the reader asks its interrupt test at least every CHttpRequest::kPollMs milliseconds.
class CHttpFileReader {
public:
    static constexpr qsizetype kBufferSize = 256;
    // The longest line taken; a longer one is no answer of the service.
    static constexpr qsizetype kMaxLineBytes = 65536;

    enum class Result {
        Line,        // a line was read (the last one may lack its LF)
        End,         // the answer has ended and every line was read
        Interrupted, // the interrupt test held before the next line came
        TimedOut,    // no byte came for the idle time-out
        TooLong,     // the line grew beyond kMaxLineBytes
    };

    // Binds the reader to a started request; reads take at most bufferSize bytes at a time.
    void Attach(CHttpRequest* request, std::function<bool()> interrupt,
                qsizetype bufferSize = kBufferSize);
    // From now on a wait for the next byte ends after timeout (0: waits as long as it takes).
    void SetIdleTimeout(std::chrono::milliseconds timeout) { m_idleTimeout = timeout; }
    // Reads the next line. Throws CInternetException when the transfer failed.
    Result ReadLine(QString& line);

private:
    enum class Fill { Data, End, Interrupted, TimedOut };
    // Reads the next piece of the answer into the buffer, waiting for it when none is there.
    Fill fill();

    CHttpRequest* m_request = nullptr;
    std::function<bool()> m_interrupt;
    qsizetype m_bufferSize = kBufferSize;
    std::chrono::milliseconds m_idleTimeout{0};
    QByteArray m_buffer;
};
