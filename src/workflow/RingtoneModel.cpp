// The central model: opening inputs into work files, the selection, and the ringtone extraction.
#include "workflow/RingtoneModel.h"

#include "app/ConfigFile.h"
#include "app/IOpProgress.h"
#include "app/IUserMessages.h"
#include "app/OpResult.h"
#include "app/OxaException.h"
#include "app/StringIds.h"
#include "app/StringTable.h"
#include "app/Trace.h"
#include "app/UserText.h"
#include "audio/QLEncoder.h"
#include "audio/RecordingReceiver.h"
#include "audio/WaveInSource.h"
#include "decode/InputKinds.h"
#include "decode/WavBlockCopy.h"
#include "decode/WavReader.h"
#include "encode/DatFileMaker.h"
#include "encode/FadeGain.h"
#include "encode/FfmpegRingtoneWriter.h"
#include "encode/FileEncoder.h"
#include "encode/OggFileEncoder.h"
#include "encode/WorkFilePipeline.h"
#include "util/ReplacingFile.h"
#include "util/SystemError.h"
#include "workflow/Beaming.h"
#include "workflow/ButtonState.h"
#include "workflow/IRingtoneModelOwner.h"
#include "workflow/IRingtoneView.h"
#include "workflow/SelectionSuggester.h"

#include <QFile>
#include <QFileInfo>

#include <array>
#include <cerrno>
#include <cstring>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace {

constexpr int64_t kExtractBlock = 65536; // bytes read per step of the extraction

bool IsUsablePcm(const WAVEFORMATEX& format, bool only16Bit) {
    const bool bitsOk = format.wBitsPerSample == 16 || (!only16Bit && format.wBitsPerSample == 8);
    return format.wFormatTag == WAVE_FORMAT_PCM && format.nSamplesPerSec != 0 && bitsOk;
}

// The highest sample rate the program takes.
constexpr uint32_t kMaxSampleRate = 384000;

// Refuses, naming the reason, a format the work files and the ringtone cannot be made from: other
// than mono or stereo, a sample rate of 0 or beyond any sound card's, frames of another size than
// their samples make.
void CheckPlayable(const WAVEFORMATEX& format) {
    if (format.nChannels != 1 && format.nChannels != 2)
        throw COxaException(FormatUserText(IDS_WAVE_CHANNELS, int(format.nChannels)));
    if (format.nSamplesPerSec == 0 || format.nSamplesPerSec > kMaxSampleRate)
        throw COxaException(
            FormatUserText(IDS_WAVE_SAMPLE_RATE, QString::number(format.nSamplesPerSec)));
    if (format.wFormatTag == WAVE_FORMAT_PCM &&
        format.nBlockAlign != format.nChannels * format.wBitsPerSample / 8)
        throw COxaException(StringId{IDS_UNSUPPORTED_WAVE}, IDS_UNSUPPORTED_WAVE);
}

// Refuses an input the program cannot read or remember: anything but a regular file (links
// followed: a device or a pipe would be read forever or block), and a path with a line break,
// which config.ini cannot hold.
void CheckInputPath(const QString& path) {
    if (path.contains(QLatin1Char('\n')) || path.contains(QLatin1Char('\r')))
        throw COxaException(LoadUserText(IDS_PATH_HAS_LINE_BREAK));
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        throw COxaException(FormatUserText(IDS_NOT_A_REGULAR_FILE, path));
}

// A failure of a step of opening whose text is shown as it stands.
COxaException ShownAsIs(int id) {
    return COxaException(StringId{id}, id);
}

// The cancel of a step of opening: no message.
COxaException Cancelled(const char* text) {
    return COxaException(QString::fromLatin1(text), COxaException::kCancelled);
}

} // namespace

CRingtoneModel::CRingtoneModel() = default;

CRingtoneModel::~CRingtoneModel() {
    // The owner ends a recording before the model goes; should it not, the files are finished.
    if (m_encoder) {
        m_recordSource->RemoveGrabber(m_encoder.get());
        m_encoder.reset();
    }
}

QString CRingtoneModel::workBaseName() {
    return GetConfig().GetConfigFolder() + QStringLiteral("temp");
}

QString CRingtoneModel::workWavFileName() {
    return workBaseName() + QStringLiteral(".in");
}

QString CRingtoneModel::workDatFileName() {
    return workBaseName() + QStringLiteral(".dat");
}

