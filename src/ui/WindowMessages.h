// The window's message boxes: the program's errors and information, translated, over a window.
#pragma once

#include "app/IUserMessages.h"

#include <QPointer>
#include <QWidget>

// Shows each message in a QMessageBox captioned "Quillet" with an OK button in the current
// language, over the given window (or the active window when it has none or it is gone). A call
// from another thread is carried out on the GUI thread and waits until the box is closed; the GUI
// thread must keep processing events meanwhile (as it does while the upload runs).
class CWindowMessages : public IUserMessages {
public:
    explicit CWindowMessages(QWidget* parent = nullptr) : m_parent(parent) {}

    // The window the boxes appear over from now on.
    void setParent(QWidget* parent) { m_parent = parent; }
    void ShowMessage(Kind kind, const QString& text) override;

private:
    // Shows the box on the GUI thread and waits for it.
    void Show(Kind kind, const QString& text);

    QPointer<QWidget> m_parent;
};
