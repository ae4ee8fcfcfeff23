// The window's message boxes: the program's errors and information, translated, over a window.
#pragma once

#include "app/IUserMessages.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <mutex>

// Shows each message in a QMessageBox captioned "Quillet" with an OK button in the current
// language, over the given window (or the active window when it has none or it is gone). A call
// from another thread is carried out on the GUI thread and waits until the box is closed; the GUI
// thread must keep processing events meanwhile (as it does while the upload runs).
class CWindowMessages : public QObject, public IUserMessages {
    Q_OBJECT
public:
    // Lives on the GUI thread (that of the application) whichever thread makes it.
    explicit CWindowMessages(QWidget* parent = nullptr);

    // The window the boxes appear over from now on (GUI thread).
    void setParent(QWidget* parent) { m_parent = parent; }
    void ShowMessage(Kind kind, const QString& text) override;

private:
    // Shows the box and waits for it (GUI thread).
    void Show(Kind kind, const QString& text);
    // Shows the box another thread asked for (posted by ShowMessage).
    Q_INVOKABLE void ShowRequested();

    QPointer<QWidget> m_parent;
    std::mutex m_callLock;    // one other thread's box at a time
    std::mutex m_requestLock; // guards the request
    Kind m_requestKind = Kind::Error;
    QString m_requestText;
};
