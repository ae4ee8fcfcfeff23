// Progress of a long operation as a one-line bar on standard error; Ctrl+C asks it to cancel.
#pragma once

#include "app/IOpProgress.h"

#include <QElapsedTimer>
#include <QString>

class CTerminalProgress : public IOpProgress {
public:
    // draws: whether to draw the bar at all (standard error is a terminal).
    explicit CTerminalProgress(bool draws);
    ~CTerminalProgress() override;

    void SetText(const QString& text) override;
    void SetTextId(int id) override;
    void SetSubText(const QString& text) override;
    void SetSubTextId(int id) override;
    void SetRange(uint32_t total) override;
    void SetPos(uint32_t done) override;
    void Step(uint32_t delta) override;
    void Show(bool show) override;
    bool IsCanceled() override;

    // Makes Ctrl+C (SIGINT) and SIGTERM ask every running operation to cancel.
    static void InstallInterruptHandler();
    // True once Ctrl+C was pressed.
    static bool Interrupted();
    // Whether standard error is a terminal, so a bar can be drawn on it.
    static bool StandardErrorIsTerminal();

private:
    void Draw(bool force);
    void Clear();

    bool m_draws;
    bool m_visible = false;
    bool m_drawn = false;
    QString m_text;
    QString m_subText;
    uint32_t m_total = 0;
    uint32_t m_pos = 0;
    int m_lastPercent = -1;
    QElapsedTimer m_sinceDraw;
};
