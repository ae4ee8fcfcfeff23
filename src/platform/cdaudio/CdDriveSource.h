// One drive of the CD-audio library: a system CD drive or a CD image, its address and its name.
#pragma once

#include "platform/cdaudio/CdAudio.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// System drives come first (host adapter 0), then the images named in QUILLET_CD_IMAGES (host
// adapter 1); the target is the place among its kind, so a record's address finds its source
// again as long as the drives and the variable stay the same.
class CCdDriveSource {
public:
    enum Kind : uint8_t { SystemDrive = 0, Image = 1 };

    // Every drive: the system's CD drives, then the images, in the variable's order.
    static std::vector<CCdDriveSource> listAll();
    // The drive at a record's address, if there is one.
    static std::optional<CCdDriveSource> find(uint8_t ha, uint8_t tgt, uint8_t lun);
    // The images named in QUILLET_CD_IMAGES (empty entries skipped).
    static QStringList imagePaths();

    Kind kind() const { return m_kind; }
    uint8_t target() const { return m_target; }
    // The device or the image file.
    const QString& path() const { return m_path; }
    // The name a person knows it by: the image's file name, or vendor, model and device.
    const QString& name() const { return m_name; }
    // Writes the address, the name (8-bit, cut to 64 bytes) and the vendor fields.
    void fillRecord(CDREC& record) const;

private:
    // The system's CD drives; named by vendor and model only when names is true (each drive is
    // opened to ask), else by device.
    static std::vector<CCdDriveSource> systemDrives(bool names);
    static CCdDriveSource image(uint8_t target, const QString& path);

    Kind m_kind = SystemDrive;
    uint8_t m_target = 0;
    QString m_path;
    QString m_name;
    QByteArray m_vendor;
    QByteArray m_product;
    QByteArray m_revision;
};
