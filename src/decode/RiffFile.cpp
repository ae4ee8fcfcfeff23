// Reads and writes RIFF files chunk by chunk.
#include "decode/RiffFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <sys/stat.h>

namespace {

uint32_t GetLe32(const uint8_t* bytes) {
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
           uint32_t(bytes[3]) << 24;
}

void PutLe32(uint8_t* bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[i] = uint8_t(value >> (8 * i));
}

constexpr uint32_t kRiffId = CRiffFile::fourCC("RIFF");
constexpr uint32_t kListId = CRiffFile::fourCC("LIST");

bool HasFormType(uint32_t id) {
    return id == kRiffId || id == kListId;
}

// The open failure that stands for a system error when opening path.
int OpenErrorFor(int error, const QString& path) {
    switch (error) {
    case ENOENT:
        return QFileInfo(path).absoluteDir().exists() ? CRiffFile::FileNotFound
                                                      : CRiffFile::PathNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return CRiffFile::PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return CRiffFile::AccessDenied;
    case EBUSY:
    case ETXTBSY:
    case EAGAIN:
        return CRiffFile::SharingViolation;
    case ENETDOWN:
    case ENETUNREACH:
    case EHOSTDOWN:
    case EHOSTUNREACH:
    case ETIMEDOUT:
    case ECONNREFUSED:
    case ECONNRESET:
    case ESTALE:
    case ENOLINK:
    case EREMOTEIO:
    case ECOMM:
        return CRiffFile::NetworkError;
    case EMFILE:
    case ENFILE:
        return CRiffFile::TooManyOpenFiles;
    case ENOMEM:
        return CRiffFile::OutOfMemory;
    case EINVAL:
    case EOVERFLOW:
    case EFBIG:
        return CRiffFile::InvalidFile;
    default:
        return CRiffFile::CannotOpen;
    }
}

} // namespace

CRiffFile::~CRiffFile() {
    close();
}

int CRiffFile::open(const QString& path, Mode mode) {
    close();
    m_systemError = 0;
    const QByteArray native = QFile::encodeName(path);
    std::FILE* file = std::fopen(native.constData(), mode == Mode::Read ? "rbe" : "wbe");
    if (!file) {
        m_systemError = errno;
        return OpenErrorFor(m_systemError, path);
    }
    struct stat info {};
    if (::fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode)) {
        std::fclose(file);
        m_systemError = EISDIR;
        return AccessDenied;
    }
    // Written bytes go straight to the system, so that a failed write is seen by its caller.
    if (mode == Mode::Write)
        std::setvbuf(file, nullptr, _IONBF, 0);
    m_file = file;
    return OpenOk;
}

bool CRiffFile::close() {
    if (!m_file)
        return true;
    const int result = std::fclose(m_file);
    m_file = nullptr;
    if (result != 0) {
        m_systemError = errno;
        return false;
    }
    return true;
}

bool CRiffFile::fail() {
    m_systemError = errno != 0 ? errno : EIO;
    if (m_file)
        std::clearerr(m_file);
    return false;
}

int64_t CRiffFile::read(void* buffer, int64_t bytes) {
    if (!m_file || bytes < 0)
        return -1;
    if (bytes == 0)
        return 0;
    errno = 0;
    const size_t got = std::fread(buffer, 1, size_t(bytes), m_file);
    if (got < size_t(bytes) && std::ferror(m_file)) {
        fail();
        return -1;
    }
    return int64_t(got);
}

bool CRiffFile::write(const void* data, int64_t bytes) {
    if (!m_file || bytes < 0)
        return false;
    if (bytes == 0)
        return true;
    errno = 0;
    if (std::fwrite(data, 1, size_t(bytes), m_file) != size_t(bytes)) {
        if (errno == 0)
            errno = ENOSPC;
        return fail();
    }
    return true;
}

int64_t CRiffFile::seek(int64_t offset, int origin) {
    if (!m_file)
        return -1;
    if (::fseeko(m_file, off_t(offset), origin) != 0) {
        fail();
        return -1;
    }
    return tell();
}

int64_t CRiffFile::tell() const {
    if (!m_file)
        return -1;
    return int64_t(::ftello(m_file));
}

bool CRiffFile::descend(Chunk& chunk, const Chunk* parent, Find find) {
    const int64_t start = tell();
    if (start < 0)
        return false;
    // Within a parent, chunks are looked for from its body up to its end; else to the file's end.
    int64_t limit = int64_t(UINT32_MAX) - 8;
    if (parent) {
        const int64_t body = parent->dataOffset;
        limit = std::min(limit, body + int64_t(parent->size));
        if (start < body || start >= limit)
            return false;
    }
    const uint32_t wantedId = find == Find::Riff ? kRiffId : chunk.id;
    const uint32_t wantedType = chunk.formType;
    int64_t position = start;
    while (position < limit && seek(position, SEEK_SET) == position) {
        uint8_t header[12] = {};
        if (read(header, sizeof header) < 8)
            break;
        Chunk found;
        found.id = GetLe32(header);
        found.size = GetLe32(header + 4);
        found.dataOffset = uint32_t(position + 8);
        if (found.id == wantedId && (find != Find::Riff || GetLe32(header + 8) == wantedType)) {
            const bool typed = HasFormType(found.id);
            found.formType = typed ? GetLe32(header + 8) : 0;
            const int64_t body = int64_t(found.dataOffset) + (typed ? 4 : 0);
            if (seek(body, SEEK_SET) != body)
                break;
            chunk = found;
            return true;
        }
        position = int64_t(found.dataOffset) + ((int64_t(found.size) + 1) & ~int64_t(1));
    }
    seek(start, SEEK_SET);
    return false;
}

bool CRiffFile::ascend(Chunk& chunk) {
    if (!m_file)
        return false;
    if (chunk.created) {
        const int64_t end = tell();
        const int64_t size = end - int64_t(chunk.dataOffset);
        if (end < 0 || size < 0 || size > int64_t(UINT32_MAX)) {
            errno = EFBIG;
            return fail();
        }
        if (size & 1) {
            const uint8_t pad = 0;
            if (!write(&pad, 1))
                return false;
        }
        if (uint32_t(size) != chunk.size) {
            uint8_t field[4];
            PutLe32(field, uint32_t(size));
            const int64_t fieldOffset = int64_t(chunk.dataOffset) - 4;
            if (seek(fieldOffset, SEEK_SET) != fieldOffset || !write(field, 4))
                return false;
            chunk.size = uint32_t(size);
        }
    }
    const int64_t behind = int64_t(chunk.dataOffset) + ((int64_t(chunk.size) + 1) & ~int64_t(1));
    return seek(behind, SEEK_SET) == behind;
}

bool CRiffFile::createChunk(Chunk& chunk, bool riff) {
    const int64_t position = tell();
    if (position < 0 || position + 8 > int64_t(UINT32_MAX))
        return false;
    if (riff)
        chunk.id = kRiffId;
    uint8_t header[12];
    PutLe32(header, chunk.id);
    PutLe32(header + 4, chunk.size);
    PutLe32(header + 8, chunk.formType);
    chunk.dataOffset = uint32_t(position + 8);
    chunk.created = true;
    return write(header, riff ? 12 : 8);
}
