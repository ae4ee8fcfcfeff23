// The command-line tool's commands.
#include "CliCommands.h"

#include "CliCdCommands.h"
#include "CliModelCommands.h"
#include "CliSoundCommands.h"
#include "CliStrings.h"
#include "TerminalProgress.h"
#include "app/ConfigFile.h"
#include "app/StringIds.h"
#include "app/StringTable.h"
#include "app/WorkFolderLock.h"

#include <chrono>
#include <utility>

namespace {
// How long a command waits for another process to finish in the work folder.
constexpr auto kWorkFolderWait = std::chrono::minutes(2);

// GNU options of the tool and the window options they stand for.
struct FrameOption {
    const char* gnu;
    const char* frame;
};
constexpr FrameOption kFrameOptions[] = {{"--work-dir", "work_dir"},
                                         {"--log-dir", "log_dir"},
                                         {"--trace-level", "trace_level"},
                                         {"--lang", "lang"}};

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
        const FrameOption* frame = nullptr;
        QString value;
        bool hasValue = false;
        if (!optionsEnded) {
            for (const FrameOption& option : kFrameOptions) {
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
        inv.frameArguments << QStringLiteral("-%1:%2").arg(QLatin1String(frame->frame), value);
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
        {"open", CliOpen},       {"info", CliInfo}, {"select", CliSelect},
        {"extract", CliExtract}, {"make", CliMake}, {"beam", CliBeam},
        {"cd", CliCd},           {"play", CliPlay}, {"devices", CliDevices},
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
        config.SetValue(key, args[1]);
        return CliSuccess;
    }
    QString value;
    if (!DisplayValue(config, key, value))
        return Failure(FormatString(IDS_CLI_NO_SUCH_SETTING, key));
    PrintLine(value);
    return CliSuccess;
}
