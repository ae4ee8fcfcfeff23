// The routines that show a message to a person through the user-message interface.
#include "app/IUserMessages.h"
#include "app/Trace.h"

void ShowErrorMessage(IUserMessages& ui, const QString& text) {
    Trace(TRACE_ERROR, "%s", text);
    ui.ShowMessage(IUserMessages::Kind::Error, text);
}

void ShowInfoMessage(IUserMessages& ui, const QString& text) {
    Trace(TRACE_DEBUG, "%s", text);
    ui.ShowMessage(IUserMessages::Kind::Information, text);
}
