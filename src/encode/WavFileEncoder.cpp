// Writes PCM blocks into a RIFF/WAVE file.
#include "encode/WavFileEncoder.h"

#include "app/OxaException.h"
#include "app/StringIds.h"

CWavFileEncoder::CWavFileEncoder(const QString& fileName, const WAVEFORMATEX* format) {
    if (!format)
        throw COxaEncoderException(StringId{IDS_WAVENC_NO_FORMAT});
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
        throw COxaFileException(FormatUserText(IDS_WAVENC_CANNOT_CREATE, m_fileName));
    }
}

void CWavFileEncoder::encode(const void* data, uint32_t bytes) {
    if (!m_writer.write(data, bytes)) {
        m_errorCode = m_writer.getErrorCode();
        throw COxaEncoderException(FormatUserText(IDS_WAVENC_WRITE_ERROR, (unsigned long)bytes));
    }
}

void CWavFileEncoder::switchFile(const QString& fileName) {
    m_writer.close();
    open(fileName);
}
