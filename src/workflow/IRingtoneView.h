// What the model asks of the waveform view: registration, redrawing after a change, stopping play.
#pragma once

#include <QtGlobal>

class CRingtoneModel;
struct ButtonState;

// The stream view implements it; the model works as well without any view.
class IRingtoneView {
public:
    virtual ~IRingtoneView() = default;

    // The model registers itself once at start-up; the view reads the input and selection from it.
    virtual void SetModel(CRingtoneModel* model) = 0;
    // The input or the selection changed: read them again and redraw. reset: a new input was
    // opened (show all of it); follow: a growing input keeps showing all of it while it did.
    virtual void Refresh(bool reset, bool follow) = 0;
    // Stops playing the work WAV file, if it plays.
    virtual void StopPlayback() = 0;
    // Fills the view's flags of the button state (PosAtBegin to IsZoomed).
    virtual void GetButtonState(ButtonState& state) const = 0;
    // Whether a playback started by the view runs.
    virtual bool IsPlaying() const = 0;
    // The play position in milliseconds of the work WAV.
    virtual qint64 GetPosition() const = 0;
};
