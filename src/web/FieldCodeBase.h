// The header-field coder: writes a field value with encoded words and folding, and reads it back.
#pragma once

#include "web/MimeCodeBase.h"

#include <QList>

// The coder of fields without structure of their own; the base of the structured ones.
class CFieldCodeBase : public CMimeCodeBase {
public:
    // Lines of a folded field stay within this many characters where a blank allows it.
    static constexpr qsizetype kMaxLine = 76;

    // The charset of the value (from its header line); empty: the default charset applies.
    void SetCharset(const QByteArray& charset) { m_charset = charset; }
    // After decoding: the charset of the last encoded word found, else unchanged.
    const QByteArray& GetCharset() const { return m_charset; }
    // The settings of the registry that hands the coder out.
    void SetDefaultCharset(const QByteArray& charset) { m_defaultCharset = charset; }
    void SetAutoFolding(bool on) { m_autoFolding = on; }

    qsizetype GetEncodeLength() const override;
    // The value unchanged when no charset applies and folding is off. Otherwise the value is cut
    // into runs after each delimiter (and where a run exceeds GetLimit); in each run the words
    // from the first to the last one with bytes of 0x80 and above become encoded words; with
    // folding, each run after a delimiter starts a new line and long lines are folded.
    qsizetype Encode(char* output, qsizetype room) const override;
    // Unfolds the value and decodes its encoded words.
    qsizetype Decode(char* output, qsizetype room) override;

    // True for the bytes after which a run ends.
    virtual bool IsDelimiter(char c) const;
    // The most bytes one run may hold (0: no limit).
    virtual qsizetype GetLimit() const;

private:
    // The part of a run written as encoded words, [begin, end); begin is -1 for none.
    struct Span {
        qsizetype begin = -1;
        qsizetype end = -1;
    };
    QByteArray EncodeValue(const QByteArray& charset) const;
    Span EncodedSpan(const char* run, qsizetype length, const QByteArray& charset) const;
    // The run lengths of the input, in order.
    QList<qsizetype> SplitRuns() const;

    QByteArray m_charset;
    QByteArray m_defaultCharset;
    bool m_autoFolding = false;
};
