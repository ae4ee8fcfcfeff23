// The Base64 transfer coder.
#include "web/MimeCodeBase64.h"

#include "web/MimeByteWriter.h"

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

} // namespace

int CMimeCodeBase64::DigitValue(char c) {
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

qsizetype CMimeCodeBase64::GetEncodeLength() const {
    const qsizetype length = (m_inputLength + 2) / 3 * 4;
    return m_lineBreaks ? length + length / kLineLength * 2 + 2 : length;
}

qsizetype CMimeCodeBase64::GetDecodeLength() const {
    return m_inputLength * 3 / 4 + 2;
}

qsizetype CMimeCodeBase64::Encode(char* output, qsizetype room) const {
    CMimeByteWriter out(output, room);
    const auto* in = reinterpret_cast<const uchar*>(m_input);
    qsizetype column = 0;
    for (qsizetype i = 0; i < m_inputLength && !out.full(); i += 3) {
        const qsizetype n = qMin<qsizetype>(3, m_inputLength - i);
        const uint group = uint(in[i]) << 16 | (n > 1 ? uint(in[i + 1]) << 8 : 0u) |
                           (n > 2 ? uint(in[i + 2]) : 0u);
        const char quad[4] = {kAlphabet[group >> 18 & 63], kAlphabet[group >> 12 & 63],
                              n > 1 ? kAlphabet[group >> 6 & 63] : '=',
                              n > 2 ? kAlphabet[group & 63] : '='};
        out.put(quad, 4);
        column += 4;
        if (m_lineBreaks && column == kLineLength) {
            out.put("\r\n", 2);
            column = 0;
        }
    }
    if (m_lineBreaks && column > 0)
        out.put("\r\n", 2);
    return out.count();
}

// Characters outside the alphabet (line breaks, blanks) are skipped; "=" ends the data.
qsizetype CMimeCodeBase64::Decode(char* output, qsizetype room) {
    CMimeByteWriter out(output, room);
    uint group = 0;
    int digits = 0;
    for (qsizetype i = 0; i < m_inputLength && !out.full(); ++i) {
        if (m_input[i] == '=')
            break;
        const int value = DigitValue(m_input[i]);
        if (value < 0)
            continue;
        group = group << 6 | uint(value);
        if (++digits == 4) {
            const char bytes[3] = {char(group >> 16), char(group >> 8), char(group)};
            out.put(bytes, 3);
            group = 0;
            digits = 0;
        }
    }
    // A last group of two or three characters carries one or two bytes.
    if (digits == 2) {
        out.put(char(group >> 4));
    } else if (digits == 3) {
        const char bytes[2] = {char(group >> 10), char(group >> 2)};
        out.put(bytes, 2);
    }
    return out.count();
}
