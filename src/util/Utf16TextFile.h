// Reads a text file line by line: UTF-16 after a byte-order mark, 8-bit text without one.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

// A file starting with FF FE is UTF-16 little-endian, one starting with FE FF UTF-16 big-endian;
// any other file is 8-bit text in the system's encoding. A line ends at a carriage return or a
// line feed, and one further carriage return or line feed right after it belongs to the same line
// end, so CR LF, LF and CR each end one line. The file is read in blocks, never whole.
// Damaged UTF-16 is read as far as it can be: text of UTF-16 shape (every other byte 0) without a
// mark is UTF-16 all the same, and where a byte went missing the reader finds the character
// boundaries again at the next two characters of Latin text; Repaired() then tells.
class CUtf16TextFile {
public:
    enum class Encoding { Utf16LittleEndian, Utf16BigEndian, EightBit };

    CUtf16TextFile() = default;
    ~CUtf16TextFile();
    CUtf16TextFile(const CUtf16TextFile&) = delete;
    CUtf16TextFile& operator=(const CUtf16TextFile&) = delete;

    // Opens the file for reading and looks at its byte-order mark. False when the file cannot be
    // opened or read; Error() then holds the system's error number.
    bool Open(const QString& path);
    // The next line without its line end; false at the end of the file or when reading fails
    // (Error() tells which).
    bool ReadLine(QString& line);
    void Close();
    // The system error number of the last failure; 0 when none happened since Open.
    int Error() const { return m_error; }

    bool IsOpen() const { return m_fd >= 0; }
    Encoding GetEncoding() const { return m_encoding; }
    // True when the text needed repair: UTF-16 without a mark, a lost byte, an odd length.
    bool Repaired() const { return m_repaired; }

private:
    // Reads the next block and appends its text; false at the end of the file or on a failure.
    bool ReadBlock();
    QByteArray ReadBytes();
    // Appends the characters of the bytes; final at the end of the file, where a byte left over
    // is dropped.
    void AppendUtf16(const QByteArray& bytes, bool final = false);
    // Takes the encoding from the shape of the first bytes of a file without a mark.
    void GuessEncoding(const QByteArray& head);

    int m_fd = -1;
    int m_error = 0;
    Encoding m_encoding = Encoding::EightBit;
    QStringDecoder m_decoder;
    QByteArray m_oddByte;
    QString m_text;
    qsizetype m_pos = 0;
    bool m_atEnd = false;
    bool m_repaired = false;
};
