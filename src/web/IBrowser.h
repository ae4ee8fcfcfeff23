// The browser in which a person finishes a beam on the service's pages, as the upload sees it.
#pragma once

#include <QPoint>
#include <QString>

class IOpProgress;

// Where the browser goes: its top-left corner on the screen and the size of its page area.
struct BrowserPlacement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The window's embedded browser, or the command line's stand-in. Every operation is safe to call
// from the upload thread: an implementation marshals what must run on its own thread.
class IBrowser {
public:
    virtual ~IBrowser() = default;

    // The top-left corner of the main window's frame, where the browser is placed.
    virtual QPoint HostOrigin() const = 0;
    // Places the browser, shows the page at url in front of everything and remembers progress:
    // closing the browser tells it SetTextId(IDS_TERMINATING_BEAM) and Show(true).
    virtual void Open(const QString& url, const BrowserPlacement& placement,
                      IOpProgress* progress) = 0;
    // Hides the browser; the beam is over. Harmless when it is not open.
    virtual void Hide() = 0;
    // True once the person closed the browser since the last ResetClosed.
    virtual bool IsClosed() const = 0;
    virtual void ResetClosed() = 0;
};
