// The quoted-printable transfer coder.
#include "web/MimeCodeQP.h"

#include "web/MimeByteWriter.h"

namespace {

bool isLetterOrDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isLineBreak(char c) {
    return c == '\r' || c == '\n';
}

} // namespace

int CMimeCodeQP::HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Every byte that is not a letter or digit may take three characters; a soft line break (three
// more) can follow at most twice per 74 characters of that, since a break after a blank carries
// the rest of its line over to the next one.
qsizetype CMimeCodeQP::GetEncodeLength() const {
    qsizetype length = m_inputLength;
    for (qsizetype i = 0; i < m_inputLength; ++i)
        if (!isLetterOrDigit(m_input[i]))
            length += 2;
    return length + length / 74 * 6;
}

bool CMimeCodeQP::NeedsEscape(qsizetype i) const {
    const char c = m_input[i];
    const bool last = i + 1 == m_inputLength;
    if (isLineBreak(c))
        return m_escapeLineBreaks;
    if (isBlank(c)) // a blank must not end a line: transports strip it there
        return last || (!m_escapeLineBreaks && isLineBreak(m_input[i + 1]));
    if (c == '.') // a dot alone on a line ends a message in SMTP
        return (i == 0 || m_input[i - 1] == '\n') && (last || isLineBreak(m_input[i + 1]));
    return c == '=' || uchar(c) < 33 || uchar(c) > 126;
}

qsizetype CMimeCodeQP::Encode(char* output, qsizetype room) const {
    CMimeByteWriter out(output, room);
    QByteArray line;          // the encoded line not yet written
    qsizetype lastBlank = -1; // where in it the last literal blank stands
    for (qsizetype i = 0; i < m_inputLength && !out.full(); ++i) {
        const char c = m_input[i];
        if (!m_escapeLineBreaks && isLineBreak(c)) {
            out.put(line.constData(), line.size());
            out.put(c);
            line.clear();
            lastBlank = -1;
            continue;
        }
        const bool escape = NeedsEscape(i);
        const qsizetype tokenLength = escape ? 3 : 1;
        // Soft line break, so that the line with its "=" stays within the limit: after the line's
        // last blank when it has one (the rest moves to the next line), else here.
        while (line.size() + tokenLength >= kMaxLine) {
            const qsizetype cut = lastBlank >= 0 ? lastBlank + 1 : line.size();
            out.put(line.constData(), cut);
            out.put("=\r\n", 3);
            line.remove(0, cut);
            lastBlank = -1;
        }
        if (escape) {
            line += '=';
            line += HexDigit(uchar(c) >> 4);
            line += HexDigit(uchar(c));
        } else {
            if (isBlank(c))
                lastBlank = line.size();
            line += c;
        }
    }
    out.put(line.constData(), line.size());
    return out.count();
}

qsizetype CMimeCodeQP::Decode(char* output, qsizetype room) {
    CMimeByteWriter out(output, room);
    const char* const in = m_input;
    const qsizetype n = m_inputLength;
    qsizetype i = 0;
    while (i < n && !out.full()) {
        const char c = in[i];
        if (c == '=') {
            const int high = i + 1 < n ? HexValue(in[i + 1]) : -1;
            const int low = i + 2 < n ? HexValue(in[i + 2]) : -1;
            if (high >= 0 && low >= 0) {
                out.put(char(high << 4 | low));
                i += 3;
                continue;
            }
            // A soft line break: "=", perhaps blanks added in transport, then the line break.
            qsizetype j = i + 1;
            while (j < n && isBlank(in[j]))
                ++j;
            if (j + 1 < n && in[j] == '\r' && in[j + 1] == '\n') {
                i = j + 2;
                continue;
            }
            if (j < n && in[j] == '\n') {
                i = j + 1;
                continue;
            }
            if (j == n) {
                i = j;
                continue;
            }
            out.put(c); // not an escape: kept as it stands
            ++i;
            continue;
        }
        if (isBlank(c)) {
            // Blanks at the end of a line were added in transport (the encoder escapes its own).
            qsizetype j = i;
            while (j < n && isBlank(in[j]))
                ++j;
            if (j == n || isLineBreak(in[j])) {
                i = j;
                continue;
            }
            out.put(in + i, j - i);
            i = j;
            continue;
        }
        out.put(c);
        ++i;
    }
    return out.count();
}
