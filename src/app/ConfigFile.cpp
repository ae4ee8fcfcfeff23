// The program's settings: key/value text pairs kept sorted in memory and stored in config.ini.
#include "app/ConfigFile.h"

#include "app/AppInfo.h"
#include "app/Folders.h"
#include "app/OxaException.h"
#include "app/StringIds.h"
#include "app/StringTable.h"
#include "app/Trace.h"
#include "app/WorkFolderLock.h"
#include "util/NumberText.h"
#include "util/ReplacingFile.h"
#include "util/SystemError.h"
#include "util/Utf16TextFile.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <memory>

namespace {

const QString kTraceLevel = QStringLiteral("TraceLevel");
const QString kTraceCloseAfterEachLine = QStringLiteral("TraceCloseAfterEachLine");
const QString kTraceAKRip = QStringLiteral("TraceAKRip");
const QString kActiveSkin = QStringLiteral("ActiveSkin");
const QString kLogarithmicView = QStringLiteral("LogarithmicView");
const QString kLogViewParamX0 = QStringLiteral("LogViewParam_X0");
const QString kLogViewParamX1 = QStringLiteral("LogViewParam_X1");
const QString kLogViewParamS = QStringLiteral("LogViewParam_S");
const QString kRecordingRefreshTime = QStringLiteral("RecordingRefreshTime");
const QString kMinZoomSec = QStringLiteral("MinZoomSec");
const QString kSnapToZeroCrossing = QStringLiteral("SnapToZeroCrossing");
const QString kUndoSelectionEdits = QStringLiteral("UndoSelectionEdits");
const QString kKeyboardEditing = QStringLiteral("KeyboardEditing");
const QString kLoopSeamPreview = QStringLiteral("LoopSeamPreview");
const QString kBitRate = QStringLiteral("BitRate");
const QString kUploadUrl = QStringLiteral("UploadUrl");
const QString kHomePageUrl = QStringLiteral("HomePageUrl");
const QString kSupportUrl = QStringLiteral("SupportUrl");
const QString kHelpUrl = QStringLiteral("HelpUrl");
const QString kWavFileName = QStringLiteral("WavFileName");
const QString kInputFileName = QStringLiteral("InputFileName");
const QString kInputName = QStringLiteral("InputName");
const QString kInputType = QStringLiteral("InputType");
const QString kInputParam = QStringLiteral("InputParam");
const QString kInputTitle = QStringLiteral("InputTitle");
const QString kProxy = QStringLiteral("Proxy");
const QString kCut = QStringLiteral("Cut");
const QString kNormalizationPercent = QStringLiteral("NormalizationPercent");
const QString kNormalizationMode = QStringLiteral("NormalizationMode");
const QString kTargetLoudness = QStringLiteral("TargetLoudness");
const QString kTruePeakCeiling = QStringLiteral("TruePeakCeiling");
const QString kSuggestOnOpen = QStringLiteral("SuggestOnOpen");
const QString kWaveInLine = QStringLiteral("WaveInLine");
const QString kWaveInDevice = QStringLiteral("WaveInDevice");
const QString kWaveInVolume = QStringLiteral("WaveInVolume");
const QString kWaveOutDevice = QStringLiteral("WaveOutDevice");
const QString kAskWantCDRip = QStringLiteral("AskWantCDRip");

// The reference beaming service that the default addresses point at.
const QString kServiceSite = QStringLiteral("http://127.0.0.1:8645");

constexpr qint64 kAffiliateMaxBytes = 128;

// How long a save waits for another process to finish with the configuration folder.
constexpr auto kSaveLockWait = std::chrono::seconds(10);

bool KeyLess(const ConfigFile::Pair& pair, const QString& key) {
    return pair.key < key;
}

void AppendUtf16Le(QByteArray& bytes, const QString& text) {
    const qsizetype start = bytes.size();
    bytes.resize(start + text.size() * 2);
    qToLittleEndian<char16_t>(text.utf16(), text.size(), bytes.data() + start);
}

QString AddQueryParameter(const QString& url, const QString& name, const QString& value) {
    const QChar separator = url.contains(QLatin1Char('?')) ? QLatin1Char('&') : QLatin1Char('?');
    return url + separator + name + QLatin1Char('=') + value;
}

// The "key=value" lines of a configuration file in their order; clean tells whether the file
// read without damage, missing whether it was not there.
struct FilePairs {
    std::vector<ConfigFile::Pair> pairs;
    bool clean = true;
    bool missing = false;
    int error = 0;
};
FilePairs ReadFilePairs(const QString& path) {
    FilePairs result;
    CUtf16TextFile file;
    QString line;
    if (file.Open(path)) {
        while (file.ReadLine(line)) {
            const qsizetype equals = line.indexOf(QLatin1Char('='));
            if (equals > 0)
                result.pairs.push_back({line.left(equals), line.mid(equals + 1)});
        }
    }
    result.error = file.Error();
    result.missing = result.error == ENOENT;
    result.clean = result.error == 0 && !file.Repaired();
    return result;
}

// The file's bytes: the mark, the section line, then every pair on a line of its own.
QByteArray FileBytes(const std::vector<ConfigFile::Pair>& pairs) {
    QByteArray bytes("\xFF\xFE", 2);
    AppendUtf16Le(bytes, QStringLiteral("[Settings]\n"));
    for (const ConfigFile::Pair& pair : pairs)
        AppendUtf16Le(bytes, pair.key + QLatin1Char('=') + pair.value + QLatin1Char('\n'));
    return bytes;
}

// Sets key to value in the sorted pairs; false when it had that value already.
bool SetPair(std::vector<ConfigFile::Pair>& pairs, const QString& key, const QString& value) {
    const auto it = std::lower_bound(pairs.begin(), pairs.end(), key, KeyLess);
    if (it != pairs.end() && it->key == key) {
        if (it->value == value)
            return false;
        it->value = value;
    } else {
        pairs.insert(it, ConfigFile::Pair{key, value});
    }
    return true;
}

// The process-wide store. Only DestroyConfig saves it: one still alive when the process exits is
// freed unsaved, since config.ini is written by DestroyConfig alone and the trace log may
// already be gone by then.
struct UnsavedAtExit {
    void operator()(ConfigFile* config) const noexcept { ConfigFile::DeleteWithoutSaving(config); }
};
std::mutex g_configMutex;
std::unique_ptr<ConfigFile, UnsavedAtExit> g_config;

} // namespace

