// The embedded browser dialog in which a person finishes a beam on the service's pages.
#pragma once

#include "skin/DynBitmap.h"
#include "skin/DynRgn.h"
#include "skin/SkinRect.h"
#include "ui/BrowserDownload.h"
#include "web/IBrowser.h"

#include <QDialog>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

class CBrowserPage;
class CSkinParser;
class CXButton;
class IUserMessages;
class QWebEngineProfile;
class QWebEngineView;

// A skinned popup that lies over the main window while it is active: the page area, and the
// help, website, minimise, about and cancel buttons. Created hidden, once, by the main control
// with the main window as parent; the IBrowser operations may be called from the upload thread
// (they run on the window's thread and wait for it). Without Qt WebEngine in the build Open shows
// the page in the desktop's browser and the page area says so; when the desktop cannot open it,
// Open gives up at once as if the person had closed the dialog.
class CBrowserDlg : public QDialog, public IBrowser {
    Q_OBJECT
public:
    enum Command {
        IdAbout = 1001,
        IdMinimize = 1002,
        IdWebsite = 1003,
        IdHelp = 1004,
        IdCancel = 1008
    };

    CBrowserDlg(QWidget* parent, IUserMessages& messages);
    ~CBrowserDlg() override;

    // Sets what Qt WebEngine needs before the application is made: shared GL contexts and, when
    // the process runs as root or without a display, no sandbox and no GPU. Call before
    // QApplication exists.
    static void PrepareEngine();
    // True when the build has the web engine.
    static bool EngineAvailable();

    // Reads "[browser_dlg]" (browser_ctrl_rect and bitmap are needed, region is optional) and the
    // five button sections; false when the section or a needed key is missing.
    bool loadSkin(CSkinParser& parser);
    // Takes the skin's shape as the window's shape and repaints.
    void applySkin();

    QPoint HostOrigin() const override;
    void Open(const QString& url, const BrowserPlacement& placement,
              IOpProgress* progress) override;
    void Hide() override;
    bool IsClosed() const override { return m_closed; }
    void ResetClosed() override { m_closed = false; }

    // Shows the address in the page area (traced "nav to %s").
    void navigate(const QString& url);
    // Open has shown the page and neither cancel nor Hide came since.
    bool isActive() const { return m_active; }
    // The person cancelled since the last Open.
    bool wasCancelled() const { return m_cancelled; }
    // The page area: the web view, or the label that says the engine is missing.
    QWidget* browserWidget() const { return m_browser; }
    CXButton* button(int id) const;
    CBrowserDownload& downloads() { return m_download; }
#if QUILLET_WITH_WEBENGINE
    QWebEngineView* view() const {
        return m_view;
    }
    CBrowserPage* page() const {
        return m_page;
    }
#endif

    // Cancel (button 1008, Escape): the dialog hides and the beam is told to end.
    void reject() override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Places the dialog and its page area, shows the start address, becomes active.
    void initBrowser();
    void cancel();
    // Acts on a command of a button.
    void onCommand(int id, QWidget* sender);
    // True for a key or wheel event the page must not see; F1 asks the main window for help.
    bool filterInput(QEvent* event);
    // Runs f on the window's thread, waiting for it when called from another thread.
    template <class F> void onGuiThread(F&& f) const;
    // Runs the call another thread handed over, then tells it that the call has ended.
    Q_INVOKABLE void runPendingCall();
    // The window the commands go to and that moves with the dialog.
    QWidget* hostWindow() const;

    IUserMessages& m_messages;
    CBrowserDownload m_download;
    QWidget* m_browser = nullptr;
#if QUILLET_WITH_WEBENGINE
    QWebEngineProfile* m_profile = nullptr;
    CBrowserPage* m_page = nullptr;
    QWebEngineView* m_view = nullptr;
#endif
    std::vector<CXButton*> m_buttons;
    CDynBitmap m_background;
    CDynRgn m_region;
    SkinRect m_browserRect;
    bool m_skinned = false;

    // Set by Open before the dialog is placed; read on the window's thread.
    QString m_startUrl;
    BrowserPlacement m_placement;
    IOpProgress* m_progress = nullptr;
    std::atomic<bool> m_active{false};
    std::atomic<bool> m_cancelled{false};
    std::atomic<bool> m_closed{false};

    // The call handed over by onGuiThread from another thread.
    mutable std::mutex m_callerLock; // held by the caller for the whole call
    mutable std::mutex m_callLock;   // guards m_call and m_callDone
    mutable std::condition_variable m_callEnded;
    mutable std::function<void()> m_call;
    mutable bool m_callDone = false;
};
