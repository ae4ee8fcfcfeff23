// The header-text coder of RFC 2047.
#include "web/MimeEncodedWord.h"

#include "web/MimeByteWriter.h"
#include "web/MimeCodeBase64.h"
#include "web/MimeCodeQP.h"

#include <cstring>

namespace {

// The charset named when none is given: the program's 8-bit text is Latin-1.
constexpr char kFallbackCharset[] = "iso-8859-1";

// Bytes that Q encoding writes as they are (RFC 2047, the strictest of its three contexts).
bool isQLiteral(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '!' ||
           c == '*' || c == '+' || c == '-' || c == '/';
}

qsizetype qLength(char c) {
    return isQLiteral(c) || c == ' ' ? 1 : 3;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isUtf8(const QByteArray& charset) {
    return charset.compare("utf-8", Qt::CaseInsensitive) == 0 ||
           charset.compare("utf8", Qt::CaseInsensitive) == 0;
}

} // namespace

CMimeEncodedWord::CMimeEncodedWord(char encoding, const QByteArray& charset)
    : m_encoding(encoding), m_charset(charset) {}

char CMimeEncodedWord::ChooseEncoding(const char* data, qsizetype length) {
    qsizetype high = 0;
    for (qsizetype i = 0; i < length; ++i)
        if (uchar(data[i]) >= 0x80)
            ++high;
    const qsizetype base64Length = (length + 2) / 3 * 4;
    return length + 2 * high > base64Length && 5 * high > length ? 'B' : 'Q';
}

qsizetype CMimeEncodedWord::GetEncodeLength() const {
    CMimeByteWriter counter = CMimeByteWriter::Counter();
    EncodeTo(counter);
    return counter.count();
}

qsizetype CMimeEncodedWord::Encode(char* output, qsizetype room) const {
    CMimeByteWriter out(output, room);
    EncodeTo(out);
    return out.count();
}

qsizetype CMimeEncodedWord::WordPiece(qsizetype start, char encoding, qsizetype textRoom) const {
    const qsizetype left = m_inputLength - start;
    qsizetype n = 0;
    if (textRoom < 4) {
        n = left; // a charset name too long for the limit: one word, whatever its length
    } else if (encoding == 'B') {
        n = qMin(left, textRoom / 4 * 3);
    } else {
        for (qsizetype used = 0; n < left && used + qLength(m_input[start + n]) <= textRoom; ++n)
            used += qLength(m_input[start + n]);
    }
    // A word of UTF-8 text ends before a character, not inside one.
    if (n < left && isUtf8(m_charset)) {
        qsizetype cut = n;
        while (cut > 0 && (uchar(m_input[start + cut]) & 0xC0) == 0x80)
            --cut;
        if (cut > 0)
            n = cut;
    }
    return qMax<qsizetype>(n, 1);
}

void CMimeEncodedWord::EncodeTo(CMimeByteWriter& out) const {
    const QByteArray charset = m_charset.isEmpty() ? QByteArray(kFallbackCharset) : m_charset;
    const char encoding = m_encoding == 'b' || m_encoding == 'B' ? 'B'
                          : m_encoding == 'q' || m_encoding == 'Q'
                              ? 'Q'
                              : ChooseEncoding(m_input, m_inputLength);
    // "=?" charset "?" letter "?" ... "?=" around the text.
    const qsizetype textRoom = kMaxWordLength - charset.size() - 7;
    qsizetype start = 0;
    do {
        const qsizetype n = m_inputLength > 0 ? WordPiece(start, encoding, textRoom) : 0;
        if (start > 0)
            out.put(' ');
        out.put("=?", 2);
        out.put(charset.constData(), charset.size());
        out.put('?');
        out.put(encoding);
        out.put('?');
        if (encoding == 'B') {
            CMimeCodeBase64 base64(false);
            base64.SetInput(m_input + start, n, true);
            const QByteArray text = base64.GetOutput();
            out.put(text.constData(), text.size());
        } else {
            for (qsizetype i = start; i < start + n; ++i) {
                const char c = m_input[i];
                if (c == ' ') {
                    out.put('_');
                } else if (isQLiteral(c)) {
                    out.put(c);
                } else {
                    const char escape[3] = {'=', CMimeCodeQP::HexDigit(uchar(c) >> 4),
                                            CMimeCodeQP::HexDigit(uchar(c))};
                    out.put(escape, 3);
                }
            }
        }
        out.put("?=", 2);
        start += n;
    } while (start < m_inputLength && !out.full());
}

qsizetype CMimeEncodedWord::DecodeWord(const char* data, qsizetype length, QByteArray& bytes) {
    // "=?" charset "?" letter "?" text "?=", the text without blanks.
    if (length < 8 || data[0] != '=' || data[1] != '?')
        return 0;
    const char* const end = data + length;
    const auto* charsetEnd =
        static_cast<const char*>(std::memchr(data + 2, '?', size_t(length - 2)));
    if (!charsetEnd || charsetEnd == data + 2 || end - charsetEnd < 5 || charsetEnd[2] != '?')
        return 0;
    const char letter = char(charsetEnd[1] & ~0x20);
    if (letter != 'B' && letter != 'Q')
        return 0;
    const char* const text = charsetEnd + 3;
    const char* textEnd = text;
    while (textEnd + 1 < end && !(textEnd[0] == '?' && textEnd[1] == '=')) {
        if (isBlank(*textEnd))
            return 0;
        ++textEnd;
    }
    if (textEnd + 1 >= end)
        return 0;
    QByteArray charset(data + 2, charsetEnd - data - 2);
    const qsizetype language = charset.indexOf('*'); // RFC 2231 adds "*language"
    if (language >= 0)
        charset.truncate(language);
    for (char c : charset)
        if (isBlank(c))
            return 0;
    m_charset = charset;
    m_encoding = letter;
    if (letter == 'B') {
        CMimeCodeBase64 base64(false);
        base64.SetInput(text, textEnd - text, false);
        bytes = base64.GetOutput();
    } else {
        bytes.clear();
        for (const char* p = text; p < textEnd; ++p) {
            const int high = p + 1 < textEnd ? CMimeCodeQP::HexValue(p[1]) : -1;
            const int low = p + 2 < textEnd ? CMimeCodeQP::HexValue(p[2]) : -1;
            if (*p == '_') {
                bytes += ' ';
            } else if (*p == '=' && high >= 0 && low >= 0) {
                bytes += char(high << 4 | low);
                p += 2;
            } else {
                bytes += *p;
            }
        }
    }
    return textEnd + 2 - data;
}

qsizetype CMimeEncodedWord::Decode(char* output, qsizetype room) {
    CMimeByteWriter out(output, room);
    qsizetype i = 0;
    qsizetype blanks = -1; // blanks after an encoded word: written only if no word follows them
    while (i < m_inputLength && !out.full()) {
        QByteArray bytes;
        const qsizetype word =
            m_input[i] == '=' ? DecodeWord(m_input + i, m_inputLength - i, bytes) : 0;
        if (word > 0) {
            out.put(bytes.constData(), bytes.size());
            i += word;
            blanks = i;
        } else if (blanks >= 0 && isBlank(m_input[i])) {
            ++i;
        } else {
            if (blanks >= 0)
                out.put(m_input + blanks, i - blanks);
            blanks = -1;
            out.put(m_input[i]);
            ++i;
        }
    }
    if (blanks >= 0)
        out.put(m_input + blanks, i - blanks);
    return out.count();
}
