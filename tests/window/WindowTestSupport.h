// Helpers of the window tests: the widget application, a private configuration, clicks and keys.
#pragma once

#include "workflow/ModelTestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <functional>

namespace windowtest {

// The widget application of the suite, made once.
inline void EnsureGuiApp() {
    static int argc = 1;
    static char name[] = "test_window";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance())
        new QApplication(argc, argv); // lives until the test program ends
}

// The shipped skin of a language, from the source tree.
inline QString ShippedSkin(const char* lang) {
    return QDir::cleanPath(QStringLiteral(QUILLET_TEST_DATA_DIR "/../../skins/") +
                           QLatin1String(lang) + QStringLiteral("/__default.sdf"));
}

// Serves events until the condition holds; false when it did not within 20 s.
inline bool WaitFor(const std::function<bool()>& condition) {
    QElapsedTimer waited;
    waited.start();
    while (!condition()) {
        if (waited.elapsed() > 20000)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// A left click in the middle of the widget, as the mouse gives it.
inline void Click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton);
}

// A model test with the widget application.
class WindowTest : public modeltest::ModelTest {
protected:
    void SetUp() override {
        EnsureGuiApp();
        ModelTest::SetUp();
        GetConfig().SetActiveSkin(ShippedSkin("en"));
    }
};

} // namespace windowtest
