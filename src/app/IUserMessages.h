// What the core shows a person: error and information boxes, filled by the window or the terminal.
#pragma once

#include "app/StringTable.h"

#include <QString>

class IUserMessages {
public:
    enum class Kind { Error, Information };

    virtual ~IUserMessages() = default;
    // Shows the text (already translated) with the caption "Quillet" and waits until it is seen.
    virtual void ShowMessage(Kind kind, const QString& text) = 0;
};

// The one routine that shows an error: writes the text to the trace log (level 10) and shows it.
void ShowErrorMessage(IUserMessages& ui, const QString& text);
// The same for a string-table entry: loaded in the current language, then formatted with args.
template <class... Args> void ShowErrorMessageId(IUserMessages& ui, int id, const Args&... args) {
    ShowErrorMessage(ui, FormatString(id, args...));
}
// An information box: traced at level 40, then shown.
void ShowInfoMessage(IUserMessages& ui, const QString& text);
