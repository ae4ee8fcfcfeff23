// What libcdio is handed to open a CD image: the image itself, or a private copy of its sheet.
#pragma once

#include <QString>
#include <QTemporaryDir>

#include <memory>

// libcdio reads a cue sheet's audio from the .bin named like the sheet, and opens the files of a
// cdrdao .toc relative to the working folder. A sheet that relies on other names gets a private
// copy that libcdio reads right: a .toc with absolute file names, a .cue beside a link named
// like it to the file its FILE line gives. The copy lives as long as this object. A Nero image
// is opened as it is once its directory passed CNrgImageCheck.
class CCdImageSheet {
public:
    // Prepares the image; false with the reason when it cannot be opened as it is written.
    bool prepare(const QString& imagePath, QString& reason);
    // The path to give libcdio.
    const QString& openPath() const { return m_openPath; }

private:
    bool prepareToc(const QString& imagePath, const QByteArray& text, QString& reason);
    bool prepareCue(const QString& imagePath, const QByteArray& text, QString& reason);
    bool writeCopy(const QString& name, const QByteArray& text, QString& reason);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_openPath;
};
