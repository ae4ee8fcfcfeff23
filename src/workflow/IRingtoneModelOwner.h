// What the model needs from its owner (the main control, or the command-line tool).
#pragma once

#include "app/IOpProgress.h"
#include "app/IUserMessages.h"

#include <QString>
#include <memory>

class IRingtoneModelOwner {
public:
    virtual ~IRingtoneModelOwner() = default;

    // The model changed (input, selection or state): refresh the buttons.
    virtual void RefreshState() = 0;
    // Shows the display name of the input in the input-name label.
    virtual void RefreshInputName(const QString& name) = 0;
    // A new progress display for one long operation, titled with a string-table text; never null.
    virtual std::unique_ptr<IOpProgress> CreateProgress(int titleId) = 0;
    // Where the model's error messages are shown.
    virtual IUserMessages& Messages() = 0;
};
