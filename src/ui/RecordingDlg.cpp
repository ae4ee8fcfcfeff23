// The recording dialog.
#include "ui/RecordingDlg.h"

#include "app/ConfigFile.h"
#include "app/OxaException.h"
#include "app/StringIds.h"
#include "app/StringTable.h"
#include "app/Trace.h"
#include "audio/AudioCore.h"
#include "audio/AudioMixerDevice.h"
#include "audio/WaveInSource.h"
#include "audio/gui/AudioLevelMeter.h"
#include "audio/gui/AudioWaveMonitor.h"
#include "ui/WindowMessages.h"
#include "workflow/RingtoneModel.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <utility>

namespace {
// The meters show -30 dB to 0 dB of 16-bit sound.
constexpr double kMeterFloorDb = -30.0;
constexpr double kMeterTopDb = 0.0;
constexpr int kWaveWindowMs = 100;
constexpr int kRecordTimerMs = 1000;

// The record button's round red mark, or the stop button's square.
QIcon ButtonIcon(bool round) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(round ? QColor(210, 30, 30) : QColor(60, 60, 60));
    if (round)
        painter.drawEllipse(QRectF(5, 5, 22, 22));
    else
        painter.drawRoundedRect(QRectF(7, 7, 18, 18), 2, 2);
    return QIcon(pixmap);
}

// A small centred caption above or below a meter.
QLabel* Caption(int id, QWidget* parent) {
    auto* label = new QLabel(LoadString(id), parent);
    label->setAlignment(Qt::AlignHCenter);
    return label;
}
} // namespace

CRecordingDlg::CRecordingDlg(QWidget* parent, CRingtoneModel& model, IRecordingReceiver* receiver)
    : QDialog(parent), m_model(model), m_receiver(receiver), m_deviceBox(new QComboBox(this)),
      m_lineBox(new QComboBox(this)),
      m_volume(new QSlider(Qt::Vertical, this)), m_meters{new CAudioLevelMeter(this),
                                                          new CAudioLevelMeter(this)},
      m_wave(new CAudioWaveMonitor(this)),
      m_start(new QPushButton(ButtonIcon(true), LoadString(IDS_START_REC), this)),
      m_stop(new QPushButton(ButtonIcon(false), LoadString(IDS_STOP_REC), this)),
      m_close(new QPushButton(LoadString(IDS_DLG_CLOSE), this)), m_time(new QLabel(this)) {
    setWindowTitle(LoadString(IDS_RECORDING_DIALOG));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);
    BuildLayout();

    m_recordTimer.setInterval(kRecordTimerMs);
    connect(&m_recordTimer, &QTimer::timeout, this, &CRecordingDlg::RecordTick);
    connect(&m_displayTimer, &QTimer::timeout, this, &CRecordingDlg::DisplayTick);
    connect(&m_mixerTimer, &QTimer::timeout, this, &CRecordingDlg::PollMixer);
    connect(m_start, &QPushButton::clicked, this, &CRecordingDlg::StartRec);
    connect(m_stop, &QPushButton::clicked, this, &CRecordingDlg::StopRec);
    connect(m_close, &QPushButton::clicked, this, &CRecordingDlg::reject);
    connect(m_volume, &QSlider::valueChanged, this, &CRecordingDlg::VolumeMoved);

    FillDevices();
    connect(m_deviceBox, &QComboBox::currentIndexChanged, this, &CRecordingDlg::DeviceChanged);
    connect(m_lineBox, &QComboBox::currentIndexChanged, this, &CRecordingDlg::LineChanged);
    m_displayTimer.start(kDisplayPeriodMs);
    m_mixerTimer.start(kMixerPollMs);
    UpdateButtons();
    UpdateTime();
}

CRecordingDlg::~CRecordingDlg() {
    if (m_recordingRuns)
        m_model.stopRecording();
    StopMonitoring();
}

