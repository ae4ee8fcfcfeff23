// Writes a file under a temporary name beside it and renames it over the old one only when
// complete.
#include "util/ReplacingFile.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

CReplacingFile::CReplacingFile(QString path) : m_path(std::move(path)) {}

CReplacingFile::~CReplacingFile() {
    Discard();
}

bool CReplacingFile::Open() {
    Discard();
    m_error = 0;
    m_tempName = QFile::encodeName(m_path) + ".XXXXXX";
    m_fd = ::mkostemp(m_tempName.data(), O_CLOEXEC);
    if (m_fd < 0) {
        m_tempName.clear();
        return Fail(errno);
    }
    struct stat old {};
    const mode_t mode = ::stat(QFile::encodeName(m_path).constData(), &old) == 0
                            ? old.st_mode & 07777
                            : S_IRUSR | S_IWUSR;
    if (::fchmod(m_fd, mode) != 0)
        return Fail(errno);
    return true;
}

bool CReplacingFile::Write(const QByteArray& bytes) {
    if (m_fd < 0)
        return Fail(m_error ? m_error : EBADF);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return Fail(n < 0 ? errno : ENOSPC);
        done += n;
    }
    return true;
}

qint64 CReplacingFile::Seek(qint64 offset, int whence) {
    const off_t position = m_fd < 0 ? -1 : ::lseek(m_fd, off_t(offset), whence);
    if (position < 0) {
        Fail(m_fd < 0 ? (m_error ? m_error : EBADF) : errno);
        return -1;
    }
    return qint64(position);
}

bool CReplacingFile::Commit() {
    if (m_fd < 0)
        return Fail(m_error ? m_error : EBADF);
    if (::fsync(m_fd) != 0)
        return Fail(errno);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        return Fail(errno);
    if (::rename(m_tempName.constData(), QFile::encodeName(m_path).constData()) != 0)
        return Fail(errno);
    m_tempName.clear();
    return true;
}

int CReplacingFile::Replace(const QString& path, const QByteArray& bytes) {
    CReplacingFile file(path);
    if (file.Open() && file.Write(bytes))
        file.Commit();
    return file.Error();
}

bool CReplacingFile::Fail(int error) {
    if (m_error == 0)
        m_error = error;
    Discard();
    return false;
}

void CReplacingFile::Discard() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_tempName.isEmpty())
        ::unlink(m_tempName.constData());
    m_tempName.clear();
}
