// The recording dialog: sound card, source line and volume, two level meters and the scrolling
// wave display that move while the card is monitored, and Start and Stop of a recording.
#pragma once

#include "audio/LevelMeterController.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

#include <memory>
#include <vector>

class CAudioLevelMeter;
class CAudioMixerDevice;
class CAudioWaveMonitor;
class CRingtoneModel;
class CWaveInSource;
class IRecordingReceiver;
class QComboBox;
class QLabel;
class QPushButton;
class QSlider;

// Modal. While it is open the chosen card is captured so that the meters move; a recording
// started here runs on that same source and reports to receiver (which hands the reports to the
// model on the user thread). The meters and the wave display are fed by the capture thread only
// through the level controller's queue and the display's ring; both are read on this dialog's
// timers. Closing is refused while a recording runs. The card, the source and the volume are
// remembered in the settings.
class CRecordingDlg : public QDialog {
    Q_OBJECT
public:
    // How often the meters and the wave display take what was captured.
    static constexpr int kDisplayPeriodMs = 20;
    // How often a volume changed outside the program is looked for.
    static constexpr int kMixerPollMs = 500;

    CRecordingDlg(QWidget* parent, CRingtoneModel& model, IRecordingReceiver* receiver);
    ~CRecordingDlg() override;

    QComboBox* deviceBox() const { return m_deviceBox; }
    QComboBox* lineBox() const { return m_lineBox; }
    QSlider* volumeSlider() const { return m_volume; }
    CAudioLevelMeter* meter(int channel) const { return m_meters[channel]; }
    CAudioWaveMonitor* waveMonitor() const { return m_wave; }
    QPushButton* startButton() const { return m_start; }
    QPushButton* stopButton() const { return m_stop; }
    QPushButton* closeButton() const { return m_close; }
    QLabel* timeLabel() const { return m_time; }
    // The card being monitored; null when none.
    CWaveInSource* source() const { return m_source.get(); }
    // Closes unless a recording runs: monitoring ends, the mixer is closed, the choices are kept.
    void reject() override;

private:
    // Lays out the controls.
    void BuildLayout();
    // Fills the card list with the capture devices that have a mixer and picks the stored one.
    void FillDevices();
    // Opens the chosen card's mixer, lists its source lines and monitors the card.
    void DeviceChanged();
    // Makes the chosen line the recorded one and shows its volume.
    void LineChanged();
    // Writes the slider's value to the line's volume.
    void VolumeMoved(int value);
    // Shows a volume that something else changed.
    void PollMixer();
    // Starts capturing the chosen card for the meters and the wave display.
    void StartMonitoring();
    // Stops capturing and unregisters the displays.
    void StopMonitoring();
    // Hands what was captured since the last tick to the meters; updates the time.
    void DisplayTick();
    void StartRec();
    void StopRec();
    // Notices a recording that an error or the length limit ended (DisplayTick shows the time).
    void RecordTick();
    void UpdateButtons();
    void UpdateTime();
    // Stores the card, the line and the volume in the settings.
    void Remember();

    CRingtoneModel& m_model;
    IRecordingReceiver* m_receiver;
    CAudioLevelMeterController m_levels;
    std::vector<CAudioLevelMeterController::Peaks> m_peaks;
    std::unique_ptr<CAudioMixerDevice> m_mixer;
    std::unique_ptr<CWaveInSource> m_source; // after the grabbers it feeds: destroyed first
    QString m_deviceName;
    QString m_lineName;
    QElapsedTimer m_started;
    QTimer m_recordTimer;
    QTimer m_displayTimer;
    QTimer m_mixerTimer;
    bool m_recordingRuns = false; // started here and not yet stopped here
    bool m_recorded = false;
    bool m_startAllowed = false;
    bool m_restoreVolume = true; // the stored volume is set again once, at the opening

    QComboBox* m_deviceBox;
    QComboBox* m_lineBox;
    QSlider* m_volume;
    CAudioLevelMeter* m_meters[2];
    CAudioWaveMonitor* m_wave;
    QPushButton* m_start;
    QPushButton* m_stop;
    QPushButton* m_close;
    QLabel* m_time;
};