QString CRingtoneModel::workCdFileName() {
    return workBaseName() + QStringLiteral("cd.wav");
}

void CRingtoneModel::attach(IRingtoneModelOwner* owner, IRingtoneView* view) {
    m_owner = owner;
    m_view = view;
    if (m_view)
        m_view->SetModel(this);
}

void CRingtoneModel::init(IRingtoneModelOwner* owner, IRingtoneView* view,
                          const QString& commandLineFile) {
    attach(owner, view);
    if (!commandLineFile.isEmpty()) {
        openInputFile(commandLineFile, OpenMode::UserFile, 0);
    } else {
        QString wav = GetConfig().GetWavFileName();
        if (wav.isEmpty())
            wav = workWavFileName();
        if (QFileInfo::exists(wav))
            openInputFile(wav, OpenMode::Reopen, 0);
        else
            closeInput(false);
    }
    std::array<quint32, 4> numbers{};
    if (ConfigFile::ParseCut(GetConfig().GetCut(), numbers)) {
        m_cut.setStart(numbers[0]);
        m_cut.setEnd(numbers[1]);
        m_cut.setFadeIn(qint32(numbers[2]));
        m_cut.setFadeOut(qint32(numbers[3]));
    }
    m_cut.validate();
    applyDefaultSelection(m_cut, m_duration);
    refreshView(true);
    refreshInputName();
}

bool CRingtoneModel::beam(IBrowser* browser, BeamOutcome* outcome) {
    return ::beam(*this, *m_owner, browser, outcome);
}

void CRingtoneModel::saveState() {
    stopRecording();
    if (m_view)
        m_view->StopPlayback();
    ConfigFile& config = GetConfig();
    config.SetInputFileName(m_inputFileName);
    config.SetInputName(m_inputName);
    config.SetInputType(int(m_inputType));
    config.SetInputParam(m_inputParam);
    config.SetWavFileName(m_wavFileName);
    config.SetInputTitle(m_inputTitle);
    config.SetCut(m_cut.start(), m_cut.end(), m_cut.fadeIn(), m_cut.fadeOut());
}

bool CRingtoneModel::openInputFile(const QString& path, OpenMode mode, int parameter) {
    Trace(TRACE_DEBUG, "openInputFile(%s, %d, %d)", path, int(mode), parameter);
    closeInput(true);
    setState(State::Opening);
    std::unique_ptr<IOpProgress> progress =
        m_owner ? m_owner->CreateProgress(IDS_OPEN_FILE) : std::make_unique<IOpProgress>();
    progress->Show(true);
    progress->Show(false);

    QString source;
    std::optional<int> peak;
    try {
        CheckInputPath(path);
        if (!decodeInput(path, mode, *progress, source, peak)) {
            progress->Show(false);
            setState(State::Idle);
            return false;
        }
        openSourceWav(path, source, mode, parameter, peak, *progress);
    } catch (const COxaException& e) {
        Trace(TRACE_ERROR, "openInputFile failed: %s", e.traceMessage());
        closeInput(true);
        // The model is empty now: a work WAV left behind would be reopened nameless next start.
        if (QFileInfo(path).absoluteFilePath() != QFileInfo(workWavFileName()).absoluteFilePath())
            QFile::remove(workWavFileName());
        progress->Show(false);
        if (mode != OpenMode::Reopen && !e.isCancel()) {
            if (e.code() == COxaException::kGeneric)
                showError(FormatString(IDS_COULD_NOT_OPEN, e.message()));
            else
                showError(e.message());
        }
        setState(State::Idle);
        return false;
    }
    progress.reset();
    setState(State::Idle);
    return true;
}

