// The CD track dialog: drives, the chosen drive's tracks, and the extraction of one as the input.
#pragma once

#include "audio/CdDriveList.h"

#include <QDialog>

class CRingtoneModel;
class QComboBox;
class QPushButton;
class QTreeWidget;

// Lists the CD drives and images (QUILLET_CD_IMAGES) and the tracks of the chosen one; Extract
// (or a double click) reads the selected audio track with a progress dialog and opens it as the
// model's input. It ends with OK once the track is the input; a failed extraction shows its
// message and stays, a cancelled one stays silently.
class CCdRipperDlg : public QDialog {
    Q_OBJECT
public:
    CCdRipperDlg(QWidget* parent, CRingtoneModel& model);

    // The track that became the input; 0 before.
    int extractedTrack() const { return m_extractedTrack; }
    QComboBox* driveBox() const { return m_driveBox; }
    QTreeWidget* trackList() const { return m_trackList; }
    QPushButton* extractButton() const { return m_extract; }
    QPushButton* refreshButton() const { return m_refresh; }
    // Closing is refused while a track is read.
    void reject() override;

private:
    // Reads the chosen drive's table again and lists its tracks, then updates the buttons.
    void RefreshTracks();
    // Extract is enabled only for a selected audio track.
    void UpdateButtons();
    // The selected audio track of the chosen drive becomes the input.
    void Extract();
    // The selected list line's track number, 0 when none or a data track is selected.
    int SelectedAudioTrack() const;

    CRingtoneModel& m_model;
    CCdDriveList m_drives;
    CDTOC m_toc{};
    bool m_tocRead = false;
    bool m_extracting = false;
    int m_extractedTrack = 0;
    QWidget* m_body;
    QComboBox* m_driveBox;
    QTreeWidget* m_trackList;
    QPushButton* m_extract;
    QPushButton* m_refresh;
};

// The window's CD command: the warning when it is needed, then the track dialog. True when a CD
// track is now the model's input.
bool RunCdTrackDialogs(QWidget* parent, CRingtoneModel& model);
