// The tool's record command.
#include "CliRecordCommand.h"

#include "CliCommands.h"
#include "CliModelCommands.h"
#include "CliModelOwner.h"
#include "CliStrings.h"
#include "TerminalProgress.h"
#include "app/ConfigFile.h"
#include "app/OxaException.h"
#include "app/StringIds.h"
#include "app/StringTable.h"
#include "audio/AudioMixerDevice.h"
#include "audio/RecordingReceiver.h"
#include "audio/WaveInSource.h"
#include "workflow/RingtoneModel.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

namespace {

// How often the command looks at Ctrl+C and the session, and redraws the bar.
constexpr auto kPollInterval = std::chrono::milliseconds(50);
constexpr int kLevelWidth = 10;

// Keeps the session's reports for the command's thread.
class CRecordWaiter : public IRecordingReceiver {
public:
    void RecordedTime(int64_t milliseconds) override { m_recorded = milliseconds; }
    void RecordingEnded(const QString& message) override {
        std::lock_guard lock(m_mutex);
        if (!m_ended)
            m_message = message;
        m_ended = true;
    }
    // Whether the session ended by itself; message tells why (empty at its length).
    bool ended(QString& message) {
        std::lock_guard lock(m_mutex);
        message = m_message;
        return m_ended;
    }
    int64_t recorded() const { return m_recorded.load(); }

private:
    std::atomic<int64_t> m_recorded{0};
    std::mutex m_mutex;
    bool m_ended = false;
    QString m_message;
};

// What to record.
struct RecordRequest {
    qint64 length = 0;
    QString device;
    QString line;
    bool lineGiven = false; // --source was given
    int volume = -1;
};

// Reads the options into request; false when one is wrong (message shown).
bool ReadRecordOptions(const QStringList& rawArgs, RecordRequest& request) {
    const QString command = QStringLiteral("record");
    const auto args = SplitArgs(command, rawArgs, {"--length", "--device", "--source", "--volume"});
    if (!args || !ExpectPlain(command, *args, 0))
        return false;
    const auto& options = args->options;
    if (!options.contains(QStringLiteral("--length"))) {
        PrintError(FormatString(IDS_CLI_MISSING_ARGUMENT, command));
        return false;
    }
    if (!ReadTime(options.value(QStringLiteral("--length")), request.length))
        return false;
    if (request.length <= 0) {
        PrintError(FormatString(IDS_CLI_NOT_A_TIME, options.value(QStringLiteral("--length"))));
        return false;
    }
    if (options.contains(QStringLiteral("--volume"))) {
        bool ok = false;
        request.volume = options.value(QStringLiteral("--volume")).toInt(&ok);
        if (!ok || request.volume < 0 || request.volume > int(CAudioMixerDevice::kVolumeMax)) {
            PrintError(FormatString(IDS_CLI_NOT_A_VOLUME, int(CAudioMixerDevice::kVolumeMax),
                                    options.value(QStringLiteral("--volume"))));
            return false;
        }
    }
    request.device = options.value(QStringLiteral("--device"), GetConfig().GetWaveInDevice());
    request.line = options.value(QStringLiteral("--source"), GetConfig().GetWaveInLine());
    request.lineGiven = options.contains(QStringLiteral("--source"));
    return true;
}

// The mixer of the capture device (the system's default one for an empty name); throws
// COxaException when it has none.
CAudioMixerDevice MixerOf(const QString& device) {
    return CAudioMixerDevice(device.isEmpty() ? QStringLiteral("default") : device,
                             CAudioMixerDevice::ByWaveInName);
}

// Selects the recorded line and sets its volume on the device's mixer; false (message shown)
// when the mixer cannot.
bool SetUpMixer(const RecordRequest& request) {
    if (!request.lineGiven && request.volume < 0)
        return true;
    try {
        CAudioMixerDevice mixer = MixerOf(request.device);
        if (request.lineGiven && !mixer.SelectVolumeControl(request.line) &&
            !mixer.waveInLines().contains(request.line)) {
            PrintError(FormatString(IDS_CLI_UNKNOWN_OPTION, QStringLiteral("record --source"),
                                    request.line));
            return false;
        }
        if (request.volume >= 0 && !mixer.setVolume(request.line, uint32_t(request.volume))) {
            PrintError(FormatString(IDS_CLI_UNKNOWN_OPTION, QStringLiteral("record --source"),
                                    request.line));
            return false;
        }
    } catch (const COxaException& e) {
        PrintError(e.message());
        return false;
    }
    return true;
}

// The line the device's mixer records now; empty when it has no mixer or no capture-source list.
QString RecordedLine(const QString& device) {
    try {
        return MixerOf(device).selectedSource();
    } catch (const COxaException&) {
        return QString();
    }
}

// The level bar: kLevelWidth characters filled in proportion to peak.
QString LevelBar(int peak) {
    const int filled = peak * kLevelWidth / 32767;
    return QString(filled, QLatin1Char('#')) + QString(kLevelWidth - filled, QLatin1Char('.'));
}

} // namespace

int CliRecord(const QStringList& rawArgs, CCliModelOwner& owner) {
    RecordRequest request;
    if (!ReadRecordOptions(rawArgs, request))
        return CliFailed;
    if (!SetUpMixer(request))
        return CliFailed;
    if (request.line.isEmpty())
        request.line = RecordedLine(request.device);
    GetConfig().SetWaveInDevice(request.device);
    GetConfig().SetWaveInLine(request.line);
    if (request.volume >= 0) // the recording dialog sets it again for this card and line
        GetConfig().SetWaveInVolume(request.volume);

    std::unique_ptr<CWaveInSource> source;
    try {
        source = request.device.isEmpty() ? std::make_unique<CWaveInSource>(-1)
                                          : std::make_unique<CWaveInSource>(request.device);
    } catch (const COxaException& e) {
        return Failure(LoadString(IDS_ERROR_STARTING_RECORDING) + QLatin1Char(' ') + e.message());
    }
    WAVEFORMATEX format{};
    source->GetFormat(format);
    const uint64_t maxBytes =
        uint64_t(request.length) * format.nSamplesPerSec / 1000 * format.nBlockAlign;

    CRingtoneModel model;
    model.attach(&owner, nullptr);
    CRecordWaiter waiter;
    if (!model.startRecording(*source, &waiter, maxBytes))
        return CliFailed;
    CTerminalProgress progress(CTerminalProgress::StandardErrorIsTerminal());
    progress.SetText(LoadString(IDS_CLI_RECORDING));
    progress.SetRange(uint32_t(request.length));
    progress.Show(true);
    QString message;
    while (!waiter.ended(message) && !CTerminalProgress::Interrupted()) {
        std::this_thread::sleep_for(kPollInterval);
        const qint64 recorded = std::min<qint64>(waiter.recorded(), request.length);
        progress.SetSubText(FormatString(IDS_CLI_RECORDING_LEVEL,
                                         LevelBar(model.getRecordingLevel()), TimeText(recorded),
                                         TimeText(request.length)));
        progress.SetPos(uint32_t(recorded));
    }
    progress.Show(false);
    model.recordingEnded(message); // shows why it ended early, if it did, and stops
    source->Stop();
    model.saveState(); // the recording, or no input where it failed
    if (model.getDuration() <= 0)
        return CTerminalProgress::Interrupted() ? CliCancelled : CliFailed;
    PrintModelInfo(model);
    return CliSuccess;
}