bool CRingtoneModel::decodeInput(const QString& path, OpenMode mode, IOpProgress& progress,
                                 QString& source, std::optional<int>& peak) {
    const std::optional<InputKind> kind = inputKindOf(path);
    if (!kind) {
        if (mode != OpenMode::Reopen)
            showError(FormatString(IDS_UNSUPPORTED_EXTENSION, path));
        return false;
    }
    if (*kind == InputKind::Wav) {
        source = path;
        return true;
    }
    const std::unique_ptr<IDecoder> decoder = makeDecoder(*kind);

    Trace(TRACE_DEBUG, "start decoding file %s", path);
    progress.SetTextId(IDS_DECODING_FILE);
    const QString work = workWavFileName();
    // The work WAV, the visualization file and the peak come out of one pass over the decoded
    // PCM, written on a second thread while the decoder goes on.
    Trace(TRACE_DEBUG, "start creating dat file");
    CWorkFilePipeline pipeline(workBaseName());
    if (m_decodeTo >= 0) {
        const int64_t from = m_decodeFrom / 1000 * 1000;
        pipeline.setLimit(m_decodeTo - (from > 0 && decoder->setStartTime(from) ? from : 0));
    }
    decoder->setSink(&pipeline);
    const uint32_t result = decoder->decodeFile(path, work, &progress);
    if (result != OpSuccess)
        QFile::remove(workDatFileName());
    if (!pipeline.datError().isEmpty())
        throw COxaException(pipeline.datError());
    QString text;
    switch (result) {
    case OpSuccess:
        source = work;
        peak = pipeline.peak();
        m_inputOffset = decoder->startTime();
        return true;
    case OpCancelled:
        break;
    case OpInvalidFile:
        text = LoadString(IDS_INVALID_FILE);
        break;
    case OpNotSupported:
        text = LoadString(IDS_NOT_SUPPORTED);
        break;
    case OpComponentsMissing:
        text = LoadString(IDS_COMPONENTS_MISSING);
        break;
    default:
        text = decoder->getErrorText();
        if (text.isEmpty())
            text = FormatString(IDS_ERROR_DECODING, path);
        break;
    }
    if (!text.isEmpty() && mode != OpenMode::Reopen)
        showError(text);
    return false;
}

void CRingtoneModel::openSourceWav(const QString& path, QString source, OpenMode mode,
                                   int parameter, std::optional<int> peak, IOpProgress& progress) {
    auto reader = std::make_unique<CWavReader>(source);
    CheckPlayable(*reader->getFormat());
    if (!IsUsablePcm(*reader->getFormat(), false))
        throw ShownAsIs(IDS_UNSUPPORTED_WAVE);

    if (reader->getFormat()->wBitsPerSample == 8) {
        Trace(TRACE_DEBUG, "start converting file %s", source);
        const QString work = workWavFileName();
        UserText errorText;
        const int result = convertWavFrom8Bit(*reader, work, progress, errorText);
        if (result == OpCancelled)
            throw Cancelled("convertWavFrom8Bit canceled");
        if (result != OpSuccess) {
            if (errorText.isEmpty())
                throw ShownAsIs(IDS_ERROR_CONVERTING);
            throw COxaException(errorText);
        }
        reader.reset();
        source = work;
        reader = std::make_unique<CWavReader>(source);
        if (!IsUsablePcm(*reader->getFormat(), true))
            throw ShownAsIs(IDS_ERROR_CONVERTING);
    }
    m_format = *reader->getFormat();

    m_datFileName = workDatFileName();
    if (!peak)
        peak = createDatFileOf(*reader, progress);
    m_gain = normalizationGain(GetConfig().GetNormalizationPercent(), *peak);
    m_measuredGain.reset();
    m_wavFileName = source;
    nameInput(path, mode, parameter);
    refreshInputName();
    m_duration = reader->getDuration();
    m_datValues.setSource(m_datFileName, m_duration);
    if (mode != OpenMode::Reopen) {
        applyDefaultSelection(m_cut, m_duration);
        if (GetConfig().GetSuggestOnOpen() &&
            suggestSelection(kSuggestedLength, progress) == OpCancelled)
            throw Cancelled("suggestion canceled");
        refreshView(true);
    }
}

int CRingtoneModel::createDatFileOf(CWavReader& reader, IOpProgress& progress) {
    Trace(TRACE_DEBUG, "start creating dat file");
    int peak = 0;
    UserText errorText;
    const int result = createDatFile(reader, workBaseName(), progress, peak, errorText);
    if (result == OpCancelled)
        throw Cancelled("createDatFile canceled");
    if (result != OpSuccess) {
        if (errorText.isEmpty())
            throw COxaException(FormatUserText(IDS_ERROR_CREATING_DAT, m_datFileName),
                                IDS_ERROR_CREATING_DAT);
        throw COxaException(errorText);
    }
    return peak;
}

