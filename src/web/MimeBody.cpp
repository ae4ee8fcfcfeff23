// A MIME body with its content and parts.
#include "web/MimeBody.h"

#include "app/Trace.h"
#include "web/MimeCodeBase.h"
#include "web/MimeCoderRegistry.h"

#include <QByteArrayView>
#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kTransferEncoding[] = "Content-Transfer-Encoding";
// The file is read in pieces of this size.
constexpr qsizetype kReadPiece = 1024;

// Where the delimiter "--<boundary>" stands at the start of a line, from index from on: followed
// by "--" (the end delimiter), a line break, a blank or the end. -1 when there is none.
qsizetype findDelimiter(const char* data, qsizetype length, qsizetype from,
                        const QByteArray& boundary) {
    const QByteArray pattern = "--" + boundary;
    const QByteArrayView text(data, length);
    for (qsizetype i = text.indexOf(pattern, from); i >= 0; i = text.indexOf(pattern, i + 1)) {
        if (i > 0 && data[i - 1] != '\n')
            continue;
        const qsizetype after = i + pattern.size();
        if (after == length || data[after] == '\r' || data[after] == '\n' || data[after] == ' ' ||
            data[after] == '\t' ||
            (after + 1 < length && data[after] == '-' && data[after + 1] == '-'))
            return i;
    }
    return -1;
}

// The end of the text before a delimiter at index at: the line break in front of it belongs to
// the delimiter.
qsizetype beforeLineBreak(const char* data, qsizetype from, qsizetype at) {
    if (at - 2 >= from && data[at - 2] == '\r' && data[at - 1] == '\n')
        return at - 2;
    if (at - 1 >= from && data[at - 1] == '\n')
        return at - 1;
    return at;
}

} // namespace

CMimeBody::CMimeBody(const CMimeCoderRegistry& registry) : CMimeHeader(registry) {}

CMimeBody::~CMimeBody() = default;

qsizetype CMimeBody::SetContentText(const char* text, qsizetype length) {
    if (length <= 0)
        length = text ? qsizetype(std::strlen(text)) : 0;
    try {
        m_content = QByteArray(text, length);
    } catch (const std::bad_alloc&) {
        return -1;
    }
    return length;
}

bool CMimeBody::ReadFromFile(const QString& path) {
    m_content.clear();
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool failed = false;
    int error = 0;
    QByteArray block;
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        failed = true;
        error = errno;
    } else if (S_ISDIR(status.st_mode)) {
        failed = true;
        error = EISDIR; // what reading a folder answers
    } else {
        try {
            block.resize(qsizetype(status.st_size));
        } catch (const std::bad_alloc&) {
            failed = true;
            error = ENOMEM;
        }
    }
    for (qsizetype done = 0; !failed && done < block.size();) {
        errno = 0;
        const qsizetype piece = qMin(kReadPiece, block.size() - done);
        const ssize_t n = ::read(fd, block.data() + done, size_t(piece));
        if (n > 0) {
            done += n;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else { // a failure, or the file ended before its size (error 0)
            failed = true;
            error = errno;
        }
    }
    ::close(fd);
    if (failed) {
        Trace(TRACE_ERROR, "CMimeBody::ReadFromFile : error %d", error);
        return false;
    }
    m_content = block;
    return true;
}

bool CMimeBody::WriteToFile(const QString& path) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(m_content) != m_content.size() ||
        !file.commit()) {
        Trace(TRACE_ERROR, "CMimeBody::WriteToFile : error writing '%s': %s", path,
              file.errorString());
        return false;
    }
    return true;
}

CMimeBody* CMimeBody::AddPart(const QByteArray& mediaType, const CMimeBody* before) {
    std::unique_ptr<CMimeBody> part = m_registry->CreateBodyPart(mediaType);
    if (!mediaType.trimmed().isEmpty())
        part->PutField(CMimeHeaderLine("Content-Type", mediaType.trimmed()));
    CMimeBody* const added = part.get();
    auto at = m_parts.end();
    for (auto it = m_parts.begin(); it != m_parts.end(); ++it)
        if (it->get() == before)
            at = it;
    m_parts.insert(at, std::move(part));
    return added;
}

void CMimeBody::Reset() {
    CMimeHeader::Reset();
    m_content.clear();
    m_parts.clear();
}

