// The program's settings: key/value text pairs kept sorted in memory and stored in config.ini.
#pragma once

#include <QString>

#include <array>
#include <mutex>
#include <optional>
#include <set>
#include <vector>

// Every operation is atomic under one lock and may be called from any thread; the typed
// accessors convert the text after the lock is released. A persistent store reloads from and
// saves to config.ini in its configuration folder; a non-persistent one never touches that file.
class ConfigFile {
public:
    struct Pair {
        QString key;
        QString value;
    };

    explicit ConfigFile(bool persistent);
    // A persistent store saves config.ini here.
    virtual ~ConfigFile();
    ConfigFile(const ConfigFile&) = delete;
    ConfigFile& operator=(const ConfigFile&) = delete;

    // Frees a store without writing config.ini (the process-wide one left at exit).
    static void DeleteWithoutSaving(ConfigFile* config);

    // Generic access to the pairs.
    bool GetValue(const QString& key, QString& value) const;
    void SetValue(const QString& key, const QString& value);
    bool GetInt(const QString& key, int& value) const;
    void SetInt(const QString& key, int value);
    bool GetDouble(const QString& key, double& value) const;
    void SetDouble(const QString& key, double value);
    // "1" is true and "0" false; any other text leaves value unchanged and returns false.
    bool GetBool(const QString& key, bool& value) const;
    void SetBool(const QString& key, bool value);
    // A copy of all pairs in their sorted order.
    std::vector<Pair> GetPairs() const;
    void Clear();
    void SetDefaults();
    // Persistent only: clears, sets the defaults and loads config.ini from the configuration
    // folder. Nothing counts as changed afterwards.
    void Reload();
    // Adds every "key=value" line of the file; a failure is written to the trace log. A file that
    // did not read cleanly is copied to "<name>.damaged" before the first save replaces it.
    void Load(const QString& path);
    // Persistent only: when a key changed since the last load or save (or config.ini is missing
    // or damaged), writes config.ini anew, replacing the old file in one step only once the new
    // one is complete. Keys this store did not change take the file's current values first, so a
    // save never undoes another process's settings. False on failure (SaveError() tells why; the
    // old file stays).
    bool Save();
    // Persistent only: takes the file's current value of every key this store has not changed
    // since the last load or save (what another process saved meanwhile).
    void Refresh();
    // The message of the last failed save.
    QString SaveError() const;

    // The language code in use and whether the command line gave it; not stored in config.ini.
    QString GetLanguage() const;
    bool IsLanguageFromCommandLine() const;
    void SetLanguage(const QString& language, bool fromCommandLine);
    // The help file given on the command line; empty means the help web page.
    QString GetHelpFile() const;
    void SetHelpFile(const QString& path);
    // The folder of config.ini: the one set here, or the shared data folder when none is set.
    // Always ends with '/'.
    QString GetConfigFolder() const;
    void SetConfigFolder(const QString& folder);
    QString GetConfigFilePath() const;
    // The folder in which the service URLs look for affiliate.txt (the executable folder unless
    // set); setting it makes the next URL read the file again.
    void SetAffiliateFolder(const QString& folder);

    // "Cut" text: exactly four comma-separated fields of decimal digits, each fitting an unsigned
    // 32-bit number (start, end, fade-in length, fade-out length). False for any other text.
    static bool ParseCut(const QString& text, std::array<quint32, 4>& numbers);

