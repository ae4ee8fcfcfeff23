// The user-message interface on a terminal: messages go to standard error.
#pragma once

#include "app/IUserMessages.h"

class CTerminalMessages : public IUserMessages {
public:
    void ShowMessage(Kind kind, const QString& text) override;
};

// Writes "quillet-cli: <text>" and a line end to standard error.
void PrintError(const QString& text);
// Writes the text and a line end to standard output.
void PrintLine(const QString& text);
