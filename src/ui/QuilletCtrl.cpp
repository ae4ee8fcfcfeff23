// The main control: its table of controls, the commands they send and when they are enabled.
#include "ui/QuilletCtrl.h"

#include "app/ConfigFile.h"
#include "app/StringIds.h"
#include "app/StringTable.h"
#include "app/Trace.h"
#include "app/WorkFolderLock.h"
#include "decode/InputKinds.h"
#include "skin/CommandEvent.h"
#include "skin/SkinParser.h"
#include "skin/XButton.h"
#include "ui/BrowserDlg.h"
#include "ui/CdRipperDlg.h"
#include "ui/FileDialogFilter.h"
#include "ui/RecordingDlg.h"
#include "ui/SkinErrors.h"
#include "ui/WindowDrag.h"
#include "view/gui/StreamViewCtrl.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QShortcut>
#include <QStandardPaths>

namespace {
// The controls in their creation order: section, identifier, tooltip string, kind.
struct ControlSpec {
    const char* section;
    int id;
    int tooltip;
    int kind;
};
constexpr ControlSpec kControls[] = {
    {"[btn_open]", CQuilletCtrl::CmdOpen, 136, CXButton::PushButton},
    {"[lbl_input_file]", CQuilletCtrl::LblInputFile, 137, CXButton::Label},
    {"[btn_cd_track]", CQuilletCtrl::CmdCdTrack, 138, CXButton::PushButton},
    {"[btn_record]", CQuilletCtrl::CmdRecord, 139, CXButton::PushButton},
    {"[btn_zoom_in]", CQuilletCtrl::CmdZoomIn, 140, CXButton::PushButton},
    {"[btn_zoom_out]", CQuilletCtrl::CmdZoomOut, 141, CXButton::PushButton},
    {"[btn_play]", CQuilletCtrl::CmdPlay, 143, CXButton::PushButton},
    {"[btn_play_cut]", CQuilletCtrl::CmdPlayCut, 144, CXButton::PushButton},
    {"[btn_stop]", CQuilletCtrl::CmdStop, 145, CXButton::PushButton},
    {"[btn_cut_begin]", CQuilletCtrl::CmdCutBegin, 146, CXButton::PushButton},
    {"[btn_cut_end]", CQuilletCtrl::CmdCutEnd, 147, CXButton::PushButton},
    {"[btn_fading_begin]", CQuilletCtrl::CmdFadingBegin, 148, CXButton::PushButton},
    {"[btn_fading_end]", CQuilletCtrl::CmdFadingEnd, 149, CXButton::PushButton},
    {"[btn_fading_remove]", CQuilletCtrl::CmdFadingRemove, 150, CXButton::PushButton},
    {"[btn_scroll_left]", CQuilletCtrl::CmdScrollLeft, 156, CXButton::PushButton},
    {"[btn_scroll_right]", CQuilletCtrl::CmdScrollRight, 157, CXButton::PushButton},
    {"[lbl_beam]", CQuilletCtrl::LblBeam, 0, CXButton::Label},
    {"[btn_beam]", CQuilletCtrl::CmdBeam, 151, CXButton::PushButton},
};
constexpr int kFileFilterString = 217;
constexpr int kStreamViewId = 999999;

// A recording's report on its way to the user thread.
class CRecordingEvent : public QEvent {
public:
    CRecordingEvent(QEvent::Type type, int64_t milliseconds, const QString& message)
        : QEvent(type), m_milliseconds(milliseconds), m_message(message) {}
    int64_t milliseconds() const { return m_milliseconds; }
    const QString& message() const { return m_message; }

private:
    int64_t m_milliseconds;
    QString m_message;
};
} // namespace

