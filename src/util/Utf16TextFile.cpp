// Reads a text file line by line: UTF-16 after a byte-order mark, 8-bit text without one.
#include "util/Utf16TextFile.h"

#include <QFile>
#include <QtEndian>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr qsizetype kBlockSize = 65536;

bool IsLineEnd(QChar c) {
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

} // namespace

CUtf16TextFile::~CUtf16TextFile() {
    Close();
}

bool CUtf16TextFile::Open(const QString& path) {
    Close();
    m_error = 0;
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
        m_encoding = Encoding::EightBit;
        m_decoder = QStringDecoder(QStringDecoder::System);
        m_text += m_decoder.decode(head);
    }
    m_atEnd = head.size() < 2;
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

bool CUtf16TextFile::ReadBlock() {
    const QByteArray bytes = ReadBytes();
    if (bytes.isEmpty())
        return false;
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

void CUtf16TextFile::AppendUtf16(const QByteArray& bytes) {
    const QByteArray data = m_oddByte + bytes;
    const qsizetype units = data.size() / 2;
    m_oddByte = data.mid(units * 2);
    const qsizetype start = m_text.size();
    m_text.resize(start + units);
    char16_t* out = reinterpret_cast<char16_t*>(m_text.data()) + start;
    if (m_encoding == Encoding::Utf16BigEndian)
        qFromBigEndian<char16_t>(data.constData(), units, out);
    else
        qFromLittleEndian<char16_t>(data.constData(), units, out);
}
