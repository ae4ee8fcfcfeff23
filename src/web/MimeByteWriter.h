// A bounded byte output for the MIME coders: fills a caller's buffer and never writes past its
// room.
#pragma once

#include <QtGlobal>

#include <cstring>
#include <limits>

class CMimeByteWriter {
public:
    // Writes into output, at most room bytes (none when output is null).
    CMimeByteWriter(char* output, qsizetype room) : m_output(output), m_room(output ? room : 0) {}
    // A writer that stores nothing and counts every byte: the exact length of an encoding.
    static CMimeByteWriter Counter() {
        CMimeByteWriter counter(nullptr, 0);
        counter.m_room = std::numeric_limits<qsizetype>::max();
        return counter;
    }

    // Appends one byte; false (and nothing written) when the room is used up.
    bool put(char c) {
        if (m_count >= m_room)
            return false;
        if (m_output)
            m_output[m_count] = c;
        ++m_count;
        return true;
    }
    // Appends as much of the bytes as fits; false when not all of them fitted.
    bool put(const char* data, qsizetype length) {
        const qsizetype n = qMin(length, m_room - m_count);
        if (m_output && n > 0)
            std::memcpy(m_output + m_count, data, size_t(n));
        m_count += n;
        return n == length;
    }
    bool full() const { return m_count >= m_room; }
    qsizetype count() const { return m_count; }

private:
    char* m_output;
    qsizetype m_room;
    qsizetype m_count = 0;
};