void CRecordingDlg::BuildLayout() {
    auto* deviceLabel = new QLabel(LoadString(IDS_SOUND_CARD), this);
    deviceLabel->setBuddy(m_deviceBox);
    auto* lineLabel = new QLabel(LoadString(IDS_SOURCE), this);
    lineLabel->setBuddy(m_lineBox);
    m_lineBox->setInsertPolicy(QComboBox::InsertAlphabetically);
    m_deviceBox->setMinimumContentsLength(24);
    m_deviceBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_wave->setMinimumSize(300, 110);
    m_wave->setToolTip(LoadString(IDS_REC_WAVE));
    m_wave->setAccessibleName(LoadString(IDS_REC_WAVE));

    QFont timeFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    timeFont.setPointSizeF(font().pointSizeF() * 1.8);
    timeFont.setBold(true);
    m_time->setFont(timeFont);
    m_time->setToolTip(LoadString(IDS_REC_TIME));
    m_time->setAccessibleName(LoadString(IDS_REC_TIME));
    m_time->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_start->setDefault(true);
    m_stop->setAutoDefault(false);
    m_close->setAutoDefault(false);

    auto* left = new QGridLayout;
    left->addWidget(deviceLabel, 0, 0);
    left->addWidget(m_deviceBox, 0, 1);
    left->addWidget(lineLabel, 1, 0);
    left->addWidget(m_lineBox, 1, 1);
    left->addWidget(m_wave, 2, 0, 1, 2);
    auto* recordRow = new QHBoxLayout;
    recordRow->addWidget(m_start);
    recordRow->addWidget(m_stop);
    recordRow->addStretch();
    recordRow->addWidget(m_time);
    left->addLayout(recordRow, 3, 0, 1, 2);
    left->setColumnStretch(1, 1);
    left->setRowStretch(2, 1);

    // Volume and the two meters side by side, captioned above and below.
    m_volume->setRange(0, int(CAudioMixerDevice::kVolumeMax));
    m_volume->setTickPosition(QSlider::TicksRight);
    m_volume->setTickInterval(int(CAudioMixerDevice::kVolumeMax) / 10);
    m_volume->setPageStep(int(CAudioMixerDevice::kVolumeMax) / 20);
    m_volume->setToolTip(LoadString(IDS_REC_VOLUME_HINT));
    m_volume->setAccessibleName(LoadString(IDS_REC_VOLUME_HINT));
    auto* right = new QGridLayout;
    right->setHorizontalSpacing(6);
    right->addWidget(Caption(IDS_REC_VOLUME, this), 0, 0);
    right->addWidget(Caption(IDS_REC_LEVEL, this), 0, 1, 1, 2);
    right->addWidget(m_volume, 1, 0, Qt::AlignHCenter);
    const int names[2] = {IDS_REC_LEFT_LEVEL, IDS_REC_RIGHT_LEVEL};
    for (int channel = 0; channel < 2; ++channel) {
        m_meters[channel]->setToolTip(LoadString(names[channel]) + QLatin1Char('\n') +
                                      LoadString(IDS_REC_CLIP_HINT));
        m_meters[channel]->setAccessibleName(LoadString(names[channel]));
        m_meters[channel]->SetRange(kMeterFloorDb, kMeterTopDb);
        right->addWidget(m_meters[channel], 1, 1 + channel, Qt::AlignHCenter);
        right->addWidget(Caption(channel == 0 ? IDS_REC_LEFT : IDS_REC_RIGHT, this), 2,
                         1 + channel);
    }
    right->setRowStretch(1, 1);

    auto* body = new QHBoxLayout;
    body->addLayout(left, 1);
    body->addSpacing(12);
    body->addLayout(right);
    auto* closeRow = new QHBoxLayout;
    closeRow->addStretch();
    closeRow->addWidget(m_close);
    auto* all = new QVBoxLayout(this);
    all->addLayout(body, 1);
    all->addLayout(closeRow);
}

