// The window as the application frame's main dialog.
#include "ui/QuilletWindow.h"

#include "ui/ProgressDlg.h"
#include "ui/QuilletCtrl.h"
#include "ui/QuilletDlg.h"
#include "ui/WindowMessages.h"

CQuilletWindow::CQuilletWindow() : m_messages(std::make_unique<CWindowMessages>()) {}

CQuilletWindow::~CQuilletWindow() = default;

int CQuilletWindow::DoModal(const QString& commandLineFile) {
    CQuilletDlg dialog(*m_messages, commandLineFile);
    m_messages->setParent(&dialog);
    CQuilletCtrl& ctrl = dialog.ctrl();
    ctrl.setProgressFactory([&dialog](int titleId) -> std::unique_ptr<IOpProgress> {
        return std::make_unique<CProgressDlg>(&dialog, titleId);
    });
    m_dialog = &dialog;
    const int result = dialog.exec();
    m_dialog = nullptr;
    m_messages->setParent(nullptr);
    return result == 1 ? 0 : result;
}

void CQuilletWindow::BringToFront(const QString& file) {
    if (m_dialog)
        m_dialog->bringToFront(file);
}
