// The command-line tool as the model's owner: progress on the terminal, messages on standard error.
#pragma once

#include "TerminalMessages.h"
#include "workflow/IRingtoneModelOwner.h"

class CCliModelOwner : public IRingtoneModelOwner {
public:
    void RefreshState() override {}
    void RefreshInputName(const QString&) override {}
    std::unique_ptr<IOpProgress> CreateProgress(int titleId) override;
    IUserMessages& Messages() override { return m_messages; }

private:
    CTerminalMessages m_messages;
};
