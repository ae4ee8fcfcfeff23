// Helpers of the window tests: a private configuration with the translations, input files,
// waiting for the window, clicks.
#pragma once

#include "skin/GuiTestApp.h"
#include "ui/BrowserDlg.h"
#include "ui/UiTestSupport.h"
#include "workflow/ModelTestSupport.h"

#include <QApplication>
#include <QTest>
#include <functional>

namespace windowtest {

// The shipped skin of a language, from the source tree.
inline QString ShippedSkin(const char* lang) {
    return ShippedSkinsFolder() + QLatin1String(lang) + QStringLiteral("/__default.sdf");
}

// Serves events until the condition holds; false when it did not within 20 s.
inline bool WaitFor(const std::function<bool()>& condition) {
    return WaitUntil(condition, 20000);
}

// A left click in the middle of the widget, as the mouse gives it.
inline void Click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton);
}

// A dialog test with the English skin in force and a folder for input files.
class WindowTest : public uitest::DialogTest {
protected:
    void SetUp() override {
        if (!QApplication::instance())
            CBrowserDlg::PrepareEngine(); // a beam opens the embedded browser
        DialogTest::SetUp();
        ASSERT_TRUE(m_files.isValid());
        GetConfig().SetActiveSkin(ShippedSkin("en"));
    }
    QString file(const QString& name) const { return m_files.filePath(name); }

    QTemporaryDir m_files;
    modeltest::RecordingMessages m_messages;
};

} // namespace windowtest