void CRingtoneModel::nameInput(const QString& path, OpenMode mode, int parameter) {
    if (mode == OpenMode::CdTrack) {
        m_inputFileName.clear();
        m_inputType = InputType::CdTrack;
        m_inputParam = QString::asprintf("%d", parameter);
        m_inputName = FormatString(IDS_CD_TRACK_NAME, m_inputParam);
        m_inputTitle = FormatString(IDS_CD_TRACK_TITLE, parameter);
    } else if (mode == OpenMode::UserFile) {
        m_inputFileName = path;
        m_inputType = InputType::File;
        m_inputParam.clear();
        m_inputName = QLatin1Char('[') + path + QLatin1Char(']');
        m_inputTitle = titleFromFileName(path);
    } else {
        const ConfigFile& config = GetConfig();
        m_inputFileName = config.GetInputFileName();
        const int storedType = config.GetInputType();
        m_inputType = storedType >= int(InputType::File) && storedType <= int(InputType::Recording)
                          ? InputType(storedType)
                          : InputType::File;
        m_inputParam = config.GetInputParam();
        m_inputName = config.GetInputName();
        if (m_inputType != InputType::File)
            m_inputName = inputNameFromType(m_inputType, m_inputParam);
        else if (m_inputName.isEmpty())
            m_inputName = QLatin1Char('[') + m_inputFileName + QLatin1Char(']');
        m_inputTitle = config.GetInputTitle();
        if (m_inputTitle.isEmpty())
            m_inputTitle = titleFromFileName(m_inputFileName);
    }
}

void CRingtoneModel::closeInput(bool notify) {
    m_inputFileName.clear();
    m_inputName.clear();
    m_inputTitle.clear();
    m_inputType = InputType::File;
    m_inputParam.clear();
    m_wavFileName.clear();
    m_datFileName.clear();
    m_ringtoneFileName.clear();
    m_cut.reset();
    m_gain = 0.0;
    m_measuredGain.reset();
    m_format = WAVEFORMATEX{};
    m_duration = 0;
    m_inputOffset = 0;
    m_datValues.setSource(QString(), 0);
    if (notify) {
        refreshView(true);
        refreshInputName();
    }
}

int CRingtoneModel::suggestSelection(qint64 length, IOpProgress& progress) {
    if (m_duration <= 0 || m_wavFileName.isEmpty())
        return OpFailed;
    CCutInfo suggested;
    const int result = CSelectionSuggester(m_wavFileName, m_datFileName, m_duration)
                           .suggest(length, progress, suggested);
    if (result == OpSuccess) {
        m_cut = suggested;
        cutChanged();
    }
    return result;
}

void CRingtoneModel::setCut(qint64 start, qint64 end) {
    m_cut.setStart(start);
    m_cut.setEnd(end);
    m_cut.validate();
    cutChanged();
}

void CRingtoneModel::clearCut() {
    m_cut.reset();
    cutChanged();
}

void CRingtoneModel::cutChanged() {
    m_ringtoneFileName.clear();
    refreshOwner();
}

const CCutInfo* CRingtoneModel::getCutAt(qint64 t) const {
    return m_cut.isValid() && m_cut.start() <= t && t < m_cut.end() ? &m_cut : nullptr;
}

void CRingtoneModel::getButtonState(ButtonState& state) const {
    state = ButtonState();
    if (m_view)
        m_view->GetButtonState(state);
    const qint64 position = m_view ? m_view->GetPosition() : 0;
    const CCutInfo* cut = getCutAt(position);
    state[ButtonState::HasInput] = m_duration > 0;
    state[ButtonState::HasCut] = m_cut.isValid();
    state[ButtonState::PosInCut] = cut != nullptr;
    state[ButtonState::CutHasFade] = cut && (cut->fadeIn() > 0 || cut->fadeOut() > 0);
    state[ButtonState::Playing] = m_view && m_view->IsPlaying();
    state[ButtonState::Recording] = isRecording();
    state[ButtonState::Busy] = m_state != State::Idle;
}

const int8_t* CRingtoneModel::getDatValues(int64_t start, int64_t end, uint32_t& count) {
    return m_datValues.getDatValues(start, end, count);
}

int CRingtoneModel::getRecordingRefreshTime() const {
    return GetConfig().GetRecordingRefreshTime();
}

