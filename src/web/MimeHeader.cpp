// The header of a MIME body.
#include "web/MimeHeader.h"

#include "web/FieldCodeBase.h"
#include "web/MimeCoderRegistry.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>

namespace {

// The boundary counter of the whole process: every generated boundary takes the next value of
// the run 1, 2, ..., 9, 1, ..., so that boundaries made within the same second still differ.
std::atomic<int> g_boundaryCounter{0};

int nextBoundaryCounter() {
    int current = g_boundaryCounter.load();
    int next = 0;
    do {
        next = current >= 9 ? 1 : current + 1;
    } while (!g_boundaryCounter.compare_exchange_weak(current, next));
    return next;
}

constexpr char kContentType[] = "Content-Type";

} // namespace

CMimeHeader::~CMimeHeader() = default;

const CMimeHeaderLine* CMimeHeader::FindField(const QByteArray& name) const {
    for (const CMimeHeaderLine& line : m_fields)
        if (line.GetName().compare(name, Qt::CaseInsensitive) == 0)
            return &line;
    return nullptr;
}

CMimeHeaderLine* CMimeHeader::FindField(const QByteArray& name) {
    for (CMimeHeaderLine& line : m_fields)
        if (line.GetName().compare(name, Qt::CaseInsensitive) == 0)
            return &line;
    return nullptr;
}

QByteArray CMimeHeader::GetFieldValue(const QByteArray& name) const {
    const CMimeHeaderLine* line = FindField(name);
    return line ? line->GetValue() : QByteArray();
}

void CMimeHeader::PutField(const CMimeHeaderLine& line) {
    if (CMimeHeaderLine* existing = FindField(line.GetName()))
        *existing = line;
    else
        m_fields.append(line);
}

// The generator is the C library's classic one (x = x * 214013 + 2531011, bits 16 to 30 drawn),
// kept here so that it is seeded for this call alone: the seed is the time in seconds XOR the
// header's address.
QByteArray CMimeHeader::GenerateBoundary() const {
    quint32 state = quint32(std::time(nullptr)) ^ quint32(reinterpret_cast<quintptr>(this));
    const auto draw = [&state] {
        state = state * 214013u + 2531011u;
        return int(state >> 16 & 0x7FFF);
    };
    const int counter = nextBoundaryCounter();
    const int first = draw();
    const int second = draw();
    char text[80];
    std::snprintf(text, sizeof text, "__=_Part_Boundary_%03d_%06d.%06d", counter, second, first);
    return QByteArray(text);
}

void CMimeHeader::AssignBoundary(const QByteArray& boundary) {
    const QByteArray value = boundary.isEmpty() ? GenerateBoundary() : boundary;
    CMimeHeaderLine* contentType = FindField(kContentType);
    if (!contentType) {
        m_fields.append(CMimeHeaderLine(kContentType, "multipart/mixed"));
        contentType = &m_fields.last();
    } else if (!IsMultipart()) {
        contentType->SetValue("multipart/mixed");
    }
    contentType->SetFieldParameter("boundary", value);
}

QByteArray CMimeHeader::GetBoundaryValue() const {
    const CMimeHeaderLine* contentType = FindField(kContentType);
    return contentType ? contentType->GetFieldParameter("boundary") : QByteArray();
}

QByteArray CMimeHeader::GetContentType() const {
    QByteArray value = GetFieldValue(kContentType);
    const qsizetype parameters = value.indexOf(';');
    if (parameters >= 0)
        value.truncate(parameters);
    return value.trimmed();
}

bool CMimeHeader::IsMultipart() const {
    return GetFieldValue(kContentType).left(9).compare("multipart", Qt::CaseInsensitive) == 0;
}

void CMimeHeader::Reset() {
    m_fields.clear();
}

qsizetype CMimeHeader::GetStoredLength() const {
    qsizetype length = 0;
    for (const CMimeHeaderLine& line : m_fields) {
        std::unique_ptr<CFieldCodeBase> coder = m_registry->GetFieldCoder(line.GetName());
        coder->SetCharset(line.GetCharset());
        coder->SetInput(line.GetValue(), true);
        length += line.GetName().size() + 4 + coder->GetOutputLength();
    }
    return length + 2;
}

qsizetype CMimeHeader::StoreTo(char* buffer, qsizetype room) const {
    qsizetype pos = 0;
    const auto put = [buffer, &pos](const char* data, qsizetype length) {
        std::memcpy(buffer + pos, data, size_t(length));
        pos += length;
    };
    for (const CMimeHeaderLine& line : m_fields) {
        const QByteArray& name = line.GetName();
        if (room - pos < name.size() + 4)
            return 0;
        put(name.constData(), name.size());
        put(": ", 2);
        std::unique_ptr<CFieldCodeBase> coder = m_registry->GetFieldCoder(name);
        coder->SetCharset(line.GetCharset());
        coder->SetInput(line.GetValue(), true);
        // The value gets the room that is left before its line break.
        pos += coder->GetOutput(buffer + pos, room - pos - 2);
        put("\r\n", 2);
    }
    if (room - pos < 2)
        return 0;
    put("\r\n", 2);
    return pos;
}

qsizetype CMimeHeader::LoadFrom(const char* data, qsizetype length) {
    m_fields.clear();
    qsizetype pos = 0;
    while (pos < length) {
        // The empty line that ends the header.
        if (data[pos] == '\n')
            return pos + 1;
        if (data[pos] == '\r' && pos + 1 < length && data[pos + 1] == '\n')
            return pos + 2;
        // The field runs to the first line break that is not followed by a blank.
        qsizetype end = length;  // end of the field's text
        qsizetype next = length; // start of the next line
        for (qsizetype i = pos; i < length; ++i) {
            if (data[i] != '\n')
                continue;
            if (i + 1 < length && (data[i + 1] == ' ' || data[i + 1] == '\t'))
                continue;
            end = i > pos && data[i - 1] == '\r' ? i - 1 : i;
            next = i + 1;
            break;
        }
        const auto* colon =
            static_cast<const char*>(std::memchr(data + pos, ':', size_t(end - pos)));
        if (colon) {
            const QByteArray name = QByteArray(data + pos, colon - data - pos).trimmed();
            qsizetype value = colon + 1 - data;
            while (value < end && (data[value] == ' ' || data[value] == '\t'))
                ++value;
            std::unique_ptr<CFieldCodeBase> coder = m_registry->GetFieldCoder(name);
            coder->SetInput(data + value, end - value, false);
            const QByteArray decoded = coder->GetOutput();
            m_fields.append(CMimeHeaderLine(name, decoded, coder->GetCharset()));
        }
        pos = next;
    }
    return pos;
}
