// The widget application of the skin tests.
#include "GuiTestApp.h"

#include <QApplication>
#include <QDir>

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