bool CRingtoneModel::startRecording(CWaveInSource& source, IRecordingReceiver* receiver,
                                    uint64_t maxBytes) {
    {
        std::lock_guard lock(m_lock);
        if (m_encoder)
            return false;
    }
    if (m_view)
        m_view->StopPlayback(); // the recording replaces the work WAV
    closeInput(false);
    const QString line = GetConfig().GetWaveInLine();
    WAVEFORMATEX format{};
    source.GetFormat(format);
    std::unique_ptr<CQLEncoder> encoder;
    try {
        encoder = std::make_unique<CQLEncoder>(workBaseName(), QStringLiteral(".in"), format,
                                               receiver, getRecordingRefreshTime(),
                                               maxBytes ? maxBytes : CQLEncoder::kWavLimit);
        source.AddGrabber(encoder.get());
        source.SetFailureHandler([receiver] {
            if (receiver)
                receiver->RecordingEnded(
                    FormatString(IDS_RECORDING_STOPPED, LoadString(IDS_SOUND_DEVICE_FAILED)));
        });
        if (!source.Start())
            throw COxaAudioSourceException(QStringLiteral("the sound device did not start"));
    } catch (const COxaException& e) {
        Trace(TRACE_ERROR, "Cannot start rec: %s", e.traceMessage());
        source.SetFailureHandler(nullptr);
        if (encoder) {
            source.RemoveGrabber(encoder.get());
            encoder.reset();
            QFile::remove(workWavFileName());
            QFile::remove(workDatFileName());
        }
        showError(LoadString(IDS_ERROR_STARTING_RECORDING));
        closeInput(true);
        return false;
    }
    {
        std::lock_guard lock(m_lock);
        m_encoder = std::move(encoder);
        m_recordSource = &source;
    }
    m_format = format;
    m_wavFileName = workWavFileName();
    m_datFileName = workDatFileName();
    m_inputType = InputType::Recording;
    m_inputParam = line;
    m_inputName = inputNameFromType(InputType::Recording, line);
    m_inputTitle = LoadString(IDS_RECORDING_TITLE);
    m_datValues.setSource(m_datFileName, 0);
    refreshInputName();
    if (m_view)
        m_view->Refresh(true, true);
    refreshOwner();
    return true;
}

bool CRingtoneModel::stopRecording() {
    std::unique_ptr<CQLEncoder> encoder;
    CWaveInSource* source = nullptr;
    {
        std::lock_guard lock(m_lock);
        if (!m_encoder)
            return false;
        encoder = std::move(m_encoder);
        source = m_recordSource;
        m_recordSource = nullptr;
    }
    source->RemoveGrabber(encoder.get());
    source->SetFailureHandler(nullptr);
    encoder->Close(); // writes what is queued and finishes both files
    const bool failed = encoder->Failed();
    const int peak = encoder->Peak();
    const qint64 duration = encoder->RecordedMilliseconds();
    encoder.reset();
    Trace(TRACE_INFO, "recording stopped after %d ms%s", int(duration), failed ? " (failed)" : "");
    if (failed || duration <= 0) {
        QFile::remove(workWavFileName());
        QFile::remove(workDatFileName());
        closeInput(true);
        refreshOwner();
        return true;
    }
    m_gain = normalizationGain(GetConfig().GetNormalizationPercent(), peak);
    m_measuredGain.reset();
    m_duration = duration;
    m_datValues.setSource(m_datFileName, m_duration);
    applyDefaultSelection(m_cut, m_duration);
    if (m_view)
        m_view->Refresh(false, true);
    refreshOwner();
    return true;
}

int CRingtoneModel::getRecordingLevel() const {
    std::lock_guard lock(m_lock);
    return m_encoder ? m_encoder->LastPeak() : 0;
}

bool CRingtoneModel::isRecording() const {
    std::lock_guard lock(m_lock);
    return m_encoder && m_encoder->IsRunning();
}

void CRingtoneModel::recordedTimeReported(qint64 milliseconds) {
    {
        std::lock_guard lock(m_lock);
        if (!m_encoder || !m_encoder->IsRunning())
            return;
    }
    m_duration = milliseconds;
    m_datValues.setSource(m_datFileName, m_duration);
    if (m_view)
        m_view->Refresh(false, true);
}

void CRingtoneModel::recordingEnded(const QString& message) {
    if (!message.isEmpty())
        showError(message);
    stopRecording();
}

