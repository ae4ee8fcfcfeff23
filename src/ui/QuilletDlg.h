// The main window: frameless, shaped and painted by the skin, hosting the main control.
#pragma once

#include "skin/DynBitmap.h"

#include <QDialog>
#include <QRegion>

#include <map>

class CQuilletCtrl;
class CXButton;
class IUserMessages;
class QMimeData;

class CQuilletDlg : public QDialog {
    Q_OBJECT
public:
    // The dialog buttons' identifiers.
    enum Command {
        BtnExit = 1000,
        BtnAbout = 1001,
        BtnMinimize = 1002,
        BtnWebSite = 1003,
        BtnHelp = 1004
    };

    // The window with the skin named by ActiveSkin (or its fall-backs) applied; the model opens
    // commandLineFile (or the last input) after the first paint. Messages are shown by messages.
    CQuilletDlg(IUserMessages& messages, const QString& commandLineFile, QWidget* parent = nullptr);
    ~CQuilletDlg() override;

    CQuilletCtrl& ctrl() const { return *m_ctrl; }
    // A dialog button by its identifier; null for any other.
    CXButton* button(int id) const;
    // The skin file in use; empty when none could be applied.
    const QString& skinPath() const { return m_skinPath; }
    // True once the model was started after the first paint.
    bool isModelStarted() const { return m_modelStarted; }

    // Applies the requested skin, else the one in use again, else the default skin; the one that
    // applied becomes ActiveSkin. With hide the window is hidden meanwhile. False when none did.
    bool chooseSkin(const QString& requested, bool hide);
    // Restores and raises the window for a later start of the program, and opens its file when
    // one is given and the model is idle.
    void bringToFront(const QString& file);
    // The exit command: cancels a beam; closes the window when the model is idle.
    void exitCommand();
    // Runs a dialog button's command.
    void runCommand(int id);
    // The about dialog switched the language: the language's skin (or the one in use) is applied
    // again, with the texts of the new language.
    void languageChanged(const QString& lang);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void reject() override;

private:
    // Reads and applies one skin file, showing messages 102 to 104 on failure.
    bool applySkinFile(const QString& path);
    // The dropped file a drop would open; empty when the drop is refused.
    QString acceptedDrop(const QMimeData* data) const;
    void startModel();
    void showAbout();
    void restorePosition();
    void savePosition();

    IUserMessages& m_messages;
    QString m_commandLineFile;
    CQuilletCtrl* m_ctrl;
    std::map<int, CXButton*> m_buttons;
    CDynBitmap m_background;
    QString m_skinPath;
    bool m_firstPaintSeen = false;
    bool m_modelStarted = false;
};
