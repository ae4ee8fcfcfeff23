// The CD track dialog.
#include "ui/CdRipperDlg.h"

#include "app/IUserMessages.h"
#include "app/OpResult.h"
#include "app/StringIds.h"
#include "app/StringTable.h"
#include "app/Trace.h"
#include "audio/CdRipper.h"
#include "ui/AskWantCDRipDlg.h"
#include "ui/ProgressDlg.h"
#include "ui/WindowMessages.h"
#include "workflow/CdTrackInput.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

CCdRipperDlg::CCdRipperDlg(QWidget* parent, CRingtoneModel& model)
    : QDialog(parent), m_model(model), m_body(new QWidget(this)), m_driveBox(new QComboBox(m_body)),
      m_trackList(new QTreeWidget(m_body)),
      m_extract(new QPushButton(LoadString(IDS_DLG_EXTRACT), m_body)),
      m_refresh(new QPushButton(LoadString(IDS_DLG_REFRESH), m_body)) {
    setWindowTitle(LoadString(IDS_CD_DIALOG_TITLE));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_trackList->setHeaderLabels({LoadString(IDS_DLG_TRACK)});
    m_trackList->setRootIsDecorated(false);
    m_trackList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_trackList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_trackList->header()->setStretchLastSection(true);
    m_trackList->setMinimumSize(300, 220);
    m_driveBox->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_extract->setDefault(true);
    auto* close = new QPushButton(LoadString(IDS_DLG_CANCEL), m_body);
    close->setAutoDefault(false);
    m_refresh->setAutoDefault(false);

    auto* drives = new QHBoxLayout;
    auto* driveLabel = new QLabel(LoadString(IDS_CD_DRIVE), m_body);
    driveLabel->setBuddy(m_driveBox);
    drives->addWidget(driveLabel);
    drives->addWidget(m_driveBox, 1);
    drives->addWidget(m_refresh);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_extract);
    buttons->addWidget(close);
    auto* body = new QVBoxLayout(m_body);
    body->setContentsMargins(0, 0, 0, 0);
    body->addLayout(drives);
    body->addWidget(m_trackList, 1);
    body->addLayout(buttons);
    (new QVBoxLayout(this))->addWidget(m_body);

    m_drives.refresh();
    for (const CCdDriveList::Drive& drive : m_drives.drives())
        m_driveBox->addItem(drive.name);
    if (m_drives.defaultIndex() >= 0)
        m_driveBox->setCurrentIndex(m_drives.defaultIndex());
    RefreshTracks();

    connect(m_driveBox, &QComboBox::currentIndexChanged, this, &CCdRipperDlg::RefreshTracks);
    connect(m_refresh, &QPushButton::clicked, this, &CCdRipperDlg::RefreshTracks);
    connect(m_trackList, &QTreeWidget::itemSelectionChanged, this, &CCdRipperDlg::UpdateButtons);
    connect(m_trackList, &QTreeWidget::itemDoubleClicked, this, &CCdRipperDlg::Extract);
    connect(m_extract, &QPushButton::clicked, this, &CCdRipperDlg::Extract);
    connect(close, &QPushButton::clicked, this, &CCdRipperDlg::reject);
}

void CCdRipperDlg::RefreshTracks() {
    m_trackList->clear();
    const int index = m_driveBox->currentIndex();
    m_tocRead = false;
    if (index >= 0) {
        CDTOC msf{};
        m_tocRead = CCdRipper::readToc(m_drives.drives()[size_t(index)].record, m_toc, msf);
    }
    if (m_tocRead)
        for (const QString& line : CCdDriveList::trackLines(m_toc))
            m_trackList->addTopLevelItem(new QTreeWidgetItem(QStringList{line}));
    UpdateButtons();
}

int CCdRipperDlg::SelectedAudioTrack() const {
    const QList<QTreeWidgetItem*> selected = m_trackList->selectedItems();
    if (!m_tocRead || selected.isEmpty())
        return 0;
    const int row = m_trackList->indexOfTopLevelItem(selected.front());
    return CCdRipper::isDataTrack(m_toc.tracks[row]) ? 0 : m_toc.firstTrack + row;
}

void CCdRipperDlg::UpdateButtons() {
    m_extract->setEnabled(SelectedAudioTrack() > 0);
}

void CCdRipperDlg::Extract() {
    const int track = SelectedAudioTrack();
    const int drive = m_driveBox->currentIndex();
    if (m_extracting || track <= 0 || drive < 0)
        return;
    m_extracting = true;
    m_body->setEnabled(false); // the progress dialog is this dialog's child: it stays enabled
    QString errorText;
    int result = OpFailed;
    {
        CProgressDlg progress(this, IDS_EXTRACTING_CD_TRACK);
        result = ExtractCdTrackAsInput(m_model, m_drives.drives()[size_t(drive)].record, track,
                                       progress, errorText);
        progress.Show(false);
    }
    m_body->setEnabled(true);
    m_extracting = false;
    if (result == OpSuccess) {
        m_extractedTrack = track;
        accept();
    } else if (result == OpFailed) {
        if (errorText.isEmpty()) {
            // The input was already closed for the track: the model or the trace told why.
            QDialog::reject();
            return;
        }
        CWindowMessages messages(this);
        ShowErrorMessage(messages, errorText);
    }
}

void CCdRipperDlg::reject() {
    if (!m_extracting)
        QDialog::reject();
}

bool RunCdTrackDialogs(QWidget* parent, CRingtoneModel& model) {
    if (!AskWantCdRip(parent))
        return false;
    CCdRipperDlg dialog(parent, model);
    const bool opened = dialog.exec() == QDialog::Accepted;
    Trace(TRACE_DEBUG, "cd track dialog ended, track %d", dialog.extractedTrack());
    return opened;
}
