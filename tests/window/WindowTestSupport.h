// Helpers of the window tests: a private configuration with the translations, input files,
// waiting for the window, clicks.
#pragma once

#include "skin/GuiTestApp.h"
#include "skin/XButton.h"
#include "ui/BrowserDlg.h"
#include "ui/QuilletCtrl.h"
#include "ui/QuilletDlg.h"
#include "ui/UiTestSupport.h"
#include "workflow/ModelTestSupport.h"

#include <QApplication>
#include <QDesktopServices>
#include <QTest>
#include <QTimer>
#include <functional>

#if QUILLET_WITH_WEBENGINE
#include "ui/BrowserPage.h"
#endif

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
    // A window started with the file, shown and its model started.
    std::unique_ptr<CQuilletDlg> start(const QString& file = {}) {
        auto dlg = std::make_unique<CQuilletDlg>(m_messages, file);
        dlg->show();
        EXPECT_TRUE(WaitFor([&] { return dlg->isModelStarted(); }));
        return dlg;
    }
    // The controls of the main control that are enabled, by identifier.
    static std::vector<int> enabled(const CQuilletDlg& dlg) {
        std::vector<int> ids;
        for (int id : {1, 3, 4, 10, 12, 21, 22, 23, 31, 32, 41, 42, 43, 51, 52, 101})
            if (dlg.ctrl().control(id)->isEnabled())
                ids.push_back(id);
        return ids;
    }

    QTemporaryDir m_files;
    modeltest::RecordingMessages m_messages;
};

// Acts as the person each time the service's transfer page has loaded in the browser dialog (or,
// without the web engine, was given to the desktop to open), with the count of pages so far. It
// watches for the dialog's showing: the page loads only after that.
class Person : public QObject {
    Q_OBJECT
public:
    using Act = std::function<void(CBrowserDlg&, const QUrl& page, int count)>;
    explicit Person(Act act) : m_act(std::move(act)) {
        qApp->installEventFilter(this);
        QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "openUrl");
    }
    ~Person() override { QDesktopServices::unsetUrlHandler(QStringLiteral("http")); }

    CBrowserDlg* dialog = nullptr; // once shown
    int pages = 0;                 // transfer pages acted on
    QList<QUrl> opened;            // addresses given to the desktop to open

public Q_SLOTS:
    void openUrl(const QUrl& url) {
        opened << url;
        if (!CBrowserDlg::EngineAvailable() && url.path() == QStringLiteral("/transfer"))
            QTimer::singleShot(0, this, [this, url] { m_act(*dialog, url, ++pages); });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Show || dialog || !qobject_cast<CBrowserDlg*>(watched))
            return false;
        dialog = static_cast<CBrowserDlg*>(watched);
#if QUILLET_WITH_WEBENGINE
        connect(dialog->page(), &QWebEnginePage::loadFinished, this, [this](bool ok) {
            const QUrl page = dialog->page()->url();
            if (ok && dialog->isActive() && page.path() == QStringLiteral("/transfer"))
                m_act(*dialog, page, ++pages);
        });
#endif
        return false;
    }

private:
    Act m_act;
};

} // namespace windowtest
