// The MIME coder interface and the plain copying coder.
#include "web/MimeCodeBase.h"

#include "web/MimeByteWriter.h"

CMimeCodeBase::~CMimeCodeBase() = default;

void CMimeCodeBase::SetInput(const char* input, qsizetype length, bool encode) {
    m_input = input;
    m_inputLength = input ? qMax<qsizetype>(length, 0) : 0;
    m_encode = encode;
}

QByteArray CMimeCodeBase::GetOutput() {
    QByteArray output(GetOutputLength(), Qt::Uninitialized);
    output.truncate(GetOutput(output.data(), output.size()));
    return output;
}

qsizetype CMimeCodeBase::GetEncodeLength() const {
    return m_inputLength;
}

qsizetype CMimeCodeBase::GetDecodeLength() const {
    return m_inputLength;
}

qsizetype CMimeCodeBase::Encode(char* output, qsizetype room) const {
    return CopyInput(output, room);
}

qsizetype CMimeCodeBase::Decode(char* output, qsizetype room) {
    return CopyInput(output, room);
}

qsizetype CMimeCodeBase::CopyInput(char* output, qsizetype room) const {
    CMimeByteWriter out(output, room);
    out.put(m_input, m_inputLength);
    return out.count();
}
