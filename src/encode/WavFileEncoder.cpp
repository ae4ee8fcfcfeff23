// Writes PCM blocks into a RIFF/WAVE file.
#include "encode/WavFileEncoder.h"

#include "workflow/OxaException.h"

CWavFileEncoder::CWavFileEncoder(const QString& fileName, const WAVEFORMATEX* format) {
    if (!format)
        throw COxaEncoderException(QStringLiteral("WAV: NULL waveformatex as parameter"));
    m_format = *format;
    open(fileName);
}

CWavFileEncoder::~CWavFileEncoder() {
    m_writer.close();
}

void CWavFileEncoder::open(const QString& fileName) {
    m_fileName = withDefaultExtension(fileName, QStringLiteral(".wav"));
    if (!m_writer.create(m_fileName, m_format)) {
        m_errorCode = m_writer.getErrorCode();
        throw COxaFileException(Sprintf("Error creating WAV file \"%s\"", m_fileName));
    }
}

void CWavFileEncoder::encode(const void* data, uint32_t bytes) {
    if (!m_writer.write(data, bytes)) {
        m_errorCode = m_writer.getErrorCode();
        throw COxaEncoderException(
            Sprintf("Error writing %lu bytes to WAV file", (unsigned long)bytes));
    }
}

void CWavFileEncoder::switchFile(const QString& fileName) {
    m_writer.close();
    open(fileName);
}
