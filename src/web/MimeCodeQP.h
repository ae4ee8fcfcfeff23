// The quoted-printable transfer coder (RFC 2045).
#pragma once

#include "web/MimeCodeBase.h"

class CMimeCodeQP : public CMimeCodeBase {
public:
    // Encoded lines hold at most this many characters, the "=" of a soft line break included.
    static constexpr qsizetype kMaxLine = 76;

    // escapeLineBreaks: CR and LF are escaped too (binary data); else they pass as line breaks.
    explicit CMimeCodeQP(bool escapeLineBreaks = false) : m_escapeLineBreaks(escapeLineBreaks) {}

    qsizetype GetEncodeLength() const override;
    qsizetype Encode(char* output, qsizetype room) const override;
    qsizetype Decode(char* output, qsizetype room) override;

    // The upper-case hexadecimal digit of a value from 0 to 15.
    static char HexDigit(int value) { return "0123456789ABCDEF"[value & 15]; }
    // The value of a hexadecimal digit (either case), -1 for any other byte.
    static int HexValue(char c);

private:
    bool NeedsEscape(qsizetype i) const;

    bool m_escapeLineBreaks;
};