void CRingtoneModel::setState(State state) {
    m_state = state;
    refreshOwner();
}

int CRingtoneModel::getViewTimerInterval() const {
    std::lock_guard lock(m_lock);
    return m_viewTimerInterval;
}

void CRingtoneModel::setViewTimerInterval(int milliseconds) {
    std::lock_guard lock(m_lock);
    m_viewTimerInterval = milliseconds;
}

double CRingtoneModel::normalizationGain(double percent, int peak) {
    if (peak < 100 || percent < 10 || percent > 100)
        return 0.0;
    return 32767.0 * percent / peak / 100.0;
}

QString CRingtoneModel::inputNameFromType(InputType type, const QString& parameter) {
    switch (type) {
    case InputType::CdTrack:
        return FormatString(IDS_CD_TRACK_NAME, parameter);
    case InputType::Named:
        return parameter.isEmpty() ? QString() : QLatin1Char('[') + parameter + QLatin1Char(']');
    case InputType::Recording:
        return FormatString(IDS_RECORDED_NAME, parameter);
    default:
        return QString();
    }
}

QString CRingtoneModel::titleFromFileName(const QString& path) {
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    QString title;
    for (const QChar c : name) {
        if (c == QLatin1Char('.'))
            break;
        if (c.isLetter())
            title += c;
    }
    return title.isEmpty() ? QStringLiteral("ringtone") : title;
}

void CRingtoneModel::applyDefaultSelection(CCutInfo& cut, qint64 duration) {
    if (cut.isValid() && cut.end() > duration)
        cut.reset();
    if (cut.isValid() || duration <= 0)
        return;
    cut.reset();
    if (duration > kLongInput) {
        cut.setStart(10000);
        cut.setEnd(kLongInput);
    } else if (duration > 2000) {
        cut.setStart(duration / 4);
        cut.setEnd(3 * duration / 4);
    }
    cut.validate();
}

int CRingtoneModel::extractFile(IOpProgress& progress) {
    if (!m_cut.isValid())
        return OpFailed;
    if (!m_ringtoneFileName.isEmpty())
        return OpSuccess;
    m_ringtoneFileName = workBaseName();
    progress.SetTextId(IDS_EXTRACTING_RINGTONE);
    const int result = guarded([&] { return encodeCut(progress); });
    if (result != OpSuccess) {
        QFile::remove(workBaseName() + QStringLiteral(".upl"));
        m_ringtoneFileName.clear();
        progress.Show(false);
        if (result == OpFailed)
            showError(LoadString(IDS_EXTRACTION_FAILED));
    }
    return result;
}

int CRingtoneModel::guarded(const std::function<int()>& step) {
    m_extractionError.clear();
    m_extractionErrorShownAsIs = false;
    CFileEncoder::resetLastWriteError();
    try {
        return step();
    } catch (const COxaException& e) {
        Trace(TRACE_ERROR, "error extracting: %s", e.traceMessage());
        m_extractionError = e.message();
        m_extractionErrorShownAsIs = e.code() != COxaException::kGeneric;
        if (CFileEncoder::lastWriteError() != 0)
            m_extractionError +=
                QStringLiteral(": ") + SystemErrorText(CFileEncoder::lastWriteError());
    } catch (const std::bad_alloc&) {
        Trace(TRACE_ERROR, "error extracting: out of memory");
        m_extractionError = QString::fromLocal8Bit(std::strerror(ENOMEM));
    }
    return OpFailed;
}

int CRingtoneModel::encodeCut(IOpProgress& progress) {
    double gain = 0, limit = 0;
    if (const int result = gainOfCut(progress, gain, limit); result != OpSuccess)
        return result;
    const EncoderParams params = encoderParamsFromBitRate(GetConfig().GetBitRate(), m_format);
    m_ringtoneFileName += QStringLiteral(".upl");
    return encodeAtGain(gain, limit, [&](double encodingGain, LoudnessFigures* made) {
        int result = OpSuccess;
        {
            COggFileEncoder encoder(m_ringtoneFileName, params);
            result = streamCut(progress, encodingGain, [&](const uint8_t* data, uint32_t bytes) {
                encoder.encode(data, bytes);
            });
        }
        if (result == OpSuccess && made && !measureOggFile(m_ringtoneFileName, *made))
            *made = {};
        return result;
    });
}

