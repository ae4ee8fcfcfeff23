// What the browser tests share: the engine started headless, a running service, the page's
// script, and the messages the person would see.
#pragma once

#include "app/IUserMessages.h"
#include "skin/GuiTestApp.h"
#include "support/ServiceProcess.h"
#include "ui/BrowserDlg.h"
#include "workflow/ModelTestSupport.h"

#include <QApplication>
#include <QVariant>
#include <functional>
#include <gtest/gtest.h>
#include <mutex>
#include <vector>

#if QUILLET_WITH_WEBENGINE
#include "ui/BrowserPage.h"
#include <QWebEngineView>
#endif

namespace browsertest {

// The message boxes, recorded instead of shown; safe from any thread.
class RecordedMessages : public IUserMessages {
public:
    void ShowMessage(Kind kind, const QString& text) override {
        const std::lock_guard lock(m_lock);
        m_seen.push_back(
            (kind == Kind::Error ? QStringLiteral("error: ") : QStringLiteral("info: ")) + text);
    }
    std::vector<QString> seen() const {
        const std::lock_guard lock(m_lock);
        return m_seen;
    }

private:
    mutable std::mutex m_lock;
    std::vector<QString> m_seen;
};

// The model tests' private configuration, and the application with the engine prepared.
class BrowserTest : public modeltest::ModelTest {
protected:
    void SetUp() override {
        if (!QApplication::instance())
            CBrowserDlg::PrepareEngine();
        EnsureGuiApp();
        ModelTest::SetUp();
    }

    RecordedMessages m_messages;
};

#if QUILLET_WITH_WEBENGINE
// Shows url in the view and waits until it is painted (loaded); false when it did not load.
inline bool Load(CBrowserDlg& dialog, const std::string& url) {
    bool finished = false;
    bool ok = false;
    auto connection = QObject::connect(dialog.page(), &QWebEnginePage::loadFinished,
                                       [&](bool success) { finished = true, ok = success; });
    dialog.navigate(QString::fromStdString(url));
    WaitUntil([&] { return finished; });
    QObject::disconnect(connection);
    return ok;
}

// The value of the script run in the page's own world.
inline QVariant RunJs(CBrowserDlg& dialog, const QString& script) {
    QVariant result;
    bool done = false;
    dialog.page()->runJavaScript(script,
                                 [&](const QVariant& value) { result = value, done = true; });
    WaitUntil([&] { return done; });
    return result;
}
#endif

} // namespace browsertest
