// The user-message interface on a terminal.
#include "TerminalMessages.h"

#include <cstdio>

void PrintError(const QString& text) {
    std::fprintf(stderr, "quillet-cli: %s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}

void PrintLine(const QString& text) {
    std::fprintf(stdout, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stdout);
}

void CTerminalMessages::ShowMessage(Kind kind, const QString& text) {
    if (kind == Kind::Error)
        PrintError(text);
    else
        PrintLine(text);
}
