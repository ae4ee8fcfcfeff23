// The CD drives as the track dialog and the command line offer them, with their tables.
#include "audio/CdDriveList.h"

#include "app/StringIds.h"
#include "app/StringTable.h"
#include "app/Trace.h"
#include "audio/CdRipper.h"
#include "platform/cdaudio/CdDriveSource.h"

#include <QFileInfo>

void CCdDriveList::refresh() {
    m_drives.clear();
    m_default = -1;
    CDLIST list{};
    list.max = kCdMaxDrives;
    const int result = GetCDList(&list);
    if (result != 1) {
        Trace(TRACE_ERROR, "getCdList returned %d", result);
        return;
    }
    for (int i = 0; i < list.num && i < kCdMaxDrives; ++i) {
        Drive drive;
        drive.record = list.cd[i];
        drive.name = CCdRipper::driveName(drive.record);
        CDTOC msf{};
        drive.tocRead = CCdRipper::readToc(drive.record, drive.toc, msf);
        if (m_default < 0 && drive.tocRead && CCdRipper::audioTrackCount(drive.toc) > 0)
            m_default = i;
        m_drives.push_back(drive);
    }
    if (m_default < 0 && !m_drives.empty())
        m_default = 0;
}

int CCdDriveList::find(const QString& text) const {
    for (size_t i = 0; i < m_drives.size(); ++i)
        if (m_drives[i].name == text)
            return int(i);
    const QString wanted = QFileInfo(text).absoluteFilePath();
    for (size_t i = 0; i < m_drives.size(); ++i) {
        const CDREC& record = m_drives[i].record;
        const auto source = CCdDriveSource::find(record.ha, record.tgt, record.lun);
        if (source &&
            (source->path() == text || QFileInfo(source->path()).absoluteFilePath() == wanted))
            return int(i);
    }
    return -1;
}

QStringList CCdDriveList::trackLines(const CDTOC& toc) {
    QStringList lines;
    const int count = int(toc.lastTrack) - int(toc.firstTrack) + 1;
    for (int i = 0; i < count && i < kCdTocEntries - 1; ++i)
        lines.append(
            FormatString(IDS_CD_TRACK_LINE, toc.firstTrack + i,
                         LoadString(CCdRipper::isDataTrack(toc.tracks[i]) ? IDS_CD_TRACK_DATA
                                                                          : IDS_CD_TRACK_AUDIO)));
    return lines;
}
