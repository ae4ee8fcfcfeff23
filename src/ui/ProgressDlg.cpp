// The progress dialog of long operations.
#include "ui/ProgressDlg.h"

#include "app/StringIds.h"
#include "app/StringTable.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

#include <utility>

namespace {
// The bar counts in per mille so that a range beyond the int of the widget still fits.
constexpr int kBarSteps = 1000;

bool IsKeyEvent(const QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
        return true;
    default:
        return false;
    }
}
} // namespace

CProgressDlg::CProgressDlg(QWidget* parent, int titleId)
    : QDialog(parent), m_label(new QLabel(this)), m_bar(new QProgressBar(this)),
      m_cancel(new QPushButton(LoadString(IDS_DLG_CANCEL), this)) {
    setWindowTitle(LoadString(titleId));
    setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_label->setWordWrap(true);
    m_label->setMinimumWidth(360);
    m_label->setMinimumHeight(m_label->fontMetrics().lineSpacing() * 2);
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_bar->setRange(0, kBarSteps);
    m_bar->setValue(0);
    m_bar->setFormat(QStringLiteral("0%"));
    m_bar->setTextVisible(true);
    m_cancel->setAutoDefault(false);
    connect(m_cancel, &QPushButton::clicked, this, &CProgressDlg::OnCancel);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_bar);
    layout->addLayout(buttons);
    m_cancel->setFocus();
}

CProgressDlg::~CProgressDlg() {
    QCoreApplication::instance()->removeEventFilter(this);
}

template <class Edit> void CProgressDlg::Change(Edit edit) {
    if (QThread::currentThread() == thread()) {
        Pending now;
        edit(now);
        ApplyPending(now);
        ProcessEvents();
        return;
    }
    bool post = false;
    {
        const std::lock_guard lock(m_pendingLock);
        edit(m_pending);
        post = !std::exchange(m_flushPosted, true);
    }
    // One flush waits at a time, so a fast worker does not flood the GUI thread; the flush reads
    // what was collected under the lock, never data carried by the posted call.
    if (post)
        QMetaObject::invokeMethod(this, "FlushPending", Qt::QueuedConnection);
}

void CProgressDlg::FlushPending() {
    Pending pending;
    {
        const std::lock_guard lock(m_pendingLock);
        pending = std::exchange(m_pending, Pending{});
        m_flushPosted = false;
    }
    ApplyPending(pending);
}

void CProgressDlg::ApplyPending(const Pending& pending) {
    if (pending.text)
        m_text = *pending.text;
    if (pending.subText)
        m_subText = *pending.subText;
    if (pending.text || pending.subText)
        m_label->setText(m_subText.isEmpty() ? m_text : m_text + QLatin1Char('\n') + m_subText);
    UpdateBar();
    if (pending.show)
        ShowNow(*pending.show);
}

void CProgressDlg::SetText(const QString& text) {
    Change([&text](Pending& p) {
        p.text = text;
        p.subText = QString();
    });
}

void CProgressDlg::SetTextId(int id) {
    SetText(LoadString(id));
}

void CProgressDlg::SetSubText(const QString& text) {
    Change([&text](Pending& p) { p.subText = text; });
}

void CProgressDlg::SetSubTextId(int id) {
    SetSubText(LoadString(id));
}

void CProgressDlg::SetRange(uint32_t total) {
    m_total = total;
    SetPos(0);
}

void CProgressDlg::SetPos(uint32_t done) {
    m_pos = done;
    Change([](Pending&) {});
}

void CProgressDlg::Step(uint32_t delta) {
    m_pos += delta;
    Change([](Pending&) {});
}

void CProgressDlg::Show(bool show) {
    Change([show](Pending& p) { p.show = show; });
}

void CProgressDlg::ShowNow(bool show) {
    if (!show) {
        hide();
        return;
    }
    adjustSize();
    if (const QWidget* over = parentWidget())
        move(over->window()->frameGeometry().center() - rect().center());
    QDialog::show();
    raise();
    activateWindow();
}

bool CProgressDlg::IsCanceled() {
    if (QThread::currentThread() == thread())
        ProcessEvents();
    return m_cancelled;
}

QString CProgressDlg::labelText() const {
    return m_label->text();
}

int CProgressDlg::barValue() const {
    return m_bar->value();
}

void CProgressDlg::reject() {
    OnCancel();
}

void CProgressDlg::OnCancel() {
    if (isVisible())
        m_cancelled = true;
}

void CProgressDlg::UpdateBar() {
    const uint64_t total = m_total;
    const uint64_t done = std::min<uint64_t>(m_pos, total);
    const int value = total ? int(done * kBarSteps / total) : 0;
    if (value == m_bar->value())
        return;
    m_bar->setValue(value);
    m_bar->setFormat(QStringLiteral("%1%").arg(value / (kBarSteps / 100)));
}

void CProgressDlg::ProcessEvents() {
    if (m_processing)
        return;
    m_processing = true;
    QCoreApplication::instance()->installEventFilter(this);
    QCoreApplication::processEvents();
    QCoreApplication::instance()->removeEventFilter(this);
    m_processing = false;
}

bool CProgressDlg::eventFilter(QObject* watched, QEvent* event) {
    if (!m_processing || !IsKeyEvent(event))
        return QDialog::eventFilter(watched, event);
    // Key events wait for the operation's end; only the keys that cancel act now.
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept(); // no shortcut fires either
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool onCancel = watched == m_cancel && m_cancel->hasFocus();
        if (key == Qt::Key_Escape ||
            (onCancel && (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)))
            OnCancel();
    }
    return true;
}
