// The 7bit transfer coder.
#include "web/MimeCode7bit.h"

#include "web/MimeByteWriter.h"

#include <algorithm>

qsizetype CMimeCode7bit::GetEncodeLength() const {
    return m_inputLength + m_inputLength / kMaxLine * 4 + 4;
}

qsizetype CMimeCode7bit::Encode(char* output, qsizetype room) const {
    CMimeByteWriter out(output, room);
    const char* p = m_input;
    const char* const end = m_input + m_inputLength;
    while (p < end && !out.full()) {
        const char* next = std::find(p, end, '\n');
        if (next != end)
            ++next;
        // The line's text without its line break.
        const char* text = next;
        if (text > p && text[-1] == '\n')
            --text;
        if (text > p && text[-1] == '\r')
            --text;
        EncodeLine(p, text - p, out);
        out.put(text, next - text);
        p = next;
    }
    return out.count();
}

// Writes one line's text; while it is longer than the limit it is broken with CRLF before its
// last whitespace within the limit (or, failing that, its first whitespace after it). The
// whitespace starts the next line, so no byte of the text is lost.
void CMimeCode7bit::EncodeLine(const char* line, qsizetype length, CMimeByteWriter& out) const {
    while (length > kMaxLine) {
        qsizetype cut = 0;
        for (qsizetype i = kMaxLine; i >= 1 && cut == 0; --i)
            if (IsWhitespace(line[i]))
                cut = i;
        for (qsizetype i = kMaxLine + 1; i < length && cut == 0; ++i)
            if (IsWhitespace(line[i]))
                cut = i;
        if (cut == 0)
            break;
        out.put(line, cut);
        out.put("\r\n", 2);
        line += cut;
        length -= cut;
    }
    out.put(line, length);
}