ConfigFile::ConfigFile(bool persistent) : m_persistent(persistent) {
    SetDefaults();
}

ConfigFile::~ConfigFile() {
    if (m_saveOnDestruction)
        Save();
}

void ConfigFile::DeleteWithoutSaving(ConfigFile* config) {
    if (!config)
        return;
    config->m_saveOnDestruction = false;
    delete config;
}

bool ConfigFile::GetValue(const QString& key, QString& value) const {
    {
        std::lock_guard lock(m_mutex);
        const auto it = std::lower_bound(m_pairs.begin(), m_pairs.end(), key, KeyLess);
        if (it != m_pairs.end() && it->key == key) {
            value = it->value;
            return true;
        }
    }
    Trace(TRACE_DEBUG, "%s not found in config file", key);
    return false;
}

void ConfigFile::SetValue(const QString& key, const QString& value) {
    Trace(TRACE_DEBUG, "ConfigFile::SetValue(%s, %s)", key, value);
    std::lock_guard lock(m_mutex);
    if (SetPair(m_pairs, key, value))
        m_changed.insert(key);
}

bool ConfigFile::GetInt(const QString& key, int& value) const {
    QString text;
    if (!GetValue(key, text))
        return false;
    value = TextToInt(text);
    return true;
}

void ConfigFile::SetInt(const QString& key, int value) {
    SetValue(key, QString::number(value));
}

bool ConfigFile::GetDouble(const QString& key, double& value) const {
    QString text;
    if (!GetValue(key, text))
        return false;
    value = TextToDouble(text);
    return true;
}

