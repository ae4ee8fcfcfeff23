// Reads the answer of an HTTP request line by line.
#include "web/HttpFileReader.h"

#include "app/Trace.h"
#include "web/HttpRequest.h"

namespace {

// A piece of the answer as one trace line: line ends shown as \r and \n.
QByteArray Printable(QByteArray bytes) {
    return bytes.replace('\r', "\\r").replace('\n', "\\n");
}

} // namespace

void CHttpFileReader::Attach(CHttpRequest* request, std::function<bool()> interrupt,
                             qsizetype bufferSize) {
    m_request = request;
    m_interrupt = std::move(interrupt);
    m_bufferSize = qMax<qsizetype>(bufferSize, 1);
    m_buffer.clear();
}

CHttpFileReader::Result CHttpFileReader::ReadLine(QString& line) {
    QByteArray bytes;
    bool readAny = false;
    for (;;) {
        const qsizetype end = m_buffer.indexOf('\n');
        if (end >= 0) {
            bytes += m_buffer.left(end);
            m_buffer.remove(0, end + 1);
            break;
        }
        bytes += m_buffer;
        m_buffer.clear();
        if (bytes.size() > kMaxLineBytes)
            return Result::TooLong;
        const Fill fill = this->fill();
        if (fill == Fill::Interrupted)
            return Result::Interrupted;
        if (fill == Fill::TimedOut)
            return Result::TimedOut;
        if (fill == Fill::End) {
            if (!readAny && bytes.isEmpty())
                return Result::End;
            break;
        }
        readAny = true;
    }
    if (bytes.size() > kMaxLineBytes)
        return Result::TooLong;
    line = QString::fromLatin1(bytes.replace('\r', QByteArray()));
    return Result::Line;
}

CHttpFileReader::Fill CHttpFileReader::fill() {
    const auto deadline = std::chrono::steady_clock::now() + m_idleTimeout;
    bool timedOut = false;
    const bool ready = m_request->wait([this] { return m_request->available() > 0; },
                                       [&] {
                                           timedOut = m_idleTimeout.count() > 0 &&
                                                      std::chrono::steady_clock::now() >= deadline;
                                           return m_interrupt() || timedOut;
                                       });
    if (!ready)
        return timedOut && !m_interrupt() ? Fill::TimedOut : Fill::Interrupted;
    if (m_request->available() == 0) {
        m_request->throwIfFailed();
        return Fill::End;
    }
    m_buffer = m_request->take(m_bufferSize);
    Trace(TRACE_DEBUG, "CHttpFileReader : buf = \"%s\"", Printable(m_buffer));
    return Fill::Data;
}
