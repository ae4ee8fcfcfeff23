// The base of the encoders that turn a stream of PCM blocks into an output file.
#pragma once

#include <QString>
#include <cstdint>

// An encoder is open from construction (which throws when it cannot open its file) until
// destruction, which finishes the file. Failures throw COxaEncoderException (COxaFileException
// when a WAV output cannot be created); getErrorCode holds the system error (errno) behind them.
class CFileEncoder {
public:
    // The system error number of the last write failure of any file encoder on this thread (0 when
    // none since the last reset), so that a caller can name the cause beside the encoder's message.
    static int lastWriteError();
    static void resetLastWriteError();

    virtual ~CFileEncoder();
    CFileEncoder(const CFileEncoder&) = delete;
    CFileEncoder& operator=(const CFileEncoder&) = delete;

    // Appends bytes of PCM data to the output.
    virtual void encode(const void* data, uint32_t bytes) = 0;
    // Finishes the current file and goes on into fileName with the same format and state.
    virtual void switchFile(const QString& fileName) = 0;

    // Full name of the output file as opened.
    const QString& getFileName() const { return m_fileName; }
    // System error code (errno) of the last failure, 0 when none.
    uint32_t getErrorCode() const { return m_errorCode; }

    // fileName with extension appended (e.g. ".wav") when its last component has no extension.
    static QString withDefaultExtension(const QString& fileName, const QString& extension);

protected:
    CFileEncoder() = default;

    // Creates fileName for writing, replacing an existing file; the handle (a file descriptor),
    // or -1 with getErrorCode set to the system error.
    int createFile(const QString& fileName);
    // Closes handle if it is open and sets it to -1.
    static void closeFile(int& handle);
    // Writes exactly bytes from data to handle. True when all were written; otherwise false, or,
    // with throwOnError, throwWriteError(bytes).
    bool writeToFile(int handle, const void* data, uint32_t bytes, bool throwOnError);
    // Keeps the system error (errno), traces "Error writing to file: <system error text>" and
    // throws COxaEncoderException "Error writing <bytes> bytes to file".
    [[noreturn]] void throwWriteError(uint32_t bytes);

    QString m_fileName;
    uint32_t m_errorCode = 0;
};
