// The window's message boxes.
#include "ui/WindowMessages.h"

#include "app/AppInfo.h"
#include "app/StringIds.h"
#include "app/StringTable.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>

CWindowMessages::CWindowMessages(QWidget* parent) : m_parent(parent) {
    if (const QCoreApplication* app = QCoreApplication::instance())
        moveToThread(app->thread());
}

void CWindowMessages::ShowMessage(Kind kind, const QString& text) {
    if (QThread::currentThread() == thread()) {
        Show(kind, text);
        return;
    }
    // The request travels under our lock, not inside the posted call, so the hand-off to the GUI
    // thread is one the thread checker sees.
    const std::lock_guard one(m_callLock);
    {
        const std::lock_guard lock(m_requestLock);
        m_requestKind = kind;
        m_requestText = text;
    }
    QMetaObject::invokeMethod(this, "ShowRequested", Qt::BlockingQueuedConnection);
}

void CWindowMessages::ShowRequested() {
    Kind kind;
    QString text;
    {
        const std::lock_guard lock(m_requestLock);
        kind = m_requestKind;
        text = std::exchange(m_requestText, QString());
    }
    Show(kind, text);
}

void CWindowMessages::Show(Kind kind, const QString& text) {
    QWidget* parent = m_parent ? m_parent->window() : QApplication::activeWindow();
    QMessageBox box(kind == Kind::Error ? QMessageBox::Critical : QMessageBox::Information,
                    ProgramName(), text, QMessageBox::NoButton, parent);
    box.addButton(LoadString(IDS_DLG_OK), QMessageBox::AcceptRole);
    box.exec();
}
