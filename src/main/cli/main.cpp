// quillet-cli: the program's start-up and shutdown around one command on the model.
#include "CliCommands.h"

#include "app/AppInfo.h"
#include "frame/QuilletApp.h"

#include <QCoreApplication>

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quillet-cli"));

    CCliInvocation invocation = ParseCliArguments(QCoreApplication::arguments());
    if (invocation.version && !invocation.help) {
        PrintLine(QStringLiteral("quillet-cli ") + ProgramVersion());
        return CliSuccess;
    }
    CQuilletApp app(invocation.frameArguments);
    CCliRunner runner(std::move(invocation));
    return app.Run(runner, false);
}
