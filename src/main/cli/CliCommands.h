// The command-line tool's commands, run on the model in place of the main window.
#pragma once

#include "CliModelOwner.h"
#include "TerminalMessages.h"
#include "frame/QuilletApp.h"

#include <QString>
#include <QStringList>

// What the command line asked for, split into the frame's options and the command.
struct CCliInvocation {
    // The program name and "-name:value" options, as the window's command line gives them.
    QStringList frameArguments;
    QString command;
    QStringList commandArgs; // the command's own arguments and options, in order
    bool help = false;
    bool version = false;
    // A usage error found while parsing: a string-table identifier and its argument.
    int errorId = 0;
    QString errorArg;
};

// Parses GNU-style arguments: --work-dir, --log-dir, --trace-level, --lang (as "--x VALUE" or
// "--x=VALUE"), --help/-h, --version; the first other argument is the command.
CCliInvocation ParseCliArguments(const QStringList& arguments);

// Exit statuses of the tool.
enum CliExit : int { CliSuccess = 0, CliCancelled = 1, CliFailed = 2 };

// Prints the message on standard error and gives the exit status of a failure.
inline int Failure(const QString& message) {
    PrintError(message);
    return CliFailed;
}

class CCliRunner : public IMainDialog {
public:
    explicit CCliRunner(CCliInvocation invocation);
    int DoModal(const QString& commandLineFile) override;

private:
    // Runs the command of the invocation; its exit status.
    int RunCommand(const QString& commandLineFile);
    int Settings(const QStringList& args);

    CCliInvocation m_invocation;
    CCliModelOwner m_owner;
};