    // The settings, one pair of accessors per key.
    QString GetTraceLevel() const;
    void SetTraceLevel(const QString& level);
    bool GetTraceCloseAfterEachLine() const;
    void SetTraceCloseAfterEachLine(bool on);
    bool GetTraceAKRip() const;
    void SetTraceAKRip(bool on);
    // The default skin file when the setting is missing or empty.
    QString GetActiveSkin() const;
    void SetActiveSkin(const QString& path);
    bool GetLogarithmicView() const;
    void SetLogarithmicView(bool on);
    int GetLogViewParam_X0() const;
    void SetLogViewParam_X0(int value);
    int GetLogViewParam_X1() const;
    void SetLogViewParam_X1(int value);
    int GetLogViewParam_S() const;
    void SetLogViewParam_S(int value);
    // Milliseconds; 1000 when the setting is missing.
    int GetRecordingRefreshTime() const;
    void SetRecordingRefreshTime(int milliseconds);
    // Seconds; a value below 1 is replaced by 6 in the store.
    int GetMinZoomSec();
    void SetMinZoomSec(int seconds);
    // The waveform view's editing aids; each "0"/"1", the default when missing or other text.
    bool GetSnapToZeroCrossing() const; // default off
    void SetSnapToZeroCrossing(bool on);
    bool GetUndoSelectionEdits() const; // default on
    void SetUndoSelectionEdits(bool on);
    bool GetKeyboardEditing() const; // default on
    void SetKeyboardEditing(bool on);
    bool GetLoopSeamPreview() const; // default on
    void SetLoopSeamPreview(bool on);
    int GetBitRate() const;
    void SetBitRate(int bitRate);
    // The service addresses with their query parameters added (affiliate, version, language).
    QString GetUploadUrl() const;
    void SetUploadUrl(const QString& url);
    QString GetHomePageUrl() const;
    void SetHomePageUrl(const QString& url);
    QString GetSupportUrl() const;
    void SetSupportUrl(const QString& url);
    QString GetHelpUrl() const;
    void SetHelpUrl(const QString& url);
    QString GetWavFileName() const;
    void SetWavFileName(const QString& path);
    QString GetInputFileName() const;
    void SetInputFileName(const QString& path);
    QString GetInputName() const;
    void SetInputName(const QString& name);
    int GetInputType() const;
    void SetInputType(int type);
    QString GetInputParam() const;
    void SetInputParam(const QString& param);
    QString GetInputTitle() const;
    void SetInputTitle(const QString& title);
    QString GetProxy() const;
    void SetProxy(const QString& proxy);
    // The stored selection text; ParseCut reads it.
    QString GetCut() const;
    void SetCut(qint64 start, qint64 end, int fadeIn, int fadeOut);
    // Percent; 0 when outside 10 to 100.
    double GetNormalizationPercent() const;
    void SetNormalizationPercent(double percent);
    // The ringtone's gain: from the input's peak (the default, also for text other than
    // "loudness") or from the selection's loudness.
    bool GetLoudnessNormalization() const;
    void SetLoudnessNormalization(bool on);
    // The values TargetLoudness (LUFS) and TruePeakCeiling (dBTP) take.
    static constexpr double kMinTargetLoudness = -70, kMaxTargetLoudness = 0;
    static constexpr double kMinTruePeakCeiling = -20, kMaxTruePeakCeiling = 0;
    // LUFS the loudness mode aims at; -14 when missing or outside -70..0.
    double GetTargetLoudness() const;
    void SetTargetLoudness(double lufs);
    // dBTP the loudness mode keeps the true peak at or under; -1 when missing or outside -20..0.
    double GetTruePeakCeiling() const;
    void SetTruePeakCeiling(double dbtp);
    // Whether opening an input proposes the suggested selection; default off.
    bool GetSuggestOnOpen() const;
    void SetSuggestOnOpen(bool on);
    QString GetWaveInLine() const;
    void SetWaveInLine(const QString& line);
    QString GetWaveInDevice() const;
    void SetWaveInDevice(const QString& device);
    // The recording volume last set in the recording dialog (0 to 65535) for the line WaveInLine
    // of the device WaveInDevice; -1 when missing or out of range.
    int GetWaveInVolume() const;
    void SetWaveInVolume(int volume);
    QString GetWaveOutDevice() const;
    void SetWaveOutDevice(const QString& device);
    // True when the setting is missing or not "0"/"1".
    bool GetAskWantCDRip() const;
    void SetAskWantCDRip(bool ask);

private:
    QString GetText(const QString& key) const;
    bool GetFlag(const QString& key, bool missing) const;
    int GetNumber(const QString& key, int missing) const;
    // The URL of the key with the affiliate, version and (for the upload) language parameters.
    QString GetServiceUrl(const QString& key, bool withLanguage) const;
    QString GetAffiliate() const;
    // Whether a key changed since the last load or save, or config.ini must be written anyway.
    bool HasUnsaved() const;
    // Sets in pairs the file's value of every key not changed since the last load or save
    // (m_mutex held).
    void TakeUnchanged(std::vector<Pair>& pairs, const std::vector<Pair>& filePairs) const;
    // Copies a damaged config.ini aside once, before it is first replaced; false on failure.
    bool KeepDamagedCopy(const QString& path);

    const bool m_persistent;
    bool m_saveOnDestruction = true;
    mutable std::mutex m_mutex;
    std::vector<Pair> m_pairs;
    // Keys set to a new value since the last load or save.
    std::set<QString> m_changed;
    // config.ini is missing or did not read cleanly: the next save writes it whatever changed.
    bool m_mustWrite = true;
    // The damaged file still waits to be copied aside.
    bool m_damaged = false;
    // Clear was called: the next save writes exactly the pairs held, taking nothing from the file.
    bool m_replaceAll = false;
    QString m_saveError;
    QString m_language;
    bool m_languageFromCommandLine = false;
    QString m_configFolder;
    QString m_helpFile;

    mutable std::mutex m_affiliateMutex;
    QString m_affiliateFolder;
    mutable std::optional<QString> m_affiliate;
};

// The process-wide store, created (persistent) on first use.
ConfigFile& GetConfig();
// Destroys the process-wide store, whose destructor saves config.ini. A store that is never
// destroyed this way is not saved when the process exits.
void DestroyConfig();