void CRecordingDlg::FillDevices() {
    const QString device = GetConfig().GetWaveInDevice();
    QStringList names;
    for (const QString& name : CAudioCore::instance().deviceNames(AudioDirection::Capture)) {
        try {
            CAudioMixerDevice(name, CAudioMixerDevice::ByWaveInName);
            names << name;
        } catch (const COxaException&) {
            Trace(TRACE_ERROR, "Error creating mixer device for \"%s\". Device removed from list.",
                  name);
        }
    }
    if (names.isEmpty()) {
        m_deviceBox->addItem(LoadString(IDS_NO_MIXERS));
        m_deviceBox->setCurrentIndex(0);
        m_deviceBox->setEnabled(false);
        m_lineBox->setEnabled(false);
        m_volume->setEnabled(false);
        m_startAllowed = false;
        return;
    }
    Trace(TRACE_DETAIL, "Available wave-in devices:");
    for (const QString& name : names)
        Trace(TRACE_DETAIL, "%s", name);
    m_deviceBox->addItems(names);
    m_deviceBox->setCurrentIndex(std::max(0, int(names.indexOf(device))));
    DeviceChanged();
}

void CRecordingDlg::DeviceChanged() {
    StopMonitoring();
    {
        const QSignalBlocker blocker(m_lineBox);
        m_lineBox->clear();
    }
    m_mixer.reset();
    m_startAllowed = false;
    m_deviceName = m_deviceBox->currentText();
    try {
        m_mixer =
            std::make_unique<CAudioMixerDevice>(m_deviceName, CAudioMixerDevice::ByWaveInName);
        QStringList lines = m_mixer->waveInLines();
        lines.sort();
        const QString configured = GetConfig().GetWaveInLine();
        {
            const QSignalBlocker blocker(m_lineBox);
            if (lines.isEmpty()) {
                m_lineBox->addItem(LoadString(IDS_LINE_NOT_FOUND));
                m_lineBox->setCurrentIndex(0);
            } else {
                m_lineBox->addItems(lines);
                // The stored line; else the one the card records now, if it is a line here.
                int index = int(lines.indexOf(configured));
                if (index < 0)
                    index = int(lines.indexOf(m_mixer->selectedSource()));
                m_lineBox->setCurrentIndex(index);
            }
        }
        if (!lines.isEmpty())
            LineChanged();
        StartMonitoring();
        m_startAllowed = !lines.isEmpty();
    } catch (const COxaException& e) {
        StopMonitoring();
        m_mixer.reset();
        CWindowMessages messages(this);
        ShowErrorMessage(messages, e.message());
    }
    UpdateButtons();
}

void CRecordingDlg::LineChanged() {
    const QString line = m_lineBox->currentIndex() >= 0 ? m_lineBox->currentText() : QString();
    if (line.isEmpty() || !m_mixer) {
        m_lineName = GetConfig().GetWaveInLine();
        return;
    }
    uint32_t value = 0;
    m_mixer->getVolume(line, value);
    m_mixer->SelectVolumeControl(line);
    // At the opening, the volume stored for this card and line is set again.
    const ConfigFile& config = GetConfig();
    const int stored = config.GetWaveInVolume();
    if (std::exchange(m_restoreVolume, false) && stored >= 0 &&
        m_deviceName == config.GetWaveInDevice() && line == config.GetWaveInLine() &&
        m_mixer->setVolume(line, uint32_t(stored)))
        value = uint32_t(stored);
    {
        const QSignalBlocker blocker(m_volume);
        m_volume->setValue(int(value));
    }
    m_lineName = line;
}

void CRecordingDlg::VolumeMoved(int value) {
    if (m_mixer && !m_lineName.isEmpty())
        m_mixer->setVolume(m_lineName, uint32_t(value));
}

void CRecordingDlg::PollMixer() {
    uint32_t value = 0;
    if (!m_mixer || m_lineName.isEmpty() || m_volume->isSliderDown() ||
        !m_mixer->getVolume(m_lineName, value) || int(value) == m_volume->value())
        return;
    const QSignalBlocker blocker(m_volume);
    m_volume->setValue(int(value));
}

