// The progress dialog of long operations: title, two text lines, a bar with its percentage, Cancel.
#pragma once

#include "app/IOpProgress.h"

#include <QDialog>

#include <atomic>
#include <mutex>
#include <optional>

class QLabel;
class QProgressBar;
class QPushButton;

// An operation on the GUI thread gets the window kept alive by every call: pending events are
// processed (mouse and paint reach every window, so Cancel works) while key events are held back,
// but Escape, or Space/Enter on the Cancel button, cancels. Calls from another thread are handed
// to the GUI thread and never process events there. Created, used and destroyed on the GUI thread.
class CProgressDlg : public QDialog, public IOpProgress {
    Q_OBJECT
public:
    // A hidden dialog titled with the string-table text titleId, modal over parent when shown.
    CProgressDlg(QWidget* parent, int titleId);
    ~CProgressDlg() override;

    void SetText(const QString& text) override;
    void SetTextId(int id) override;
    void SetSubText(const QString& text) override;
    void SetSubTextId(int id) override;
    void SetRange(uint32_t total) override;
    void SetPos(uint32_t done) override;
    void Step(uint32_t delta) override;
    // Shows the dialog centred over its parent, or hides it.
    void Show(bool show) override;
    // Processes pending events first (on the GUI thread), then tells whether Cancel was pressed.
    bool IsCanceled() override;

    QPushButton* cancelButton() const { return m_cancel; }
    // The label's text: the main line, and the second one below it when there is one.
    QString labelText() const;
    // The bar's position in per mille of the range.
    int barValue() const;

    // Escape and the window's close button act as Cancel; the dialog stays open.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What is to change on the screen; calls from other threads collect it under m_pendingLock.
    struct Pending {
        std::optional<QString> text; // a new main line
        std::optional<QString> subText;
        std::optional<bool> show;
    };

    // Sets the cancelled flag when the dialog is visible.
    void OnCancel();
    // On the GUI thread the change is shown at once and events are processed; from another
    // thread it is collected and one FlushPending call is posted to the GUI thread for it.
    template <class Edit> void Change(Edit edit);
    // Shows what other threads left (posted by Change).
    Q_INVOKABLE void FlushPending();
    // Shows the texts, the position, and the dialog or not.
    void ApplyPending(const Pending& pending);
    // Shows the dialog centred over its parent, or hides it.
    void ShowNow(bool show);
    // Shows the position as bar and percentage.
    void UpdateBar();
    // Processes the pending events with key events held back.
    void ProcessEvents();

    QLabel* m_label;
    QProgressBar* m_bar;
    QPushButton* m_cancel;
    QString m_text;
    QString m_subText;
    std::atomic<uint32_t> m_total{0};
    std::atomic<uint32_t> m_pos{0};
    std::atomic<bool> m_cancelled{false};
    std::mutex m_pendingLock;
    Pending m_pending;          // under m_pendingLock
    bool m_flushPosted = false; // under m_pendingLock
    bool m_processing = false;
};
