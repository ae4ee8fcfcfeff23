// The central model: the current input, its work files, the ringtone selection and extraction.
#pragma once

#include "encode/CutInfo.h"
#include "encode/DatValues.h"
#include "encode/LoudnessMeter.h"
#include "encode/RingtoneFormat.h"
#include "util/WinTypes.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

struct BeamOutcome;
struct ButtonState;
class CQLEncoder;
class CWaveInSource;
class IRecordingReceiver;
class CWavReader;
class IBrowser;
class IOpProgress;
class IRingtoneModelOwner;
class IRingtoneView;
struct UserText;

// Opening an input turns it into one 16-bit PCM work WAV file and a visualization file, computes
// the normalization gain, names the input and proposes a selection. The work files live in the
// configuration folder and stay there between runs. Everything runs on the user-interface thread
// except the view's timer interval, which the view sets from its own threads.
class CRingtoneModel {
public:
    enum class State { Idle = 0, Opening = 1, Beaming = 2 };
    // How openInputFile came to be called.
    enum class OpenMode { CdTrack = 0, UserFile = 1, Reopen = 2 };
    // What the input is; stored in the configuration as its number.
    enum class InputType { File = 0, CdTrack = 1, Named = 2, Recording = 3 };
    // Inputs longer than this (ms) get the proposed selection 10 s to 20 s, shorter ones their
    // middle half.
    static constexpr qint64 kLongInput = 20000;
    // The length (ms) of a suggested selection when none is asked for.
    static constexpr qint64 kSuggestedLength = 20000;

    CRingtoneModel();
    ~CRingtoneModel();
    CRingtoneModel(const CRingtoneModel&) = delete;
    CRingtoneModel& operator=(const CRingtoneModel&) = delete;

    // Start-up: opens the command-line file (or reopens the last work WAV), then restores the
    // stored selection. owner must not be null; view may be.
    void init(IRingtoneModelOwner* owner, IRingtoneView* view, const QString& commandLineFile);
    // Registers the owner and the view without opening anything (init does it first).
    void attach(IRingtoneModelOwner* owner, IRingtoneView* view);
    // Stops playback and writes the input and the selection to the configuration.
    void saveState();
    // Opens an input; mode is an OpenMode, parameter the CD track number of mode 0. True on
    // success; a failure leaves the model without input and has shown its message (not in mode 2).
    bool openInputFile(const QString& path, OpenMode mode, int parameter);
    // From the next open on, decodes inputs only from about fromMs (the whole second before it,
    // where the decoder can start there) to toMs, so that the work WAV holds just that stretch
    // and the normalization gain follows its peak; for a one-shot run whose selection lies there.
    // toMs -1: the whole input, as usual. getInputOffset tells where the work WAV starts.
    void setDecodeRange(int64_t fromMs, int64_t toMs) {
        m_decodeFrom = fromMs;
        m_decodeTo = toMs;
    }
    // Forgets the input and the selection; with notify the view and the input-name label follow.
    void closeInput(bool notify);

    // Sets the selection to the input's loudest repeated stretch of length ms, with short fades
    // (see CSelectionSuggester). An OpResult; the selection stays as it was unless 0.
    int suggestSelection(qint64 length, IOpProgress& progress);
    // Sets the selection from start to end (validated) and forgets the extracted ringtone.
    void setCut(qint64 start, qint64 end);
    // Removes the selection and forgets the extracted ringtone.
    void clearCut();
    // The selection if it is valid and contains t, else null.
    const CCutInfo* getCutAt(qint64 t) const;
    const CCutInfo& getCut() const { return m_cut; }
    // The selection for the view to change in place; call cutChanged() after a change.
    CCutInfo& cut() { return m_cut; }
    // The selection was changed in place: forgets the extracted ringtone and refreshes the owner.
    void cutChanged();

