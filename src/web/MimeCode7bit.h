// The 7bit transfer coder: copies text and breaks lines longer than 76 characters.
#pragma once

#include "web/MimeCodeBase.h"

class CMimeByteWriter;

class CMimeCode7bit : public CMimeCodeBase {
public:
    static constexpr qsizetype kMaxLine = 76;

    qsizetype GetEncodeLength() const override;
    qsizetype Encode(char* output, qsizetype room) const override;

    // TAB, LF, VT, FF, CR and blank: where a long line may be broken.
    static bool IsWhitespace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

private:
    void EncodeLine(const char* line, qsizetype length, CMimeByteWriter& out) const;
};
