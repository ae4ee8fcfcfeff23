// The main control: the skinned buttons and labels, the stream view's place, and the model it
// drives.
#pragma once

#include "audio/RecordingReceiver.h"
#include "skin/DynBitmap.h"
#include "workflow/ButtonState.h"
#include "workflow/IRingtoneModelOwner.h"
#include "workflow/RingtoneModel.h"

#include <QEvent>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>

class CBrowserDlg;
class CSkinParser;
class CStreamViewCtrl;
class CWorkFolderLock;
class CXButton;

// Also the receiver of the recording session's reports: they come on the session's threads and
// are posted to this control as events, which hand them to the model on the user thread.
class CQuilletCtrl : public QWidget, public IRingtoneModelOwner, public IRecordingReceiver {
    Q_OBJECT
public:
    // The posted reports of a recording: the recorded milliseconds, and the end of a recording
    // that has to stop (with the message why, empty at its maximum length).
    static constexpr QEvent::Type RecordedTimeEvent =
        static_cast<QEvent::Type>(QEvent::User + 0x401);
    static constexpr QEvent::Type RecordingEndedEvent =
        static_cast<QEvent::Type>(QEvent::User + 0x402);

    // Control identifiers: the commands its buttons send.
    enum Command {
        CmdOpen = 1,
        LblInputFile = 2,
        CmdCdTrack = 3,
        CmdRecord = 4,
        CmdZoomIn = 10,
        CmdZoomOut = 12,
        CmdPlay = 21,
        CmdPlayCut = 22,
        CmdStop = 23,
        CmdCutBegin = 31,
        CmdCutEnd = 32,
        CmdFadingBegin = 41,
        CmdFadingEnd = 42,
        CmdFadingRemove = 43,
        CmdScrollLeft = 51,
        CmdScrollRight = 52,
        CmdSuggest = 61, // no button of its own: the stream view's key S
        LblBeam = 92,
        CmdBeam = 101,
        CmdGainOne = 32771,
        CmdGainNormalized = 32772,
    };
    using ProgressFactory = std::function<std::unique_ptr<IOpProgress>(int titleId)>;

    // The control with its buttons (not yet skinned) and the stream view's place; messages are
    // where the model's and the skin's messages go.
    CQuilletCtrl(IUserMessages& messages, QWidget* parent);
    ~CQuilletCtrl() override;

    CRingtoneModel& model() { return m_model; }
    // The control of an identifier of the table; null for any other.
    CXButton* control(int id) const;
    CStreamViewCtrl* streamView() const { return m_view; }
    // Long operations show their progress through the factory (default: no display).
    void setProgressFactory(ProgressFactory factory) { m_progressFactory = std::move(factory); }

    // Reads the stream view's section, the controls' sections in the table's order and
    // "[ql_ctrl]"; false when one fails.
    bool loadSkin(CSkinParser& parser);
    // The size of "bitmap_bg", the control's size once applied.
    QSize backgroundSize() const { return m_background.size(); }
    // Takes the size of "bitmap_bg", applies the stream view's skin and repaints.
    void applySkin();
    // Starts the model: opens the command-line file, or reopens the last input.
    void initModel(const QString& commandLineFile);
    // Acts on a command of the table; unknown identifiers do nothing.
    void runCommand(int id);
    // Opens a file as the person's input, as the open-file dialog does.
    void openFile(const QString& path);
    // True when a dropped file would be opened: a supported type while nothing plays, records or
    // runs. A folder is never accepted.
    bool acceptsFile(const QString& path) const;
    // The exit step: cancels a running beam; when the model is idle saves its state and the
    // settings (a failed save is shown and leaves the old file) and returns true (the window may
    // close), else false.
    bool prepareExit();
    // Enables the buttons from the model's button state.
    void updateButtons();
    // Whether the control of an identifier is enabled in a button state (labels always are).
    static bool IsEnabledIn(int id, const ButtonState& state);
    // The state the buttons were last enabled from.
    const ButtonState& buttonState() const { return m_state; }
    // True when the beam's browser dialog shows the service's page.
    bool isBrowserOpen() const;

    // The filter of the open-file dialog in Qt's form, from the program's "text|patterns|" list.
    static QString FileDialogFilter(const QString& list);
    // Where the open-file dialog starts: the input file, else the music folder, else documents.
    static QString FileDialogStart(const QString& inputFile, const QString& musicFolder,
                                   const QString& documentsFolder);

    // IRingtoneModelOwner
    void RefreshState() override;
    void RefreshInputName(const QString& name) override;
    std::unique_ptr<IOpProgress> CreateProgress(int titleId) override;
    IUserMessages& Messages() override { return m_messages; }

    // IRecordingReceiver: post the reports to this control (any thread).
    void RecordedTime(int64_t milliseconds) override;
    void RecordingEnded(const QString& message) override;

Q_SIGNALS:
    // A command went to the stream view (the view's commands, the keypad's gain keys).
    void viewCommand(int id);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showOpenDialog();
    // Takes the work folder's lock for an operation that writes the work files, waiting a few
    // seconds for another Quillet; false (with the error shown) when that one keeps it.
    bool lockWorkFolder(CWorkFolderLock& lock);
    // The embedded browser dialog with the active skin, made when first needed so that the web
    // engine starts only for a beam; null (with the message shown) when its skin cannot be read.
    CBrowserDlg* browser();
    void beam();
    // The recording dialog, modal, with the work folder locked while it is open.
    void record();
    void forwardToView(int id);

    IUserMessages& m_messages;
    CRingtoneModel m_model;
    CStreamViewCtrl* m_view;
    std::map<int, CXButton*> m_controls;
    CDynBitmap m_background;
    bool m_forwardingKey = false;
    QString m_filter;
    ButtonState m_state;
    ProgressFactory m_progressFactory;
    CBrowserDlg* m_browser = nullptr; // made at the first beam, a child of the main dialog
};
