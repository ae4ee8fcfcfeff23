// Reads a RIFF/WAVE file.
#include "decode/WavReader.h"

#include "util/Printf.h"
#include "workflow/OxaException.h"

#include <algorithm>
#include <limits>

namespace {

// value truncated toward zero into 0..INT32_MAX; not-a-number gives 0.
int32_t TruncateCount(double value) {
    if (!(value > 0.0))
        return 0;
    if (value >= double(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return int32_t(value);
}

} // namespace

CWavReader::CWavReader(const QString& fileName) : m_fileName(fileName) {
    if (!open())
        throw COxaException(m_error, COxaException::kGeneric);
}

CWavReader::~CWavReader() {
    close();
}

QString CWavReader::openErrorText(int code) {
    switch (code) {
    case CRiffFile::FileNotFound:
        return QStringLiteral("the file was not found");
    case CRiffFile::PathNotFound:
        return QStringLiteral("the directory specification is incorrect.");
    case CRiffFile::AccessDenied:
        return QStringLiteral("the file is protected and cannot be opened.");
    case CRiffFile::SharingViolation:
        return QStringLiteral("the file is being used by another application and is unavailable.");
    case CRiffFile::NetworkError:
        return QStringLiteral(
            "the network is not responding to the request to open a remote file.");
    case CRiffFile::TooManyOpenFiles:
        return QStringLiteral("the number of files simultaneously open is at a maximum level. The "
                              "system has run out of available file handles.");
    case CRiffFile::InvalidFile:
        return QStringLiteral("the file is invalid.");
    default:
        return QString::asprintf("error code = %d", code);
    }
}

bool CWavReader::open() {
    if (isOpen())
        return true;
    const int result = m_file.open(m_fileName, CRiffFile::Mode::Read);
    if (result != CRiffFile::OpenOk) {
        m_error = Sprintf("error opening file %s: %s", m_fileName, openErrorText(result));
        return false;
    }
    if (!parse()) {
        m_file.close();
        return false;
    }
    return true;
}

bool CWavReader::parse() {
    CRiffFile::Chunk riff;
    riff.formType = CRiffFile::fourCC("WAVE");
    if (!m_file.descend(riff, nullptr, CRiffFile::Find::Riff)) {
        m_error = QStringLiteral("not a wave file");
        return false;
    }
    CRiffFile::Chunk format;
    format.id = CRiffFile::fourCC("fmt");
    if (!m_file.descend(format, &riff, CRiffFile::Find::Chunk)) {
        m_error = QStringLiteral("couldn't get format chunk");
        return false;
    }
    // A 16-byte chunk lends the extra-size field from the bytes behind it; nothing relies on it.
    uint8_t record[sizeof(WAVEFORMATEX)] = {};
    if (m_file.read(record, sizeof record) != int64_t(sizeof record)) {
        m_error = QStringLiteral("error reading format");
        return false;
    }
    const auto u16 = [&](int at) { return uint16_t(record[at] | record[at + 1] << 8); };
    const auto u32 = [&](int at) { return uint32_t(u16(at)) | uint32_t(u16(at + 2)) << 16; };
    m_format.wFormatTag = u16(0);
    m_format.nChannels = u16(2);
    m_format.nSamplesPerSec = u32(4);
    m_format.nAvgBytesPerSec = u32(8);
    m_format.nBlockAlign = u16(12);
    m_format.wBitsPerSample = u16(14);
    m_format.cbSize = u16(16);
    m_file.ascend(format);

    CRiffFile::Chunk data;
    data.id = CRiffFile::fourCC("data");
    if (!m_file.descend(data, &riff, CRiffFile::Find::Chunk)) {
        m_error = QStringLiteral("couldn't get data chunk");
        return false;
    }
    m_dataOffset = uint32_t(m_file.tell());
    m_dataSize = data.size;
    const double bits = m_format.wBitsPerSample;
    const double channels = m_format.nChannels;
    m_frameCount = bits > 0 && channels > 0 ? TruncateCount(m_dataSize * 8.0 / bits / channels) : 0;
    m_duration = m_format.nSamplesPerSec > 0
                     ? TruncateCount(m_frameCount * 1000.0 / m_format.nSamplesPerSec)
                     : 0;
    return true;
}

void CWavReader::close() {
    m_file.close();
}

int64_t CWavReader::read(void* buffer, int64_t bytes) {
    if (!isOpen())
        return -1;
    const int64_t got = m_file.read(buffer, bytes);
    if (got < 0) {
        close();
        throw COxaException(QStringLiteral("error reading from wav file"), COxaException::kGeneric);
    }
    return got;
}

int64_t CWavReader::seek(int64_t milliseconds) {
    if (!isOpen())
        return -1;
    const __int128 frames = __int128(milliseconds) * m_format.nSamplesPerSec / 1000;
    const double exact = double(frames) * m_format.wBitsPerSample * m_format.nChannels / 8.0;
    // Anything from one frame past the end on lands at the end; before the start, at the start.
    const int64_t beyond = int64_t(m_dataSize) + std::max<int64_t>(m_format.nBlockAlign, 1);
    int64_t bytes = 0;
    if (exact >= double(beyond))
        bytes = beyond;
    else if (exact > 0.0)
        bytes = int64_t(exact);
    if (m_format.nBlockAlign != 0)
        bytes -= bytes % m_format.nBlockAlign;
    if (bytes > int64_t(m_dataSize))
        bytes = m_dataSize;
    return m_file.seek(int64_t(m_dataOffset) + bytes, SEEK_SET);
}
