// The tool's sound commands.
#include "CliSoundCommands.h"

#include "CliCommands.h"
#include "CliModelCommands.h"
#include "CliModelOwner.h"
#include "CliStrings.h"
#include "TerminalProgress.h"
#include "app/ConfigFile.h"
#include "app/IOpProgress.h"
#include "app/OpResult.h"
#include "app/OxaException.h"
#include "app/StringIds.h"
#include "app/StringTable.h"
#include "audio/AudioCore.h"
#include "audio/AudioMixerDevice.h"
#include "audio/WavPlayer.h"
#include "workflow/RingtoneModel.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {

// How often the wait for the end of a run looks at Ctrl+C and redraws the position.
constexpr auto kPollInterval = std::chrono::milliseconds(50);

// Receives the end of a playing run and lets the command's thread wait for it.
class CPlayWaiter : public CWavPlayerCallBack {
public:
    void onPlayFinished(bool error) override {
        std::lock_guard lock(m_mutex);
        m_finished = true;
        m_error = error;
        m_done.notify_all();
    }
    // Waits up to kPollInterval; true when the run has ended (error tells how).
    bool waitFinished(bool& error) {
        std::unique_lock lock(m_mutex);
        if (!m_done.wait_for(lock, kPollInterval, [this] { return m_finished; }))
            return false;
        error = m_error;
        m_finished = false;
        return true;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_finished = false;
    bool m_error = false;
};

// What to play: the range and the selection that shapes it (invalid: the input as it is).
struct PlayRequest {
    qint64 from = 0;
    qint64 to = -1;
    CCutInfo cut;
    int loops = 1;
    QString device;
};

// Reads the options into request; false when one is wrong (message shown).
bool ReadPlayOptions(const QStringList& rawArgs, PlayRequest& request, bool& ringtone) {
    const QString command = QStringLiteral("play");
    QStringList rest = rawArgs;
    ringtone = rest.removeAll(QStringLiteral("--ringtone")) > 0;
    const auto args = SplitArgs(command, rest, {"--from", "--to", "--loop", "--device"});
    if (!args || !ExpectPlain(command, *args, 0))
        return false;
    for (const QString& option : {QStringLiteral("--from"), QStringLiteral("--to")}) {
        if (ringtone && args->options.contains(option)) {
            PrintError(
                FormatString(IDS_CLI_UNKNOWN_OPTION, QStringLiteral("play --ringtone"), option));
            return false;
        }
    }
    const auto& options = args->options;
    if (options.contains(QStringLiteral("--from")) &&
        !ReadTime(options.value(QStringLiteral("--from")), request.from))
        return false;
    if (options.contains(QStringLiteral("--to")) &&
        !ReadTime(options.value(QStringLiteral("--to")), request.to))
        return false;
    if (options.contains(QStringLiteral("--loop"))) {
        bool ok = false;
        request.loops = options.value(QStringLiteral("--loop")).toInt(&ok);
        if (!ok || request.loops < 1) {
            PrintError(FormatString(IDS_CLI_NOT_A_COUNT, options.value(QStringLiteral("--loop"))));
            return false;
        }
    }
    request.device = options.value(QStringLiteral("--device"), GetConfig().GetWaveOutDevice());
    if (request.device.isEmpty())
        request.device = QStringLiteral("default");
    return true;
}

// Plays one run to its end, drawing the position; an exit status.
int PlayOnce(CWavPlayer& player, CPlayWaiter& waiter, const QString& wav,
             const PlayRequest& request, CTerminalProgress& progress) {
    if (!player.play(wav, request.from, request.to, request.cut))
        return Failure(LoadString(IDS_ERROR_STARTING_PLAYING));
    bool error = false;
    while (!waiter.waitFinished(error)) {
        if (CTerminalProgress::Interrupted()) {
            player.stop();
            return CliCancelled;
        }
        const qint64 position = std::min<qint64>(player.position(), request.to);
        progress.SetSubText(
            FormatString(IDS_CLI_POSITION, TimeText(position), TimeText(request.to)));
        progress.SetPos(uint32_t(position - request.from));
    }
    if (error)
        return Failure(LoadString(IDS_ERROR_STARTING_PLAYING));
    return CliSuccess;
}

} // namespace

int CliPlay(const QStringList& rawArgs, CCliModelOwner& owner) {
    PlayRequest request;
    bool ringtone = false;
    if (!ReadPlayOptions(rawArgs, request, ringtone))
        return CliFailed;
    CRingtoneModel model;
    if (!ReopenLastInput(model, owner))
        return CliFailed;
    if (ringtone) {
        request.cut = model.getCut();
        if (!request.cut.isValid())
            return Failure(LoadString(IDS_CLI_INFO_NO_SELECTION));
        request.from = request.cut.start();
        request.to = request.cut.end();
    } else {
        if (request.to < 0)
            request.to = model.getDuration();
        if (request.from >= request.to || request.to > model.getDuration())
            return Failure(FormatString(IDS_CLI_OUTSIDE_INPUT, TimeText(model.getDuration())));
    }

    // The ringtone plays at the gain the made ringtone gets, the input at the peak's.
    double gain = model.getNormalizationGain();
    IOpProgress quiet;
    if (ringtone && model.ringtoneGain(quiet, gain) != OpSuccess)
        return Failure(LoadString(IDS_ERROR_STARTING_PLAYING));
    CPlayWaiter waiter;
    CWavPlayer player(&waiter);
    player.setGain(gain);
    player.setDevice(request.device);
    CTerminalProgress progress(CTerminalProgress::StandardErrorIsTerminal());
    progress.SetText(LoadString(IDS_CLI_PLAYING));
    progress.SetRange(uint32_t(request.to - request.from));
    progress.Show(true);
    for (int run = 0; run < request.loops; ++run) {
        const int result = PlayOnce(player, waiter, model.getWavFileName(), request, progress);
        if (result != CliSuccess)
            return result;
    }
    return CliSuccess;
}

int CliDevices(const QStringList& args, CCliModelOwner&) {
    if (!args.isEmpty())
        return Failure(FormatString(IDS_CLI_TOO_MANY_ARGUMENTS, QStringLiteral("devices")));
    CAudioCore& core = CAudioCore::instance();
    PrintLine(LoadString(IDS_CLI_PLAYBACK_DEVICES));
    for (const QString& name : core.deviceNames(AudioDirection::Render))
        PrintLine(QStringLiteral("  ") + name);
    PrintLine(LoadString(IDS_CLI_CAPTURE_DEVICES));
    for (const QString& name : core.deviceNames(AudioDirection::Capture)) {
        PrintLine(QStringLiteral("  ") + name);
        try {
            CAudioMixerDevice mixer(name, CAudioMixerDevice::ByWaveInName);
            for (const QString& line : mixer.waveInLines()) {
                uint32_t volume = 0;
                if (mixer.getVolume(line, volume))
                    PrintLine(QStringLiteral("    ") +
                              FormatString(IDS_CLI_LINE_VOLUME, line, int(volume),
                                           int(CAudioMixerDevice::kVolumeMax)));
            }
            const QString recorded = mixer.selectedSource();
            if (!recorded.isEmpty())
                PrintLine(QStringLiteral("    ") + FormatString(IDS_CLI_RECORDED_LINE, recorded));
        } catch (const COxaException&) {
            PrintLine(QStringLiteral("    ") + LoadString(IDS_NO_MIXERS));
        }
    }
    return CliSuccess;
}
