// The widget application of the skin tests.
#include "GuiTestApp.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QThread>

namespace {
int g_argc = 1;
char g_name[] = "test_skin";
char* g_argv[] = {g_name, nullptr};
} // namespace

void EnsureGuiApp() {
    if (QApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(g_argc, g_argv); // lives until the test program ends
}

QString ShippedSkinsFolder() {
    return QDir::cleanPath(QStringLiteral(QUILLET_TEST_DATA_DIR "/../../skins")) + QLatin1Char('/');
}

bool WaitUntil(const std::function<bool()>& condition, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > ms)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return true;
}
