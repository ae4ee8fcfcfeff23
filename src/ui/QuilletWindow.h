// The window as the application frame's main dialog: its message boxes, progress and main dialog.
#pragma once

#include "frame/QuilletApp.h"

#include "ui/QuilletDlg.h"

#include <QPointer>
#include <memory>

class CWindowMessages;

class CQuilletWindow : public IMainDialog {
public:
    CQuilletWindow();
    ~CQuilletWindow() override;

    // Shows the main dialog until it ends; 0 after the exit command.
    int DoModal(const QString& commandLineFile) override;
    // Restores and raises the window and opens the later start's file.
    void BringToFront(const QString& file) override;
    // The dialog while DoModal runs; null before and after.
    CQuilletDlg* dialog() const { return m_dialog; }

private:
    std::unique_ptr<CWindowMessages> m_messages;
    QPointer<CQuilletDlg> m_dialog;
};