    // Cuts the selection out of the work WAV, applies fades and gain and encodes it as OGG Vorbis
    // into the ringtone file; reuses the file while the selection is unchanged. An OpResult:
    // 0, 1 cancelled, 2 failed (shown, except when there is no valid selection).
    int extractFile(IOpProgress& progress);
    // Writes the ringtone of the selection to path in format, replacing the file only when it is
    // complete: OGG Vorbis is the extracted ringtone as sent; M4R, MP3 and Opus are encoded with
    // FFmpeg, tagged with the input's title. An OpResult; a failure shows its message (the cause
    // also in getExtractionError) and leaves no partial file.
    int saveRingtone(const QString& path, RingtoneFormat format, IOpProgress& progress);
    // The gain the ringtone of the selection gets, so that playing it sounds as the made ringtone
    // does: the peak's, or in the loudness mode the one that brings the selection to the target
    // under the true-peak ceiling without clipping a sample, measured once per selection and aim.
    // An OpResult (2 when the work WAV cannot be read, traced).
    int ringtoneGain(IOpProgress& progress, double& gain);
    // Measures the loudness and true peak of the selection with its fades (no gain); an OpResult
    // (2 without a valid selection or when the work WAV cannot be read, nothing shown).
    int measureSelection(IOpProgress& progress, LoudnessFigures& figures);
    // For this model's extractions, normalizes to lufs by loudness whatever NormalizationMode
    // says (nullopt: as the configuration says).
    void setLoudnessTarget(std::optional<double> lufs);
    // Why the last extraction failed (a write error names the system's reason), for a caller that
    // can show it beside the message of the failure; empty after success or a cancel.
    const QString& getExtractionError() const { return m_extractionError; }
    // The beam operation: extracts the ringtone, uploads it and opens the browser in which the
    // person finishes the transfer. True when the upload stage was reached; outcome, when given,
    // receives how the upload ended.
    bool beam(IBrowser* browser, BeamOutcome* outcome = nullptr);

    // Starts recording from source (which it starts) into the work files, which become the input
    // at once, named after the configured WaveInLine; the session reports to receiver on its
    // own threads (a failing device as "Recording stopped: the sound device failed") and ends
    // by itself after maxBytes (0: as long as a WAV file can be). False
    // when a recording runs, or when it cannot start ("Error starting recording." shown).
    bool startRecording(CWaveInSource& source, IRecordingReceiver* receiver, uint64_t maxBytes = 0);
    // Ends the recording (the source keeps running): both work files are complete and the
    // input gets its duration, gain and default selection; an empty recording or one ended by
    // an error leaves no input. False when there is no session.
    bool stopRecording();
    // The largest sample value of the buffer recorded last; 0 without a session.
    int getRecordingLevel() const;
    // Whether a recording session runs (its encoder writes).
    bool isRecording() const;
    // The session's time report, handed over on the model's thread: the input has grown to
    // milliseconds; the view follows. Ignored without a session.
    void recordedTimeReported(qint64 milliseconds);
    // The session ended by itself, handed over on the model's thread: shows message when it is
    // not empty, then stops the recording.
    void recordingEnded(const QString& message);

    // Visualization values of the current input (see CDatValues).
    const int8_t* getDatValues(int64_t start, int64_t end, uint32_t& count);
    int getRecordingRefreshTime() const;
    // The button state: the view's flags first, then the model's own (input, selection,
    // playing, recording, busy). Without a view the position is taken as 0 and nothing plays.
    void getButtonState(ButtonState& state) const;
    // The owner given to init or attach (null before); the view shows its messages through it.
    IRingtoneModelOwner* getOwner() const { return m_owner; }
    // Stores the state (a State) and refreshes the owner.
    void setState(State state);
    State getState() const { return m_state; }

    // The stream view's timer interval in milliseconds, which it tells the model whenever the
    // visible span changes; read and written under the model's lock from any thread.
    int getViewTimerInterval() const;
    void setViewTimerInterval(int milliseconds);

    const QString& getInputFileName() const { return m_inputFileName; }
    const QString& getInputName() const { return m_inputName; }
    const QString& getInputTitle() const { return m_inputTitle; }
    InputType getInputType() const { return m_inputType; }
    const QString& getInputParam() const { return m_inputParam; }
    const QString& getWavFileName() const { return m_wavFileName; }
    // The extracted ringtone; empty until extracted and again after every selection change.
    const QString& getRingtoneFileName() const { return m_ringtoneFileName; }
    double getNormalizationGain() const { return m_gain; }
    const WAVEFORMATEX& getFormat() const { return m_format; }
    // The work WAV's duration in milliseconds: the input's, or that of the stretch decoded.
    qint64 getDuration() const { return m_duration; }
    // Where in the input the work WAV starts (ms): 0 but after an open with a decode range.
    qint64 getInputOffset() const { return m_inputOffset; }

    // The work files in the configuration folder: base "temp" and its ".in" (work WAV), ".dat",
    // ".upl" (ringtone) and "cd.wav" (CD track) names.
    static QString workBaseName();
    static QString workWavFileName();
    static QString workDatFileName();
    static QString workCdFileName();