int CRingtoneModel::encodeAtGain(double gain, double limit, const Encoding& encode) {
    // Lossy encoders lose some of the loudness (their low-pass) and move the true peak: in the
    // loudness mode the ringtone is measured as made and encoded again while it misses.
    constexpr int kPasses = 4;
    const std::optional<LoudnessAim> aim = loudnessAim();
    LoudnessFigures made{};
    int result = encode(gain, aim ? &made : nullptr);
    for (int pass = 1; result == OpSuccess && aim; ++pass) {
        Trace(TRACE_INFO, "made at gain %.5f: %.2f LUFS, true peak %.2f dBTP", gain, made.loudness,
              made.truePeak);
        if (pass == kPasses)
            break;
        gain = correctedGain(gain, made, aim->target, aim->ceiling, limit);
        if (gain <= 0)
            break;
        result = encode(gain, &made);
    }
    return result;
}

std::optional<CRingtoneModel::LoudnessAim> CRingtoneModel::loudnessAim() const {
    const ConfigFile& config = GetConfig();
    if (!m_loudnessTarget && !config.GetLoudnessNormalization())
        return std::nullopt;
    return LoudnessAim{m_loudnessTarget.value_or(config.GetTargetLoudness()),
                       config.GetTruePeakCeiling()};
}

int CRingtoneModel::streamCut(IOpProgress& progress, double gain,
                              const std::function<void(const uint8_t*, uint32_t)>& sink) {
    CWavReader reader(m_wavFileName);
    const WAVEFORMATEX format = *reader.getFormat();
    const int64_t endPosition = reader.seek(m_cut.end());
    const int64_t startPosition = reader.seek(m_cut.start());
    const int64_t length = endPosition - startPosition;
    if (endPosition < 0 || startPosition < 0 || length < 1)
        throw COxaException(
            Sprintf("wav seek failed: begin=%d, end=%d", int(startPosition), int(endPosition)));
    progress.SetRange(uint32_t(length));
    std::vector<uint8_t> buffer(static_cast<size_t>(kExtractBlock));
    int64_t done = 0;
    bool last = false;
    while (!last) {
        if (progress.IsCanceled()) {
            Trace(TRACE_DEBUG, "extractFile canceled");
            return OpCancelled;
        }
        int64_t got = reader.read(buffer.data(), kExtractBlock);
        if (got < 0)
            return OpFailed;
        if (got == 0)
            break;
        if (done + got >= length) {
            got = length - done;
            last = true;
        }
        applyFades(buffer.data(), uint32_t(got), m_cut.start(), uint64_t(done), m_cut, format,
                   gain);
        sink(buffer.data(), uint32_t(got));
        done += got;
        progress.SetPos(uint32_t(done));
    }
    // The data ended early (the file shrank since it was opened): a ringtone of nothing is none.
    if (done == 0)
        throw COxaException(QStringLiteral("the work WAV holds no data for the selection"));
    return OpSuccess;
}

int CRingtoneModel::ringtoneGain(IOpProgress& progress, double& gain) {
    double limit = 0;
    try {
        return gainOfCut(progress, gain, limit);
    } catch (const COxaException& e) {
        Trace(TRACE_ERROR, "error measuring the selection: %s", e.traceMessage());
    } catch (const std::bad_alloc&) {
        Trace(TRACE_ERROR, "error measuring the selection: out of memory");
    }
    return OpFailed;
}

int CRingtoneModel::gainOfCut(IOpProgress& progress, double& gain, double& limit) {
    const std::optional<LoudnessAim> aim = loudnessAim();
    if (!aim) {
        gain = limit = m_gain;
        return OpSuccess;
    }
    if (!m_measuredGain || m_measuredGain->cut != m_cut || m_measuredGain->aim != *aim) {
        m_measuredGain.reset();
        LoudnessFigures figures{};
        if (const int result = meterCut(progress, figures); result != OpSuccess)
            return result;
        m_measuredGain = MeasuredGain{m_cut, *aim, loudnessGain(figures, aim->target, aim->ceiling),
                                      clipFreeGain(figures)};
        Trace(TRACE_INFO, "selection at %.2f LUFS, true peak %.2f dBTP, peak %.2f dBFS: gain %.4f",
              figures.loudness, figures.truePeak, figures.samplePeak, m_measuredGain->gain);
    }
    gain = m_measuredGain->gain;
    limit = m_measuredGain->limit;
    return OpSuccess;
}

