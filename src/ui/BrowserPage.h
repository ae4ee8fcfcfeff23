// The page of the embedded browser: the before-navigate hook, the external object, no windows.
#pragma once

#include <QList>
#include <QUrl>
#include <QWebEnginePage>

class QWebEngineProfile;
class QWebEngineScript;

// Every navigation passes JudgeNavigation: download links are handed to the dialog (the page
// stays where it is), other web addresses are followed, every other scheme and moves through the
// history are refused. A page's request for a new window gets a hidden catcher page that only
// passes a download link on.
class CBrowserPage : public QWebEnginePage {
    Q_OBJECT
public:
    CBrowserPage(QWebEngineProfile* profile, QObject* parent);

    // The script run at every document's creation in the page's own world: window.external
    // answers the name xxyyzz (any name whose first three characters compare equal to "xxy" in
    // the user's locale) with "Wibble" and throws a name-not-found error for every other name.
    static QWebEngineScript ExternalObjectScript();
    // The addresses refused so far, in order.
    const QList<QUrl>& refused() const { return m_refused; }
    // New-window requests the page made.
    int windowRequests() const { return m_windowRequests; }

Q_SIGNALS:
    // A download link was clicked on the page at referrer (handled after the hook returned).
    void downloadRequested(const QUrl& link, const QUrl& referrer);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int line, const QString& source) override;

private:
    // A catcher page for a new window of owner.
    CBrowserPage(QWebEngineProfile* profile, CBrowserPage* owner);

    CBrowserPage* m_owner = nullptr; // set on a catcher page
    QList<QUrl> m_refused;
    int m_windowRequests = 0;
};
