// The browser of the command line.
#include "web/ExternalBrowser.h"

#include "app/IOpProgress.h"
#include "app/StringIds.h"
#include "app/Trace.h"

#include <QProcess>
#include <QStandardPaths>

CExternalBrowser::CExternalBrowser(Print print, bool useDesktop)
    : m_print(std::move(print)), m_useDesktop(useDesktop) {}

void CExternalBrowser::Open(const QString& url, const BrowserPlacement& placement,
                            IOpProgress* progress) {
    (void)placement;
    m_progress = progress;
    if (m_print)
        m_print(url);
    if (!m_useDesktop)
        return;
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty() || !QProcess::startDetached(opener, {url}))
        Trace(TRACE_WARNING, "could not open %s in the desktop's browser", url);
}

void CExternalBrowser::Close() {
    m_closed = true;
    if (IOpProgress* progress = m_progress) {
        progress->SetTextId(IDS_TERMINATING_BEAM);
        progress->Show(true);
    }
}

bool CExternalBrowser::hasDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}
