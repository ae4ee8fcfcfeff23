// Reads a RIFF/WAVE file: its format, the size and duration of its data, and the bytes from there
// on.
#pragma once

#include "app/UserText.h"
#include "decode/RiffFile.h"
#include "util/WinTypes.h"

#include <QString>
#include <cstdint>

// Opens and parses the file in its constructor (which throws when it cannot) and reads it until
// closed. The reader does not judge the format: its users decide which ones they take.
class CWavReader {
public:
    // Opens fileName; throws COxaException (code 0) whose message is getError() when it cannot.
    explicit CWavReader(const QString& fileName);
    ~CWavReader();
    CWavReader(const CWavReader&) = delete;
    CWavReader& operator=(const CWavReader&) = delete;

    // Opens and parses the file; true at once when already open. False: getError tells why.
    bool open();
    bool isOpen() const { return m_file.isOpen(); }
    // Closes the file if open; the destructor calls it.
    void close();

    // The first 18 bytes of the "fmt " chunk while open, null while closed. An extensible header
    // whose sub-format is PCM at its full sample width reads as plain PCM.
    const WAVEFORMATEX* getFormat() const { return isOpen() ? &m_format : nullptr; }
    // Reads up to bytes from the current position: the count read, 0 at the end of the file, -1
    // when closed. Reading runs past the "data" chunk to the end of the file: callers that must
    // stop at the end of the data count against getDataSize(). A failing read closes the reader
    // and throws COxaException "error reading from wav file".
    int64_t read(void* buffer, int64_t bytes);
    // Moves to the frame at milliseconds (rounded down to a whole frame, at most the end of the
    // data, at least its start); the new absolute file position, or -1 when closed.
    int64_t seek(int64_t milliseconds);

    // File offset of the first byte of the "data" chunk's body.
    uint32_t getDataOffset() const { return m_dataOffset; }
    // The "data" chunk's size in bytes: its size field, or what the file holds of it when the file
    // ends earlier.
    uint32_t getDataSize() const { return m_dataSize; }
    // Length of the data in milliseconds.
    int32_t getDuration() const { return m_duration; }
    int32_t getFrameCount() const { return m_frameCount; }
    const QString& getFileName() const { return m_fileName; }
    // Text of the last failure, in the current language.
    const QString& getError() const { return m_error.shown; }

    // The text for a failure to open a file (a CRiffFile::OpenError), in the current language.
    static QString openErrorText(int code);

private:
    // The text for a failure to open a file in both of its forms.
    static UserText openError(int code);
    bool parse();

    QString m_fileName;
    WAVEFORMATEX m_format{};
    CRiffFile m_file;
    UserText m_error;
    uint32_t m_dataOffset = 0;
    uint32_t m_dataSize = 0;
    int32_t m_duration = 0;
    int32_t m_frameCount = 0;
};
