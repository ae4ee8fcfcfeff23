// A MIME body: a header, a content and, for a multipart body, child parts between boundaries.
#pragma once

#include "web/MimeHeader.h"

#include <QString>

#include <memory>
#include <vector>

class CMimeBody : public CMimeHeader {
public:
    explicit CMimeBody(const CMimeCoderRegistry& registry);
    CMimeBody(const CMimeBody&) = delete;
    CMimeBody& operator=(const CMimeBody&) = delete;
    ~CMimeBody() override;

    // The content, as it is before its transfer encoding.
    const QByteArray& GetContent() const { return m_content; }
    void SetContent(const QByteArray& content) { m_content = content; }
    // Sets the content to length bytes of text (length 0: up to its terminating zero). Returns
    // the content's length, or -1 when the memory for it cannot be had.
    qsizetype SetContentText(const char* text, qsizetype length = 0);

    // Replaces the content by the bytes of the file. False when the file cannot be opened, or
    // (with the trace line "CMimeBody::ReadFromFile : error <code>") when reading it fails; the
    // content is then empty.
    bool ReadFromFile(const QString& path);
    // Writes the content to the file, replacing it. False (and the old file untouched) when it
    // cannot be written.
    bool WriteToFile(const QString& path) const;

    // Creates a part through the registry's CreateBodyPart (an empty media type gives a plain
    // part without a Content-Type field) and inserts it before the given part, or at the end.
    CMimeBody* AddPart(const QByteArray& mediaType = {}, const CMimeBody* before = nullptr);
    qsizetype GetPartCount() const { return qsizetype(m_parts.size()); }
    CMimeBody* GetPart(qsizetype index) const { return m_parts[size_t(index)].get(); }

    // Removes the fields, the content and the parts.
    void Reset() override;
    // An upper bound of what StoreTo writes (two bytes more where a delimiter takes the place of
    // the line break before it).
    qsizetype GetStoredLength() const override;
    // Writes the header, the content through its Content-Transfer-Encoding and, when there are
    // parts, each one after the delimiter "\r\n--<boundary>\r\n" (the first one's line break
    // taking the place of a line break just before it), then "\r\n--<boundary>--\r\n". A part is
    // begun only while the room left holds the boundary and six bytes, the end delimiter only
    // when it holds the boundary and eight. Returns the bytes written; 0 when the header does not
    // fit; -1 when the body has parts and no boundary.
    qsizetype StoreTo(char* buffer, qsizetype room) const override;
    // Reads a body as StoreTo writes it (or any MIME entity): the header, the content decoded by
    // its transfer coder and, for a multipart body, the parts between the boundary delimiters,
    // each made by the registry's CreateBodyPart for its Content-Type. Returns the bytes read.
    qsizetype LoadFrom(const char* data, qsizetype length) override;

private:
    // Multipart bodies nested deeper than this are kept as content and not taken apart.
    static constexpr int kMaxNesting = 32;

    void LoadParts(const char* data, qsizetype length, const QByteArray& boundary);

    QByteArray m_content;
    std::vector<std::unique_ptr<CMimeBody>> m_parts;
    int m_nesting = 0;
};
