// The command-line tool's commands.
#include "CliCommands.h"

#include "CliCdCommands.h"
#include "CliModelCommands.h"
#include "CliRecordCommand.h"
#include "CliSoundCommands.h"
#include "CliStrings.h"
#include "TerminalProgress.h"
#include "app/CmdLineArgs.h"
#include "app/ConfigFile.h"
#include "app/StringIds.h"
#include "app/StringTable.h"
#include "app/Trace.h"
#include "app/WorkFolderLock.h"

#include <QUrl>

#include <algorithm>
#include <array>
#include <chrono>
#include <utility>

namespace {
// How long a command waits for another process to finish in the work folder.
constexpr auto kWorkFolderWait = std::chrono::minutes(2);

// The value of a setting as the program uses it: URL keys with their added parameters.
bool DisplayValue(ConfigFile& config, const QString& key, QString& value) {
    using UrlGetter = QString (ConfigFile::*)() const;
    const std::pair<const char*, UrlGetter> urls[] = {{"UploadUrl", &ConfigFile::GetUploadUrl},
                                                      {"HomePageUrl", &ConfigFile::GetHomePageUrl},
                                                      {"SupportUrl", &ConfigFile::GetSupportUrl},
                                                      {"HelpUrl", &ConfigFile::GetHelpUrl}};
    for (const auto& [name, getter] : urls) {
        if (key == QLatin1String(name)) {
            value = (config.*getter)();
            return true;
        }
    }
    return config.GetValue(key, value);
}
// The number settings, whole or decimal, and the values they take.
struct NumberRange {
    const char* key;
    double low;
    double high;
    bool whole = true;
};
constexpr NumberRange kNumberKeys[] = {
    {"LogViewParam_X0", -1000000, 1000000},
    {"LogViewParam_X1", -1000000, 1000000},
    {"LogViewParam_S", -1000000, 1000000},
    {"RecordingRefreshTime", 10, 10000},
    {"MinZoomSec", 1, 86400},
    {"BitRate", -1, 128},
    {"InputType", 0, 3},
    {"NormalizationPercent", 0, 100, false},
    {"TargetLoudness", ConfigFile::kMinTargetLoudness, ConfigFile::kMaxTargetLoudness, false},
    {"TruePeakCeiling", ConfigFile::kMinTruePeakCeiling, ConfigFile::kMaxTruePeakCeiling, false},
    {"WaveInVolume", -1, 65535},
};
constexpr const char* kFlagKeys[] = {"TraceCloseAfterEachLine",
                                     "TraceAKRip",
                                     "LogarithmicView",
                                     "AskWantCDRip",
                                     "SnapToZeroCrossing",
                                     "UndoSelectionEdits",
                                     "KeyboardEditing",
                                     "LoopSeamPreview",
                                     "SuggestOnOpen"};
constexpr const char* kUrlKeys[] = {"UploadUrl", "HomePageUrl", "SupportUrl", "HelpUrl"};

bool IsOneOf(const QString& key, const auto& names) {
    return std::any_of(std::begin(names), std::end(names),
                       [&](const char* name) { return key == QLatin1String(name); });
}

// Whether the value fits the key: one line of text always, and numbers, flags, service addresses,
// the selection and the trace level as the program reads them. Prints the reason when not.
bool CheckSettingValue(const QString& key, const QString& value) {
    if (value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r'))) {
        PrintError(FormatString(IDS_CLI_SETTING_LINE_BREAK, key));
        return false;
    }
    for (const NumberRange& range : kNumberKeys) {
        if (key != QLatin1String(range.key))
            continue;
        bool ok = false;
        const double number = range.whole ? value.toInt(&ok) : value.toDouble(&ok);
        if (ok && number >= range.low && number <= range.high)
            return true;
        PrintError(FormatString(IDS_CLI_SETTING_NUMBER, key, QString::number(range.low, 'g', 10),
                                QString::number(range.high, 'g', 10)));
        return false;
    }
    bool ok = true;
    if (key == QLatin1String("NormalizationMode")) {
        ok = value == QLatin1String("peak") || value == QLatin1String("loudness");
        if (!ok)
            PrintError(FormatString(IDS_CLI_SETTING_CHOICE, key, QStringLiteral("peak, loudness")));
    } else if (IsOneOf(key, kFlagKeys)) {
        ok = value == QLatin1String("0") || value == QLatin1String("1");
        if (!ok)
            PrintError(FormatString(IDS_CLI_SETTING_FLAG, key));
    } else if (IsOneOf(key, kUrlKeys)) {
        const QUrl url(value, QUrl::StrictMode);
        ok = url.isValid() && !url.host().isEmpty() &&
             (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"));
        if (!ok)
            PrintError(FormatString(IDS_CLI_SETTING_URL, key));
    } else if (key == QLatin1String("Cut")) {
        std::array<quint32, 4> numbers{};
        ok = value.isEmpty() || ConfigFile::ParseCut(value, numbers);
        if (!ok)
            PrintError(FormatString(IDS_CLI_SETTING_CUT, key));
    } else if (key == QLatin1String("TraceLevel")) {
        ok = TraceLevelFromName(value) != 0 ||
             value.compare(QLatin1String("None"), Qt::CaseInsensitive) == 0;
        if (!ok)
            PrintError(FormatString(IDS_CLI_SETTING_TRACE_LEVEL, key));
    }
    return ok;
}
} // namespace

CCliInvocation ParseCliArguments(const QStringList& arguments) {
    CCliInvocation inv;
    inv.frameArguments << (arguments.isEmpty() ? QStringLiteral("quillet-cli") : arguments[0]);
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (!optionsEnded && arg == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && (arg == QLatin1String("--help") || arg == QLatin1String("-h"))) {
            inv.help = true;
            continue;
        }
        if (!optionsEnded && arg == QLatin1String("--version")) {
            inv.version = true;
            continue;
        }
        const KnownOption* frame = nullptr;
        QString value;
        bool hasValue = false;
        if (!optionsEnded) {
            // The frame's options in their GNU forms.
            for (const KnownOption& option : CCmdLineArgs::KnownOptions()) {
                if (!option.gnu)
                    continue;
                const QString name = QLatin1String(option.gnu);
                if (arg == name) {
                    frame = &option;
                } else if (arg.startsWith(name + QLatin1Char('='))) {
                    frame = &option;
                    value = arg.mid(name.size() + 1);
                    hasValue = true;
                }
            }
        }
        if (!frame) {
            if (inv.command.isEmpty())
                inv.command = arg;
            else
                inv.commandArgs << arg;
            continue;
        }
        if (!hasValue) {
            if (i + 1 >= arguments.size()) {
                inv.errorId = IDS_CLI_OPTION_NEEDS_VALUE;
                inv.errorArg = arg;
                return inv;
            }
            value = arguments[++i];
        }
        inv.frameArguments << QStringLiteral("-%1:%2").arg(QLatin1String(frame->name), value);
    }
    return inv;
}

