// The 13 flags from which the main control enables its buttons after every change.
#pragma once

#include <array>

struct ButtonState {
    enum Flag {
        HasInput = 0,    // the model has input (its length > 0)
        HasCut = 1,      // the selection is valid
        PosInCut = 2,    // the view's position lies inside the selection
        CutHasFade = 3,  // that selection has a fade-in or a fade-out
        Playing = 4,     // the view is playing
        Recording = 5,   // a recording is running
        Busy = 6,        // an input is being opened or a beam runs
        PosAtBegin = 7,  // the position equals the stream's begin
        PosAtEnd = 8,    // the position is at or past the stream's end - 1
        CanSetStart = 9, // the set-start command would act
        CanSetEnd = 10,  // the set-end command would act
        CanZoomIn = 11,
        IsZoomed = 12,
        Count = 13
    };

    std::array<bool, Count> flags{};

    bool operator[](Flag flag) const { return flags[flag]; }
    bool& operator[](Flag flag) { return flags[flag]; }
    bool operator==(const ButtonState&) const = default;
};
