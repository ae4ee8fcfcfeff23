// The CD drives as the track dialog and the command line offer them, with their tables.
#pragma once

#include "platform/cdaudio/CdAudio.h"

#include <QString>
#include <QStringList>

#include <vector>

// A snapshot of the drive list: each drive's record and table of contents (read with frame
// numbers), and the drive to select first.
class CCdDriveList {
public:
    struct Drive {
        CDREC record{};
        QString name;
        bool tocRead = false;
        CDTOC toc{};
    };

    // Lists up to 8 drives and reads each one's table; traces "getCdList returned %d" when the
    // library cannot list the drives (the list is empty then).
    void refresh();
    const std::vector<Drive>& drives() const { return m_drives; }
    // The first drive whose disc has an audio track, else the first drive; -1 without drives.
    int defaultIndex() const { return m_default; }
    // The drive whose name, device or image path is text; -1 when none is.
    int find(const QString& text) const;
    // The track list of a table in the current language: "Track %02d (audio)" or "(data)" per
    // track, first to last.
    static QStringList trackLines(const CDTOC& toc);

private:
    std::vector<Drive> m_drives;
    int m_default = -1;
};
