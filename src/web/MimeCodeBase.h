// The MIME coder interface: turns a byte range into its transfer or header encoding and back.
#pragma once

#include <QByteArray>
#include <QtGlobal>

// The plain coder, and the base of all others: copies the bytes unchanged in both directions.
class CMimeCodeBase {
public:
    CMimeCodeBase() = default;
    CMimeCodeBase(const CMimeCodeBase&) = delete;
    CMimeCodeBase& operator=(const CMimeCodeBase&) = delete;
    virtual ~CMimeCodeBase();

    // Names the bytes to work on (not copied: they must stay alive while the coder is used) and
    // the direction (true: encode).
    void SetInput(const char* input, qsizetype length, bool encode);
    void SetInput(const QByteArray& input, bool encode) {
        SetInput(input.constData(), input.size(), encode);
    }

    // The most bytes the output can take in the chosen direction.
    qsizetype GetOutputLength() const { return m_encode ? GetEncodeLength() : GetDecodeLength(); }
    // Writes the output of the chosen direction into a buffer of the given room and returns the
    // bytes written; output that does not fit is left out.
    qsizetype GetOutput(char* output, qsizetype room) {
        return m_encode ? Encode(output, room) : Decode(output, room);
    }
    // The whole output of the chosen direction.
    QByteArray GetOutput();

    virtual qsizetype GetEncodeLength() const;
    virtual qsizetype GetDecodeLength() const;
    virtual qsizetype Encode(char* output, qsizetype room) const;
    virtual qsizetype Decode(char* output, qsizetype room);

protected:
    // Copies the input into the room; the common tail of the plain directions.
    qsizetype CopyInput(char* output, qsizetype room) const;

    const char* m_input = nullptr;
    qsizetype m_inputLength = 0;
    bool m_encode = true;
};
