// Writes a file under a temporary name beside it and renames it over the old one only when
// complete.
#pragma once

#include <QByteArray>
#include <QString>

// A failed or abandoned write removes the temporary file and leaves the old file as it was. The
// temporary file is flushed to the disk before the rename, so a crash leaves the old or the new
// file, never a part. Errors are the system's error numbers (errno).
class CReplacingFile {
public:
    explicit CReplacingFile(QString path);
    // Removes the temporary file unless Commit succeeded.
    ~CReplacingFile();
    CReplacingFile(const CReplacingFile&) = delete;
    CReplacingFile& operator=(const CReplacingFile&) = delete;

    // Creates the temporary file beside the path, with the mode the old file has (0600 without
    // one); false on failure (Error() tells why).
    bool Open();
    // Appends all bytes; false when not all were written.
    bool Write(const QByteArray& bytes);
    // Moves the write position as lseek does (whence SEEK_SET, SEEK_CUR or SEEK_END), for
    // writers that go back to fill in a header; the new position, or -1 on failure.
    qint64 Seek(qint64 offset, int whence);
    // Flushes, closes and renames the temporary file over the path; false on failure.
    bool Commit();
    // The errno of the first failure; 0 when none happened.
    int Error() const { return m_error; }
    // The path the file gets at Commit.
    const QString& Path() const { return m_path; }

    // The whole file in one go: 0 on success, else the errno.
    static int Replace(const QString& path, const QByteArray& bytes);

private:
    bool Fail(int error);
    void Discard();

    QString m_path;
    QByteArray m_tempName;
    int m_fd = -1;
    int m_error = 0;
};
