// The header-text coder of RFC 2047: bytes of a charset as "=?charset?B|Q?text?=" encoded words.
#pragma once

#include "web/MimeCodeBase.h"

class CMimeByteWriter;

class CMimeEncodedWord : public CMimeCodeBase {
public:
    // An encoded word is at most this long; longer input becomes several, separated by a blank.
    static constexpr qsizetype kMaxWordLength = 75;

    // encoding: 'B' or 'Q' (0: chosen from the input); charset: the input's charset name.
    explicit CMimeEncodedWord(char encoding = 0, const QByteArray& charset = {});

    // The encoding letter and charset used when encoding; after decoding, those of the last
    // encoded word found.
    char GetEncoding() const { return m_encoding; }
    void SetEncoding(char encoding) { m_encoding = encoding; }
    const QByteArray& GetCharset() const { return m_charset; }
    void SetCharset(const QByteArray& charset) { m_charset = charset; }

    qsizetype GetEncodeLength() const override;
    qsizetype Encode(char* output, qsizetype room) const override;
    // Decodes every encoded word in the input and keeps the text around them; blanks between two
    // encoded words are dropped.
    qsizetype Decode(char* output, qsizetype room) override;

    // 'B' when Base64 is the shorter form of the bytes (many of them 0x80 and above), else 'Q'.
    static char ChooseEncoding(const char* data, qsizetype length);

private:
    void EncodeTo(CMimeByteWriter& out) const;
    // How many of the bytes from start go into one word.
    qsizetype WordPiece(qsizetype start, char encoding, qsizetype textRoom) const;
    // Decodes one encoded word at data[0] into bytes; returns its length, 0 when it is none.
    qsizetype DecodeWord(const char* data, qsizetype length, QByteArray& bytes);

    char m_encoding;
    QByteArray m_charset;
};
