// Reads the answer of an HTTP request line by line, each line as soon as it has arrived.
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

class CHttpRequest;

// Lines end at LF; every CR is dropped; the bytes are read as Latin-1. While it waits for the
// server, the reader asks its interrupt test at least every CHttpRequest::kPollMs milliseconds.
class CHttpFileReader {
public:
    static constexpr qsizetype kBufferSize = 256;

    enum class Result {
        Line,        // a line was read (the last one may lack its LF)
        End,         // the answer has ended and every line was read
        Interrupted, // the interrupt test held before the next line came
    };

    // Binds the reader to a started request; reads take at most bufferSize bytes at a time.
    void Attach(CHttpRequest* request, std::function<bool()> interrupt,
                qsizetype bufferSize = kBufferSize);
    // Reads the next line. Throws CInternetException when the transfer failed.
    Result ReadLine(QString& line);

private:
    enum class Fill { Data, End, Interrupted };
    // Reads the next piece of the answer into the buffer, waiting for it when none is there.
    Fill fill();

    CHttpRequest* m_request = nullptr;
    std::function<bool()> m_interrupt;
    qsizetype m_bufferSize = kBufferSize;
    QByteArray m_buffer;
};
