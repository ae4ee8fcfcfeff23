// Reads a RIFF/WAVE file.
#include "decode/WavReader.h"

#include "app/OxaException.h"
#include "app/StringIds.h"

#include <algorithm>
#include <limits>

namespace {

// The format tag of the extensible header, and the bytes it adds after the 18-byte record.
constexpr uint16_t kFormatExtensible = 0xFFFE;
constexpr int64_t kExtensionBytes = 22;

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
    return openError(code).shown;
}

UserText CWavReader::openError(int code) {
    switch (code) {
    case CRiffFile::FileNotFound:
        return LoadUserText(IDS_WAV_FILE_NOT_FOUND);
    case CRiffFile::PathNotFound:
        return LoadUserText(IDS_WAV_PATH_NOT_FOUND);
    case CRiffFile::AccessDenied:
        return LoadUserText(IDS_WAV_ACCESS_DENIED);
    case CRiffFile::SharingViolation:
        return LoadUserText(IDS_WAV_SHARING_VIOLATION);
    case CRiffFile::NetworkError:
        return LoadUserText(IDS_WAV_NETWORK_ERROR);
    case CRiffFile::TooManyOpenFiles:
        return LoadUserText(IDS_WAV_TOO_MANY_OPEN_FILES);
    case CRiffFile::InvalidFile:
        return LoadUserText(IDS_WAV_INVALID_FILE);
    default:
        return FormatUserText(IDS_WAV_OTHER_OPEN_ERROR, code);
    }
}

bool CWavReader::open() {
    if (isOpen())
        return true;
    const int result = m_file.open(m_fileName, CRiffFile::Mode::Read);
    if (result != CRiffFile::OpenOk) {
        m_error = FormatUserText(IDS_WAV_OPEN_FAILED, m_fileName, openError(result));
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
        m_error = LoadUserText(IDS_WAV_NOT_A_WAVE_FILE);
        return false;
    }
    CRiffFile::Chunk format;
    format.id = CRiffFile::fourCC("fmt");
    if (!m_file.descend(format, &riff, CRiffFile::Find::Chunk)) {
        m_error = LoadUserText(IDS_WAV_NO_FORMAT_CHUNK);
        return false;
    }
    // A 16-byte chunk lends the extra-size field from the bytes behind it; nothing relies on it.
    uint8_t record[sizeof(WAVEFORMATEX)] = {};
    if (m_file.read(record, sizeof record) != int64_t(sizeof record)) {
        m_error = LoadUserText(IDS_WAV_FORMAT_READ_ERROR);
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
    // The extensible header describes plain PCM through its sub-format: such a file is PCM.
    uint8_t extension[kExtensionBytes] = {};
    if (m_format.wFormatTag == kFormatExtensible && format.size >= 18 + kExtensionBytes &&
        m_file.read(extension, kExtensionBytes) == kExtensionBytes) {
        const uint16_t validBits = uint16_t(extension[0] | extension[1] << 8);
        const uint16_t subFormat = uint16_t(extension[6] | extension[7] << 8);
        if (subFormat == WAVE_FORMAT_PCM &&
            (validBits == 0 || validBits == m_format.wBitsPerSample)) {
            m_format.wFormatTag = WAVE_FORMAT_PCM;
            m_format.cbSize = 0;
        }
    }
    m_file.ascend(format);

    CRiffFile::Chunk data;
    data.id = CRiffFile::fourCC("data");
    if (!m_file.descend(data, &riff, CRiffFile::Find::Chunk)) {
        m_error = LoadUserText(IDS_WAV_NO_DATA_CHUNK);
        return false;
    }
    m_dataOffset = uint32_t(m_file.tell());
    // A file cut short keeps the size its header promised: the data ends where the file does.
    const int64_t fileEnd = m_file.seek(0, SEEK_END);
    m_file.seek(m_dataOffset, SEEK_SET);
    m_dataSize = uint32_t(std::clamp<int64_t>(fileEnd - int64_t(m_dataOffset), 0, data.size));
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
        throw COxaException(StringId{IDS_WAV_READ_ERROR}, COxaException::kGeneric);
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