qsizetype CMimeBody::GetStoredLength() const {
    std::unique_ptr<CMimeCodeBase> coder = m_registry->GetCoder(GetFieldValue(kTransferEncoding));
    coder->SetInput(m_content, true);
    qsizetype length = CMimeHeader::GetStoredLength() + coder->GetOutputLength();
    if (m_parts.empty())
        return length;
    const qsizetype boundaryLength = GetBoundaryValue().size();
    for (const std::unique_ptr<CMimeBody>& part : m_parts)
        length += boundaryLength + 6 + part->GetStoredLength();
    return length + boundaryLength + 8;
}

qsizetype CMimeBody::StoreTo(char* buffer, qsizetype room) const {
    const QByteArray boundary = GetBoundaryValue();
    if (!m_parts.empty() && boundary.isEmpty())
        return -1;
    qsizetype pos = CMimeHeader::StoreTo(buffer, room);
    if (pos == 0)
        return 0;
    std::unique_ptr<CMimeCodeBase> coder = m_registry->GetCoder(GetFieldValue(kTransferEncoding));
    coder->SetInput(m_content, true);
    pos += coder->GetOutput(buffer + pos, room - pos);
    if (m_parts.empty())
        return pos;

    const QByteArray delimiter = "\r\n--" + boundary + "\r\n";
    for (size_t i = 0; i < m_parts.size() && room - pos >= boundary.size() + 6; ++i) {
        // The first delimiter's line break takes the place of one just written.
        if (i == 0 && pos >= 2 && buffer[pos - 2] == '\r' && buffer[pos - 1] == '\n')
            pos -= 2;
        std::memcpy(buffer + pos, delimiter.constData(), size_t(delimiter.size()));
        pos += delimiter.size();
        const qsizetype written = m_parts[i]->StoreTo(buffer + pos, room - pos);
        if (written < 0)
            return -1;
        pos += written;
    }
    const QByteArray end = "\r\n--" + boundary + "--\r\n";
    if (room - pos >= end.size()) {
        std::memcpy(buffer + pos, end.constData(), size_t(end.size()));
        pos += end.size();
    }
    return pos;
}

qsizetype CMimeBody::LoadFrom(const char* data, qsizetype length) {
    Reset();
    const qsizetype headerLength = CMimeHeader::LoadFrom(data, length);
    const char* const rest = data + headerLength;
    const qsizetype restLength = length - headerLength;
    qsizetype contentLength = restLength;
    const QByteArray boundary = IsMultipart() ? GetBoundaryValue() : QByteArray();
    if (!boundary.isEmpty() && m_nesting < kMaxNesting) {
        const qsizetype first = findDelimiter(rest, restLength, 0, boundary);
        if (first >= 0) {
            contentLength = beforeLineBreak(rest, 0, first);
            LoadParts(rest + first, restLength - first, boundary);
        }
    }
    std::unique_ptr<CMimeCodeBase> coder = m_registry->GetCoder(GetFieldValue(kTransferEncoding));
    coder->SetInput(rest, contentLength, false);
    m_content = coder->GetOutput();
    return length;
}

// data begins with a delimiter; each part runs from the line after it to the line break before
// the next one, and the end delimiter (or the end of the data) ends the last.
void CMimeBody::LoadParts(const char* data, qsizetype length, const QByteArray& boundary) {
    qsizetype at = 0;
    while (at >= 0) {
        const qsizetype after = at + 2 + boundary.size();
        if (after + 1 < length && data[after] == '-' && data[after + 1] == '-')
            return;
        const auto* lineEnd =
            static_cast<const char*>(std::memchr(data + after, '\n', size_t(length - after)));
        if (!lineEnd)
            return;
        const qsizetype start = lineEnd + 1 - data;
        const qsizetype next = findDelimiter(data, length, start, boundary);
        const qsizetype end = next >= 0 ? beforeLineBreak(data, start, next) : length;

        CMimeHeader probe(*m_registry);
        probe.LoadFrom(data + start, end - start);
        std::unique_ptr<CMimeBody> part = m_registry->CreateBodyPart(probe.GetContentType());
        part->m_nesting = m_nesting + 1;
        part->LoadFrom(data + start, end - start);
        m_parts.push_back(std::move(part));
        at = next;
    }
}
