// The header of a MIME body: an ordered list of fields, written as "Name: value" lines.
#pragma once

#include "web/MimeHeaderLine.h"

#include <QByteArray>
#include <QList>

class CMimeCoderRegistry;

class CMimeHeader {
public:
    // The registry gives the field coders; it must outlive the header.
    explicit CMimeHeader(const CMimeCoderRegistry& registry) : m_registry(&registry) {}
    CMimeHeader(const CMimeHeader&) = default;
    CMimeHeader& operator=(const CMimeHeader&) = default;
    virtual ~CMimeHeader();

    const QList<CMimeHeaderLine>& GetFields() const { return m_fields; }

    // The first field of the name (case ignored), or nullptr.
    const CMimeHeaderLine* FindField(const QByteArray& name) const;
    CMimeHeaderLine* FindField(const QByteArray& name);
    // The value of the first field of the name; empty when there is none.
    QByteArray GetFieldValue(const QByteArray& name) const;
    // Replaces the first field of the line's name (case ignored), or appends the line.
    void PutField(const CMimeHeaderLine& line);

    // Makes the header a multipart one with a boundary: the one given, or a generated
    // "__=_Part_Boundary_<counter>_<random>.<random>" when it is empty. A Content-Type that is not
    // multipart becomes "multipart/mixed"; the boundary is set as its parameter "boundary".
    void AssignBoundary(const QByteArray& boundary = {});
    // The "boundary" parameter of Content-Type, without quotes; empty when there is none.
    QByteArray GetBoundaryValue() const;
    // The media type of Content-Type without its parameters ("type/subtype"); may be empty.
    QByteArray GetContentType() const;
    // True when Content-Type begins with "multipart" (case ignored).
    bool IsMultipart() const;

    // Removes every field.
    virtual void Reset();
    // An upper bound of what StoreTo writes.
    virtual qsizetype GetStoredLength() const;
    // Writes each field as name, ": ", the value through its field coder and CRLF, then one CRLF.
    // A field is begun only when the room left holds its name and four bytes more; otherwise
    // nothing more is written and the result is 0. Returns the bytes written.
    virtual qsizetype StoreTo(char* buffer, qsizetype room) const;
    // Reads fields up to the empty line that ends the header (or the end of the data), decoding
    // each value with its field coder; the fields found replace the old ones. Returns the bytes
    // read, the empty line included.
    virtual qsizetype LoadFrom(const char* data, qsizetype length);

protected:
    // A new boundary: the process-wide counter's next value (1 to 9) and two pseudo-random
    // numbers drawn from a generator seeded with the time and this header's address.
    QByteArray GenerateBoundary() const;

    const CMimeCoderRegistry* m_registry;
    QList<CMimeHeaderLine> m_fields;
};
