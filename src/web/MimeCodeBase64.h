// The Base64 transfer coder (RFC 2045).
#pragma once

#include "web/MimeCodeBase.h"

class CMimeCodeBase64 : public CMimeCodeBase {
public:
    // Output characters per line in line-break mode.
    static constexpr qsizetype kLineLength = 76;

    // lineBreaks: CRLF after every 76 characters and after the last line.
    explicit CMimeCodeBase64(bool lineBreaks = true) : m_lineBreaks(lineBreaks) {}

    qsizetype GetEncodeLength() const override;
    qsizetype GetDecodeLength() const override;
    qsizetype Encode(char* output, qsizetype room) const override;
    qsizetype Decode(char* output, qsizetype room) override;

    // The value of a character of the Base64 alphabet, -1 for any other byte.
    static int DigitValue(char c);

private:
    bool m_lineBreaks;
};
