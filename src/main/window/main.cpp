// quillet: the program's window, between the program's start-up and shutdown.
#include "frame/QuilletApp.h"
#include "ui/BrowserDlg.h"
#include "ui/DesktopIdentity.h"
#include "ui/QuilletWindow.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    CBrowserDlg::PrepareEngine(); // before the application exists
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quillet"));
    QApplication::setQuitOnLastWindowClosed(false); // the dialog's end ends the program
    SetDesktopIdentity();
    CQuilletApp app(QApplication::arguments());
    CQuilletWindow window;
    return app.Run(window, true);
}
