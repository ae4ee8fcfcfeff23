// The application frame: everything the program does before and after its main dialog.
#include "frame/QuilletApp.h"

#include "app/AppInfo.h"
#include "app/ConfigFile.h"
#include "app/Folders.h"
#include "app/Language.h"
#include "app/SingleInstance.h"
#include "app/Trace.h"
#include "app/TracedFiles.h"
#include "audio/AudioCore.h"
#include "audio/CdLibraryTrace.h"
#include "platform/axis/AxisMode.h"
#include "util/Utils.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QSysInfo>

#include <pwd.h>
#include <unistd.h>

namespace {
QString Opt(const CCmdLineArgs& args, const char* name) {
    return args.GetOption(QString::fromLatin1(name));
}

QString UserLogin() {
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_name && *pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    const QByteArray user = qgetenv("USER");
    return user.isEmpty() ? QStringLiteral("unknown user login name")
                          : QString::fromLocal8Bit(user);
}

} // namespace

CQuilletApp::CQuilletApp(const QStringList& arguments) : m_args(arguments) {}

int CQuilletApp::Run(IMainDialog& dialog, bool singleInstance) {
    StartUp();
    const int result = RunDialog(dialog, singleInstance);
    ShutDown();
    return result;
}

void CQuilletApp::StartUp() {
    // The configuration, from the work_dir folder or the shared data folder.
    ConfigFile& config = GetConfig();
    const QString workDir = Opt(m_args, "work_dir");
    if (!workDir.isEmpty())
        QDir().mkpath(workDir); // a new work folder is made, as the shared data folder is
    config.SetConfigFolder(workDir);
    config.Reload();
    config.GetMinZoomSec(); // repairs a stored value below one second, so it is saved usable

    bool logDirFailed = false;
    m_logFolder = SetUpLogFolder(logDirFailed);

    const QString traceLevelOption = Opt(m_args, "trace_level");
    int level = 0;
    if (!traceLevelOption.isEmpty()) {
        level = TraceLevelFromName(traceLevelOption);
        config.SetTraceLevel(traceLevelOption);
    } else {
        level = TraceLevelFromName(config.GetTraceLevel());
    }
    TraceSetPrefix(m_logFolder + QStringLiteral("Log"));
    TraceSetLevel(level);
    TraceSetDebugOutput(false);
    TraceSetCloseAfterEachLine(config.GetTraceCloseAfterEachLine());

    WriteStartLines();
    if (config.GetTraceAKRip())
        StartCdLibraryTrace();
    EchoOptions(logDirFailed);

    const QString help = Opt(m_args, "help");
    if (!help.isEmpty()) {
        Trace(TRACE_DEBUG, "cmdline help: %s", help);
        config.SetHelpFile(help);
    }
    SelectLanguage(ApplySkinOption());
    Axis_SetMode(0); // the waveform's time axis counts the input's own time
}

// The log folder: the log_dir option when it can be used or created, else the configuration folder.
QString CQuilletApp::SetUpLogFolder(bool& failed) {
    QString folder = Opt(m_args, "log_dir");
    if (!folder.isEmpty() && !AssureDirExists(folder)) {
        failed = true;
        folder.clear();
    }
    if (folder.isEmpty())
        folder = GetConfig().GetConfigFolder();
    return WithTrailingSlash(folder);
}

void CQuilletApp::WriteStartLines() {
    // Below Info none of the lines is written; their facts (the host, the OS release file, the
    // user's entry) are not gathered either.
    if (TraceGetLevel() < TRACE_INFO)
        return;
    Trace(TRACE_INFO, "Starting Quillet version %s", ProgramVersion());
    Trace(TRACE_INFO, "Start date: %s", QDate::currentDate().toString(QStringLiteral("MM/dd/yy")));
    Trace(TRACE_INFO, "Computer name: %s", QSysInfo::machineHostName());
    Trace(TRACE_INFO, "OS: %s", GetOSDescription());
    Trace(TRACE_INFO, "User login: %s", UserLogin());
    Trace(TRACE_INFO, "Build time: %s, %s\r\n", BuildDate(), BuildTime());
}

void CQuilletApp::EchoOptions(bool logDirFailed) {
    if (!m_args.file().isEmpty())
        Trace(TRACE_DEBUG, "cmdline file: %s", m_args.file());
    if (const QString workDir = Opt(m_args, "work_dir"); !workDir.isEmpty())
        Trace(TRACE_DEBUG, "cmdline work_dir: %s", workDir);
    if (const QString logDir = Opt(m_args, "log_dir"); !logDir.isEmpty()) {
        if (logDirFailed)
            Trace(TRACE_ERROR, "could not use or create log dir: '%s'; using '%s'", logDir,
                  m_logFolder);
        else
            Trace(TRACE_DEBUG, "cmdline log_dir: %s", logDir);
    }
    if (const QString level = Opt(m_args, "trace_level"); !level.isEmpty())
        Trace(TRACE_DEBUG, "cmdline trace_level: %s", level);
}

// The skin option, when its file exists, becomes the active skin. True when it is in force.
bool CQuilletApp::ApplySkinOption() {
    const QString skin = Opt(m_args, "skin");
    if (skin.isEmpty())
        return false;
    Trace(TRACE_DEBUG, "cmdline skin: %s", skin);
    if (!QFileInfo::exists(skin)) {
        Trace(TRACE_ERROR, "skin file not found: %s", skin);
        return false;
    }
    GetConfig().SetActiveSkin(skin);
    return true;
}

// The translation file: the one used last, the lang option's, or English; then the library starts.
void CQuilletApp::SelectLanguage(bool skinGiven) {
    ConfigFile& config = GetConfig();
    QString traFile = GetLastTraFile();
    if (traFile.isEmpty() || !QFileInfo::exists(traFile)) {
        traFile = GetDefaultTraFilePath();
        SetLastTraFile(traFile);
    }
    if (const QString lang = Opt(m_args, "lang"); !lang.isEmpty()) {
        Trace(TRACE_DEBUG, "cmdline lang: %s", lang);
        config.SetLanguage(lang, true);
        traFile = GetTraFilePath(lang);
        SetLastTraFile(traFile);
        if (!skinGiven) {
            const QString skin = GetSkinPath(lang);
            if (QFileInfo::exists(skin))
                config.SetActiveSkin(skin);
            else
                Trace(TRACE_ERROR, "skin file %s not found", skin);
        }
    }
    StartLanguage(traFile, GetLanguageMemoryPath());
    if (config.GetLanguage().isEmpty())
        config.SetLanguage(GetCurrentLanguage(), false);
}

int CQuilletApp::RunDialog(IMainDialog& dialog, bool singleInstance) {
    if (!singleInstance)
        return dialog.DoModal(m_args.file());
    CSingleInstance instance;
    if (!instance.TryBecomeInstance(m_args.file())) {
        Trace(TRACE_DEBUG, "Another instance exists. Exiting...");
        return 0;
    }
    QObject::connect(&instance, &CSingleInstance::activationRequested,
                     [&dialog](const QString& file) { dialog.BringToFront(file); });
    return dialog.DoModal(m_args.file());
}

void CQuilletApp::ShutDown() {
    CAudioCore::destroyInstance();
    StopCdLibraryTrace();
    DestroyConfig(); // saves config.ini
    Trace(TRACE_INFO, "Quillet ended");
}