void ConfigFile::SetDouble(const QString& key, double value) {
    SetValue(key, QString::asprintf("%f", value));
}

bool ConfigFile::GetBool(const QString& key, bool& value) const {
    QString text;
    if (!GetValue(key, text))
        return false;
    if (text == QLatin1String("1")) {
        value = true;
        return true;
    }
    if (text == QLatin1String("0")) {
        value = false;
        return true;
    }
    return false;
}

void ConfigFile::SetBool(const QString& key, bool value) {
    SetValue(key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

std::vector<ConfigFile::Pair> ConfigFile::GetPairs() const {
    std::lock_guard lock(m_mutex);
    return m_pairs;
}

void ConfigFile::Clear() {
    std::lock_guard lock(m_mutex);
    m_pairs.clear();
    m_changed.clear();
    m_mustWrite = true;
    m_replaceAll = true;
}

void ConfigFile::SetDefaults() {
    Trace(TRACE_DEBUG, "Config Set Default");
    SetValue(kTraceLevel, QStringLiteral("None"));
    SetValue(kTraceCloseAfterEachLine, QStringLiteral("0"));
    SetValue(kTraceAKRip, QStringLiteral("0"));
    SetValue(kActiveSkin, GetDefaultSkinPath());
    SetValue(kLogarithmicView, QStringLiteral("0"));
    SetValue(kLogViewParamX0, QStringLiteral("0"));
    SetValue(kLogViewParamX1, QStringLiteral("6000"));
    SetValue(kLogViewParamS, QStringLiteral("1"));
    SetValue(kRecordingRefreshTime, QStringLiteral("100"));
    SetValue(kMinZoomSec, QStringLiteral("6"));
    SetValue(kSnapToZeroCrossing, QStringLiteral("0"));
    SetValue(kUndoSelectionEdits, QStringLiteral("1"));
    SetValue(kKeyboardEditing, QStringLiteral("1"));
    SetValue(kLoopSeamPreview, QStringLiteral("1"));
    SetValue(kBitRate, QStringLiteral("0"));
    SetValue(kUploadUrl, kServiceSite + QStringLiteral("/php/client-upload-dgst.php"));
    SetValue(kHomePageUrl, kServiceSite + QStringLiteral("/"));
    SetValue(kSupportUrl, kServiceSite + QStringLiteral("/support"));
    SetValue(kHelpUrl, kServiceSite + QStringLiteral("/help"));
    SetValue(kNormalizationPercent, QStringLiteral("89"));
    SetValue(kAskWantCDRip, QStringLiteral("1"));
    SetValue(kNormalizationMode, QStringLiteral("peak"));
    SetValue(kTargetLoudness, QStringLiteral("-14"));
    SetValue(kTruePeakCeiling, QStringLiteral("-1"));
    SetValue(kSuggestOnOpen, QStringLiteral("0"));
}

void ConfigFile::Reload() {
    if (!m_persistent)
        return;
    Clear();
    SetDefaults();
    Load(GetConfigFilePath());
    std::lock_guard lock(m_mutex);
    m_changed.clear();
    m_replaceAll = false;
}

void ConfigFile::Load(const QString& path) {
    const FilePairs file = ReadFilePairs(path);
    for (const Pair& pair : file.pairs)
        SetValue(pair.key, pair.value);
    if (file.error != 0)
        TraceException(COxaFileException(SystemErrorText(file.error)), TRACE_ERROR,
                       "error loading config file %s", path);
    const bool damaged = !file.clean && !file.missing;
    std::lock_guard lock(m_mutex);
    m_mustWrite = !file.clean;
    m_damaged = damaged;
}

bool ConfigFile::Save() {
    if (!m_persistent)
        return true;
    if (!HasUnsaved())
        return true;
    const QString folder = GetConfigFolder();
    const QString path = GetConfigFilePath();
    // Another process may be between reading and writing the file: wait for it, while this
    // store's readers go on. A folder where no lock file can be made fails below with the
    // system's own reason.
    CWorkFolderLock folderLock(folder);
    if (folderLock.Lock(kSaveLockWait) == CWorkFolderLock::Result::Busy) {
        Trace(TRACE_ERROR, "error saving config file: the folder is locked by another process");
        std::lock_guard lock(m_mutex);
        m_saveError =
            FormatString(IDS_CONFIG_NOT_SAVED, path, FormatString(IDS_WORK_FOLDER_BUSY, folder));
        return false;
    }
    int error = 0;
    {
        std::lock_guard lock(m_mutex);
        if (m_changed.empty() && !m_mustWrite)
            return true; // another thread saved meanwhile
        std::vector<Pair> pairs = m_pairs;
        if (!m_replaceAll)
            TakeUnchanged(pairs, ReadFilePairs(path).pairs);
        if (m_damaged && !KeepDamagedCopy(path))
            error = errno ? errno : EIO;
        if (error == 0)
            error = CReplacingFile::Replace(path, FileBytes(pairs));
        if (error == 0) {
            m_pairs = std::move(pairs);
            m_changed.clear();
            m_mustWrite = m_replaceAll = m_damaged = false;
            m_saveError.clear();
            return true;
        }
        m_saveError = FormatString(IDS_CONFIG_NOT_SAVED, path, SystemErrorText(error));
    }
    TraceException(COxaFileException(SystemErrorText(error)), TRACE_ERROR,
                   "error saving config file");
    return false;
}

void ConfigFile::Refresh() {
    if (!m_persistent)
        return;
    const FilePairs file = ReadFilePairs(GetConfigFilePath());
    std::lock_guard lock(m_mutex);
    TakeUnchanged(m_pairs, file.pairs);
}

void ConfigFile::TakeUnchanged(std::vector<Pair>& pairs, const std::vector<Pair>& filePairs) const {
    for (const Pair& pair : filePairs)
        if (!m_changed.count(pair.key))
            SetPair(pairs, pair.key, pair.value);
}

bool ConfigFile::HasUnsaved() const {
    std::lock_guard lock(m_mutex);
    return !m_changed.empty() || m_mustWrite;
}

QString ConfigFile::SaveError() const {
    std::lock_guard lock(m_mutex);
    return m_saveError;
}

bool ConfigFile::KeepDamagedCopy(const QString& path) {
    const QString copy = path + QStringLiteral(".damaged");
    // Told here rather than at load, which comes before the trace log is open.
    Trace(TRACE_ERROR, "config file %s did not read cleanly; it is kept as %s", path, copy);
    QFile::remove(copy);
    errno = 0;
    return QFile::copy(path, copy) || !QFile::exists(path);
}

QString ConfigFile::GetLanguage() const {
    std::lock_guard lock(m_mutex);
    return m_language;
}

bool ConfigFile::IsLanguageFromCommandLine() const {
    std::lock_guard lock(m_mutex);
    return m_languageFromCommandLine;
}

void ConfigFile::SetLanguage(const QString& language, bool fromCommandLine) {
    std::lock_guard lock(m_mutex);
    m_language = language;
    m_languageFromCommandLine = fromCommandLine;
}

QString ConfigFile::GetHelpFile() const {
    std::lock_guard lock(m_mutex);
    return m_helpFile;
}

void ConfigFile::SetHelpFile(const QString& path) {
    std::lock_guard lock(m_mutex);
    m_helpFile = path;
}

QString ConfigFile::GetConfigFolder() const {
    QString folder;
    {
        std::lock_guard lock(m_mutex);
        folder = m_configFolder;
    }
    return folder.isEmpty() ? GetSharedDataFolder() : WithTrailingSlash(folder);
}

void ConfigFile::SetConfigFolder(const QString& folder) {
    std::lock_guard lock(m_mutex);
    m_configFolder = folder;
}

QString ConfigFile::GetConfigFilePath() const {
    return GetConfigFolder() + QStringLiteral("config.ini");
}

void ConfigFile::SetAffiliateFolder(const QString& folder) {
    std::lock_guard lock(m_affiliateMutex);
    m_affiliateFolder = folder;
    m_affiliate.reset();
}

QString ConfigFile::GetAffiliate() const {
    std::lock_guard lock(m_affiliateMutex);
    if (!m_affiliate) {
        const QString folder = m_affiliateFolder.isEmpty() ? GetExecutableFolder()
                                                           : WithTrailingSlash(m_affiliateFolder);
        QFile file(folder + QStringLiteral("affiliate.txt"));
        QByteArray bytes;
        if (file.open(QIODevice::ReadOnly))
            bytes = file.read(kAffiliateMaxBytes);
        // The identifier is a C string: it ends at the first NUL byte.
        const qsizetype nul = bytes.indexOf('\0');
        if (nul >= 0)
            bytes.truncate(nul);
        m_affiliate = QString::fromLocal8Bit(bytes);
    }
    return *m_affiliate;
}

QString ConfigFile::GetServiceUrl(const QString& key, bool withLanguage) const {
    QString url = GetText(key);
    const QString affiliate = GetAffiliate();
    if (!affiliate.isEmpty())
        url = AddQueryParameter(url, QStringLiteral("affiliate"), affiliate);
    url = AddQueryParameter(url, QStringLiteral("version"), ProgramVersion());
    if (withLanguage)
        url = AddQueryParameter(url, QStringLiteral("language"), GetLanguage());
    return url;
}

bool ConfigFile::ParseCut(const QString& text, std::array<quint32, 4>& numbers) {
    const QStringList fields = text.split(QLatin1Char(','));
    if (fields.size() != int(numbers.size()))
        return false;
    std::array<quint32, 4> parsed{};
    for (size_t i = 0; i < parsed.size(); ++i) {
        const QString& field = fields[qsizetype(i)];
        if (field.isEmpty())
            return false;
        quint64 value = 0;
        for (const QChar c : field) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
            value = value * 10 + quint64(c.unicode() - '0');
            if (value > std::numeric_limits<quint32>::max())
                return false;
        }
        parsed[i] = quint32(value);
    }
    numbers = parsed;
    return true;
}

QString ConfigFile::GetText(const QString& key) const {
    QString value;
    GetValue(key, value);
    return value;
}

bool ConfigFile::GetFlag(const QString& key, bool missing) const {
    bool value = missing;
    GetBool(key, value);
    return value;
}

int ConfigFile::GetNumber(const QString& key, int missing) const {
    int value = missing;
    GetInt(key, value);
    return value;
}

QString ConfigFile::GetTraceLevel() const {
    return GetText(kTraceLevel);
}
void ConfigFile::SetTraceLevel(const QString& level) {
    SetValue(kTraceLevel, level);
}

bool ConfigFile::GetTraceCloseAfterEachLine() const {
    return GetFlag(kTraceCloseAfterEachLine, false);
}
void ConfigFile::SetTraceCloseAfterEachLine(bool on) {
    SetBool(kTraceCloseAfterEachLine, on);
}

bool ConfigFile::GetTraceAKRip() const {
    return GetFlag(kTraceAKRip, false);
}
void ConfigFile::SetTraceAKRip(bool on) {
    SetBool(kTraceAKRip, on);
}

QString ConfigFile::GetActiveSkin() const {
    const QString path = GetText(kActiveSkin);
    return path.isEmpty() ? GetDefaultSkinPath() : path;
}
void ConfigFile::SetActiveSkin(const QString& path) {
    SetValue(kActiveSkin, path);
}

bool ConfigFile::GetLogarithmicView() const {
    return GetFlag(kLogarithmicView, false);
}
void ConfigFile::SetLogarithmicView(bool on) {
    SetBool(kLogarithmicView, on);
}

int ConfigFile::GetLogViewParam_X0() const {
    return GetNumber(kLogViewParamX0, 0);
}
void ConfigFile::SetLogViewParam_X0(int value) {
    SetInt(kLogViewParamX0, value);
}

int ConfigFile::GetLogViewParam_X1() const {
    return GetNumber(kLogViewParamX1, 6000);
}
void ConfigFile::SetLogViewParam_X1(int value) {
    SetInt(kLogViewParamX1, value);
}

int ConfigFile::GetLogViewParam_S() const {
    return GetNumber(kLogViewParamS, 1);
}
void ConfigFile::SetLogViewParam_S(int value) {
    SetInt(kLogViewParamS, value);
}

int ConfigFile::GetRecordingRefreshTime() const {
    return GetNumber(kRecordingRefreshTime, 1000);
}
void ConfigFile::SetRecordingRefreshTime(int milliseconds) {
    SetInt(kRecordingRefreshTime, milliseconds);
}

int ConfigFile::GetMinZoomSec() {
    int seconds = GetNumber(kMinZoomSec, 0);
    if (seconds < 1) {
        SetValue(kMinZoomSec, QStringLiteral("6"));
        seconds = GetNumber(kMinZoomSec, 0);
    }
    return seconds;
}
void ConfigFile::SetMinZoomSec(int seconds) {
    SetInt(kMinZoomSec, seconds);
}

bool ConfigFile::GetSnapToZeroCrossing() const {
    return GetFlag(kSnapToZeroCrossing, false);
}
void ConfigFile::SetSnapToZeroCrossing(bool on) {
    SetBool(kSnapToZeroCrossing, on);
}

bool ConfigFile::GetUndoSelectionEdits() const {
    return GetFlag(kUndoSelectionEdits, true);
}
void ConfigFile::SetUndoSelectionEdits(bool on) {
    SetBool(kUndoSelectionEdits, on);
}

bool ConfigFile::GetKeyboardEditing() const {
    return GetFlag(kKeyboardEditing, true);
}
void ConfigFile::SetKeyboardEditing(bool on) {
    SetBool(kKeyboardEditing, on);
}

bool ConfigFile::GetLoopSeamPreview() const {
    return GetFlag(kLoopSeamPreview, true);
}
void ConfigFile::SetLoopSeamPreview(bool on) {
    SetBool(kLoopSeamPreview, on);
}

int ConfigFile::GetBitRate() const {
    return GetNumber(kBitRate, 0);
}
void ConfigFile::SetBitRate(int bitRate) {
    SetInt(kBitRate, bitRate);
}

QString ConfigFile::GetUploadUrl() const {
    return GetServiceUrl(kUploadUrl, true);
}
void ConfigFile::SetUploadUrl(const QString& url) {
    SetValue(kUploadUrl, url);
}

QString ConfigFile::GetHomePageUrl() const {
    return GetServiceUrl(kHomePageUrl, false);
}
void ConfigFile::SetHomePageUrl(const QString& url) {
    SetValue(kHomePageUrl, url);
}

QString ConfigFile::GetSupportUrl() const {
    return GetServiceUrl(kSupportUrl, false);
}
void ConfigFile::SetSupportUrl(const QString& url) {
    SetValue(kSupportUrl, url);
}

QString ConfigFile::GetHelpUrl() const {
    return GetServiceUrl(kHelpUrl, false);
}
void ConfigFile::SetHelpUrl(const QString& url) {
    SetValue(kHelpUrl, url);
}

QString ConfigFile::GetWavFileName() const {
    return GetText(kWavFileName);
}
void ConfigFile::SetWavFileName(const QString& path) {
    SetValue(kWavFileName, path);
}

QString ConfigFile::GetInputFileName() const {
    return GetText(kInputFileName);
}
void ConfigFile::SetInputFileName(const QString& path) {
    SetValue(kInputFileName, path);
}

QString ConfigFile::GetInputName() const {
    return GetText(kInputName);
}
void ConfigFile::SetInputName(const QString& name) {
    SetValue(kInputName, name);
}

int ConfigFile::GetInputType() const {
    return GetNumber(kInputType, 0);
}
void ConfigFile::SetInputType(int type) {
    SetInt(kInputType, type);
}

QString ConfigFile::GetInputParam() const {
    return GetText(kInputParam);
}
void ConfigFile::SetInputParam(const QString& param) {
    SetValue(kInputParam, param);
}

QString ConfigFile::GetInputTitle() const {
    return GetText(kInputTitle);
}
void ConfigFile::SetInputTitle(const QString& title) {
    SetValue(kInputTitle, title);
}

QString ConfigFile::GetProxy() const {
    return GetText(kProxy);
}
void ConfigFile::SetProxy(const QString& proxy) {
    SetValue(kProxy, proxy);
}

QString ConfigFile::GetCut() const {
    return GetText(kCut);
}
void ConfigFile::SetCut(qint64 start, qint64 end, int fadeIn, int fadeOut) {
    SetValue(kCut, QString::asprintf("%lld,%lld,%d,%d", static_cast<long long>(start),
                                     static_cast<long long>(end), fadeIn, fadeOut));
}

double ConfigFile::GetNormalizationPercent() const {
    double percent = 0;
    GetDouble(kNormalizationPercent, percent);
    return percent >= 10 && percent <= 100 ? percent : 0;
}
void ConfigFile::SetNormalizationPercent(double percent) {
    SetValue(kNormalizationPercent, QString::asprintf("%.2f", percent));
}

bool ConfigFile::GetLoudnessNormalization() const {
    return GetText(kNormalizationMode) == QLatin1String("loudness");
}
void ConfigFile::SetLoudnessNormalization(bool on) {
    SetValue(kNormalizationMode, on ? QStringLiteral("loudness") : QStringLiteral("peak"));
}

double ConfigFile::GetTargetLoudness() const {
    double lufs = -14;
    GetDouble(kTargetLoudness, lufs);
    return lufs >= kMinTargetLoudness && lufs <= kMaxTargetLoudness ? lufs : -14;
}

void ConfigFile::SetTargetLoudness(double lufs) {
    SetValue(kTargetLoudness, QString::number(lufs));
}

double ConfigFile::GetTruePeakCeiling() const {
    double dbtp = -1;
    GetDouble(kTruePeakCeiling, dbtp);
    return dbtp >= kMinTruePeakCeiling && dbtp <= kMaxTruePeakCeiling ? dbtp : -1;
}

void ConfigFile::SetTruePeakCeiling(double dbtp) {
    SetValue(kTruePeakCeiling, QString::number(dbtp));
}

bool ConfigFile::GetSuggestOnOpen() const {
    return GetFlag(kSuggestOnOpen, false);
}
void ConfigFile::SetSuggestOnOpen(bool on) {
    SetBool(kSuggestOnOpen, on);
}

QString ConfigFile::GetWaveInLine() const {
    return GetText(kWaveInLine);
}
void ConfigFile::SetWaveInLine(const QString& line) {
    SetValue(kWaveInLine, line);
}

QString ConfigFile::GetWaveInDevice() const {
    return GetText(kWaveInDevice);
}
void ConfigFile::SetWaveInDevice(const QString& device) {
    SetValue(kWaveInDevice, device);
}

int ConfigFile::GetWaveInVolume() const {
    const int volume = GetNumber(kWaveInVolume, -1);
    return volume >= 0 && volume <= 65535 ? volume : -1;
}
void ConfigFile::SetWaveInVolume(int volume) {
    SetInt(kWaveInVolume, volume);
}

QString ConfigFile::GetWaveOutDevice() const {
    return GetText(kWaveOutDevice);
}
void ConfigFile::SetWaveOutDevice(const QString& device) {
    SetValue(kWaveOutDevice, device);
}

bool ConfigFile::GetAskWantCDRip() const {
    return GetFlag(kAskWantCDRip, true);
}
void ConfigFile::SetAskWantCDRip(bool ask) {
    SetBool(kAskWantCDRip, ask);
}

ConfigFile& GetConfig() {
    std::lock_guard lock(g_configMutex);
    if (!g_config)
        g_config.reset(new ConfigFile(true));
    return *g_config;
}

void DestroyConfig() {
    std::unique_ptr<ConfigFile> config;
    {
        std::lock_guard lock(g_configMutex);
        config.reset(g_config.release());
    }
    // The destructor saves config.ini, outside the lock of the process-wide instance.
}
