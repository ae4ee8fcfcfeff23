// The page of the embedded browser.
#include "ui/BrowserPage.h"

#include "app/Trace.h"
#include "web/DownloadLink.h"

#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

namespace {

// The external object. Names are compared as the host compares them: the first three characters,
// by the locale's collation. Symbols (used by the engine to convert values) get nothing.
constexpr char kExternalObject[] = R"((function () {
  var wanted = "xxyyzz".slice(0, 3);
  var external = new Proxy({}, {
    get: function (target, name) {
      if (typeof name !== "string") return undefined;
      if (name.slice(0, 3).localeCompare(wanted) === 0) return "Wibble";
      throw new ReferenceError("Unknown name: " + name);
    },
    has: function (target, name) {
      return typeof name === "string" && name.slice(0, 3).localeCompare(wanted) === 0;
    }
  });
  try {
    Object.defineProperty(window, "external", { value: external, writable: false,
                                                configurable: false, enumerable: true });
  } catch (e) {
    window.external = external;
  }
})();)";

void Configure(QWebEnginePage& page) {
    QWebEngineSettings* settings = page.settings();
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, false);
    // The page area shows no scroll bars; the wheel and the keys still scroll.
    settings->setAttribute(QWebEngineSettings::ShowScrollBars, false);
}

} // namespace

CBrowserPage::CBrowserPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent) {
    Configure(*this);
    scripts().insert(ExternalObjectScript());
}

CBrowserPage::CBrowserPage(QWebEngineProfile* profile, CBrowserPage* owner)
    : QWebEnginePage(profile, owner), m_owner(owner) {
    Configure(*this);
}

QWebEngineScript CBrowserPage::ExternalObjectScript() {
    QWebEngineScript script;
    script.setName(QStringLiteral("quillet-external"));
    script.setSourceCode(QString::fromLatin1(kExternalObject));
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::MainWorld);
    script.setRunsOnSubFrames(true);
    return script;
}

bool CBrowserPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    const NavigationVerdict verdict = JudgeNavigation(url);
    if (verdict == NavigationVerdict::Download) {
        CBrowserPage* owner = m_owner ? m_owner : this;
        // The person chooses the file and waits for it after the engine got its answer.
        QMetaObject::invokeMethod(
            owner, [owner, url] { Q_EMIT owner->downloadRequested(url, owner->url()); },
            Qt::QueuedConnection);
    }
    if (m_owner) {
        // A new window never opens: its page goes once it has shown what it wanted.
        deleteLater();
        return false;
    }
    const bool follow = verdict == NavigationVerdict::Follow && type != NavigationTypeBackForward;
    if (verdict != NavigationVerdict::Download && !follow) {
        Trace(TRACE_ERROR, "navigation refused: %s", url.toString());
        m_refused.append(url);
    }
    (void)isMainFrame;
    return follow;
}

QWebEnginePage* CBrowserPage::createWindow(WebWindowType type) {
    (void)type;
    ++m_windowRequests;
    Trace(TRACE_DEBUG, "new window refused");
    return m_owner ? nullptr : new CBrowserPage(profile(), this);
}

void CBrowserPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level,
                                            const QString& message, int line,
                                            const QString& source) {
    Trace(TRACE_DEBUG, "page console (%d) %s:%d: %s", int(level), source, line, message);
}