int CRingtoneModel::measureSelection(IOpProgress& progress, LoudnessFigures& figures) {
    if (!m_cut.isValid())
        return OpFailed;
    return guarded([&] { return meterCut(progress, figures); });
}

int CRingtoneModel::meterCut(IOpProgress& progress, LoudnessFigures& figures) {
    CLoudnessMeter meter(m_format);
    const int result = streamCut(
        progress, 0.0, [&](const uint8_t* data, uint32_t bytes) { meter.add(data, bytes); });
    figures = meter.figures();
    return result;
}

void CRingtoneModel::setLoudnessTarget(std::optional<double> lufs) {
    m_loudnessTarget = lufs;
    m_ringtoneFileName.clear();
}

int CRingtoneModel::saveRingtone(const QString& path, RingtoneFormat format,
                                 IOpProgress& progress) {
    if (!m_cut.isValid())
        return OpFailed;
    int result = OpSuccess;
    if (format == RingtoneFormat::Ogg) {
        result = extractFile(progress);
        if (result != OpSuccess)
            return result;
        result = guarded([&] { return copyRingtone(path); });
    } else {
        progress.SetTextId(IDS_EXTRACTING_RINGTONE);
        result = guarded([&] { return writeWithFfmpeg(path, format, progress); });
    }
    if (result != OpSuccess)
        progress.Show(false);
    if (result == OpFailed) {
        showError(m_extractionErrorShownAsIs ? m_extractionError
                                             : LoadString(IDS_EXTRACTION_FAILED));
        if (m_extractionErrorShownAsIs)
            m_extractionError.clear();
    }
    return result;
}

int CRingtoneModel::writeWithFfmpeg(const QString& path, RingtoneFormat format,
                                    IOpProgress& progress) {
    std::unique_ptr<CFfmpegRingtoneWriter> writer;
    const auto newWriter = [&] {
        writer = std::make_unique<CFfmpegRingtoneWriter>(path, format, m_format, m_inputTitle,
                                                         m_cut.length());
    };
    newWriter(); // refuses what the format cannot take before anything is measured
    double gain = 0, limit = 0;
    int result = gainOfCut(progress, gain, limit);
    bool used = false;
    if (result == OpSuccess) {
        result = encodeAtGain(gain, limit, [&](double encodingGain, LoudnessFigures* made) {
            if (std::exchange(used, true))
                newWriter();
            const int written =
                streamCut(progress, encodingGain,
                          [&](const uint8_t* data, uint32_t bytes) { writer->write(data, bytes); });
            if (written == OpSuccess)
                writer->finish();
            if (made)
                *made = writer->madeFigures();
            return written;
        });
    }
    if (result == OpSuccess)
        writer->commit();
    return result;
}

int CRingtoneModel::copyRingtone(const QString& path) {
    QFile in(m_ringtoneFileName);
    CReplacingFile out(path);
    const auto refuse = [&](const QString& reason) {
        return COxaException(FormatUserText(IDS_SAVE_CANNOT_WRITE, path, reason),
                             IDS_SAVE_CANNOT_WRITE);
    };
    if (!in.open(QIODevice::ReadOnly))
        throw refuse(in.errorString());
    bool ok = out.Open();
    while (ok && !in.atEnd()) {
        const QByteArray block = in.read(kExtractBlock);
        if (block.isEmpty() && in.error() != QFileDevice::NoError)
            throw refuse(in.errorString());
        ok = out.Write(block);
    }
    if (!ok || !out.Commit())
        throw refuse(SystemErrorText(out.Error()));
    return OpSuccess;
}

void CRingtoneModel::showError(const QString& text) {
    if (m_owner)
        ShowErrorMessage(m_owner->Messages(), text);
    else
        Trace(TRACE_ERROR, "%s", text);
}

void CRingtoneModel::refreshOwner() {
    if (m_owner)
        m_owner->RefreshState();
}

void CRingtoneModel::refreshView(bool reset) {
    if (m_view)
        m_view->Refresh(reset, false);
}

void CRingtoneModel::refreshInputName() {
    if (!m_owner)
        return;
    const QString byType = inputNameFromType(m_inputType, m_inputParam);
    m_owner->RefreshInputName(byType.isEmpty() ? m_inputName : byType);
}
