// Reads a text file line by line: UTF-16 after a byte-order mark, 8-bit text without one.
#include "util/Utf16TextFile.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr qsizetype kBlockSize = 65536;

bool IsLineEnd(QChar c) {
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

// A byte of Latin text: printable ASCII, a tab or a line end.
bool IsTextByte(char b) {
    const auto u = static_cast<unsigned char>(b);
    return (u >= 0x20 && u < 0x7F) || u == '\t' || u == '\r' || u == '\n';
}

// Whether the two bytes at i are Latin text shifted by one byte: the 0 first in little-endian
// order, last in big-endian order.
bool IsShiftedPair(const QByteArray& data, qsizetype i, bool bigEndian) {
    const char zero = bigEndian ? data[i + 1] : data[i];
    const char text = bigEndian ? data[i] : data[i + 1];
    return zero == 0 && IsTextByte(text);
}

} // namespace

CUtf16TextFile::~CUtf16TextFile() {
    Close();
}

bool CUtf16TextFile::Open(const QString& path) {
    Close();
    m_error = 0;
    m_repaired = false;
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0) {
        m_error = errno;
        return false;
    }

    // The mark: read until two bytes are there or the file ends.
    QByteArray head;
    while (head.size() < 2) {
        const QByteArray more = ReadBytes();
        if (more.isEmpty())
            break;
        head += more;
    }
    if (m_error != 0) {
        Close();
        return false;
    }
    if (head.startsWith("\xFF\xFE")) {
        m_encoding = Encoding::Utf16LittleEndian;
        AppendUtf16(head.mid(2));
    } else if (head.startsWith("\xFE\xFF")) {
        m_encoding = Encoding::Utf16BigEndian;
        AppendUtf16(head.mid(2));
    } else {
        GuessEncoding(head);
    }
    m_atEnd = head.size() < 2;
    if (m_atEnd && m_encoding != Encoding::EightBit)
        AppendUtf16({}, true);
    return true;
}

void CUtf16TextFile::Close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_oddByte.clear();
    m_text.clear();
    m_pos = 0;
    m_atEnd = false;
}

bool CUtf16TextFile::ReadLine(QString& line) {
    if (m_fd < 0)
        return false;
    qsizetype end = m_pos;
    for (;;) {
        while (end < m_text.size() && !IsLineEnd(m_text[end]))
            ++end;
        // A line end counts once the character after it is known too, or the file has ended.
        if (m_atEnd || end + 1 < m_text.size())
            break;
        if (!ReadBlock())
            m_atEnd = true;
    }
    if (m_pos == m_text.size() || m_error != 0)
        return false;
    line = m_text.mid(m_pos, end - m_pos);
    m_pos = end;
    if (m_pos < m_text.size()) {
        ++m_pos;
        if (m_pos < m_text.size() && IsLineEnd(m_text[m_pos]))
            ++m_pos;
    }
    // Drop the text already handed out once it is a good part of the buffer.
    if (m_pos >= kBlockSize) {
        m_text.remove(0, m_pos);
        m_pos = 0;
    }
    return true;
}

void CUtf16TextFile::GuessEncoding(const QByteArray& head) {
    const qsizetype sample = std::min<qsizetype>(head.size(), 512) & ~qsizetype(1);
    qsizetype zeroEven = 0, zeroOdd = 0;
    for (qsizetype i = 0; i < sample; ++i)
        (i % 2 ? zeroOdd : zeroEven) += head[i] == 0;
    const qsizetype units = sample / 2;
    if (units > 0 && zeroOdd * 2 >= units && zeroEven * 8 < units) {
        m_encoding = Encoding::Utf16LittleEndian;
    } else if (units > 0 && zeroEven * 2 >= units && zeroOdd * 8 < units) {
        m_encoding = Encoding::Utf16BigEndian;
    } else {
        m_encoding = Encoding::EightBit;
        m_decoder = QStringDecoder(QStringDecoder::System);
        m_text += m_decoder.decode(head);
        return;
    }
    m_repaired = true;
    AppendUtf16(head);
}

bool CUtf16TextFile::ReadBlock() {
    const QByteArray bytes = ReadBytes();
    if (bytes.isEmpty()) {
        if (m_encoding != Encoding::EightBit)
            AppendUtf16({}, true);
        return false;
    }
    if (m_encoding == Encoding::EightBit)
        m_text += m_decoder.decode(bytes);
    else
        AppendUtf16(bytes);
    return true;
}

QByteArray CUtf16TextFile::ReadBytes() {
    QByteArray bytes(kBlockSize, Qt::Uninitialized);
    for (;;) {
        const ssize_t n = ::read(m_fd, bytes.data(), size_t(bytes.size()));
        if (n >= 0) {
            bytes.truncate(n);
            return bytes;
        }
        if (errno != EINTR) {
            m_error = errno;
            return {};
        }
    }
}

void CUtf16TextFile::AppendUtf16(const QByteArray& bytes, bool final) {
    const QByteArray data = m_oddByte + bytes;
    const bool bigEndian = m_encoding == Encoding::Utf16BigEndian;
    qsizetype i = 0;
    m_text.reserve(m_text.size() + data.size() / 2);
    while (i + 1 < data.size()) {
        // Two shifted pairs in a row: a byte was lost before them; skip one to get back in step.
        if (IsShiftedPair(data, i, bigEndian)) {
            if (i + 3 >= data.size() && !final)
                break; // decide once the next pair is there
            if (i + 3 < data.size() && IsShiftedPair(data, i + 2, bigEndian)) {
                m_repaired = true;
                ++i;
                continue;
            }
        }
        const char16_t unit = bigEndian ? qFromBigEndian<char16_t>(data.constData() + i)
                                        : qFromLittleEndian<char16_t>(data.constData() + i);
        m_text += QChar(unit);
        i += 2;
    }
    m_oddByte = data.mid(i);
    if (final && !m_oddByte.isEmpty()) {
        m_repaired = true;
        m_oddByte.clear();
    }
}
