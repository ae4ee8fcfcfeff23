// Writes a RIFF/WAVE file.
#include "decode/WavWriter.h"

#include "app/StringIds.h"
#include "app/Trace.h"

#include <QFile>
#include <cerrno>

CWavWriter::CWavWriter() = default;

CWavWriter::~CWavWriter() {
    try {
        close();
    } catch (...) {
        // A destructor must not throw; close only traces, so nothing is lost here.
    }
}

bool CWavWriter::create(const QString& fileName, const WAVEFORMATEX& format) {
    close();
    m_fileName = fileName;
    m_format = format;
    m_riffChunk = {};
    m_dataChunk = {};
    m_error = UserText();
    m_errorCode = 0;

    if (m_file.open(fileName, CRiffFile::Mode::Write) != CRiffFile::OpenOk) {
        m_errorCode = uint32_t(m_file.systemError());
        m_error = LoadUserText(IDS_WAV_CANNOT_CREATE);
        Trace(TRACE_ERROR, "CWavWriter::create: %s (%d)", m_error.english, int(m_errorCode));
        return false;
    }
    m_riffChunk.formType = CRiffFile::fourCC("WAVE");
    if (!m_file.createChunk(m_riffChunk, true))
        return failCreate(IDS_WAV_NO_RIFF_CHUNK);

    CRiffFile::Chunk formatChunk;
    formatChunk.id = CRiffFile::fourCC("fmt");
    formatChunk.size = 16;
    if (!m_file.createChunk(formatChunk, false))
        return failCreate(IDS_WAV_NO_FMT_CHUNK);
    // The first 16 bytes of the record, little-endian; the extra-size field is never written.
    const uint32_t fields[6] = {format.wFormatTag,      format.nChannels,   format.nSamplesPerSec,
                                format.nAvgBytesPerSec, format.nBlockAlign, format.wBitsPerSample};
    const int widths[6] = {2, 2, 4, 4, 2, 2};
    uint8_t record[16];
    int at = 0;
    for (int i = 0; i < 6; ++i)
        for (int b = 0; b < widths[i]; ++b)
            record[at++] = uint8_t(fields[i] >> (8 * b));
    if (!m_file.write(record, sizeof record))
        return failCreate(IDS_WAV_FORMAT_WRITE_ERROR);

    m_dataChunk.id = CRiffFile::fourCC("data");
    if (!m_file.createChunk(m_dataChunk, false))
        return failCreate(IDS_WAV_NO_DATA_CHUNK_CREATED);
    if (!m_file.ascend(m_dataChunk))
        return failCreate(IDS_WAV_DATA_CHUNK_NOT_CLOSED);
    return true;
}

bool CWavWriter::failCreate(int textId) {
    m_error = LoadUserText(textId);
    m_errorCode = uint32_t(m_file.systemError());
    Trace(TRACE_ERROR, "CWavWriter::create: %s", m_error.english);
    m_file.close();
    QFile::remove(m_fileName);
    return false;
}

bool CWavWriter::write(const void* data, uint32_t bytes) {
    if (m_file.write(data, bytes))
        return true;
    m_errorCode = isOpen() ? uint32_t(m_file.systemError()) : uint32_t(EBADF);
    m_error = LoadUserText(IDS_WAV_WRITE_ERROR);
    Trace(TRACE_ERROR, "CWavWriter::write: error writing to wav file (%d)", int(m_errorCode));
    return false;
}

bool CWavWriter::close() {
    if (!isOpen())
        return true;
    bool finished = true;
    if (!m_file.ascend(m_dataChunk)) {
        finished = false;
        m_errorCode = uint32_t(m_file.systemError());
        Trace(TRACE_ERROR, "CWavWriter::close: could not ascend out of the data chunk");
    }
    if (!m_file.ascend(m_riffChunk)) {
        finished = false;
        m_errorCode = uint32_t(m_file.systemError());
        Trace(TRACE_ERROR, "CWavWriter::close: could not ascend out of the main chunk");
    }
    if (!m_file.close()) {
        finished = false;
        m_errorCode = uint32_t(m_file.systemError());
    }
    return finished;
}