    // 32767 * percent / peak / 100; 0 for a peak below 100 or a percent outside 10..100.
    static double normalizationGain(double percent, int peak);
    // The display name of an input from its type and parameter; empty for files.
    static QString inputNameFromType(InputType type, const QString& parameter);
    // The letters of the file name (up to its first '.'), or "ringtone" when it has none.
    static QString titleFromFileName(const QString& path);
    // The selection proposed for an input of duration milliseconds, applied to cut: an invalid
    // selection or one ending beyond the input becomes the default (none for 2 s or less).
    static void applyDefaultSelection(CCutInfo& cut, qint64 duration);

private:
    // Decodes path into the work WAV and the visualization file when its extension calls for a
    // decoder, giving the peak; source is the WAV to read next. False when the open ends here
    // (message shown as the mode wants); throws COxaException when the visualization file failed.
    bool decodeInput(const QString& path, OpenMode mode, IOpProgress& progress, QString& source,
                     std::optional<int>& peak);
    // Steps from reading the source WAV to naming the input; peak is given when decoding made the
    // visualization file already. Throws COxaException on failure.
    void openSourceWav(const QString& path, QString source, OpenMode mode, int parameter,
                       std::optional<int> peak, IOpProgress& progress);
    // Writes the visualization file of a WAV input; its peak. Throws COxaException on failure.
    int createDatFileOf(CWavReader& reader, IOpProgress& progress);
    // Names the input for the open mode.
    void nameInput(const QString& path, OpenMode mode, int parameter);
    // Runs the extraction loop into the ringtone file; an OpResult, throws on errors.
    int encodeCut(IOpProgress& progress);
    // Reads the selection out of the work WAV block by block, applies the fades and gain (none
    // when 0) and hands each block to sink; an OpResult, throws COxaException on errors.
    int streamCut(IOpProgress& progress, double gain,
                  const std::function<void(const uint8_t*, uint32_t)>& sink);
    // ringtoneGain, and the highest gain at which no sample clips (limit); throws COxaException
    // when the work WAV cannot be read.
    int gainOfCut(IOpProgress& progress, double& gain, double& limit);
    // Measures the selection with its fades (no gain) into figures; the streaming's result.
    int meterCut(IOpProgress& progress, LoudnessFigures& figures);
    // The loudness a loudness-normalized ringtone aims at.
    struct LoudnessAim {
        double target;  // LUFS
        double ceiling; // dBTP
        bool operator==(const LoudnessAim&) const = default;
    };
    // The loudness-mode gain of a selection for an aim, and the highest one that clips nothing.
    struct MeasuredGain {
        CCutInfo cut;
        LoudnessAim aim;
        double gain;
        double limit;
    };
    // The aim when the ringtone is normalized by loudness (this run's target, or the settings).
    std::optional<LoudnessAim> loudnessAim() const;
    // One encoding of the ringtone at a gain; it fills made, when given, with what it measures.
    using Encoding = std::function<int(double gain, LoudnessFigures* made)>;
    // Encodes at gain, and in the loudness mode again (a few times at most, never above limit)
    // while what was made misses the target or the ceiling; an OpResult.
    int encodeAtGain(double gain, double limit, const Encoding& encode);
    // Encodes the ringtone with FFmpeg into path (twice when the loudness missed the first time).
    int writeWithFfmpeg(const QString& path, RingtoneFormat format, IOpProgress& progress);
    // Copies the extracted ringtone to path through a temporary file; throws when it cannot.
    int copyRingtone(const QString& path);
    // Runs an extraction step, turning its exceptions into result 2 with m_extractionError set.
    int guarded(const std::function<int()>& step);
    void showError(const QString& text);
    void refreshOwner();
    // Tells the view to read the model again; reset after a new input or none.
    void refreshView(bool reset);
    void refreshInputName();

    IRingtoneModelOwner* m_owner = nullptr;
    IRingtoneView* m_view = nullptr;
    CCutInfo m_cut;
    QString m_inputFileName;
    QString m_inputName;
    QString m_inputTitle;
    InputType m_inputType = InputType::File;
    QString m_inputParam;
    QString m_wavFileName;
    QString m_datFileName;
    QString m_ringtoneFileName;
    QString m_extractionError;
    bool m_extractionErrorShownAsIs = false; // the error is a message of its own, not a cause
    double m_gain = 0.0;
    WAVEFORMATEX m_format{};
    qint64 m_duration = 0;
    CDatValues m_datValues;
    mutable std::mutex m_lock;
    int m_viewTimerInterval = 0;
    State m_state = State::Idle;
    qint64 m_inputOffset = 0;
    int64_t m_decodeFrom = 0;
    int64_t m_decodeTo = -1;
    std::optional<double> m_loudnessTarget;
    std::optional<MeasuredGain> m_measuredGain; // of the current input, for ringtoneGain
    std::unique_ptr<CQLEncoder> m_encoder;      // the recording session, under m_lock
    CWaveInSource* m_recordSource = nullptr;
};
