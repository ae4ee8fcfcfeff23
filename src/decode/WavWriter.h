// Writes a RIFF/WAVE file: a 16-byte "fmt " chunk and one "data" chunk, sizes patched on close.
#pragma once

#include "app/UserText.h"
#include "decode/PcmSink.h"
#include "decode/RiffFile.h"
#include "util/WinTypes.h"

#include <QString>
#include <cstdint>

// Writes the 44-byte header at create, appends sample data with write, and fills in the RIFF and
// data sizes on close (or on destruction). Failures return false and keep the error text and the
// system error code (errno); the writer itself only writes trace lines and never throws.
class CWavWriter : public IPcmSink {
public:
    CWavWriter();
    // Closes the file if it is still open (sizes patched); never throws.
    ~CWavWriter() override;
    CWavWriter(const CWavWriter&) = delete;
    CWavWriter& operator=(const CWavWriter&) = delete;

    // Creates (or truncates) fileName and writes the RIFF, "fmt " and empty "data" headers for
    // format. False: no file is left behind, getError/getErrorCode tell why.
    bool create(const QString& fileName, const WAVEFORMATEX& format) override;
    // Appends bytes of sample data; false on a failed write (error code kept).
    bool write(const void* data, uint32_t bytes) override;
    // Patches the data and RIFF sizes (a zero pad byte after an odd data size) and closes the
    // file; true when closed already. False when the sizes could not be written (traced, error
    // code kept); the file is closed all the same.
    bool close() override;

    bool isOpen() const { return m_file.isOpen(); }
    const QString& getFileName() const { return m_fileName; }
    const WAVEFORMATEX& getFormat() const { return m_format; }
    // Text of the last failure, in the current language.
    const QString& getError() const { return m_error.shown; }
    // The same in English, as the trace log writes it.
    const QString& getTraceError() const override { return m_error.english; }
    // System error code (errno) of the last failure, 0 when none.
    uint32_t getErrorCode() const override { return m_errorCode; }

private:
    // Keeps the string-table text textId as the error, traces it, and removes the file.
    bool failCreate(int textId);

    WAVEFORMATEX m_format{};
    QString m_fileName;
    CRiffFile::Chunk m_riffChunk;
    CRiffFile::Chunk m_dataChunk;
    CRiffFile m_file;
    UserText m_error;
    uint32_t m_errorCode = 0;
};
