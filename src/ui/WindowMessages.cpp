// The window's message boxes.
#include "ui/WindowMessages.h"

#include "app/AppInfo.h"
#include "app/StringIds.h"
#include "app/StringTable.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>

void CWindowMessages::ShowMessage(Kind kind, const QString& text) {
    QCoreApplication* app = QCoreApplication::instance();
    if (QThread::currentThread() == app->thread())
        Show(kind, text);
    else
        QMetaObject::invokeMethod(
            app, [this, kind, text] { Show(kind, text); }, Qt::BlockingQueuedConnection);
}

void CWindowMessages::Show(Kind kind, const QString& text) {
    QWidget* parent = m_parent ? m_parent->window() : QApplication::activeWindow();
    QMessageBox box(kind == Kind::Error ? QMessageBox::Critical : QMessageBox::Information,
                    ProgramName(), text, QMessageBox::NoButton, parent);
    box.addButton(LoadString(IDS_DLG_OK), QMessageBox::AcceptRole);
    box.exec();
}
