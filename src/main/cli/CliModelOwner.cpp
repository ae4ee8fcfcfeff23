// The command-line tool as the model's owner.
#include "CliModelOwner.h"

#include "TerminalProgress.h"
#include "app/StringTable.h"

std::unique_ptr<IOpProgress> CCliModelOwner::CreateProgress(int titleId) {
    auto progress =
        std::make_unique<CTerminalProgress>(CTerminalProgress::StandardErrorIsTerminal());
    progress->SetText(LoadString(titleId));
    return progress;
}