void CRecordingDlg::StartMonitoring() {
    StopMonitoring();
    m_source = std::make_unique<CWaveInSource>(m_deviceName); // throws when it cannot
    WAVEFORMATEX format{};
    m_source->GetFormat(format);
    m_levels.SetFormat(format);
    m_source->AddGrabber(&m_levels, CAudioSource::Delivery::Parts);
    m_wave->SetTimeWindow(kWaveWindowMs);
    m_wave->Start(format, kDisplayPeriodMs);
    m_source->AddGrabber(m_wave, CAudioSource::Delivery::Parts);
    const ConfigFile& config = GetConfig();
    m_wave->SetLogarithmic(config.GetLogarithmicView(), config.GetLogViewParam_X0(),
                           config.GetLogViewParam_X1(), config.GetLogViewParam_S());
    if (!m_source->Start())
        throw COxaAudioSourceException(StringId{IDS_ERROR_STARTING_RECORDING});
}

void CRecordingDlg::StopMonitoring() {
    if (!m_source)
        return;
    m_source->Stop();
    m_source->RemoveGrabber(&m_levels);
    m_source->RemoveGrabber(m_wave);
    m_source.reset();
    m_wave->Stop();
}

void CRecordingDlg::DisplayTick() {
    m_levels.TakePeaks(m_peaks);
    for (const CAudioLevelMeterController::Peaks& peaks : m_peaks) {
        m_meters[0]->SetLevel(peaks.left, peaks.share);
        m_meters[1]->SetLevel(peaks.right, peaks.share);
    }
    if (m_peaks.empty()) { // the clip lamps go out in time also when nothing comes
        m_meters[0]->update();
        m_meters[1]->update();
    }
    if (m_recordingRuns)
        UpdateTime();
}

void CRecordingDlg::StartRec() {
    if (!m_startAllowed || !m_source || m_recordingRuns)
        return;
    m_deviceBox->setEnabled(false);
    m_lineBox->setEnabled(false);
    Remember();
    if (!m_model.startRecording(*m_source, m_receiver)) {
        m_deviceBox->setEnabled(true);
        m_lineBox->setEnabled(true);
        UpdateButtons();
        return;
    }
    m_started.start();
    m_recordTimer.start();
    m_recordingRuns = true;
    m_recorded = true;
    UpdateButtons();
    UpdateTime();
}

void CRecordingDlg::StopRec() {
    m_model.stopRecording();
    m_recordingRuns = false;
    m_recordTimer.stop();
    m_deviceBox->setEnabled(true);
    m_lineBox->setEnabled(true);
    UpdateButtons();
    UpdateTime();
}

void CRecordingDlg::RecordTick() {
    if (!m_model.isRecording())
        StopRec();
}

void CRecordingDlg::UpdateButtons() {
    m_start->setEnabled(m_startAllowed && !m_recordingRuns);
    m_stop->setEnabled(m_recordingRuns);
    m_close->setEnabled(!m_recordingRuns);
    if (m_recordingRuns)
        m_stop->setFocus();
    else if (m_start->isEnabled())
        m_start->setFocus();
}

void CRecordingDlg::UpdateTime() {
    qint64 seconds = 0;
    if (m_recordingRuns)
        seconds = m_started.elapsed() / 1000;
    else if (m_recorded)
        seconds = m_model.getDuration() / 1000;
    m_time->setText(QString::asprintf("%02d:%02d", int(seconds / 60), int(seconds % 60)));
}

void CRecordingDlg::Remember() {
    if (!m_mixer)
        return;
    ConfigFile& config = GetConfig();
    config.SetWaveInDevice(m_deviceName);
    config.SetWaveInLine(m_lineName);
    config.SetWaveInVolume(m_volume->value());
}

void CRecordingDlg::reject() {
    if (m_recordingRuns)
        return;
    StopMonitoring();
    Remember();
    if (m_mixer) {
        m_mixer->close();
        m_mixer.reset();
    }
    QDialog::reject();
}