CCliRunner::CCliRunner(CCliInvocation invocation) : m_invocation(std::move(invocation)) {}

int CCliRunner::DoModal(const QString& commandLineFile) {
    // One command at a time writes the work folder's files and config.ini: the window or another
    // quillet-cli working there first finishes. The settings are read again under the lock, so
    // that what the other one stored meanwhile is kept.
    ConfigFile& config = GetConfig();
    const QString folder = config.GetConfigFolder();
    CWorkFolderLock lock(folder);
    const auto waiting = [&] { PrintError(FormatString(IDS_WAITING_FOR_WORK_FOLDER, folder)); };
    if (lock.Lock(kWorkFolderWait, waiting) == CWorkFolderLock::Result::Busy)
        return Failure(FormatString(IDS_WORK_FOLDER_BUSY, folder));
    config.Refresh();
    const int result = RunCommand(commandLineFile);
    // The settings are saved here, where a failure can still be told and change the exit status;
    // the save at shutdown then has nothing left to write.
    if (!GetConfig().Save())
        return Failure(GetConfig().SaveError());
    return result;
}

int CCliRunner::RunCommand(const QString& /*commandLineFile*/) {
    if (m_invocation.errorId)
        return Failure(FormatString(m_invocation.errorId, m_invocation.errorArg));
    if (m_invocation.help) {
        PrintLine(LoadString(IDS_CLI_USAGE));
        return CliSuccess;
    }
    if (m_invocation.command.isEmpty()) {
        PrintError(LoadString(IDS_CLI_USAGE));
        return CliFailed;
    }
    using Command = int (*)(const QStringList&, CCliModelOwner&);
    const std::pair<const char*, Command> modelCommands[] = {
        {"open", CliOpen},       {"info", CliInfo},       {"select", CliSelect},
        {"extract", CliExtract}, {"make", CliMake},       {"beam", CliBeam},
        {"cd", CliCd},           {"play", CliPlay},       {"devices", CliDevices},
        {"record", CliRecord},   {"suggest", CliSuggest},
    };
    if (m_invocation.command == QLatin1String("settings"))
        return Settings(m_invocation.commandArgs);
    for (const auto& [name, run] : modelCommands) {
        if (m_invocation.command == QLatin1String(name)) {
            CTerminalProgress::InstallInterruptHandler();
            return run(m_invocation.commandArgs, m_owner);
        }
    }
    return Failure(FormatString(IDS_CLI_UNKNOWN_COMMAND, m_invocation.command));
}

// settings: all pairs; KEY: one value (URL keys with their parameters); KEY VALUE: store it.
int CCliRunner::Settings(const QStringList& args) {
    ConfigFile& config = GetConfig();
    if (args.size() > 2)
        return Failure(FormatString(IDS_CLI_TOO_MANY_ARGUMENTS, QStringLiteral("settings")));
    if (args.isEmpty()) {
        for (const ConfigFile::Pair& pair : config.GetPairs())
            PrintLine(pair.key + QLatin1Char('=') + pair.value);
        return CliSuccess;
    }
    const QString& key = args[0];
    if (args.size() == 2) {
        // A key is one line without '=', as config.ini stores it.
        const bool keyOk = !key.isEmpty() && !key.contains(QLatin1Char('=')) &&
                           !key.contains(QLatin1Char('\n')) && !key.contains(QLatin1Char('\r'));
        if (!keyOk || !CheckSettingValue(key, args[1]))
            return Failure(FormatString(IDS_CLI_SETTING_REFUSED, key));
        config.SetValue(key, args[1]);
        return CliSuccess;
    }
    QString value;
    if (!DisplayValue(config, key, value))
        return Failure(FormatString(IDS_CLI_NO_SUCH_SETTING, key));
    PrintLine(value);
    return CliSuccess;
}