CQuilletCtrl::CQuilletCtrl(IUserMessages& messages, QWidget* parent)
    : QWidget(parent), m_messages(messages), m_view(new CStreamViewCtrl(this)) {
    setObjectName(QStringLiteral("QuilletCtrl"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_filter = FileDialogFilter(LoadString(kFileFilterString));
    installEventFilter(new CWindowDrag(this));
    // The stream view comes first in the tab order, then the controls in the table's order.
    m_view->setObjectName(QStringLiteral("StreamView%1").arg(kStreamViewId));
    m_view->setChangeListener([this] { updateButtons(); });
    for (const ControlSpec& spec : kControls) {
        auto* control = new CXButton(spec.id, this);
        control->setObjectName(QString::fromLatin1(spec.section).mid(1).chopped(1));
        if (spec.tooltip)
            control->setTooltip(spec.tooltip);
        m_controls.emplace(spec.id, control);
    }
    control(LblInputFile)->setPathEllipsis(true);
    // The accelerators: keypad 4 and 6 without other modifiers play at the input's own level
    // and at the normalized level.
    for (const auto& [key, command] :
         {std::pair{Qt::Key_4, CmdGainOne}, {Qt::Key_6, CmdGainNormalized}}) {
        auto* shortcut = new QShortcut(QKeySequence(Qt::KeypadModifier | key), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, id = command] { runCommand(id); });
    }
}

CQuilletCtrl::~CQuilletCtrl() = default;

CXButton* CQuilletCtrl::control(int id) const {
    const auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

bool CQuilletCtrl::loadSkin(CSkinParser& parser) {
    if (!m_view->loadSkin(parser))
        return false;
    for (const ControlSpec& spec : kControls) {
        if (!control(spec.id)->create(parser, QString::fromLatin1(spec.section), spec.kind, false))
            return false;
    }
    if (!parser.openSection(QStringLiteral("[ql_ctrl]")))
        return false;
    CDynBitmap background;
    while (parser.nextKey())
        parser.getBitmap(QStringLiteral("bitmap_bg"), background);
    if (background.isNull())
        return false;
    m_background = std::move(background);
    return true;
}

void CQuilletCtrl::applySkin() {
    resize(m_background.size());
    m_view->applySkin();
    // A new skin brings the label's caption of its own: the input's name is shown again.
    control(LblInputFile)->setCaption(m_model.getInputName());
    for (const auto& [id, button] : m_controls)
        button->setAccessibleName(button->tooltipText());
    updateButtons();
    update();
}

void CQuilletCtrl::initModel(const QString& commandLineFile) {
    m_model.init(this, m_view, commandLineFile);
    updateButtons();
}

bool CQuilletCtrl::IsEnabledIn(int id, const ButtonState& s) {
    using F = ButtonState;
    const bool input = s[F::HasInput], busy = s[F::Busy], rec = s[F::Recording],
               playing = s[F::Playing];
    switch (id) {
    case CmdOpen:
    case CmdCdTrack:
        return !(busy || rec || playing);
    case CmdRecord:
        return !(busy || playing);
    case CmdZoomOut:
        return input && s[F::IsZoomed];
    case CmdZoomIn:
        return input && s[F::CanZoomIn];
    case CmdPlay:
        return input && !(busy || rec || playing);
    case CmdPlayCut:
        return input && s[F::HasCut] && !(busy || rec);
    case CmdStop:
        return playing && !busy;
    case CmdCutBegin:
        return input && !(busy || rec || playing) && s[F::CanSetStart];
    case CmdCutEnd:
        return input && !(busy || rec || playing) && s[F::CanSetEnd];
    case CmdFadingBegin:
    case CmdFadingEnd:
        return s[F::PosInCut] && !busy && !playing;
    case CmdFadingRemove:
        return s[F::CutHasFade] && !busy && !playing;
    case CmdScrollLeft:
        return input && !s[F::PosAtBegin];
    case CmdScrollRight:
        return input && !s[F::PosAtEnd];
    case CmdBeam:
        return s[F::HasCut] && !(busy || rec || playing);
    default:
        return true;
    }
}

void CQuilletCtrl::updateButtons() {
    m_model.getButtonState(m_state);
    for (const auto& [id, button] : m_controls) {
        if (button->kind() == CXButton::PushButton)
            button->setEnabled(IsEnabledIn(id, m_state));
    }
}

void CQuilletCtrl::RefreshState() {
    updateButtons();
}

void CQuilletCtrl::RefreshInputName(const QString& name) {
    control(LblInputFile)->setCaption(name);
}

std::unique_ptr<IOpProgress> CQuilletCtrl::CreateProgress(int titleId) {
    return m_progressFactory ? m_progressFactory(titleId) : std::make_unique<IOpProgress>();
}

void CQuilletCtrl::RecordedTime(int64_t milliseconds) {
    QCoreApplication::postEvent(this,
                                new CRecordingEvent(RecordedTimeEvent, milliseconds, QString()));
}

void CQuilletCtrl::RecordingEnded(const QString& message) {
    QCoreApplication::postEvent(this, new CRecordingEvent(RecordingEndedEvent, 0, message));
}

bool CQuilletCtrl::event(QEvent* event) {
    if (event->type() == RecordedTimeEvent) {
        m_model.recordedTimeReported(static_cast<CRecordingEvent*>(event)->milliseconds());
        return true;
    }
    if (event->type() == RecordingEndedEvent) {
        // The recording dialog notices the end at its next timer tick.
        m_model.recordingEnded(static_cast<CRecordingEvent*>(event)->message());
        updateButtons();
        return true;
    }
    if (event->type() != CCommandEvent::EventType)
        return QWidget::event(event);
    auto* command = static_cast<CCommandEvent*>(event);
    if (command->code() != CCommandEvent::NotifyClicked)
        return true;
    runCommand(command->id());
    if (auto* button = qobject_cast<CXButton*>(command->sender())) {
        button->unsetCursor();
        if (button->kind() == CXButton::PushButton)
            button->clearHover();
    }
    return true;
}

void CQuilletCtrl::runCommand(int id) {
    switch (id) {
    case CmdOpen:
        showOpenDialog();
        break;
    case CmdBeam:
        beam();
        break;
    case CmdCdTrack: {
        CWorkFolderLock lock(GetConfig().GetConfigFolder());
        if (lockWorkFolder(lock))
            RunCdTrackDialogs(window(), m_model);
        break;
    }
    case CmdRecord:
        record();
        break;
    case CmdZoomIn:
    case CmdZoomOut:
    case CmdPlay:
    case CmdPlayCut:
    case CmdStop:
    case CmdCutBegin:
    case CmdCutEnd:
    case CmdFadingBegin:
    case CmdFadingEnd:
    case CmdFadingRemove:
    case CmdScrollLeft:
    case CmdScrollRight:
    case CmdSuggest:
    case CmdGainOne:
    case CmdGainNormalized:
        forwardToView(id);
        break;
    default:
        break;
    }
    updateButtons();
}

void CQuilletCtrl::forwardToView(int id) {
    m_view->onCommand(id);
    Q_EMIT viewCommand(id);
}

QString CQuilletCtrl::FileDialogFilter(const QString& list) {
    return ::FileDialogFilter(list);
}

QString CQuilletCtrl::FileDialogStart(const QString& inputFile, const QString& musicFolder,
                                      const QString& documentsFolder) {
    if (!inputFile.isEmpty())
        return inputFile;
    if (!musicFolder.isEmpty() && QFileInfo(musicFolder).isDir())
        return musicFolder;
    return documentsFolder;
}

void CQuilletCtrl::showOpenDialog() {
    const QString start = FileDialogStart(
        m_model.getInputFileName(), QStandardPaths::writableLocation(QStandardPaths::MusicLocation),
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    const QString path = QFileDialog::getOpenFileName(this, QString(), start, m_filter, nullptr,
                                                      QFileDialog::ReadOnly);
    if (!path.isEmpty())
        openFile(path);
}

void CQuilletCtrl::openFile(const QString& path) {
    CWorkFolderLock lock(GetConfig().GetConfigFolder());
    if (lockWorkFolder(lock))
        m_model.openInputFile(path, CRingtoneModel::OpenMode::UserFile, 0);
    updateButtons();
}

bool CQuilletCtrl::lockWorkFolder(CWorkFolderLock& lock) {
    // The window waits only briefly: the person sees the message and can try again, while the
    // command line, which nobody watches, waits longer.
    constexpr std::chrono::seconds kWait(5);
    const auto waiting = [] {
        Trace(TRACE_INFO, "waiting for another process to release the work folder");
    };
    if (lock.Lock(kWait, waiting) != CWorkFolderLock::Result::Busy)
        return true;
    ShowErrorMessageId(m_messages, IDS_WORK_FOLDER_BUSY, GetConfig().GetConfigFolder());
    return false;
}

bool CQuilletCtrl::acceptsFile(const QString& path) const {
    const QFileInfo info(path);
    if (path.isEmpty() || path.size() > 260 || info.isDir() || !isSupportedExtension(path))
        return false;
    ButtonState state;
    m_model.getButtonState(state);
    return !state[ButtonState::Playing] && !state[ButtonState::Recording] &&
           !state[ButtonState::Busy];
}

void CQuilletCtrl::beam() {
    // The beam writes the ringtone file: the command line waits until the transfer is over.
    CWorkFolderLock lock(GetConfig().GetConfigFolder());
    if (!lockWorkFolder(lock))
        return;
    CBrowserDlg* dialog = browser();
    if (!dialog)
        return;
    dialog->ResetClosed();
    m_model.beam(dialog);
}

void CQuilletCtrl::record() {
    m_model.getButtonState(m_state);
    if (!IsEnabledIn(CmdRecord, m_state))
        return;
    // The recording writes the work files: another Quillet waits until the dialog is closed.
    CWorkFolderLock lock(GetConfig().GetConfigFolder());
    if (!lockWorkFolder(lock))
        return;
    CRecordingDlg dialog(window(), m_model, this);
    dialog.exec();
    Trace(TRACE_DEBUG, "recording dialog closed, input of %d ms", int(m_model.getDuration()));
}

CBrowserDlg* CQuilletCtrl::browser() {
    if (m_browser)
        return m_browser;
    const QString skin = GetConfig().GetActiveSkin();
    CSkinParser parser(&m_messages);
    auto dialog = std::make_unique<CBrowserDlg>(window(), m_messages);
    if (!parser.init(skin, QStringLiteral("PP_SDF")) || !dialog->loadSkin(parser)) {
        ShowErrorMessage(m_messages, SkinErrorText(kFailedToParseSkin, skin));
        return nullptr;
    }
    dialog->applySkin();
    m_browser = dialog.release();
    return m_browser;
}

bool CQuilletCtrl::isBrowserOpen() const {
    return m_browser && m_browser->isActive();
}

bool CQuilletCtrl::prepareExit() {
    if (m_model.getState() == CRingtoneModel::State::Beaming)
        m_browser->reject(); // as its cancel: the upload ends once the service hears of it
    if (m_model.getState() != CRingtoneModel::State::Idle)
        return false;
    m_model.saveState();
    if (!GetConfig().Save())
        ShowErrorMessage(m_messages, GetConfig().SaveError());
    return true;
}

void CQuilletCtrl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    m_background.draw(painter, QPoint(0, 0));
}

void CQuilletCtrl::resizeEvent(QResizeEvent* event) {
    m_view->applySkin(); // back to its skin rectangle
    QWidget::resizeEvent(event);
}

void CQuilletCtrl::keyPressEvent(QKeyEvent* event) {
    // A key no button took goes to the stream view once; what the view leaves comes back here
    // on its way up and is left alone.
    if (m_forwardingKey || m_view->hasFocus()) {
        event->ignore();
        return;
    }
    m_forwardingKey = true;
    QCoreApplication::sendEvent(m_view, event);
    m_forwardingKey = false;
}
