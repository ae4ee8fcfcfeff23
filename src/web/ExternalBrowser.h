// The browser of the command line: the desktop's web browser, and the page's address printed.
#pragma once

#include "web/IBrowser.h"

#include <QString>
#include <atomic>
#include <functional>

// Open prints the page's address through the given sink and, when the desktop has a display,
// hands it to the desktop's browser (xdg-open). The person finishes the page there; the upload
// follows the service's answer meanwhile, and the terminal's cancel ends the wait. The closed
// flag is set only by Close, for a caller that offers its own way to give up.
class CExternalBrowser : public IBrowser {
public:
    using Print = std::function<void(const QString& line)>;

    // print is called on the upload thread. With useDesktop false nothing is launched.
    explicit CExternalBrowser(Print print, bool useDesktop = hasDisplay());

    QPoint HostOrigin() const override { return {}; }
    void Open(const QString& url, const BrowserPlacement& placement,
              IOpProgress* progress) override;
    // The desktop's browser is not the program's to close.
    void Hide() override {}
    bool IsClosed() const override { return m_closed; }
    void ResetClosed() override { m_closed = false; }
    // Gives up on the page, as closing the window's browser does.
    void Close();

    // True when a graphical session is there to show a browser (DISPLAY or WAYLAND_DISPLAY).
    static bool hasDisplay();

private:
    Print m_print;
    bool m_useDesktop;
    std::atomic<IOpProgress*> m_progress{nullptr};
    std::atomic<bool> m_closed{false};
};
