// One drive of the CD-audio library: a system CD drive or a CD image, its address and its name.
#include "platform/cdaudio/CdDriveSource.h"

#include "platform/cdaudio/CdTrace.h"

#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <cstring>

#ifdef QUILLET_WITH_CDIO
#include <cdio/cdio.h>
#include <cdio/device.h>
#endif

namespace {
// Copies text into a zero-terminated field of size bytes, cut at a character boundary.
void SetField(char* field, size_t size, const QString& text) {
    std::memset(field, 0, size);
    QString cut = text;
    QByteArray bytes = cut.toLocal8Bit();
    while (static_cast<size_t>(bytes.size()) >= size && !cut.isEmpty()) {
        cut.chop(1);
        if (!cut.isEmpty() && cut.back().isHighSurrogate())
            cut.chop(1);
        bytes = cut.toLocal8Bit();
    }
    std::memcpy(field, bytes.constData(), std::min(static_cast<size_t>(bytes.size()), size - 1));
}

QByteArray ImageProduct(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("cue") || suffix == QLatin1String("bin"))
        return "CUE/BIN";
    if (suffix == QLatin1String("toc"))
        return "CDRDAO TOC";
    if (suffix == QLatin1String("nrg"))
        return "NERO NRG";
    return "CD IMAGE";
}
} // namespace

QStringList CCdDriveSource::imagePaths() {
    return qEnvironmentVariable("QUILLET_CD_IMAGES").split(QLatin1Char(':'), Qt::SkipEmptyParts);
}

std::vector<CCdDriveSource> CCdDriveSource::listAll() {
    std::vector<CCdDriveSource> all = systemDrives(true);
    const QStringList images = imagePaths();
    for (int i = 0; i < images.size() && i < 256; ++i)
        all.push_back(image(static_cast<uint8_t>(i), images[i]));
    return all;
}

std::optional<CCdDriveSource> CCdDriveSource::find(uint8_t ha, uint8_t tgt, uint8_t lun) {
    if (lun != 0)
        return std::nullopt;
    if (ha == Image) {
        const QStringList images = imagePaths();
        if (tgt < images.size())
            return image(tgt, images[tgt]);
        return std::nullopt;
    }
    if (ha == SystemDrive) {
        std::vector<CCdDriveSource> drives = systemDrives(false);
        if (tgt < drives.size())
            return drives[tgt];
    }
    return std::nullopt;
}

CCdDriveSource CCdDriveSource::image(uint8_t target, const QString& path) {
    CCdDriveSource source;
    source.m_kind = Image;
    source.m_target = target;
    source.m_path = path;
    source.m_name = QFileInfo(path).fileName();
    source.m_vendor = "IMAGE";
    source.m_product = ImageProduct(path);
    return source;
}

std::vector<CCdDriveSource> CCdDriveSource::systemDrives(bool names) {
    (void)names;
    std::vector<CCdDriveSource> drives;
#ifdef QUILLET_WITH_CDIO
    CdTraceInstallLogHandler();
    char** devices = cdio_get_devices(DRIVER_DEVICE);
    QStringList seen;
    for (char** device = devices; device && *device && drives.size() < 256; ++device) {
        const QString path = QString::fromLocal8Bit(*device);
        const QString canonical = QFileInfo(path).canonicalFilePath();
        if (seen.contains(canonical.isEmpty() ? path : canonical))
            continue;
        seen.append(canonical.isEmpty() ? path : canonical);

        CCdDriveSource source;
        source.m_kind = SystemDrive;
        source.m_target = static_cast<uint8_t>(drives.size());
        source.m_path = path;
        source.m_name = path;
        CdIo_t* cdio = names ? cdio_open(*device, DRIVER_DEVICE) : nullptr;
        if (cdio) {
            cdio_hwinfo_t info;
            std::memset(&info, 0, sizeof(info));
            if (cdio_get_hwinfo(cdio, &info)) {
                source.m_vendor = QByteArray(info.psz_vendor).trimmed();
                source.m_product = QByteArray(info.psz_model).trimmed();
                source.m_revision = QByteArray(info.psz_revision).trimmed();
                const QString model =
                    QString::fromLocal8Bit(source.m_vendor + ' ' + source.m_product).trimmed();
                if (!model.isEmpty())
                    source.m_name = model + QStringLiteral(" (") + path + QLatin1Char(')');
            }
            cdio_destroy(cdio);
        }
        drives.push_back(source);
    }
    if (devices)
        cdio_free_device_list(devices);
#endif
    return drives;
}

void CCdDriveSource::fillRecord(CDREC& record) const {
    std::memset(&record, 0, sizeof(record));
    record.ha = m_kind;
    record.tgt = m_target;
    record.lun = 0;
    SetField(record.id, sizeof(record.id), m_name);
    SetField(record.vendor, sizeof(record.vendor), QString::fromLocal8Bit(m_vendor));
    SetField(record.prodId, sizeof(record.prodId), QString::fromLocal8Bit(m_product));
    SetField(record.rev, sizeof(record.rev), QString::fromLocal8Bit(m_revision));
    SetField(record.vendorSpec, sizeof(record.vendorSpec), m_path);
}
