// Progress of a long operation as a one-line bar on standard error.
#include "TerminalProgress.h"

#include "app/StringTable.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {
// Set by the signal handler; read by IsCanceled. Signals are process-wide, so is this flag.
volatile std::sig_atomic_t g_interrupted = 0;

void OnInterrupt(int) {
    g_interrupted = 1;
}

int TerminalWidth() {
    winsize size{};
    if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 20)
        return size.ws_col;
    return 80;
}
} // namespace

void CTerminalProgress::InstallInterruptHandler() {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool CTerminalProgress::Interrupted() {
    return g_interrupted != 0;
}

bool CTerminalProgress::StandardErrorIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

CTerminalProgress::CTerminalProgress(bool draws) : m_draws(draws) {}

CTerminalProgress::~CTerminalProgress() {
    Clear();
}

void CTerminalProgress::SetText(const QString& text) {
    m_text = text;
    m_subText.clear();
    Draw(true);
}

void CTerminalProgress::SetTextId(int id) {
    SetText(LoadString(id));
}

void CTerminalProgress::SetSubText(const QString& text) {
    m_subText = text;
    Draw(true);
}

void CTerminalProgress::SetSubTextId(int id) {
    SetSubText(LoadString(id));
}

void CTerminalProgress::SetRange(uint32_t total) {
    m_total = total;
    m_pos = 0;
    Draw(true);
}

void CTerminalProgress::SetPos(uint32_t done) {
    m_pos = done;
    Draw(false);
}

void CTerminalProgress::Step(uint32_t delta) {
    SetPos(m_pos + delta);
}

void CTerminalProgress::Show(bool show) {
    m_visible = show;
    if (show)
        Draw(true);
    else
        Clear();
}

bool CTerminalProgress::IsCanceled() {
    return Interrupted();
}

// Redraws "text  [#####-----]  42%" in place; at most when the percentage moves or ten times a
// second, so a fast loop does not flood the terminal.
void CTerminalProgress::Draw(bool force) {
    if (!m_draws || !m_visible)
        return;
    const int percent = m_total ? int(std::min<uint64_t>(100, uint64_t(m_pos) * 100 / m_total)) : 0;
    if (!force && percent == m_lastPercent && m_sinceDraw.isValid() && m_sinceDraw.elapsed() < 100)
        return;
    m_lastPercent = percent;
    m_sinceDraw.restart();

    QString label = m_text;
    if (!m_subText.isEmpty())
        label += QStringLiteral(" - ") + m_subText;
    const int width = TerminalWidth();
    const int barWidth = std::clamp(width / 3, 10, 40);
    const int labelWidth = std::max(0, width - barWidth - 10);
    if (label.size() > labelWidth)
        label = label.left(std::max(0, labelWidth - 1)) + QChar(0x2026);
    const int filled = barWidth * percent / 100;
    const QString bar =
        QString(filled, QLatin1Char('#')) + QString(barWidth - filled, QLatin1Char('-'));
    const QString line = QStringLiteral("\r\033[K%1 [%2] %3%").arg(label, bar).arg(percent, 3);
    std::fputs(line.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
    m_drawn = true;
}

void CTerminalProgress::Clear() {
    if (!m_drawn)
        return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    m_drawn = false;
}
