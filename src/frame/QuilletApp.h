// The application frame: start-up, the main dialog supplied by the caller, and shutdown.
#pragma once

#include "app/CmdLineArgs.h"

#include <QString>
#include <QStringList>

// What runs between start-up and shutdown: the window, or one command of the command-line tool.
class IMainDialog {
public:
    virtual ~IMainDialog() = default;
    // Runs until the person or the command is done; the result is the process's exit status.
    virtual int DoModal(const QString& commandLineFile) = 0;
    // A later start of the program asked this one to come forward (restore and raise the window)
    // and to open file, an absolute path, unless it is empty.
    virtual void BringToFront(const QString& file) { (void)file; }
};

class CQuilletApp {
public:
    explicit CQuilletApp(const QStringList& arguments);

    // Start-up, the single-instance check when asked for, the dialog, then shutdown. Returns the
    // dialog's result, or 0 when another instance already runs.
    int Run(IMainDialog& dialog, bool singleInstance);

    const CCmdLineArgs& args() const { return m_args; }
    const QString& commandLineFile() const { return m_args.file(); }

private:
    void StartUp();
    QString SetUpLogFolder(bool& failed);
    void WriteStartLines();
    void EchoOptions(bool logDirFailed);
    bool ApplySkinOption();
    void SelectLanguage(bool skinGiven);
    int RunDialog(IMainDialog& dialog, bool singleInstance);
    void ShutDown();

    CCmdLineArgs m_args;
    QString m_logFolder;
};
